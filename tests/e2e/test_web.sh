#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The browser build, as a student at home gets it: the built site served from
# 127.0.0.1 and opened in Chromium (software WebGL) on a virtual X display,
# driven with the mouse and keyboard. It takes the same lesson as the desktop
# program, then opens and closes the about box, prints to a PDF file through
# Chromium's own print path, and checks what reached the browser's audio.
# Last, a browser without WebGL gets the page's Russian message instead of
# a blank area.
# Usage: test_web.sh <site folder> <shotcheck executable>
set -euo pipefail

site=${1:?usage: $0 <site folder> <shotcheck>}
shotcheck=${2:?usage: $0 <site folder> <shotcheck>}
app=$site
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/lesson.sh"
for tool in chromium python3 pdftoppm; do
    command -v "$tool" >/dev/null 2>&1 || { echo "SKIP: $tool not found"; exit 77; }
done
[ -f "$site/index.html" ] || fail "no site at $site"
e2e_enter_display "$@"

server=
sound_server=
web_cleanup() {
    # Chromium runs in a process group of its own, with its helpers.
    if [ -n "$pid" ]; then
        kill -- -"$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
        pid=
    fi
    local helper
    for helper in "$server" "$sound_server"; do
        if [ -n "$helper" ]; then
            kill "$helper" 2>/dev/null || true
            wait "$helper" 2>/dev/null || true
        fi
    done
    e2e_cleanup
}
trap web_cleanup EXIT

port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
python3 -m http.server "$port" --bind 127.0.0.1 --directory "$site" >"$work/server.log" 2>&1 &
server=$!
url=http://127.0.0.1:$port/index.html

# A PulseAudio server of the test's own, playing into nothing, as the
# browser's sound device; without PulseAudio installed, none (the browser then
# plays into nothing itself).
export PULSE_SERVER=unix:$work/sound/pulse/native
if command -v pulseaudio >/dev/null 2>&1; then
    mkdir -p "$work/sound"
    HOME=$work/sound XDG_CONFIG_HOME=$work/sound XDG_RUNTIME_DIR=$work/sound \
        pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit \
        -L module-native-protocol-unix -L module-null-sink >/dev/null 2>&1 &
    sound_server=$!
    for _ in $(seq 100); do
        [ -S "$work/sound/pulse/native" ] && break
        sleep 0.1
    done
fi

# Chromium on its own: no network but the page, a fresh profile, software
# WebGL, and printing straight to a PDF file in $work/prints (no printer of
# the machine's is reached). Console lines go to its log.
chromium_flags=(
    --test-type --disable-features=Translate --no-first-run --disable-background-networking
    --disable-component-update --disable-sync --disable-quic --enable-unsafe-swiftshader
    --enable-logging=stderr --v=0
)
if [ "$(id -u)" -eq 0 ]; then
    chromium_flags+=(--no-sandbox)
fi
mkdir -p "$work/profile/Default" "$work/prints"
cat >"$work/profile/Default/Preferences" <<PREFERENCES
{"printing": {"print_preview_sticky_settings": {"appState":
  "{\"version\": 2, \"recentDestinations\": [{\"id\": \"Save as PDF\", \"origin\": \"local\", \"account\": \"\"}], \"selectedDestinationId\": \"Save as PDF\"}"}},
 "translate": {"enabled": false},
 "savefile": {"default_directory": "$work/prints"},
 "download": {"default_directory": "$work/prints", "prompt_for_download": false}}
PREFERENCES
HOME=$work CUPS_SERVER=$work/no-cups setsid chromium "${chromium_flags[@]}" --kiosk-printing \
    --user-data-dir="$work/profile" --window-position=0,0 --window-size=1280,1024 \
    --app="$url" >"$work/app.log" 2>&1 &
pid=$!

console() { grep -a -o "\"virtalab[^\"]*\"" "$work/app.log" | tr -d '"' || true; }

for _ in $(seq 120); do
    console | grep -q '^virtalab: first paint' && break
    kill -0 "$pid" 2>/dev/null || fail "Chromium ended before the page was shown"
    sleep 0.5
done
console | grep '^virtalab: first paint' || fail "the page never reported its first paint"
# The page fits its screen to the window just after that.
sleep 1

# The whole screen first, then only the program's window: the panel and
# the menu bar above it.
x=0 y=0 width=1280 height=1024
e2e_find_panel 100
x=$((x + panel_left)) y=$((y + panel_top - 40)) width=594 height=$((40 + 433))
panel_left=0 panel_top=40
e2e_capture

lesson

# Opens "Меню" (just above the panel) and picks its n-th item from the
# keyboard.
menu_item() {
    xdotool mousemove --sync $((x + 25)) $((y + panel_top - 10)) click 1
    sleep 0.7
    local i
    for i in $(seq "$1"); do xdotool key Down; done
    xdotool key Return
    sleep 1
}

# Sets box_x box_y, the about box's client corner in the capture, from the top
# of its blue frame; empty when the box is not there.
find_about() {
    e2e_capture
    read -r box_x box_y < <(awk -F'[,:() ]+' '
        $3 == 0 && $4 == 0 && $5 == 255 { if (run++ == 0) { sx = $1; sy = $2 } if (run == 200) { print sx, sy; exit } next }
        { run = 0 }' "$work/pixels.txt") || true
}

step "about box: opened from the menu in its designed look, closed with OK"
menu_item 2
find_about
[ -n "${box_x:-}" ] || fail "the about box did not open"
expect_about_pixel() { # what x y rgb
    local colour
    colour=$(awk -F'[,:() ]+' -v px="$(($2 + box_x))" -v py="$(($3 + box_y))" \
        '$1 == px && $2 == py { print $3 "," $4 "," $5; exit }' "$work/pixels.txt")
    [ "$colour" = "$4" ] || fail "about box: $1 is $colour, expected $4"
}
expect_about_pixel "the background" 100 135 64,64,64
expect_about_pixel "the frame of «OK»" 384 216 255,0,0
expect_about_pixel "the inside of «OK»" 385 233 0,0,0
xdotool mousemove --sync $((x + box_x + (5760 + 172) / 15)) $((y + box_y + (3240 + 142) / 15)) click 1
sleep 1
box_x=
find_about
[ -z "$box_x" ] || fail "OK did not close the about box"
expect_lamps "$dark_red" "$dark_red"

step "print: one page through the browser's print dialog, to a PDF file"
menu_item 1
for _ in $(seq 60); do
    ls "$work"/prints/*.pdf >/dev/null 2>&1 && break
    sleep 0.5
done
console | grep '^virtalab-print: ' || fail "the page never reached the browser's print dialog"
pdf=$(ls "$work"/prints/*.pdf 2>/dev/null | head -n 1)
[ -n "$pdf" ] || fail "no PDF was printed"
pdftoppm -r 72 -png "$pdf" "$work/page" || fail "the print is not a readable PDF"
pages=$(ls "$work"/page*.png | wc -l)
[ "$pages" -eq 1 ] || fail "the print has $pages pages, expected 1"
# The panel as it was: both lamps off, dark red.
lamp=$(convert "$work"/page*.png -depth 8 txt:- |
    awk -F'[,:() ]+' '$3 >= 180 && $3 <= 200 && $4 <= 12 && $5 <= 12 { n++ } END { print n + 0 }')
[ "$lamp" -ge 100 ] || fail "the printed page shows no dark-red lamp ($lamp pixels)"
echo "   one page, $lamp dark-red lamp pixels"

step "sounds: each switch handed to the browser's audio, a new one stopping the last"
# Both units on in quick succession: the generator's sound comes while the
# oscilloscope's (a third of a second) still plays.
xdotool mousemove --sync $((x + 1087 / 15)) $((y + panel_top + 547 / 15)) click 1 \
    sleep 0.1 mousemove --sync $((x + 1087 / 15)) $((y + panel_top + 5587 / 15)) click 1
sleep 1
console | grep '^virtalab-sound: ' | sed 's/^/   /'
# The switches in order: in the lesson, oscilloscope on, generator on, and
# the oscilloscope off while the generator ran (its sound, then the
# generator's twice: its own step and its option selected); then both on.
asked=$(console | sed -n 's|^virtalab-sound: /\(.*\) asked for$|\1|p' | tr '\n' ' ')
[ "$asked" = "whip.wav Sldwst2.wav whip.wav Sldwst.wav Sldwst.wav whip.wav Sldwst2.wav " ] ||
    fail "the browser's audio got: $asked"
# Each one played, unless the next came while it was still being decoded.
played=$(console | grep -c -E '^virtalab-sound: .* (playing|not played: a newer sound)' || true)
[ "$played" -eq 7 ] || fail "$played of the 7 sounds were played or replaced by the next"
console | grep -q '^virtalab-sound: /Sldwst2.wav playing 5336 bytes, .* audio running$' ||
    fail "the generator's sound did not play in the browser's audio"
console | grep -q '^virtalab-sound: /whip.wav stopped$' ||
    fail "the oscilloscope's sound was not stopped by the generator's"
if console | grep -q '^virtalab-sound: .* beep'; then
    fail "a sound beeped instead of playing"
fi

kill -0 "$pid" 2>/dev/null || fail "Chromium ended during the lesson"
# The program's own output reaches the console as warnings; there must be none.
if grep -a ':CONSOLE' "$work/app.log" | grep -v -E '"virtalab|"WebGL|GL Driver Message' | grep -q .; then
    grep -a ':CONSOLE' "$work/app.log" | grep -v -E '"virtalab|"WebGL|GL Driver Message'
    fail "unexpected messages on the page's console"
fi

step "a browser without WebGL: the page says so in Russian"
dom=$(chromium "${chromium_flags[@]}" --headless --disable-gpu --disable-3d-apis \
    --user-data-dir="$work/profile-nogl" --virtual-time-budget=10000 --dump-dom "$url" 2>/dev/null)
grep -q 'не может показать Вирталаб: программе нужен WebGL' <<<"$dom" ||
    fail "no message about WebGL on the page"

echo "PASS: the lesson in the browser"
