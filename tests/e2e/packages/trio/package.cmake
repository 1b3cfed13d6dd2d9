# The three payloads of package.rc.
velbor_package_payload(Uno.bin SIZE 5000 SEED 3)
velbor_package_payload(Due.bin SIZE 4000 SEED 4)
velbor_package_payload(Tre.bin SIZE 3000 SEED 5)
