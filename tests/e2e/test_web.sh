#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The browser build, as a student at home gets it: the built site served from
# 127.0.0.1 and opened in a real browser window on a virtual X display,
# driven with the mouse and keyboard. In Chromium it takes the same lesson as
# the desktop program, opens the about box and presses all round it, prints
# to a PDF file through «Печать» and through the browser's own Ctrl+P, and
# checks what reached the browser's audio; Firefox, a second engine, takes
# the lesson's first steps and the about box. A browser without WebGL gets
# the page's Russian message. Last, the devices, the course page, the
# loading, the offline copy and the screen reader's view, through
# Chromium's DevTools protocol (web_checks.py).
# Usage: test_web.sh <site folder> <shotcheck executable>
#   (accesstree, which the checks compare the page's accessibility with, is
#   looked for beside shotcheck)
set -euo pipefail

site=${1:?usage: $0 <site folder> <shotcheck>}
shotcheck=${2:?usage: $0 <site folder> <shotcheck>}
app=$site
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
source "$here/lesson.sh"
for tool in chromium python3 pdftoppm; do
    command -v "$tool" >/dev/null 2>&1 || { echo "SKIP: $tool not found"; exit 77; }
done
[ -f "$site/index.html" ] || fail "no site at $site"
e2e_enter_display "$@"

server=
sound_server=
stop_browser() {
    # The browser runs in a process group of its own, with its helpers.
    if [ -n "$pid" ]; then
        kill -- -"$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
        pid=
    fi
}
web_cleanup() {
    stop_browser
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
start_chromium() {
    mkdir -p "$work/chromium/Default" "$work/prints"
    cat >"$work/chromium/Default/Preferences" <<PREFERENCES
{"printing": {"print_preview_sticky_settings": {"appState":
  "{\"version\": 2, \"recentDestinations\": [{\"id\": \"Save as PDF\", \"origin\": \"local\", \"account\": \"\"}], \"selectedDestinationId\": \"Save as PDF\"}"}},
 "translate": {"enabled": false},
 "savefile": {"default_directory": "$work/prints"},
 "download": {"default_directory": "$work/prints", "prompt_for_download": false}}
PREFERENCES
    HOME=$work CUPS_SERVER=$work/no-cups setsid chromium "${chromium_flags[@]}" --kiosk-printing \
        --user-data-dir="$work/chromium" --window-position=0,0 --window-size=1280,1024 \
        --app="$url" >"$work/app.log" 2>&1 &
    pid=$!
}

# Firefox ESR with a profile of its own: no network but the page, WebGL on
# the virtual display's software renderer, the page's console on its output.
start_firefox() {
    mkdir -p "$work/firefox"
    cat >"$work/firefox/user.js" <<'PREFERENCES'
user_pref("browser.shell.checkDefaultBrowser", false);
user_pref("datareporting.policy.dataSubmissionEnabled", false);
user_pref("toolkit.telemetry.reportingpolicy.firstRun", false);
user_pref("browser.startup.homepage_override.mstone", "ignore");
user_pref("browser.aboutwelcome.enabled", false);
user_pref("devtools.console.stdout.content", true);
user_pref("webgl.force-enabled", true);
user_pref("app.update.auto", false);
user_pref("network.captive-portal-service.enabled", false);
user_pref("network.connectivity-service.enabled", false);
user_pref("browser.safebrowsing.malware.enabled", false);
user_pref("browser.safebrowsing.phishing.enabled", false);
user_pref("extensions.update.enabled", false);
user_pref("media.autoplay.default", 0);
PREFERENCES
    HOME=$work setsid firefox-esr --no-remote --profile "$work/firefox" --kiosk "$url" \
        >"$work/app.log" 2>&1 &
    pid=$!
}

console() { grep -a -o "\"virtalab[^\"]*\"" "$work/app.log" | tr -d '"' || true; }

# Waits for the page's first paint, then finds the panel and sets the
# capture to the program's window: the panel and the menu bar above it.
open_panel() {
    for _ in $(seq 120); do
        console | grep -q '^virtalab: first paint' && break
        kill -0 "$pid" 2>/dev/null || fail "$1 ended before the page was shown"
        sleep 0.5
    done
    console | grep '^virtalab: first paint' || fail "the page never reported its first paint in $1"
    sleep 1
    x=0 y=0 width=1280 height=1024
    e2e_find_panel 100
    x=$((x + panel_left)) y=$((y + panel_top - 40)) width=594 height=$((40 + 433))
    panel_left=0 panel_top=40
    e2e_capture
}

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

expect_about_pixel() { # what x y rgb
    local colour
    colour=$(awk -F'[,:() ]+' -v px="$(($2 + box_x))" -v py="$(($3 + box_y))" \
        '$1 == px && $2 == py { print $3 "," $4 "," $5; exit }' "$work/pixels.txt")
    [ "$colour" = "$4" ] || fail "about box: $1 is $colour, expected $4"
}

# The about box in its designed look, modal through every kind of input
# outside it, then closed with «OK»; the panel works on. The lamps are as
# given before and after.
about_box() { # scope-lamp generator-lamp
    step "about box: opened from the menu in its designed look"
    menu_item 2
    find_about
    [ -n "${box_x:-}" ] || fail "the about box did not open"
    expect_about_pixel "the background" 100 135 64,64,64
    expect_about_pixel "the frame of «OK»" 384 216 255,0,0
    expect_about_pixel "the inside of «OK»" 385 233 0,0,0

    step "about box: presses, clicks, a drag and keys outside it reach nothing"
    local opened_at="$box_x $box_y" action
    for action in "click 1" "click --repeat 2 1" "click 3" "mousedown 1 sleep 0.4 mouseup 1" \
        "click --repeat 10 --delay 50 1"; do
        # shellcheck disable=SC2086 # the action's words
        xdotool mousemove --sync $((x + 1087 / 15)) $((y + panel_top + 547 / 15)) $action
        sleep 0.5
    done
    xdotool mousemove --sync $((x + 450)) $((y + panel_top + 380)) mousedown 1 \
        mousemove --sync $((x + 300)) $((y + panel_top + 380)) mouseup 1
    xdotool key End Tab space Return Escape
    sleep 0.7
    find_about
    [ "$box_x $box_y" = "$opened_at" ] || fail "input outside the about box moved or hid it"
    expect_lamps "$1" "$2"

    step "about box: «OK» closes it, and the panel works on"
    xdotool mousemove --sync $((x + box_x + (5760 + 172) / 15)) $((y + box_y + (3240 + 142) / 15)) click 1
    sleep 1
    box_x=
    find_about
    [ -z "$box_x" ] || fail "OK did not close the about box"
    expect_lamps "$1" "$2"
}

# The page's console holds the program's own lines and the browser's notes
# on WebGL, nothing else: no exception, no warning of the program's.
expect_clean_console() {
    kill -0 "$pid" 2>/dev/null || fail "$1 ended during the lesson"
    if grep -a -E "$2" "$work/app.log" | grep -v -E '"virtalab|"WebGL|GL Driver Message' | grep -q .; then
        grep -a -E "$2" "$work/app.log" | grep -v -E '"virtalab|"WebGL|GL Driver Message'
        fail "unexpected messages on the page's console in $1"
    fi
}

# Renders the only PDF in $work/prints into $work/page-1.png, at 72 dpi.
printed_page() {
    local pdf _
    for _ in $(seq 60); do
        ls "$work"/prints/*.pdf >/dev/null 2>&1 && break
        sleep 0.5
    done
    pdf=$(ls "$work"/prints/*.pdf 2>/dev/null | head -n 1)
    [ -n "$pdf" ] || fail "no PDF was printed"
    local pages
    pages=$(pdfinfo "$pdf" 2>/dev/null | sed -n 's/^Pages: *//p')
    [ "$pages" = 1 ] || fail "the print has ${pages:-no readable} pages, expected 1"
    pdftoppm -singlefile -r 72 -png "$pdf" "$work/page-1" || fail "the print is not a readable PDF"
    rm -f "$pdf"
}

# Pixels of a page near a colour "r g b".
page_pixels() {
    convert "$work/page-1.png" -depth 8 txt:- |
        awk -F'[,:() ]+' -v r="$1" -v g="$2" -v b="$3" '
            { d = ($3 - r) ^ 2 + ($4 - g) ^ 2 + ($5 - b) ^ 2 }
            d <= 600 { n++ } END { print n + 0 }'
}

step "Chromium"
start_chromium
open_panel Chromium
lesson
about_box "$dark_red" "$dark_red"

step "print: one page through «Печать» and the browser's print dialog, to a PDF file"
menu_item 1
printed_page
console | grep '^virtalab-print: ' || fail "the page never reached the browser's print dialog"
# The panel as it was: both lamps off, dark red.
lamp=$(page_pixels 192 0 0)
[ "$lamp" -ge 100 ] || fail "the printed page shows no dark-red lamp ($lamp pixels)"
echo "   one page, $lamp dark-red lamp pixels"

step "sounds: each switch handed to the browser's audio, a new one stopping the last"
# Both units on in quick succession: the generator's sound comes while the
# oscilloscope's (a third of a second) still plays.
xdotool mousemove --sync $((x + 1087 / 15)) $((y + panel_top + 547 / 15)) click 1 \
    sleep 0.1 mousemove --sync $((x + 1087 / 15)) $((y + panel_top + 5587 / 15)) click 1
# The browser's audio reports a stopped sound when its own thread gets to
# it, later on a busy machine.
for _ in $(seq 50); do
    console | grep -q '^virtalab-sound: /whip.wav stopped$' && break
    sleep 0.2
done
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

step "the browser's own print (Ctrl+P): one page with the panel as on the screen"
e2e_capture
expect_lamps "$green" "$green"
xdotool key ctrl+p
printed_page
green_lamps=$(page_pixels 0 255 0)
black=$(page_pixels 0 0 0)
total=$(identify -format '%[fx:w*h]' "$work/page-1.png")
[ "$green_lamps" -ge 100 ] || fail "the page printed with Ctrl+P shows no green lamp ($green_lamps pixels)"
[ "$black" -le $((total / 10)) ] || fail "the page printed with Ctrl+P is $black of $total pixels black"
echo "   one page, $green_lamps green lamp pixels, $black of $total black"
expect_clean_console Chromium ':CONSOLE'
stop_browser

if command -v firefox-esr >/dev/null 2>&1; then
    step "Firefox"
    start_firefox
    open_panel Firefox
    lesson_first_steps
    about_box "$green" "$green"
    expect_clean_console Firefox '^console\.|JavaScript error'
    stop_browser
else
    echo "SKIP: Firefox ESR not found; the second engine is not tried"
fi

step "a browser without WebGL: the page says so in Russian"
dom=$(chromium "${chromium_flags[@]}" --headless --disable-gpu --disable-3d-apis \
    --user-data-dir="$work/profile-nogl" --virtual-time-budget=10000 --dump-dom "$url" 2>/dev/null)
grep -q 'не может показать Вирталаб: программе нужен WebGL' <<<"$dom" ||
    fail "no message about WebGL on the page"

# The layouts' screenshots are kept for a look.
python3 "$here/web_checks.py" "$site" "$(dirname "$shotcheck")/accesstree" \
    "${TMPDIR:-/tmp}/virtalab-web-layouts" || fail "the browser checks above"

echo "PASS: the lesson in the browser"
