#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a Windows program from the build tree under Wine, for CTest: in the
# build tree's own Wine prefix (made on first use), with Qt's libraries and
# plugins and the compiler's runtime found where they lie, on the current X
# display or else a virtual one. Wine's own messages go to a log file.
# Usage: wine-run.sh <program.exe> [arguments]
# Settings come from wine-env.sh beside this script in the build tree.
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"

if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s '-screen 0 1280x1024x24' bash "${BASH_SOURCE[0]}" "$@"
fi

export WINEPREFIX=$VL_WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
export WINEPATH=$VL_WINEPATH QT_PLUGIN_PATH=$VL_QT_PLUGINS QT_QPA_PLATFORM=windows
# The wine64 loader itself: the wine wrapper warns about 32-bit support on
# every start, which the 64-bit program does not need.
VL_WINE=/usr/lib/wine/wine64
[ -x "$VL_WINE" ] || VL_WINE=wine
(
    # One prefix for all tests; made once, whichever test comes first.
    flock 9
    if [ ! -f "$VL_WINEPREFIX/system.reg" ]; then
        bash "$(dirname "${BASH_SOURCE[0]}")/wine-prefix.sh" "$VL_WINEPREFIX"
        # Windows left to Wine, as on Windows itself: no window manager runs
        # on the virtual display, and a managed window that closes keeps
        # Wine waiting two seconds for one, which made the suite take
        # minutes. The installer's test keeps a managed prefix of its own.
        "$VL_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
            >>"$VL_WINEPREFIX.log" 2>&1
        wineserver -w
    fi
) 9>"$VL_WINEPREFIX.lock"
# A test that asks Windows' own sound player (VL_SOUND_SERVER set) gets a
# PulseAudio server of its own that plays into nothing: Wine plays through
# it, and no sound reaches a real loudspeaker. Without PulseAudio there is
# none, and the test says it could not ask the player.
sound_home=
sound_server=
if [ -n "${VL_SOUND_SERVER:-}" ] && command -v pulseaudio >/dev/null 2>&1; then
    sound_home=$(mktemp -d)
    HOME=$sound_home XDG_CONFIG_HOME=$sound_home XDG_RUNTIME_DIR=$sound_home \
        pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit \
        -L module-native-protocol-unix -L module-null-sink >/dev/null 2>&1 &
    sound_server=$!
    for _ in $(seq 250); do
        [ -S "$sound_home/pulse/native" ] && break
        sleep 0.02
    done
    [ -S "$sound_home/pulse/native" ] && export PULSE_SERVER=unix:$sound_home/pulse/native
fi
# A Qt Test program under Wine writes its report to a file, not to a pipe:
# with VL_QTEST_REPORT set, the report is asked for in a file and shown.
report=
if [ -n "${VL_QTEST_REPORT:-}" ]; then
    report=$(mktemp "$VL_WINEPREFIX.report.XXXXXX")
    set -- "$@" -o "Z:${report//\//\\},txt"
fi
status=0
"$VL_WINE" "$@" 2>>"$VL_WINEPREFIX.log" || status=$?
if [ -n "$report" ]; then
    cat "$report"
    rm -f "$report"
fi
if [ -n "$sound_server" ]; then
    kill "$sound_server" 2>/dev/null || true
    wait "$sound_server" 2>/dev/null || true
    rm -rf "$sound_home"
fi
exit $status
