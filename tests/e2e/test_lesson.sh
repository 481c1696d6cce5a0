#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A whole lesson on the real program, driven as a student would drive it:
# both units on, both sweep modes, every signal shape, the value sliders from
# the keyboard, the offsets and «Центр», the oscilloscope switched off while
# the generator runs, the about box, and a print to a PDF file. After each
# step the screen is checked: the lamps, and where the green trace stands
# and how long its period is, measured from the axis crossing.
# Usage: test_lesson.sh <virtalab executable> <shotcheck executable>
set -euo pipefail

app=${1:?usage: $0 <virtalab> <shotcheck>}
shotcheck=${2:?usage: $0 <virtalab> <shotcheck>}
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/lesson.sh"
e2e_enter_display "$@"

# Opens "Меню" and picks its n-th item from the keyboard.
menu_item() {
    xdotool mousemove --sync $((x + 25)) $((y + 8)) click 1
    sleep 0.4
    local i
    for i in $(seq "$1"); do xdotool key Down; done
    xdotool key Return
    sleep 1
}

export HOME="$work"
e2e_start
e2e_find_panel

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

step "print to a PDF file through the printer dialog"
menu_item 1
xdotool key Return
for _ in $(seq 50); do
    tail -c 6 "$work/print.pdf" 2>/dev/null | grep -q '%%EOF' && break
    sleep 0.2
done
[ -s "$work/print.pdf" ] || fail "no PDF was written"
head -c 4 "$work/print.pdf" | grep -q '%PDF' || fail "the print is not a PDF"
pages=$(grep -a -c -E '/Type /Page( |$)' "$work/print.pdf" || true)
[ "$pages" -eq 1 ] || fail "the print has $pages pages, expected 1"

kill -0 "$pid" 2>/dev/null || fail "the program ended during the lesson"
# Only the platform's own notices may appear on standard error.
if grep -v -E 'XDG_RUNTIME_DIR|PulseAudio|pa_context|No audio device|qt\.qpa\.' "$work/app.log" | grep -q .; then
    fail "unexpected messages from the program"
fi
echo "PASS: the whole lesson"
