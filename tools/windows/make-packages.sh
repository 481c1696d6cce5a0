#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the Windows installer, the Windows Installer package (MSI) and the
# portable archive from a Windows build tree: lays the program out with
# `cmake --install`, lists its files for the installer and the uninstaller,
# runs NSIS and wixl, and zips the same folder.
# Usage: make-packages.sh <cmake> <build dir> <version> <full version> <icon>
#   version: major.minor.patch, as the program shows it; full version: the
#   project's four numbers, the MSI's product version
set -euo pipefail

cmake=$1 build=$2 version=$3 version_full=$4 icon=$5
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
program=Вирталаб
work=$build/packages
stage=$work/$program
installer=$build/$program-$version-setup.exe
package=$build/$program-$version.msi
archive=$build/$program-$version-windows.zip

rm -rf "$work"
mkdir -p "$work"
"$cmake" --install "$build" --prefix "$stage" --strip >"$work/install.log"
# The compiler's runtime comes with its debugging symbols. The program's own
# modules stay as built and recorded: stripping rewrites even a stripped
# DLL's header, and the program then refuses to load it.
modules=$build/platform/modules/modules.txt
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

# The installer's twin for 64-bit Wine, for where Wine has no 32-bit side
# (see test_wine_install.sh); it is not shipped.
makensis -V2 -INPUTCHARSET UTF8 -DTARGET=amd64-unicode \
    -DVERSION="$version" -DICON="$icon" \
    -DFILES="$files" -DREMOVE="$remove" -DSIZE_KB="$size_kb" -DOUTFILE="$work/setup-amd64.exe" \
    "$here/installer.nsi"

# The MSI: one component for each file, in the same folders; wixl takes
# sources relative to where it runs.
python3 - "$stage" "$work" <<'PY'
import os, sys
from xml.sax.saxutils import quoteattr
stage, work = sys.argv[1:]
components, updates = [], []
count = 0

def name_of(name, table, key, column, ext=""):
    """wixl drops text it cannot write in the database's code page: a
    non-ASCII name gets an ASCII stand-in, replaced afterwards."""
    if name.isascii():
        return name
    updates.append(f"UPDATE `{table}` SET `{column}` = 'VL{count:04d}~1{ext}|{name}' "
                   f"WHERE `{table}` = '{key}'")
    return f"vl{count:04d}{ext.lower()}"

def folder(path, depth):
    global count
    lines = []
    pad = "  " * depth
    for entry in sorted(os.scandir(path), key=lambda e: e.name):
        count += 1
        source = os.path.relpath(entry.path, work)
        if entry.is_dir():
            key = f"d{count}"
            lines.append(f'{pad}<Directory Id="{key}" '
                         f'Name={quoteattr(name_of(entry.name, "Directory", key, "DefaultDir"))}>')
            lines += folder(entry.path, depth + 1)
            lines.append(f"{pad}</Directory>")
            continue
        program = entry.name.endswith(".exe") and depth == 0
        key = "program" if program else f"f{count}"
        ext = os.path.splitext(entry.name)[1].upper()
        ext = ext[:4] if ext.isascii() else ""
        name = quoteattr(name_of(entry.name, "File", key, "FileName", ext))
        components.append(f"c{count}")
        shortcut = ('><Shortcut Id="menu" Directory="ProgramMenuFolder" Name="Virtalab" '
                    'WorkingDirectory="INSTALLDIR" Advertise="no"/></File>') if program else "/>"
        lines.append(f'{pad}<Component Id="c{count}" Guid="*" Win64="yes">'
                     f'<File Id="{key}" Name={name} Source={quoteattr(source)} KeyPath="yes"'
                     f'{shortcut}</Component>')
    return lines

body = folder(stage, 0)
with open(os.path.join(work, "files.wxi"), "w") as out:
    out.write("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Include>\n")
    out.write("\n".join(body) + "\n</Include>\n")
with open(os.path.join(work, "feature.wxi"), "w") as out:
    out.write("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Include>\n")
    out.write("".join(f'<ComponentRef Id="{c}"/>\n' for c in components) + "</Include>\n")
with open(os.path.join(work, "names.sql"), "w") as out:
    out.write("".join(update + "\n" for update in updates))
PY
cp "$icon" "$work/virtalab.ico"
rm -f "$package"
(cd "$work" && wixl -a x64 -D Version="$version_full" -D Files=files.wxi -D FeatureFiles=feature.wxi \
    -D Icon=virtalab.ico -o "$package" "$here/installer.wxs" 2>"$work/wixl.log") || {
    cat "$work/wixl.log" >&2
    exit 1
}
# The Cyrillic text, in the database's code page (Cyrillic, 1251).
printf '\r\n\r\n1251\t_ForceCodepage\r\n' >"$work/_ForceCodepage.idt"
msibuild "$package" -i "$work/_ForceCodepage.idt"
unsupported="«Вирталаб» работает только в 64-разрядной Windows 10 версии 1607 или новее и в Windows 11. На этом компьютере программа работать не сможет, поэтому ничего не установлено."
queries=(
    "UPDATE \`Directory\` SET \`DefaultDir\` = 'VIRTAL~1|$program' WHERE \`Directory\` = 'INSTALLDIR'"
    "UPDATE \`Shortcut\` SET \`Name\` = 'VIRTAL~1|$program', \`Target\` = '[#program]' WHERE \`Shortcut\` = 'menu'"
    "UPDATE \`Property\` SET \`Value\` = '$program' WHERE \`Property\` = 'ProductName' OR \`Property\` = 'Manufacturer'"
    "UPDATE \`LaunchCondition\` SET \`Description\` = '$unsupported' WHERE \`Description\` = 'unsupported'"
    "UPDATE \`LaunchCondition\` SET \`Description\` = 'Уже установлена более новая версия «Вирталаба».' WHERE \`Description\` = 'newer'"
)
while IFS= read -r query; do
    queries+=("$query")
done <"$work/names.sql"
for query in "${queries[@]}"; do
    msibuild "$package" -q "$query"
done

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
echo "$package"
echo "$archive"
