#!/usr/bin/env bash
# store_cache_test.sh [WORK_DIR]
# scripts/store-package --cache: a package stored a second time, into another
# folder, comes out the same without compressing again; another store-item, or
# changed bytes, compress again. A stand-in for store-item answers half the size of
# a file named *.txt (which so pays) and all of any other's, stores the items
# together by laying them end to end, and notes each call.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
store_package=$here/../../scripts/store-package
work=${1:-$(mktemp -d)}
rm -rf "$work"
mkdir -p "$work/package"
work=$(cd "$work" && pwd)
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

stand_in() {  # stand_in FILE [VARIANT]
  cat >"$1" <<STAND_IN
#!/bin/sh
# ${2:-}
echo "\$*" >>"$work/calls"
case "\$1 \$2" in
  "test "*.txt) echo \$((\$(wc -c <"\$2") / 2)) ;;
  test*) wc -c <"\$2" ;;
  together*) stream=\$2 table=\$3; shift 3; : >"\$stream"; : >"\$table"
    while [ \$# -gt 0 ]; do cat "\$2" >>"\$stream"; echo "\$1" >>"\$table"; shift 2; done ;;
esac
STAND_IN
  chmod +x "$1"
}
stand_in "$work/store-item"
seq 1 20000 >"$work/package/Testo.txt"
head -c 50000 /dev/urandom >"$work/package/Dati.bin"
cat >"$work/package/package.rc" <<'RC'
101 CUSTOM "Testo.txt"
102 CUSTOM "Dati.bin"
RC
store() {  # store OUTPUT STORE_ITEM: answers how many times STORE_ITEM ran
  : >"$work/calls"
  python3 "$store_package" --cache "$work/cache" "$work/$1" "$work/package/package.rc" "$2" \
    "$work/package" >/dev/null
  wc -l <"$work/calls"
}
# The same files, package.rc naming each its own folder's frames.
same() {
  diff -r -x package.rc "$work/$1" "$work/$2" >/dev/null &&
    [ "$(sed "s|$work/$1/||" "$work/$1/package.rc")" = "$(sed "s|$work/$2/||" "$work/$2/package.rc")" ]
}

[ "$(store first "$work/store-item")" -eq 3 ] || fail "the first store did not test both items and store one"
[ "$(store second "$work/store-item")" -eq 0 ] || fail "the second store compressed again"
same first second || fail "the store from the cache differs: $(diff -r "$work/first" "$work/second" | head -n 8)"
grep -q '^1 ITEMSTREAM' "$work/second/package.rc" && grep -q '^102 CUSTOM' "$work/second/package.rc" ||
  fail "the cache did not keep which item pays: $(cat "$work/second/package.rc")"

stand_in "$work/other-store-item" another
[ "$(store third "$work/other-store-item")" -eq 3 ] || fail "another store-item was given the first one's answers"
echo 20001 >>"$work/package/Testo.txt"
[ "$(store fourth "$work/store-item")" -eq 2 ] || fail "a changed item was not tested and stored again, or an unchanged one was tested"

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed; outputs in $work" >&2
  exit 1
fi
rm -rf "$work"
echo "store-package --cache: the same items stored again are taken from the cache, the same bytes"
