#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Compares the program's modules in a folder with the record the build
# compiled into the program: the program loads a module only when it is
# byte for byte the file recorded, so a package holding anything else
# cannot print (or play sounds) at all. Prints one line for each module that
# is missing or differs, and fails then.
# Usage: check-modules.sh <modules.txt> <folder>
#   modules.txt: "<file> <size> <sha256>" a line, as the build writes it
set -euo pipefail

list=${1:?usage: $0 <modules.txt> <folder>}
folder=${2:?usage: $0 <modules.txt> <folder>}

if [ ! -s "$list" ]; then
    echo "$list does not list the modules as built"
    exit 1
fi
status=0
while read -r file size sha256; do
    path=$folder/$file
    if [ ! -f "$path" ]; then
        echo "$file is missing from $folder"
        status=1
    elif [ "$(wc -c <"$path")" -ne "$size" ]; then
        echo "$file is $(wc -c <"$path") bytes, built as $size"
        status=1
    elif [ "$(sha256sum "$path" | cut -d' ' -f1)" != "$sha256" ]; then
        echo "$file is not the module as built (SHA-256 differs)"
        status=1
    fi
done <"$list"
exit $status
