#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Compiles the Windows resource script with the MinGW resource compiler, or
# reads the resources back from a built executable, and checks the version
# block and the icon.
# Usage: test_version_rc.sh <path of virtalab.rc or of the .exe>
# Exit code 77 (skipped) when the resource compiler is not installed.
set -euo pipefail

rc=${1:?usage: $0 <resource script>}
windres=${WINDRES:-x86_64-w64-mingw32-windres}

if ! command -v "$windres" >/dev/null 2>&1; then
    echo "SKIP: $windres not found (Debian package binutils-mingw-w64-x86-64)"
    exit 77
fi
if [ ! -f "$rc" ]; then
    echo "FAIL: no resource script or executable at $rc"
    exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Without the MinGW C compiler windres needs the plain C preprocessor.
if ! "$windres" --preprocessor=cpp -i "$rc" -O res -o "$work/virtalab.res" 2>"$work/errors"; then
    echo "FAIL: $windres could not compile $rc:"
    cat "$work/errors"
    exit 1
fi
"$windres" -J res -i "$work/virtalab.res" -O rc -o "$work/decompiled.rc"
sed 's/^[[:space:]]*//; s/[[:space:]]*$//' "$work/decompiled.rc" >"$work/lines"
# The version strings are stored as UTF-16LE, one NUL-terminated string after
# another; decoded, each value follows its key on the next non-empty line.
iconv -f UTF-16LE -t UTF-8 -c "$work/virtalab.res" | tr '\0' '\n' | grep -av '^$' >"$work/strings"

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

expect_line() { # the decompiled resource holds this line (blanks normalised)
    if ! grep -Fxq -- "$1" "$work/lines"; then
        fail "missing: $1"
    fi
}

string_value() {
    awk -v key="$1" 'found { print; exit } substr($0, length($0) - length(key) + 1) == key { found = 1 }' \
        "$work/strings"
}

expect_string() {
    local actual
    actual=$(string_value "$1")
    if [ "$actual" != "$2" ]; then
        fail "$1 is '$actual', expected '$2'"
    fi
}

expect_line 'FILEVERSION 2, 0, 0, 1'
expect_line 'PRODUCTVERSION 2, 0, 0, 1'
expect_line 'FILEOS 0x4'
expect_line 'FILETYPE 0x1'
expect_line 'BLOCK "040904B0"'
expect_line 'VALUE "Translation", 0x409, 1200'

expect_string FileVersion '2.00.0001'
expect_string ProductVersion '2.00.0001'
expect_string ProductName 'вирталаб '
expect_string InternalName 'Вирталаб'
expect_string OriginalFilename 'Вирталаб.exe'

count=$(grep -c '^[[:space:]]*VALUE "' "$work/decompiled.rc" || true)
if [ "$count" -ne 6 ]; then
    fail "expected 5 strings and the translation, found $count values"
fi
for absent in CompanyName FileDescription LegalCopyright LegalTrademarks Comments PrivateBuild SpecialBuild; do
    if grep -aq "$absent" "$work/strings"; then
        fail "$absent must not be present"
    fi
done

# The application icon, two images (32 x 32 and 16 x 16).
if ! grep -q 'Has 2 elements' "$work/decompiled.rc"; then
    fail "the icon group IDI_ICON1 does not hold two images"
fi

if [ "$failures" -ne 0 ]; then
    echo "Decompiled resource:"
    cat "$work/decompiled.rc"
    exit 1
fi
echo "PASS: version block and icon as designed"
