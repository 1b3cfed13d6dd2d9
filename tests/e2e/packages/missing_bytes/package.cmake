# The payload of the one item of package.rc that has its bytes.
velbor_package_payload(Primo.bin SIZE 2000 SEED 5)
