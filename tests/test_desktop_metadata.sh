#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Validates the installed desktop entry and AppStream metadata with the
# freedesktop tools. Exit code 77 (skipped) when they are not installed.
# Usage: test_desktop_metadata.sh <cmake> <build dir>
set -euo pipefail

cmake=${1:?usage: $0 <cmake> <build dir>}
build=${2:?}

for tool in desktop-file-validate appstreamcli; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "SKIP: $tool not found (Debian packages desktop-file-utils, appstream)"
        exit 77
    fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if ! "$cmake" --install "$build" --prefix "$work/prefix" >"$work/install.log" 2>&1; then
    cat "$work/install.log"
    echo "FAIL: cmake --install failed"
    exit 1
fi

failures=0
# Hints fail too: one of them is an entry that no menu section would show.
if ! desktop-file-validate "$work/prefix/share/applications/virtalab.desktop" >"$work/desktop.log" 2>&1 ||
    [ -s "$work/desktop.log" ]; then
    echo "FAIL: desktop-file-validate:"
    cat "$work/desktop.log"
    failures=$((failures + 1))
fi
# Strict: warnings and hints fail too. The tree check also follows the
# metadata to the desktop entry it launches.
if ! appstreamcli validate-tree --no-net --strict "$work/prefix" >"$work/appstream.log" 2>&1; then
    echo "FAIL: appstreamcli validate-tree:"
    cat "$work/appstream.log"
    failures=$((failures + 1))
fi

if [ "$failures" -ne 0 ]; then
    exit 1
fi
echo "PASS: the desktop entry and the AppStream metadata validate"
