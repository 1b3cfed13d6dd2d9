# The two payloads of package.rc.
velbor_package_payload(Unico.bin SIZE 5000 SEED 4)
velbor_package_payload(Secondo.bin SIZE 3000 SEED 2)
