# Text that the build stores compressed, larger than the decoder's window, beside
# bytes that it stores raw.
velbor_package_payload(Testo.txt SIZE 6000000 SEED 4 TEXT)
velbor_package_payload(Terzo.bin SIZE 50000 SEED 5)
