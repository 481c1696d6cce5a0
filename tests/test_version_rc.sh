#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Compiles the Windows resource script with the MinGW resource compiler, or
# reads the resources back from a built executable, and checks the version
# block, the icon and the application manifest.
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

# The application manifest, resource type 24 (RT_MANIFEST) id 1, as the
# loader reads it: Windows 10/11, common controls 6, long paths, and the
# DPI awareness Qt sets (per monitor, version 2).
if ! python3 - "$work/virtalab.res" >"$work/manifest.txt" 2>&1 <<'PY'; then
import struct, sys
import xml.etree.ElementTree as ET

data = open(sys.argv[1], "rb").read()
manifests = []
at = 0
while at + 8 <= len(data):
    size, header = struct.unpack_from("<II", data, at)
    fields = data[at + 8:at + header]
    def ordinal(offset):  # a numeric type or name, else None
        tag, number = struct.unpack_from("<HH", fields, offset)
        return number if tag == 0xFFFF else None
    if size and ordinal(0) == 24 and ordinal(4) == 1:
        manifests.append(data[at + header:at + header + size])
    at = (at + header + size + 3) & ~3
if len(manifests) != 1:
    sys.exit(f"{len(manifests)} manifests of id 1, expected one")
root = ET.fromstring(manifests[0])
asm, asm3 = "{urn:schemas-microsoft-com:asm.v1}", "{urn:schemas-microsoft-com:asm.v3}"
compat = "{urn:schemas-microsoft-com:compatibility.v1}"
ws2016 = "{http://schemas.microsoft.com/SMI/2016/WindowsSettings}"
ws2005 = "{http://schemas.microsoft.com/SMI/2005/WindowsSettings}"
found = {
    "supportedOS": [e.get("Id") for e in root.iter(compat + "supportedOS")],
    "common controls": [e.get("version") for e in root.iter(asm + "assemblyIdentity")
                        if e.get("name") == "Microsoft.Windows.Common-Controls"],
    "longPathAware": [e.text for e in root.iter(ws2016 + "longPathAware")],
    "dpiAwareness": [e.text for e in root.iter(ws2016 + "dpiAwareness")],
    "dpiAware": [e.text for e in root.iter(ws2005 + "dpiAware")],
    "execution level": [e.get("level") for e in root.iter(asm3 + "requestedExecutionLevel")],
}
expected = {
    "supportedOS": ["{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"],
    "common controls": ["6.0.0.0"],
    "longPathAware": ["true"],
    "dpiAwareness": ["PerMonitorV2"],
    "dpiAware": ["true/pm"],
    "execution level": ["asInvoker"],
}
wrong = [f"{key} is {found[key]}, expected {value}" for key, value in expected.items()
         if found[key] != value]
if wrong:
    sys.exit("; ".join(wrong))
PY
    fail "manifest: $(cat "$work/manifest.txt")"
fi

if [ "$failures" -ne 0 ]; then
    echo "Decompiled resource:"
    cat "$work/decompiled.rc"
    exit 1
fi
echo "PASS: version block, icon and manifest as designed"
