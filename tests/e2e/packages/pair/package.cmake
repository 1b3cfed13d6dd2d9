# The two payloads of package.rc: every byte value, then bytes that no text
# conversion along the way would leave alone.
velbor_package_payload(Primo.bin SIZE 70000 SEED 1)
velbor_package_payload(Secondo.bin SIZE 3000 SEED 2)
