#!/usr/bin/env bash
# apt_archive_test.sh [WORK_DIR]
# scripts/apt-archive against an archive of its own: a file: archive with the
# release's suite and a newer security suite, read by apt through a configuration of
# its own (APT_CONFIG) with a stand-in for dpkg, so nothing of the machine's apt or
# packages is touched and no network is used. The security suite's i386 index fails
# as it does while a mirror syncs; its amd64 index is an older update's, as on a
# machine that added i386 after its last good update.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
apt_archive=$here/../../scripts/apt-archive
work=${1:-$(mktemp -d)}
rm -rf "$work"
mkdir -p "$work"
work=$(cd "$work" && pwd)
. /etc/os-release
release=$VERSION_CODENAME
security=$release-security
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# The archive: "twin" exists for both architectures, which must have one version
# (Multi-Arch: same); "tool32" is i386 only and needs twin:i386.
archive=$work/archive
package() {  # package NAME VERSION ARCH SUITE [DEPENDS]
  local tree=$work/trees/$1_$2_$3
  mkdir -p "$tree/DEBIAN" "$archive/pool/$4"
  printf 'Package: %s\nVersion: %s\nArchitecture: %s\nMaintainer: Nobody <nobody@example.invalid>\nDescription: test package\nMulti-Arch: %s\n%s' \
    "$1" "$2" "$3" "$([ "$1" = twin ] && echo same || echo no)" "${5:+Depends: $5
}" >"$tree/DEBIAN/control"
  dpkg-deb -Zgzip --build "$tree" "$archive/pool/$4/$1_$2_$3.deb" >/dev/null
}
package twin 1.0 amd64 "$release"
package twin 1.0 i386 "$release"
package tool32 1.0 i386 "$release" twin
package twin 1.1 amd64 "$security"
package twin 1.1 i386 "$security"
release_file() {  # release_file SUITE [BROKEN_ARCH]: lists BROKEN_ARCH's index with a wrong size
  local dists=$archive/dists/$1 arch index size
  {
    printf 'Suite: %s\nCodename: %s\nArchitectures: amd64 i386\nComponents: main\nDate: %s\nSHA256:\n' \
      "$1" "$1" "$(date -Ru)"
    for arch in amd64 i386; do
      index=main/binary-$arch/Packages
      size=$(stat -c %s "$dists/$index")
      [ "$arch" = "${2:-}" ] && size=$((size + 7))
      echo " $(sha256sum <"$dists/$index" | cut -d ' ' -f 1) $size $index"
    done
  } >"$dists/Release"
}
for suite in "$release" "$security"; do
  for arch in amd64 i386; do
    mkdir -p "$archive/dists/$suite/main/binary-$arch"
    (cd "$archive" && dpkg-scanpackages -a "$arch" "pool/$suite" /dev/null 2>/dev/null) \
      >"$archive/dists/$suite/main/binary-$arch/Packages"
  done
  release_file "$suite"
done

# apt's own folders, and a dpkg that only notes what it is asked.
root=$work/root
mkdir -p "$root/etc/apt/apt.conf.d" "$root/etc/apt/sources.list.d" "$root/etc/apt/preferences.d" \
  "$root/lists/partial" "$root/cache/archives/partial" "$root/dpkg" "$root/log"
: >"$root/dpkg/status"
printf 'deb [trusted=yes] file:%s %s main\ndeb [trusted=yes] file:%s %s main\n' \
  "$archive" "$release" "$archive" "$security" >"$root/etc/apt/sources.list"
printf '#!/bin/sh\necho "$*" >>"%s"\n' "$root/dpkg.log" >"$root/fake-dpkg"
chmod +x "$root/fake-dpkg"
configure() {  # configure ARCHITECTURE...
  {
    printf 'Dir::Etc "%s";\nDir::Etc::Parts "apt.conf.d";\n' "$root/etc/apt"
    printf 'Dir::State::Lists "%s";\nDir::Cache "%s";\n' "$root/lists" "$root/cache"
    printf 'Dir::State::status "%s";\nDir::Log "%s";\nDir::Bin::dpkg "%s";\n' \
      "$root/dpkg/status" "$root/log" "$root/fake-dpkg"
    printf 'Acquire::Languages "none";\nAPT::Architecture "amd64";\nAPT::Architectures {'
    printf ' "%s";' "$@"
    printf ' };\n'
  } >"$root/apt.conf"
}
export APT_CONFIG=$root/apt.conf VELBOR_APT_TRIES=3 VELBOR_APT_PAUSE=0 TMPDIR=$work
run() {  # run NAME COMMAND...: output in $work/NAME.out, exit status in $status
  local name=$1
  shift
  status=0
  "$@" >"$work/$name.out" 2>&1 || status=$?
}
last_line() { tail -n 1 "$work/$1.out"; }

# An earlier good update, before i386 was added.
configure amd64
run good_update "$apt_archive" update twin
[ "$status" -eq 0 ] || fail "the update of a good archive failed: $(cat "$work/good_update.out")"

# Mid-sync: the i386 index of the security suite fails on every try.
configure amd64 i386
release_file "$security" i386
run failing_update "$apt_archive" update twin tool32:i386
[ "$status" -eq 0 ] || fail "a failing index that leaves usable indexes stopped the update: $(last_line failing_update)"
[ "$(grep -c 'trying again' "$work/failing_update.out")" -eq 2 ] ||
  fail "the failing update was not tried three times: $(cat "$work/failing_update.out")"
grep -q "binary-i386/Packages.*going on" "$work/failing_update.out" ||
  fail "going on does not name the failed index: $(last_line failing_update)"

# The default versions pair twin 1.1 (amd64, old security index) with twin:i386 1.0;
# the release's own versions match.
run install "$apt_archive" install twin tool32:i386
[ "$status" -eq 0 ] || fail "the install failed: $(last_line install)"
grep -q "(Unable to correct problems.*(tool32:i386 : Depends: twin:i386 but it is not installable)); installing $release's own" "$work/install.out" ||
  fail "the install did not say it took the release's versions: $(cat "$work/install.out")"
grep -q -- "--unpack.*twin_1.0_amd64.deb" "$root/dpkg.log" && grep -q "twin_1.0_i386.deb" "$root/dpkg.log" ||
  fail "dpkg was not given twin 1.0 for both architectures: $(cat "$root/dpkg.log")"

# What nothing mends ends with one line naming the step and what to do.
run unknown_update "$apt_archive" update twin absent
[ "$status" -ne 0 ] || fail "an update whose indexes lack a needed package went on"
last_line unknown_update | grep -q "^apt-archive: apt-get update failed 3 times (Failed to fetch .*binary-i386/Packages.*apt knows no absent; .*run scripts/install-deps again (full output: .*)$" ||
  fail "the failed update's last line: $(last_line unknown_update)"
run unknown_install "$apt_archive" install absent
[ "$status" -ne 0 ] || fail "installing an unknown package succeeded"
last_line unknown_install | grep -q "^apt-archive: apt-get install cannot install absent .*Unable to locate package absent.*run scripts/install-deps again" ||
  fail "the failed install's last line: $(last_line unknown_install)"

# Synced again: one try, and the default (newest) versions.
release_file "$security"
: >"$root/dpkg.log"
run synced_update "$apt_archive" update twin tool32:i386
[ "$status" -eq 0 ] && [ ! -s "$work/synced_update.out" ] ||
  fail "the update of a synced archive said: $(cat "$work/synced_update.out")"
run synced_install "$apt_archive" install twin tool32:i386
[ "$status" -eq 0 ] && grep -q "twin_1.1_amd64.deb" "$root/dpkg.log" && grep -q "twin_1.1_i386.deb" "$root/dpkg.log" ||
  fail "a synced archive did not give twin 1.1 for both architectures: $(cat "$work/synced_install.out" "$root/dpkg.log")"

# A new suite comes from the archive that the release comes from.
run add_source "$apt_archive" add-source deb-src "$release" "$release-source.sources"
grep -qx "URIs: file:$archive" "$root/etc/apt/sources.list.d/$release-source.sources" 2>/dev/null ||
  fail "add-source did not take the release's archive: $(cat "$work/add_source.out")"

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed; outputs in $work" >&2
  exit 1
fi
rm -rf "$work"
echo "apt-archive: retried and went on past a failing index, matched the architectures' versions, and failed in one line"
