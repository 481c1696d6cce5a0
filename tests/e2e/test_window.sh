#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts the real program in a virtual X server, with Qt options on its
# command line that it must ignore, and looks at its main window as a student
# would see it: the title, the client width, the panel the right way round,
# and none of the source pictures that lie below the visible part of the
# panel.
# Usage: test_window.sh <path of the virtalab executable>
set -euo pipefail

app=${1:?usage: $0 <virtalab executable>}

source "$(dirname "$0")/lib.sh"
e2e_enter_display "$@"

title='Вирталаб     Ver.2.0.2'
client_width=594
# Panel rows, in pixels: the frame of the signal-source unit ends at 425,
# the source pictures start at 440.
panel_bottom=425
pictures_top=440

# The program reads no command line: none of Qt's own options may take
# effect (a mirrored panel, another platform, size or style).
e2e_start -reverse -platform offscreen -geometry 300x200+0+0 -style Fusion --unknown

actual_title=$(xdotool getwindowname "$wid")
[ "$actual_title" = "$title" ] || fail "window title is '$actual_title', expected '$title'"
[ "$width" -eq "$client_width" ] || fail "client width is $width px, expected $client_width"

# Without a window manager the window is its client area, menu bar included;
# the dark-red lamp of the switched-off oscilloscope tells where the panel
# starts below the menu bar.
e2e_find_panel

# The oscilloscope's lamp stands at the panel's left, as designed, not
# mirrored to its right.
lamp_x=$(awk -F'[,:() ]+' '$3 == 192 && $4 == 0 && $5 == 0 { print $1; exit }' "$work/pixels.txt")
[ "$lamp_x" -lt 100 ] || fail "the lamp is at column $lamp_x: the panel is mirrored"

visible=$((height - panel_top))
echo "window ${width}x${height}, panel starts at row $panel_top, $visible panel rows visible"

[ "$visible" -ge "$panel_bottom" ] || fail "only $visible panel rows visible: the panel is cut off"
[ "$visible" -lt "$pictures_top" ] || fail "$visible panel rows visible: the source pictures at row $pictures_top are in sight"

# Bright green belongs to the traces and the source pictures; with the
# oscilloscope off none may show. The rainbow strips around the screen
# (panel x 155..508, y 0..281, less the screen inside them) are exempt.
green=$(awk -F'[,:() ]+' -v top="$panel_top" '
    {
        px = $1; py = $2 - top
        strip = px >= 155 && px <= 508 && py >= 0 && py <= 281 &&
                !(px >= 162 && px <= 501 && py >= 5 && py <= 274)
        if (!strip && $4 >= 200 && $3 <= 80 && $5 <= 80) n++
    }
    END { print n + 0 }' "$work/pixels.txt")
[ "$green" -eq 0 ] || fail "$green bright-green pixels in sight with the oscilloscope off"

echo "PASS: '$title', client width $width px, panel not mirrored, no source picture in sight"
