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
for needed in libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 libqt6multimedia6 \
    libuemf0 qt6-translations-l10n fonts-liberation2 fonts-dejavu-core; do
    if ! grep -Eq "^$needed( |\||$)" "$work/depends"; then
        fail "Depends does not name $needed"
    fi
done

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
check_layout "$root/usr" "$src" "$build"

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
