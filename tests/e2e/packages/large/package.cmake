# A payload large enough that its write can be caught under way.
velbor_package_payload(Grande.bin SIZE 64000000 SEED 3)
