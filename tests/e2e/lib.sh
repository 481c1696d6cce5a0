# SPDX-License-Identifier: GPL-3.0-or-later
# Shared steps of the end-to-end tests: start the real program in a virtual X
# server, find its window, click at designed panel coordinates, capture it.
# Sourced by the test scripts; "$app" is the executable's path.

# Re-runs the calling script inside xvfb-run unless it already is.
e2e_enter_display() {
    if [ -n "${VL_E2E_DISPLAY_READY:-}" ]; then
        return
    fi
    local tool
    for tool in xvfb-run xdotool convert import; do
        if ! command -v "$tool" >/dev/null 2>&1; then
            echo "SKIP: $tool not found"
            exit 77
        fi
    done
    if [ -n "$app" ] && [ ! -x "$app" ]; then
        echo "FAIL: no executable at $app"
        exit 1
    fi
    exec env VL_E2E_DISPLAY_READY=1 LANG=C.UTF-8 LC_ALL=C.UTF-8 QT_QPA_PLATFORM=xcb \
        xvfb-run -a -s '-screen 0 1280x1024x24' bash "$0" "$@"
}

work=$(mktemp -d)
pid=
e2e_cleanup() {
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap e2e_cleanup EXIT

fail() {
    echo "FAIL: $*"
    if [ -f "$work/window.png" ]; then
        local keep="${TMPDIR:-/tmp}/virtalab-e2e-$(basename "$0" .sh).png"
        cp "$work/window.png" "$keep" && echo "The window as captured: $keep"
    fi
    if [ -f "$work/page-1.png" ]; then
        local page="${TMPDIR:-/tmp}/virtalab-e2e-$(basename "$0" .sh)-page.png"
        cp "$work/page-1.png" "$page" && echo "The printed page: $page"
    fi
    if [ -s "$work/app.log" ]; then
        echo "Program output:"
        cat "$work/app.log"
    fi
    exit 1
}

# Starts the program and sets wid, x, y, width, height of its window.
e2e_start() {
    "$app" "$@" >"$work/app.log" 2>&1 &
    pid=$!
    wid=
    local _
    for _ in $(seq 100); do
        if ! kill -0 "$pid" 2>/dev/null; then
            fail "the program ended before showing its window"
        fi
        wid=$(xdotool search --onlyvisible --name 'Ver\.2\.0\.2' 2>/dev/null | head -n 1 || true)
        [ -n "$wid" ] && break
        sleep 0.2
    done
    [ -n "$wid" ] || fail "no window appeared within 20 seconds"
    local geometry
    geometry=$(xdotool getwindowgeometry --shell "$wid")
    x=$(sed -n 's/^X=\(-\?[0-9]*\)$/\1/p' <<<"$geometry")
    y=$(sed -n 's/^Y=\(-\?[0-9]*\)$/\1/p' <<<"$geometry")
    width=$(sed -n 's/^WIDTH=\([0-9]*\)$/\1/p' <<<"$geometry")
    height=$(sed -n 's/^HEIGHT=\([0-9]*\)$/\1/p' <<<"$geometry")
}

# Captures the window into $work/window.png and its pixels as text lines
# "x,y: (r,g,b..." into $work/pixels.txt.
e2e_capture() {
    rm -f "$work/window.png"
    import -window root -crop "${width}x${height}+${x}+${y}" +repage "$work/window.png" 2>/dev/null ||
        fail "screenshot failed"
    convert "$work/window.png" -depth 8 txt:- >"$work/pixels.txt"
}

# Sets panel_top and panel_left, where the panel starts in the capture (below
# the menu bar; in a browser, wherever the page puts it), from the
# oscilloscope lamp: dark red while off, its fill starting 33 rows down and
# 25 columns in.
e2e_find_panel() {
    local lamp= _
    for _ in $(seq "${1:-50}"); do
        e2e_capture
        lamp=$(awk -F'[,:() ]+' '$3 == 192 && $4 == 0 && $5 == 0 { print $1, $2; exit }' "$work/pixels.txt")
        [ -n "$lamp" ] && break
        sleep 0.2
    done
    [ -n "$lamp" ] || fail "the panel never showed its dark-red lamp"
    read -r panel_left panel_top <<<"$lamp"
    panel_left=$((panel_left - 25))
    panel_top=$((panel_top - 33))
}

# Clicks at a point of the panel given in twips.
e2e_click_twips() {
    local px=$(($1 / 15)) py=$(($2 / 15))
    xdotool mousemove --sync $((x + panel_left + px)) $((y + panel_top + py)) click 1
    sleep 0.3
}

# What a student sees on the oscilloscope: the lamps, and where the green
# trace stands and how long its period is. shotcheck runs the shotcheck
# program given as "$shotcheck" unless the test defines it otherwise.
if ! declare -F shotcheck >/dev/null; then
    shotcheck() { "$shotcheck" "$@"; }
fi

step() { echo "-- $*"; }

# The screen's drawing area in panel pixels; the axes cross at (2570, 2050)
# twips inside it.
screen_x=162
screen_y=5
screen_w=339
screen_h=269
axis_x=171.3
axis_y=136.7

# Colour "r,g,b" of a panel pixel in the last capture.
pixel() {
    awk -F'[,:() ]+' -v px="$(($1 + panel_left))" -v py="$(($2 + panel_top))" \
        '$1 == px && $2 == py { print $3 "," $4 "," $5; exit }' "$work/pixels.txt"
}

expect_lamps() {
    local scope generator
    scope=$(pixel 36 36)
    generator=$(pixel 36 372)
    [ "$scope" = "$1" ] || fail "oscilloscope lamp is $scope, expected $1"
    [ "$generator" = "$2" ] || fail "generator lamp is $generator, expected $2"
}
green=0,255,0
dark_red=192,0,0

# Sets l t r b: the green trace's box inside the screen, or fails if there
# is none.
trace_box() {
    local box
    box=$(shotcheck extent "$work/window.png" $((panel_left + screen_x)) $((panel_top + screen_y)) "$screen_w" "$screen_h")
    [ "$box" != none ] || fail "no trace on the screen"
    read -r l t r b <<<"$box"
}

expect_no_trace() {
    local box
    box=$(shotcheck extent "$work/window.png" $((panel_left + screen_x)) $((panel_top + screen_y)) "$screen_w" "$screen_h")
    [ "$box" = none ] || fail "a trace is on the screen ($box) where none should be"
}

# near <what> <measured> <expected> <tolerance>
near() {
    awk -v m="$2" -v e="$3" -v t="$4" 'BEGIN { exit !(m >= e - t && m <= e + t) }' ||
        fail "$1 is $2, expected $3 ± $4"
    echo "   $1 $2 (expected $3)"
}

expect_period() {
    local measured
    measured=$(shotcheck period "$work/window.png" $((panel_left + screen_x)) $((panel_top + screen_y)) "$screen_w" "$screen_h")
    near "period" "$measured" "$1" "$(awk -v e="$1" 'BEGIN { print e * 0.03 }')"
}

# Clicks the oscilloscope's «On»: its lamp turns green and the short stroke
# stands at the trace's first corner, not centred.
expect_scope_switched_on() {
    e2e_click_twips 1087 547
    # The first switch loads the sound module, which an instrumented build
    # on a busy machine takes longer over than the usual settling time.
    local _
    for _ in $(seq 25); do
        e2e_capture
        [ "$(pixel 36 36)" = "$green" ] && break
        sleep 0.2
    done
    expect_lamps "$green" "$dark_red"
    trace_box
    near "stroke left" "$l" 171 3
    near "stroke top" "$t" 136 3
}

# Trace height h twips; the waveform's peak-to-peak part of it, in pixels.
peak_to_peak() { awk -v h="$1" -v f="$2" 'BEGIN { printf "%.1f", h / 15 * f }'; }


# The printed client area, in pixels: 8910 × 6490 twips.
client_w=594
client_h=433

# Colour "r,g,b" of a pixel of a picture.
colour_at() {
    convert "$1" -crop "1x1+$2+$3" -depth 8 txt:- | sed -n 's/.*: (\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1,\2,\3/p'
}

# Renders a printed job (PDF or PostScript, as the printer was sent it) into
# $work/page-<n>.png at 100 dots per inch and sets page_count.
render_job() {
    rm -f "$work"/page-*.png
    case $(head -c 4 "$1") in
    %PDF) pdftoppm -r 100 -png "$1" "$work/page" ;;
    %!PS) gs -q -dNOPAUSE -dBATCH -dSAFER -sDEVICE=png16m -r100 \
        -sOutputFile="$work/page-%d.png" "$1" >/dev/null ;;
    *) fail "the printed job is neither PDF nor PostScript: $(head -c 16 "$1" | od -c | head -n 1)" ;;
    esac || fail "the printed job cannot be rendered"
    page_count=$(find "$work" -maxdepth 1 -name 'page-*.png' | wc -l)
}

# A printed job against the window as grabbed when it was printed
# ($work/window.png): one page; the whole panel on it, as wide as the
# margin leaves room for (in pixels at 100 dpi), at the top and centred
# across; at one scale for both axes; the lamps, the rainbow strips and the
# trace where the window shows them, and the rest alike.
# Usage: expect_page_like_window <job document> <margin>
expect_page_like_window() {
    render_job "$1"
    [ "$page_count" -eq 1 ] || fail "the print has $page_count pages, expected 1"
    local page=("$work"/page-*.png) placed
    placed=$(shotcheck page "${page[0]}" "$work/printed.png" "$client_w" "$client_h")
    [ "$placed" != none ] || fail "the printed page is blank"
    local pl pt pr pb pw ph
    read -r pl pt pr pb pw ph <<<"$placed"
    echo "   page ${pw}x${ph} at 100 dpi, panel at ($pl,$pt)-($pr,$pb)"
    awk -v l="$pl" -v t="$pt" -v r=$((pw - 1 - pr)) -v b=$((ph - 1 - pb)) -v m="$2" \
        'BEGIN { exit !(l >= m - 2 && l <= m + 2 && t >= m - 2 && t <= m + 2 &&
                        r >= m - 2 && r <= m + 2 && b >= m - 2) }' ||
        fail "the panel's margins are $pl $pt $((pw - 1 - pr)) $((ph - 1 - pb)) px, expected $2 px at the sides and top"
    awk -v w=$((pr - pl + 1)) -v h=$((pb - pt + 1)) -v cw="$client_w" -v ch="$client_h" \
        'BEGIN { sx = w / cw; sy = h / ch; d = sx / sy - 1; exit !(d < 0.01 && d > -0.01) }' ||
        fail "the panel is printed $((pr - pl + 1))x$((pb - pt + 1)), not at the window's ${client_w}x${client_h} proportions: cut or stretched"

    convert "$work/window.png" -crop "${client_w}x${client_h}+0+${panel_top}" +repage "$work/client.png"
    local lamp window printed
    for lamp in "36 36" "36 372"; do
        # shellcheck disable=SC2086 # x y
        window=$(colour_at "$work/client.png" $lamp)
        # shellcheck disable=SC2086
        printed=$(colour_at "$work/printed.png" $lamp)
        awk -v a="$window" -v b="$printed" 'BEGIN { split(a, x, ","); split(b, y, ",");
            for (i = 1; i <= 3; i++) if (x[i] - y[i] > 40 || y[i] - x[i] > 40) exit 1 }' ||
            fail "the lamp at ($lamp) is $printed on the page, $window in the window"
    done
    local strip share
    # The middle line of each strip: left, right, top, bottom.
    for strip in "158 10 1 260" "505 10 1 260" "170 1 330 1" "170 278 330 1"; do
        # shellcheck disable=SC2086 # x y width height
        share=$(shotcheck colourful "$work/printed.png" $strip)
        awk -v s="$share" 'BEGIN { exit !(s >= 0.6) }' ||
            fail "the rainbow strip at ($strip) is missing from the page ($share coloured)"
    done
    local in_window on_page
    in_window=$(shotcheck extent "$work/client.png" "$screen_x" "$screen_y" "$screen_w" "$screen_h")
    on_page=$(shotcheck extent "$work/printed.png" "$screen_x" "$screen_y" "$screen_w" "$screen_h")
    if [ "$in_window" = none ] || [ "$on_page" = none ]; then
        [ "$in_window" = "$on_page" ] || fail "the trace is '$on_page' on the page, '$in_window' in the window"
    else
        awk -v a="$in_window" -v b="$on_page" 'BEGIN { split(a, x, " "); split(b, y, " ");
            for (i = 1; i <= 4; i++) if (x[i] - y[i] > 2 || y[i] - x[i] > 2) exit 1 }' ||
            fail "the trace spans $on_page on the page, $in_window in the window"
    fi
    echo "   trace: $on_page on the page, $in_window in the window"
    local differing
    differing=$(shotcheck differing "$work/client.png" 0 0 "$client_w" "$client_h" "$work/printed.png")
    awk -v d="$differing" 'BEGIN { exit !(d <= 0.05) }' ||
        fail "$differing of the page differs from the window"
    echo "   $differing of the page differs from the window"
}

# Opens "Меню" and picks its n-th item from the keyboard.
menu_item() {
    xdotool mousemove --sync $((x + 25)) $((y + 8)) click 1
    sleep 0.4
    local i
    for i in $(seq "$1"); do xdotool key Down; done
    xdotool key Return
    sleep 1
}

# «Печать» with the window as it is now; the printer dialog is closed with
# the key given (Return prints, Escape cancels), and the n-th job must come
# out as the window looks, with the margin given.
# Usage: print_and_check <key> <n> <margin>
print_and_check() {
    e2e_capture
    menu_item 1
    local _ dialog=
    for _ in $(seq 50); do
        dialog=$(xdotool search --onlyvisible --name '^(Печать|Print)$' 2>/dev/null | head -n 1 || true)
        [ -n "$dialog" ] && break
        sleep 0.2
    done
    [ -n "$dialog" ] || fail "the printer dialog did not open"
    xdotool key "$1"
    local job
    job=$(cups_job "$2")
    [ -n "$job" ] || fail "no job reached the print queue"
    expect_page_like_window "$job" "$3"
}
