# The payload of package.rc: as many bytes as the shipped manual.
velbor_package_payload(Brevanti.zip SIZE 137381708 SEED 137)
