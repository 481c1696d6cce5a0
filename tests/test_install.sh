#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a scratch prefix and checks the desktop layout, that
# the theme icons are the icon's own images, and that the installed command
# starts the program.
# Usage: test_install.sh <cmake> <build dir> <source dir>
set -euo pipefail

cmake=${1:?usage: $0 <cmake> <build dir> <source dir>}
build=${2:?}
src=${3:?}

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

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
# shellcheck source=install_layout.sh
source "$(dirname "$0")/install_layout.sh"

prefix=$work/prefix
if ! "$cmake" --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1; then
    cat "$work/install.log"
    echo "FAIL: cmake --install failed"
    exit 1
fi
check_layout "$prefix" "$src" "$build"

# Read back by another decoder, each theme icon matches the icon image of its
# size pixel for pixel.
if command -v identify >/dev/null && command -v compare >/dev/null; then
    ico=$src/assets/virtalab.ico
    count=$(identify "$ico" | wc -l)
    for size in 16 32; do
        png=$prefix/share/icons/hicolor/${size}x${size}/apps/virtalab.png
        matched=no
        for ((i = 0; i < count; i++)); do
            if [ "$(identify -format '%wx%h' "$ico[$i]")" = "${size}x${size}" ]; then
                differing=$(compare -metric AE "$ico[$i]" "$png" null: 2>&1 || true)
                if [ "$differing" = 0 ]; then
                    matched=yes
                else
                    fail "the ${size}x${size} theme icon differs from the icon in $differing pixels"
                    matched=checked
                fi
            fi
        done
        if [ "$matched" = no ]; then
            fail "the icon holds no ${size}x${size} image"
        fi
    done
else
    echo "ImageMagick not found: the icon pixels are not compared"
fi

# The installed command, reached through its link, starts and keeps running.
QT_QPA_PLATFORM=offscreen LANG=C.UTF-8 LC_ALL=C.UTF-8 "$prefix/bin/virtalab" >"$work/run.log" 2>&1 &
pid=$!
sleep 3
if ! kill -0 "$pid" 2>/dev/null; then
    status=0
    wait "$pid" || status=$?
    pid=
    fail "the installed program ended at start with status $status:
$(cat "$work/run.log")"
fi

if [ "$failures" -ne 0 ]; then
    exit 1
fi
echo "PASS: installed layout, theme icons and the installed command"
