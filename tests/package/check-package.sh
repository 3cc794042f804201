#!/usr/bin/env bash
# Builds the Debian package from a build tree with cpack and checks it without installing it: its
# dependencies, the exact files it installs (owned by root, programs stripped and hardened, without a
# run path), quillet-export run from the unpacked tree against the build tree's, the desktop entry,
# the copyright file against LICENSE, the changelog's version, and lintian (no hardening tags).
#   check-package.sh CPACK BUILD_DIR SOURCE_DIR VERSION COMPILER
set -euo pipefail
cpack=$1 build=$2 source=$3 version=$4 compiler=$5
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

"$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack could not build the package"; }
debs=("$work"/quillet_"$version"-*_"$(dpkg --print-architecture)".deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "not one quillet_$version-*.deb among: $(ls "$work")"
deb=${debs[0]}

dpkg-deb --info "$deb"
depends=$(dpkg-deb --field "$deb" Depends)
depended_on=$(tr ',' '\n' <<<"$depends" | sed 's/^ *//; s/ .*//')
for needed in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 \
    qt6-translations-l10n fonts-wqy-microhei qt6-image-formats-plugins; do
    grep -qxF "$needed" <<<"$depended_on" || fail "Depends lacks $needed: $depends"
done
[ "$(dpkg-deb --field "$deb" Package)" = quillet ] || fail "the package is not named quillet"

not_root=$(dpkg-deb --contents "$deb" | awk '$2 != "root/root"')
[ -z "$not_root" ] || fail "entries not owned by root: $not_root"

root=$work/root
dpkg-deb -x "$deb" "$root"
expected="./usr/bin/quillet
./usr/bin/quillet-export
./usr/share/applications/quillet.desktop
./usr/share/doc/quillet/changelog.Debian.gz
./usr/share/doc/quillet/copyright
./usr/share/icons/hicolor/scalable/apps/quillet.svg
./usr/share/lintian/overrides/quillet
./usr/share/man/man1/quillet-export.1.gz
./usr/share/man/man1/quillet.1.gz
./usr/share/quillet/samples/sample-landscape.jpg
./usr/share/quillet/samples/sample-line-drawing.bmp
./usr/share/quillet/samples/sample-ramp-circle.png"
files=$(cd "$root" && find . ! -type d | LC_ALL=C sort)
[ "$files" = "$expected" ] || fail "the package's files differ: $(diff <(echo "$expected") <(echo "$files"))"
# hardening-check asks for every protection, with two waivers. Control-flow integrity (IBT and
# shadow-stack marks) only where the C library's start files carry those marks, since a program
# carries them only when every object linked into it does (Debian 12's do not). FORTIFY's checked
# functions not in a program whose lintian override says why it calls none; then another program,
# built with the same flags, must show them.
waive_cfi=
readelf -n "$("$compiler" -print-file-name=Scrt1.o)" | grep 'x86 feature: IBT, SHSTK' >/dev/null ||
    waive_cfi=--nocfprotection
overrides=$root/usr/share/lintian/overrides/quillet
fortified=0
for program in quillet quillet-export; do
    [ -x "$root/usr/bin/$program" ] || fail "$program is not executable"
    file "$root/usr/bin/$program" | grep -q ', stripped' || fail "$program is not stripped"
    ! readelf -d "$root/usr/bin/$program" | grep -E 'R(UN)?PATH' || fail "$program carries a run path"
    waive_fortify=
    if grep -qxF "quillet: hardening-no-fortify-functions [usr/bin/$program]" "$overrides"; then
        waive_fortify=--nofortify
    fi
    hardening=$(hardening-check $waive_cfi $waive_fortify "$root/usr/bin/$program") || true
    echo "$hardening"
    grep -q 'Position Independent Executable:' <<<"$hardening" || fail "hardening-check gave no report"
    ! grep -E ': no\b' <<<"$hardening" | grep -v '(ignored)$' >/dev/null ||
        fail "$program lacks a protection"
    if grep -q 'Fortify Source functions: yes' <<<"$hardening"; then
        fortified=$((fortified + 1))
    fi
done
[ "$fortified" -gt 0 ] || fail "no program calls FORTIFY's checked functions"

# The installed quillet-export (linked against the system's Qt) writes the build tree's bytes.
sample="sample-landscape.jpg"
"$root/usr/bin/quillet-export" --threshold 100 "$root/usr/share/quillet/samples/$sample" "$work/installed.txt" ||
    fail "the unpacked quillet-export failed"
"$build/bin/quillet-export" --threshold 100 "$build/bin/$sample" "$work/built.txt" >/dev/null
[ "$(stat -c %s "$work/installed.txt")" -gt 24 ] || fail "the unpacked quillet-export wrote no points"
cmp "$work/installed.txt" "$work/built.txt" || fail "the unpacked quillet-export wrote other bytes"

validation=$(desktop-file-validate "$root/usr/share/applications/quillet.desktop" 2>&1) ||
    fail "the desktop entry is not valid: $validation"
[ -z "$validation" ] || echo "desktop-file-validate: $validation"

# The copyright file carries LICENSE's permission text as its licence paragraph.
sed -n '/^License: Expat$/,$p' "$root/usr/share/doc/quillet/copyright" | tail -n +2 | sed 's/^ //; s/^\.$//' \
    >"$work/licence-in-package"
sed -n '/^Permission is hereby granted/,$p' "$source/LICENSE" | diff - "$work/licence-in-package" ||
    fail "the copyright file's licence differs from LICENSE"
grep -qx 'Copyright: 2026 the Quillet developers' "$root/usr/share/doc/quillet/copyright" ||
    fail "the copyright file lacks LICENSE's copyright line"

zcat "$root/usr/share/doc/quillet/changelog.Debian.gz" >"$work/changelog"
changelog_version=$(dpkg-parsechangelog -l "$work/changelog" -S Version)
[ "$changelog_version" = "$(dpkg-deb --field "$deb" Version)" ] ||
    fail "the changelog's latest entry is $changelog_version, the package $(dpkg-deb --field "$deb" Version)"

lintian=$(lintian --fail-on error --display-info --show-overrides "$deb") ||
    { echo "$lintian"; fail "lintian reports errors"; }
echo "$lintian"
! grep -E '^[EWI]: .*\bhardening-' <<<"$lintian" >/dev/null || fail "lintian finds the programs unhardened"
echo "package checked: $(basename "$deb")"
