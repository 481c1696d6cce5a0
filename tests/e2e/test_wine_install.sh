#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows installer and the portable archive under Wine, as a lab
# administrator and a student would use them: a silent install into a fresh
# Windows machine (a new Wine prefix), the Start-menu shortcut and the entry
# in the list of programs, the installed program started from its folder
# with nothing of Qt elsewhere (its title, client size, the scope and the
# generator switched on, the sine measured on a screenshot, printed through
# Wine's spooler to a print scheduler of the test's own, closed with
# Alt+F4), the archive run from a folder with a Cyrillic name and printed
# from switched off with the printer dialog cancelled, and the silent
# uninstall, which must take away every file it put there. Each printed
# page is rendered and checked against the window. Then the MSI beside the
# installer (…-2.0.2.msi): installed with msiexec /qn, the program started,
# removed with nothing left. Last, on a machine that says it is Windows 7,
# both refuse and install nothing.
# Usage: test_wine_install.sh <installer> <archive> <build dir>
#   the build dir has wine-run.sh and wine-prefix.sh, and tests/e2e/shotcheck.exe
set -euo pipefail

installer=${1:?usage: $0 <installer> <archive> <build dir>}
archive=${2:?usage: $0 <installer> <archive> <build dir>}
build=${3:?usage: $0 <installer> <archive> <build dir>}

for tool in wine wineserver xvfb-run xdotool convert import unzip gs; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "SKIP: $tool not found"
        exit 77
    fi
done
if [ -z "${VL_E2E_DISPLAY_READY:-}" ]; then
    exec env VL_E2E_DISPLAY_READY=1 xvfb-run -a -s '-screen 0 1280x1024x24' bash "$0" "$@"
fi

# shotcheck, built for Windows, measures the screenshots under the build's Wine.
shotcheck() { bash "$build/wine-run.sh" "$build/tests/e2e/shotcheck.exe" "$@" | tr -d '\r'; }
app="$0" # replaced below, once the program is installed
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/cups.sh"

export LC_ALL=C.UTF-8 WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset QT_QPA_PLATFORM QT_PLUGIN_PATH WINEPATH
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=wine
trap 'wineserver -k 2>/dev/null || true; cups_stop; e2e_cleanup' EXIT

step "a fresh Windows machine, whose printer is the test's own"
# Wine hands print jobs to CUPS: to the test's scheduler, never the machine's.
# It prints on the whole sheet, as a PDF printer does: the program keeps
# 10 mm off the edges, 39 pixels at 100 dpi.
cups_start "$work/cups" 0
bash "$build/wine-prefix.sh" "$WINEPREFIX"
# Without Wine's drive Z:, the root of this machine, the program cannot
# reach the Qt it was built with: it must find everything in its folder.
rm -f "$WINEPREFIX/dosdevices/z:"
drive_c=$WINEPREFIX/drive_c
folder="$drive_c/Program Files/Вирталаб"
shortcut="$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Вирталаб.lnk"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Вирталаб'

# The installer is a 32-bit program. Wine runs it only where Wine's 32-bit
# side (wine32:i386) could be installed, which a mirror without the i386
# half of the security updates prevents, and where the kernel runs 32-bit
# code; elsewhere its twin is run, made from the same script for 64-bit
# Windows.
setup=$installer
if ! { [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1; }; then
    setup=$build/packages/setup-amd64.exe
    echo "   Wine has no 32-bit side here: the installer's 64-bit twin stands in for it"
fi

step "silent install (/S)"
cp "$setup" "$drive_c/setup.exe"
"$wine" 'C:\setup.exe' /S >>"$work/app.log" 2>&1 || fail "the installer failed"
wineserver -w
[ -d "$folder" ] || fail "nothing installed in Program Files\\Вирталаб"
# Exactly the archive's files, and the uninstaller.
(cd "$folder" && find . -type f | sed 's|^\./||' | sort) >"$work/installed.txt"
unzip -Z1 "$archive" | grep -v '/$' | sed 's|^Вирталаб/||' | sort >"$work/expected.txt"
echo uninstall.exe >>"$work/expected.txt"
sort -o "$work/expected.txt" "$work/expected.txt"
diff "$work/expected.txt" "$work/installed.txt" >"$work/diff.txt" ||
    fail "installed files differ from the archive's: $(cat "$work/diff.txt")"
echo "   $(wc -l <"$work/installed.txt") files"
# The program loads only the modules it was built with, byte for byte.
modules_as_built() {
    local differences
    differences=$(bash "$(dirname "$0")/../../tools/check-modules.sh" \
        "$build/platform/modules/modules.txt" "$1") || fail "$2: $differences"
}
modules_as_built "$folder" "installed"
[ -f "$shortcut" ] || fail "no Start-menu shortcut «Вирталаб»"
# The key as Windows' reg tool writes it out (UTF-16), one "name"="value" a line.
"$wine" reg export "$key" 'C:\uninstall-key.reg' /y >>"$work/app.log" 2>&1 ||
    fail "no entry in the list of programs"
iconv -f UTF-16 -t UTF-8 "$drive_c/uninstall-key.reg" | tr -d '\r' >"$work/key.txt"
registered() {
    sed -n "s/^\"$1\"=\"\(.*\)\"\$/\1/p" "$work/key.txt" | sed 's/\\\\/\\/g; s/\\"/"/g'
}
[ "$(registered DisplayName)" = Вирталаб ] || fail "list of programs: DisplayName is '$(registered DisplayName)'"
[ "$(registered DisplayVersion)" = 2.0.2 ] || fail "list of programs: DisplayVersion is '$(registered DisplayVersion)'"
[ "$(registered DisplayIcon)" = 'C:\Program Files\Вирталаб\Вирталаб.exe,0' ] ||
    fail "list of programs: DisplayIcon is '$(registered DisplayIcon)'"
[ -n "$(registered UninstallString)" ] || fail "list of programs: no UninstallString"

# Starts the program at a Windows path, with nothing but its own folder to
# load from.
run_program() {
    printf '#!/bin/sh\nexec %s %q\n' "$wine" "$1" >"$work/program.sh"
    chmod +x "$work/program.sh"
    app=$work/program.sh
    e2e_start
}

# Alt+F4, as a student closes it; the program must end of itself, cleanly.
close_program() {
    xdotool mousemove --sync $((x + 300)) $((y + panel_top + 200)) click 1
    xdotool key alt+F4
    local _
    for _ in $(seq 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.2
    done
    if kill -0 "$pid" 2>/dev/null; then
        fail "the program did not close on Alt+F4"
    fi
    local status=0
    wait "$pid" || status=$?
    pid=
    [ "$status" -eq 0 ] || fail "the program ended with status $status"
}

step "the installed program"
run_program 'C:\Program Files\Вирталаб\Вирталаб.exe'
title=$(xdotool getwindowname "$wid")
[ "$title" = 'Вирталаб     Ver.2.0.2' ] || fail "window title is '$title'"
[ "$width" -eq 594 ] || fail "client width is $width px, expected 594"
e2e_find_panel
visible=$((height - panel_top))
echo "   window ${width}x${height}, panel starts at row $panel_top, $visible panel rows visible"
[ "$visible" -ge 425 ] && [ "$visible" -lt 440 ] || fail "$visible panel rows visible, expected 425 to 439"
expect_lamps "$dark_red" "$dark_red"
expect_no_trace

step "oscilloscope on: the lamp turns green, the stroke at the trace's first corner"
expect_scope_switched_on

step "generator on, «Развертка по X и Y»: the sine across the screen"
e2e_click_twips 1087 5587
e2e_click_twips 1207 1507
e2e_capture
expect_lamps "$green" "$green"
trace_box
near "wave left" "$l" 0 1
near "wave right" "$r" $((screen_w - 1)) 1
near "wave height" $((b - t + 1)) "$(peak_to_peak 2100 0.9375)" 4
expect_period 23.81

step "print through Wine's spooler: the page shows the panel as the window does"
print_and_check Return 1 39
close_program

step "the portable archive, run from a folder with a Cyrillic name"
mkdir -p "$drive_c/Флешка"
unzip -q "$archive" -d "$drive_c/Флешка"
modules_as_built "$drive_c/Флешка/Вирталаб" "the archive"
run_program 'C:\Флешка\Вирталаб\Вирталаб.exe'
e2e_find_panel
step "print switched off, the printer dialog cancelled: still printed, with no trace"
print_and_check Escape 2 39
e2e_click_twips 1087 547
e2e_capture
expect_lamps "$green" "$dark_red"
close_program

step "silent uninstall (/S)"
"$wine" 'C:\Program Files\Вирталаб\uninstall.exe' /S >>"$work/app.log" 2>&1 ||
    fail "the uninstaller failed"
# The uninstaller runs on from a copy of itself; wait for it to finish.
wineserver -w
if [ -e "$folder" ]; then
    fail "left behind: $(cd "$folder" && find . | sed 's|^\./||' | tr '\n' ' ')"
fi
[ ! -e "$shortcut" ] || fail "the Start-menu shortcut is still there"
if "$wine" reg query "$key" >/dev/null 2>&1; then
    fail "still in the list of programs"
fi
# --- The MSI, as group policy or an administrator installs it ---
msi=${installer%-setup.exe}.msi
# Wine files the shortcuts of a per-machine package under the user's Start
# menu; Windows under all users'.
user_shortcut="$drive_c/users/$(id -un)/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Вирталаб.lnk"

step "MSI: silent install (msiexec /i … /qn)"
cp "$msi" "$drive_c/virtalab.msi"
"$wine" msiexec /i 'C:\virtalab.msi' /qn >>"$work/app.log" 2>&1 || fail "msiexec /i failed ($?)"
wineserver -w
[ -d "$folder" ] || fail "the MSI installed nothing in Program Files\\Вирталаб"
(cd "$folder" && find . -type f | sed 's|^\./||' | sort) >"$work/installed.txt"
grep -vx uninstall.exe "$work/expected.txt" >"$work/expected-msi.txt"
diff "$work/expected-msi.txt" "$work/installed.txt" >"$work/diff.txt" ||
    fail "the MSI's files differ from the archive's: $(cat "$work/diff.txt")"
echo "   $(wc -l <"$work/installed.txt") files"
modules_as_built "$folder" "installed from the MSI"
[ -f "$shortcut" ] || [ -f "$user_shortcut" ] || fail "the MSI made no Start-menu shortcut «Вирталаб»"

step "MSI: the installed program"
run_program 'C:\Program Files\Вирталаб\Вирталаб.exe'
title=$(xdotool getwindowname "$wid")
[ "$title" = 'Вирталаб     Ver.2.0.2' ] || fail "window title is '$title'"
e2e_find_panel
expect_lamps "$dark_red" "$dark_red"
expect_scope_switched_on
close_program

step "MSI: silent removal (msiexec /x … /qn)"
"$wine" msiexec /x 'C:\virtalab.msi' /qn >>"$work/app.log" 2>&1 || fail "msiexec /x failed ($?)"
wineserver -w
if [ -e "$folder" ]; then
    fail "left behind: $(cd "$folder" && find . | sed 's|^\./||' | tr '\n' ' ')"
fi
[ ! -e "$shortcut" ] && [ ! -e "$user_shortcut" ] || fail "the MSI's Start-menu shortcut is still there"

# --- A Windows the program cannot run on ---
step "Windows 7: both installers refuse, silently, and install nothing"
"$wine" winecfg /v win7 >>"$work/app.log" 2>&1
wineserver -w
status=0
"$wine" 'C:\setup.exe' /S >>"$work/app.log" 2>&1 || status=$?
wineserver -w
[ "$status" -ne 0 ] || fail "the installer installed on Windows 7 (exit code 0)"
echo "   installer: exit code $status"
[ ! -e "$folder" ] || fail "the installer put files on Windows 7: $(ls "$folder" | tr '\n' ' ')"
if "$wine" reg query "$key" >/dev/null 2>&1; then
    fail "the installer registered itself on Windows 7"
fi
status=0
"$wine" msiexec /i 'C:\virtalab.msi' /qn >>"$work/app.log" 2>&1 || status=$?
wineserver -w
[ "$status" -ne 0 ] || fail "the MSI installed on Windows 7 (exit code 0)"
echo "   MSI: exit code $status"
[ ! -e "$folder" ] || fail "the MSI put files on Windows 7: $(ls "$folder" | tr '\n' ' ')"
[ ! -e "$shortcut" ] && [ ! -e "$user_shortcut" ] || fail "the MSI made a shortcut on Windows 7"
echo "PASS: installed, run, uninstalled; the MSI too; both refuse Windows 7"
