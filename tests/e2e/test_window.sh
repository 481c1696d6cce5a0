#!/usr/bin/env bash
# Starts the real program in a virtual X server and looks at its main window
# as a student would see it: the title, the client width, and none of the
# source pictures that lie below the visible part of the panel.
# Usage: test_window.sh <path of the virtalab executable>
set -euo pipefail

app=${1:?usage: $0 <virtalab executable>}

if [ -z "${VL_E2E_DISPLAY_READY:-}" ]; then
    for tool in xvfb-run xdotool convert import; do
        if ! command -v "$tool" >/dev/null 2>&1; then
            echo "SKIP: $tool not found"
            exit 77
        fi
    done
    if [ ! -x "$app" ]; then
        echo "FAIL: no executable at $app"
        exit 1
    fi
    exec env VL_E2E_DISPLAY_READY=1 LANG=C.UTF-8 LC_ALL=C.UTF-8 QT_QPA_PLATFORM=xcb \
        xvfb-run -a -s '-screen 0 1280x1024x24' bash "$0" "$@"
fi

title='Вирталаб     Ver.2.0.2'
client_width=594
# Panel rows, in pixels: the oscilloscope lamp's fill starts at 33, the frame
# of the signal-source unit ends at 425, the source pictures start at 440.
lamp_fill_top=33
panel_bottom=425
pictures_top=440

work=$(mktemp -d)
pid=
cleanup() {
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*"
    if [ -f "$work/window.png" ]; then
        local keep="${TMPDIR:-/tmp}/virtalab-e2e-window.png"
        cp "$work/window.png" "$keep" && echo "The window as captured: $keep"
    fi
    if [ -s "$work/app.log" ]; then
        echo "Program output:"
        cat "$work/app.log"
    fi
    exit 1
}

"$app" >"$work/app.log" 2>&1 &
pid=$!

wid=
for _ in $(seq 100); do
    if ! kill -0 "$pid" 2>/dev/null; then
        fail "the program ended before showing its window"
    fi
    wid=$(xdotool search --onlyvisible --name 'Ver\.2\.0\.2' 2>/dev/null | head -n 1 || true)
    [ -n "$wid" ] && break
    sleep 0.2
done
[ -n "$wid" ] || fail "no window appeared within 20 seconds"

actual_title=$(xdotool getwindowname "$wid")
[ "$actual_title" = "$title" ] || fail "window title is '$actual_title', expected '$title'"

# Without a window manager the window is its client area, menu bar included.
geometry=$(xdotool getwindowgeometry --shell "$wid")
field() { sed -n "s/^$1=\(-\?[0-9]*\)$/\1/p" <<<"$geometry"; }
x=$(field X)
y=$(field Y)
width=$(field WIDTH)
height=$(field HEIGHT)
[ "$width" -eq "$client_width" ] || fail "client width is $width px, expected $client_width"

# Pixels of the window as text lines "x,y: (r,g,b...", once it has painted:
# the lamp of the switched-off oscilloscope (dark red 192, 0, 0) is the
# landmark that tells where the panel starts below the menu bar.
lamp_top=
for _ in $(seq 50); do
    import -window root -crop "${width}x${height}+${x}+${y}" +repage "$work/window.png" 2>/dev/null || true
    if [ -f "$work/window.png" ]; then
        convert "$work/window.png" -depth 8 txt:- >"$work/pixels.txt"
        lamp_top=$(awk -F'[,:() ]+' '$3 == 192 && $4 == 0 && $5 == 0 { print $2; exit }' "$work/pixels.txt")
        [ -n "$lamp_top" ] && break
    fi
    sleep 0.2
done
[ -n "$lamp_top" ] || fail "the panel never showed its dark-red lamp"
panel_top=$((lamp_top - lamp_fill_top))
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

echo "PASS: '$title', client width $width px, no source picture in sight"
