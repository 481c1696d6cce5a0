#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A whole lesson on the program from its Debian package, driven as a student
# would drive it: both units on, both sweep modes, every signal shape, the
# value sliders from the keyboard, the offsets and «Центр», the oscilloscope
# switched off while the generator runs, the about box, and printing through
# the printer dialog to a print scheduler of the test's own, once with the
# sine on the screen and once, switched off, with the dialog cancelled.
# After each step the screen is checked: the lamps, and where the green
# trace stands and how long its period is, measured from the axis crossing;
# each printed page is rendered and checked against the window.
# Usage: test_lesson.sh <cpack> <build dir> <shotcheck executable>
set -euo pipefail

cpack=${1:?usage: $0 <cpack> <build dir> <shotcheck>}
build=${2:?usage: $0 <cpack> <build dir> <shotcheck>}
shotcheck=${3:?usage: $0 <cpack> <build dir> <shotcheck>}
app= # the packaged program, unpacked below
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/cups.sh"
e2e_enter_display "$@"
for tool in dpkg-deb pdftoppm gs; do
    command -v "$tool" >/dev/null 2>&1 || {
        echo "SKIP: $tool not found"
        exit 77
    }
done
trap 'cups_stop; e2e_cleanup' EXIT

key() {
    xdotool key --delay 60 "$@"
    sleep 0.3
}

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

step "all off"
expect_lamps "$dark_red" "$dark_red"
expect_no_trace

step "oscilloscope on: the short stroke at the trace's first corner"
expect_scope_switched_on

step "generator on, sweep along Y: a vertical line 2100 twips tall"
e2e_click_twips 1087 5587
e2e_capture
expect_lamps "$green" "$green"
trace_box
near "line height" $((b - t + 1)) "$(peak_to_peak 2100 0.882)" 4
near "line width" $((r - l + 1)) 2 2

step "sweep along X and Y: the sine across the screen"
e2e_click_twips 1207 1507
e2e_capture
trace_box
near "wave left" "$l" 0 1
near "wave right" "$r" $((screen_w - 1)) 1
near "wave height" $((b - t + 1)) "$(peak_to_peak 2100 0.9375)" 4
near "wave middle" $(((t + b) / 2)) "$axis_y" 3
expect_period 23.81

step "print: the page shows the panel as the window does"
print_and_check Return 1 50

step "each signal shape"
e2e_click_twips 540 4327
e2e_capture
expect_period 22.22
e2e_click_twips 540 4807
e2e_capture
expect_period 44.44
e2e_click_twips 540 4567
e2e_capture
expect_period 23.81

step "gain from the keyboard: End, then Home"
e2e_click_twips 1117 2252
key End
e2e_capture
trace_box
near "wave height at gain 11" $((b - t + 1)) "$(peak_to_peak 3850 0.9375)" 4
key Home
e2e_capture
trace_box
near "wave height at gain 1" $((b - t + 1)) "$(peak_to_peak 350 0.9375)" 3

step "time per division to the end: the period widens"
e2e_click_twips 1117 3002
key End
e2e_capture
expect_period 31.75

step "frequency to the end: the period narrows"
e2e_click_twips 6450 6007
key End
e2e_capture
expect_period 12.70

step "voltage: Home flattens the trace away, End gives 700 twips"
e2e_click_twips 6450 5527
key Home
e2e_capture
expect_no_trace
key End
e2e_capture
trace_box
near "wave height at 50 V" $((b - t + 1)) "$(peak_to_peak 700 0.9375)" 3

step "sweep along Y, then the offsets from the keyboard"
e2e_click_twips 1087 1147
e2e_click_twips 5407 4687
key Prior Prior Prior Prior Prior Prior Prior Prior Prior Prior
e2e_click_twips 8167 1927
key Next Next Next Next Next Next Next Next Next Next
e2e_capture
trace_box
near "line x, moved right" $(((l + r) / 2)) "$(awk -v a="$axis_x" 'BEGIN { print a + 1000 / 15 }')" 3
near "line middle, moved down" $(((t + b) / 2)) "$(awk -v a="$axis_y" 'BEGIN { print a + 1000 / 15 }')" 3

step "«Центр» brings the line back to the axis crossing"
e2e_click_twips 8167 4627
e2e_capture
trace_box
near "line x" $(((l + r) / 2)) "$axis_x" 3
near "line middle" $(((t + b) / 2)) "$axis_y" 3

step "oscilloscope off while the generator runs"
e2e_click_twips 1567 547
e2e_capture
expect_lamps "$dark_red" "$dark_red"
expect_no_trace

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
