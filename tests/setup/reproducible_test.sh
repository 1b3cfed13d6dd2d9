#!/usr/bin/env bash
# reproducible_test.sh SOURCE_DIR WORK_DIR SETUP_EXE TOOLCHAIN_FILE SETUP_INSPECT
# Copies the sources into another folder, builds setup.exe there, later and with
# the same toolchain, and checks that it is byte for byte the SETUP_EXE of this
# build: nothing of the time or the folder of a build reaches the program.
set -euo pipefail
source_dir=$1
work=$2
setup=$3
toolchain=$(basename "$4")
inspect=$5

rm -rf "$work"
mkdir -p "$work/elsewhere"
tar -C "$source_dir" --exclude=./build -cf - . | tar -C "$work/elsewhere" -xf -
cd "$work/elsewhere"
# A build at another time of day, and in another time zone.
export TZ=Pacific/Kiritimati
unset SOURCE_DATE_EPOCH
cmake -S . -B build -G Ninja -DCMAKE_TOOLCHAIN_FILE="cmake/$toolchain" -DCMAKE_BUILD_TYPE=Release \
  -DVELBOR_SETUP_INSPECT="$inspect" >configure.log 2>&1 || { cat configure.log >&2; exit 1; }
cmake --build build --target setup -j2 >build.log 2>&1 || { cat build.log >&2; exit 1; }
if ! cmp build/setup.exe "$setup"; then
  echo "FAIL: setup.exe built in $work/elsewhere differs from $setup" >&2
  exit 1
fi
rm -rf "$work"
echo "setup.exe built again elsewhere is byte for byte the same"
