# Texts that the build stores together, one larger than the decoder's window of a
# single item, and between them bytes that it stores raw.
velbor_package_payload(Uno.txt SIZE 300000 SEED 11 TEXT)
velbor_package_payload(Due.txt SIZE 20000 SEED 12 TEXT)
velbor_package_payload(Tre.bin SIZE 60000 SEED 13)
velbor_package_payload(Quattro.txt SIZE 5000000 SEED 14 TEXT)
velbor_package_payload(Cinque.txt SIZE 1000 SEED 15 TEXT)
velbor_package_payload(Sei.txt SIZE 700000 SEED 16 TEXT)
velbor_package_payload(Sette.txt SIZE 90000 SEED 17 TEXT)
