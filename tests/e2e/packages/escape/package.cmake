velbor_package_payload(Fuori.bin SIZE 300 SEED 4)
