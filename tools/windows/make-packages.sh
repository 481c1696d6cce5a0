#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the Windows installer and the portable archive from a Windows build
# tree: lays the program out with `cmake --install`, lists its files for the
# installer and the uninstaller, runs NSIS, and zips the same folder.
# Usage: make-packages.sh <cmake> <build dir> <version> <icon>
set -euo pipefail

cmake=$1 build=$2 version=$3 icon=$4
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
program=Вирталаб
work=$build/packages
stage=$work/$program
installer=$build/$program-$version-setup.exe
archive=$build/$program-$version-windows.zip

rm -rf "$work"
mkdir -p "$work"
"$cmake" --install "$build" --prefix "$stage" --strip >"$work/install.log"
# The compiler's runtime comes with its debugging symbols. The program's own
# modules stay as built and recorded: stripping rewrites even a stripped
# DLL's header, and the program then refuses to load it.
modules=$build/platform/modules.txt
keep=()
while read -r file _; do
    keep+=(! -name "$file")
done <"$modules"
find "$stage" -name '*.dll' "${keep[@]}" -exec x86_64-w64-mingw32-strip --strip-unneeded {} +
if ! differences=$(bash "$here/../check-modules.sh" "$modules" "$stage"); then
    echo "The packages would hold modules the program refuses: $differences" >&2
    exit 1
fi

# Install every file into its folder; uninstall exactly those, then the
# folders, deepest first, if nothing else is left in them.
files=$work/files.nsh
remove=$work/remove.nsh
: >"$files"
: >"$remove"
while IFS= read -r -d '' dir; do
    rel=${dir#"$stage"}
    winrel=${rel//\//\\}
    echo "SetOutPath \"\$INSTDIR$winrel\"" >>"$files"
    while IFS= read -r -d '' file; do
        name=${file##*/}
        echo "File \"$file\"" >>"$files"
        echo "Delete \"\$INSTDIR$winrel\\$name\"" >>"$remove"
    done < <(find "$dir" -maxdepth 1 -type f -print0 | sort -z)
done < <(find "$stage" -type d -print0 | sort -z)
while IFS= read -r -d '' dir; do
    rel=${dir#"$stage"}
    echo "RMDir \"\$INSTDIR${rel//\//\\}\"" >>"$remove"
done < <(find "$stage" -mindepth 1 -type d -print0 | sort -rz)

size_kb=$(du -sk "$stage" | cut -f1)
makensis -V2 -INPUTCHARSET UTF8 \
    -DVERSION="$version" -DICON="$icon" \
    -DFILES="$files" -DREMOVE="$remove" -DSIZE_KB="$size_kb" -DOUTFILE="$installer" \
    "$here/installer.nsi"

# Runs from any folder, a USB stick included: the archive holds one folder.
rm -f "$archive"
python3 - "$work" "$program" "$archive" <<'PY'
import os, sys, zipfile
root, top, out = sys.argv[1:]
with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED) as z:
    for folder, dirs, files in sorted(os.walk(os.path.join(root, top))):
        dirs.sort()
        for name in sorted(files):
            path = os.path.join(folder, name)
            z.write(path, os.path.relpath(path, root))
PY
echo "$installer"
echo "$archive"
