# The payload of package.rc.
velbor_package_payload(Unico.bin SIZE 5000 SEED 4)
