#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package from the build tree with CPack, reads its control
# fields and unpacks it into a scratch root to check the layout under /usr.
# Exit code 77 (skipped) without dpkg-deb.
# Usage: test_deb.sh <cpack> <build dir> <source dir> [build type]
set -euo pipefail

cpack=${1:?usage: $0 <cpack> <build dir> <source dir>}
build=${2:?}
src=${3:?}
build_type=${4:-}

if ! command -v dpkg-deb >/dev/null 2>&1; then
    echo "SKIP: dpkg-deb not found"
    exit 77
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
# shellcheck source=install_layout.sh
source "$(dirname "$0")/install_layout.sh"

if ! (cd "$build" && "$cpack" -G DEB -B "$work/out" --config "$build/CPackConfig.cmake") \
    >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log"
    echo "FAIL: cpack -G DEB failed"
    exit 1
fi
mapfile -t debs < <(find "$work/out" -maxdepth 1 -name '*.deb')
if [ ${#debs[@]} -ne 1 ]; then
    cat "$work/cpack.log"
    echo "FAIL: expected one .deb, found ${#debs[@]}"
    exit 1
fi
deb=${debs[0]}
dpkg-deb -I "$deb" >"$work/info"

field() { dpkg-deb -f "$deb" "$1"; }

[ "$(field Package)" = virtalab ] || fail "package name is '$(field Package)'"
if command -v dpkg >/dev/null 2>&1; then
    [ "$(field Architecture)" = "$(dpkg --print-architecture)" ] ||
        fail "architecture is '$(field Architecture)'"
fi
[ "$(field Section)" = education ] || fail "section is '$(field Section)'"
[ -n "$(field Maintainer)" ] || fail "no maintainer"
[ -n "$(field Description)" ] || fail "no description"

# Depends, one package name a line, versions dropped.
field Depends | tr ',' '\n' | sed 's/(.*)//; s/^[[:space:]]*//; s/[[:space:]]*$//' | grep -v '^$' \
    >"$work/depends"
depends_on() {
    grep -Eq "^$1( |\||$)" "$work/depends" || fail "Depends does not name $1${2:+ ($2)}"
}
# The package that ships a file on this machine; the release's own names
# (Debian 13 renamed some, libqt6core6t64 among them).
owner() { dpkg-query -S "$1" 2>/dev/null | awk -F': ' -v f="$2" '$2 ~ f { sub(/:.*/, "", $1); print $1; exit }'; }
depends_on qt6-translations-l10n
if command -v dpkg-query >/dev/null 2>&1 && command -v fc-match >/dev/null 2>&1; then
    # The faces the program shows, as this machine's fontconfig finds them.
    for face in 'DejaVu Sans' 'Liberation Sans' 'Liberation Serif:bold'; do
        file=$(fc-match -f '%{file}' "$face")
        package=$(owner "$file" "^$file\$")
        [ -n "$package" ] || fail "no package ships $file, the face for $face"
        depends_on "$package" "$face"
    done
fi
# Every path in the package lies under /usr.
dpkg-deb -c "$deb" | awk '{ print $6 }' | sed 's|^\./||' | grep -v '^$' | grep -v '^usr\(/\|$\)' \
    >"$work/outside" || true
if [ -s "$work/outside" ]; then
    fail "files outside /usr: $(tr '\n' ' ' <"$work/outside")"
fi

root=$work/root
dpkg-deb -x "$deb" "$root"

# The package carries the version its own metadata announces.
release=$(sed -n 's|.*<release version="\([^"]*\)".*|\1|p' \
    "$root/usr/share/metainfo/io.github.virtalab.Virtalab.metainfo.xml" | head -n 1)
case $(field Version) in
"$release"-*) ;;
*) fail "package version '$(field Version)' is not the released '$release'" ;;
esac
# Built on Debian, it is for the release built on, and says so.
if grep -qx 'ID=debian' /etc/os-release; then
    debian=$(sed -n 's/^VERSION_ID="\?\([0-9]*\)"\?$/\1/p' /etc/os-release)
    case $(field Version) in
    *"+deb$debian") ;;
    *) fail "package version '$(field Version)' does not name Debian $debian" ;;
    esac
fi
check_layout "$root/usr" "$src" "$build"

# Each Qt library and libUEMF that the program and its modules link comes
# from a package it depends on.
if command -v readelf >/dev/null 2>&1 && command -v dpkg-query >/dev/null 2>&1; then
    readelf -d "$root"/usr/lib/virtalab/virtalab "$root"/usr/lib/virtalab/*.so |
        sed -n 's/.*(NEEDED).*\[\(lib\(Qt6\|uemf\)[^]]*\)\]$/\1/p' | sort -u >"$work/libraries"
    [ "$(grep -c Qt6Multimedia "$work/libraries")" -eq 1 ] || fail "no module links Qt Multimedia"
    while read -r library; do
        package=$(owner "*/$library" "/$library\$")
        [ -n "$package" ] || fail "no package ships $library"
        depends_on "$package" "$library"
    done <"$work/libraries"
fi
# Apt of this release would install it: every dependency is there.
if command -v apt-get >/dev/null 2>&1 &&
    ! apt-get install --simulate --no-install-recommends "$deb" >"$work/apt" 2>&1; then
    fail "apt would not install the package:
$(cat "$work/apt")"
fi

# A package must not look for libraries in the tree it was built in.
if command -v readelf >/dev/null 2>&1 &&
    readelf -d "$root/usr/lib/virtalab/virtalab" | grep -Eq '\((RPATH|RUNPATH)\)'; then
    fail "the packaged program keeps a library search path: $(readelf -d "$root/usr/lib/virtalab/virtalab" | grep -E 'R(UN)?PATH')"
fi

# Debian's own checker finds no error; the warnings kept are named in the
# README with their reasons.
if command -v lintian >/dev/null 2>&1; then
    lintian --tag-display-limit 0 "$deb" >"$work/lintian" 2>&1 || true
    # The program checks its modules byte for byte, so they are packaged as
    # built: stripped by a release build, with their symbols by any other.
    kept='^$'
    case $build_type in
    Release | MinSizeRel) ;;
    *) kept=': unstripped-binary-or-object \[usr/lib/virtalab/virtalab-(print|sound)\.so\]' ;;
    esac
    grep -E '^E: ' "$work/lintian" | grep -v -E "$kept" | sed 's/^/lintian: /' >"$work/lintian.errors" || true
    if [ -s "$work/lintian.errors" ]; then
        fail "lintian reports errors:
$(cat "$work/lintian.errors")"
    fi
    if grep -E '^W: ' "$work/lintian" | grep -v -E ': (maintscript-calls-ldconfig|initial-upload-closes-no-bugs) ' >"$work/lintian.warnings"; then
        fail "lintian warnings beyond those the README explains:
$(cat "$work/lintian.warnings")"
    fi
else
    echo "lintian not found: the package is not checked against Debian's policy"
fi

if [ "$failures" -ne 0 ]; then
    echo "Package information:"
    cat "$work/info"
    exit 1
fi
echo "PASS: $(basename "$deb") declares its dependencies and unpacks into the designed layout"
