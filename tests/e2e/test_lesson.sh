#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A whole lesson on the program from its Debian package, driven as a student
# would drive it: the lesson's steps on the panel (lesson.sh), the about box,
# and printing through the printer dialog to a print scheduler of the
# test's own, once with the sine on the screen and once, switched off, with
# the dialog cancelled. Each printed page is rendered and checked against
# the window.
# Usage: test_lesson.sh <cpack> <build dir> <shotcheck executable>
set -euo pipefail

cpack=${1:?usage: $0 <cpack> <build dir> <shotcheck>}
build=${2:?usage: $0 <cpack> <build dir> <shotcheck>}
shotcheck=${3:?usage: $0 <cpack> <build dir> <shotcheck>}
app= # the packaged program, unpacked below
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/cups.sh"
source "$(dirname "$0")/lesson.sh"
e2e_enter_display "$@"
for tool in dpkg-deb pdftoppm gs; do
    command -v "$tool" >/dev/null 2>&1 || {
        echo "SKIP: $tool not found"
        exit 77
    }
done
trap 'cups_stop; e2e_cleanup' EXIT

step "the program from its Debian package"
(cd "$build" && "$cpack" -G DEB -B "$work/deb" --config "$build/CPackConfig.cmake") \
    >"$work/cpack.log" 2>&1 || fail "cpack failed: $(cat "$work/cpack.log")"
dpkg-deb -x "$work"/deb/*.deb "$work/root"
app=$work/root/usr/bin/virtalab
# A printer with half-inch margins, wider than the program's own 10 mm: the
# panel keeps to them, 50 pixels at 100 dpi.
cups_start "$work/cups" 36
export HOME="$work"
e2e_start
e2e_find_panel

print_the_sine() {
    step "print: the page shows the panel as the window does"
    print_and_check Return 1 50
}
on_the_sine=print_the_sine
lesson

step "about box: opened from the menu, closed with OK"
menu_item 2
about=$(xdotool search --onlyvisible --name '^О программе\.\.\.$' 2>/dev/null | head -n 1 || true)
[ -n "$about" ] || fail "the about box did not open"
about_geometry=$(xdotool getwindowgeometry --shell "$about")
ax=$(sed -n 's/^X=\([0-9]*\)$/\1/p' <<<"$about_geometry")
ay=$(sed -n 's/^Y=\([0-9]*\)$/\1/p' <<<"$about_geometry")
xdotool mousemove --sync $((ax + (5760 + 172) / 15)) $((ay + (3240 + 142) / 15)) click 1
sleep 1
if xdotool search --onlyvisible --name '^О программе\.\.\.$' >/dev/null 2>&1; then
    fail "OK did not close the about box"
fi

step "print switched off, the printer dialog cancelled: still printed, with no trace"
print_and_check Escape 2 50
[ "$(cups_jobs)" -eq 2 ] || fail "$(cups_jobs) jobs were printed, expected 2"

kill -0 "$pid" 2>/dev/null || fail "the program ended during the lesson"
# Only the platform's own notices may appear on standard error.
if grep -v -E 'XDG_RUNTIME_DIR|PulseAudio|pa_context|No audio device|qt\.qpa\.' "$work/app.log" | grep -q .; then
    fail "unexpected messages from the program"
fi
echo "PASS: the whole lesson"
