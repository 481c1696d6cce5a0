#!/usr/bin/env bash
# The student's first lesson: scope on, generator on, sweep along X and Y,
# then each signal shape in turn. The screen must show a green waveform
# whose period in pixels is the trace's width divided by the number of
# periods in its picture.
# Usage: test_waveforms.sh <virtalab executable> <shotcheck executable>
set -euo pipefail

app=${1:?usage: $0 <virtalab> <shotcheck>}
shotcheck=${2:?usage: $0 <virtalab> <shotcheck>}
source "$(dirname "$0")/lib.sh"
e2e_enter_display "$@"

# The screen's drawing area in panel pixels, and the trace at the start
# values: 20000 twips wide.
screen_x=162
screen_y=5
screen_w=339
screen_h=269
trace_width_px=$(awk 'BEGIN { print 20000 / 15 }')

e2e_start
e2e_find_panel

e2e_click_twips 1087 547  # Опция6: scope on
e2e_click_twips 1207 1507 # Опция3: sweep along X and Y
e2e_click_twips 1087 5587 # Опция1: generator on

check_shape() {
    local name=$1 y_twips=$2 periods=$3
    e2e_click_twips 540 "$y_twips"
    e2e_capture
    local measured expected
    measured=$("$shotcheck" period "$work/window.png" "$screen_x" $((panel_top + screen_y)) "$screen_w" "$screen_h")
    expected=$(awk -v w="$trace_width_px" -v n="$periods" 'BEGIN { printf "%.3f", w / n }')
    echo "$name: period $measured px, expected $expected px"
    awk -v m="$measured" -v e="$expected" 'BEGIN { exit !(m > e * 0.97 && m < e * 1.03) }' ||
        fail "$name: the period on screen is $measured px, expected $expected px"
}

check_shape "sawtooth" $((3360 + 840 + 127)) 60
check_shape "sine" $((3360 + 1080 + 127)) 56
check_shape "rectangle" $((3360 + 1320 + 127)) 30

kill -0 "$pid" 2>/dev/null || fail "the program ended during the lesson"
echo "PASS: each signal shape shows its period"
