# The assembly's stand-in bytes for package.rc.
velbor_package_payload(Velbor.Interop.dll SIZE 4096 SEED 3)
