#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes a fresh Wine prefix that looks like a Windows machine as far as the
# program cares: 64-bit Windows 10 (Wine's own default is Windows 7, which
# the installers refuse), quiet, and with the faces Windows has. Debian's
# Wine keeps its own Tahoma where it does not look, and Wine has no
# Microsoft Sans Serif or Times New Roman: their metric twins stand in, as
# TrueType faces like Windows' own. Left to fall back on its own, Wine may
# take an OpenType (CFF) face such as Ghostscript's C059, and its PostScript
# driver then crashes as it prints.
# Usage: wine-prefix.sh <prefix folder>   (Wine's messages go to <prefix>.log)
set -euo pipefail

prefix=${1:?usage: $0 <prefix folder>}
export WINEPREFIX=$prefix WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml="
log=$prefix.log
rm -rf "$prefix"
{
    wineboot -i
    wine winecfg /v win10
    cp /usr/share/wine/fonts/*.ttf "$prefix/drive_c/windows/Fonts/"
    for pair in "Microsoft Sans Serif=Liberation Sans" "Times New Roman=Liberation Serif"; do
        wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "${pair%%=*}" /d "${pair#*=}" /f
    done
    wineserver -w
} >>"$log" 2>&1
