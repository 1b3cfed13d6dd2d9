# A payload large enough that its write can be caught under way and takes long
# enough that a window which stopped answering while it is written would show it.
velbor_package_payload(Grande.bin SIZE 268435456 SEED 3)
