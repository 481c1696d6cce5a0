#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The project's sources. Every one names its licence in an SPDX line near its
# top. And the program builds for Linux, Windows and the browser from one
# tree: where the systems differ, a file of each system's own
# (name_linux.cpp, _windows, _browser, or _desktop for both desktops) is
# picked by the build, so no other source of the program branches on the
# system (#if naming Q_OS_*, _WIN32, __EMSCRIPTEN__, __linux__, __unix__ or
# __APPLE__), and a file built for Windows includes no POSIX or Linux header and
# makes no call that only those systems have. Tests and tools that run only here are
# not checked for that.
# Usage: test_sources.sh <source dir>
set -euo pipefail

src=${1:?usage: $0 <source dir>}
status=0

unlicensed=$(cd "$src" && find . \( -path ./build -o -path ./.git \) -prune -o -type f -print |
    sed 's|^\./||' | grep -E '(\.(cpp|h|sh|cmake|nsi)|\.(h|rc|sh)\.in|CMakeLists\.txt)$|^\.ci/run$' | LC_ALL=C sort |
    while IFS= read -r file; do
        head -n 3 "$file" | grep -q 'SPDX-License-Identifier: GPL-3.0-or-later' || echo "$file"
    done)
if [ -n "$unlicensed" ]; then
    echo "FAIL: no SPDX-License-Identifier line in the first three lines of:"
    echo "$unlicensed"
    status=1
fi
while IFS= read -r -d '' file; do
    name=${file#"$src"/}
    # A file of one system's own is built only with that system's compiler,
    # which has what it uses; one for both desktops must also build for Windows.
    case "$name" in
    *_linux.* | *_windows.* | *_browser.*) continue ;;
    *_desktop.*) shared=0 ;;
    *) shared=1 ;;
    esac
    awk -v file="$name" -v shared="$shared" '
        /^[[:space:]]*#[[:space:]]*(if|elif)/ && /Q_OS_|_WIN32|__EMSCRIPTEN__|__linux__|__unix__|__APPLE__/ {
            if (shared) {
                printf "%s:%d: branches on the system: %s\n", file, FNR, $0
                found = 1
            }
            next
        }
        /^[[:space:]]*#[[:space:]]*include[[:space:]]*<(unistd|fcntl|dlfcn|pthread|termios|poll|syslog|pwd|grp|sys\/[a-z_]+|linux\/[a-z_]+)\.h>/ ||
        /(^|[^A-Za-z_:.>])(ioctl|dlopen|dlsym|fork|execvp?|getuid|readlink|mmap|fsync)[[:space:]]*\(/ ||
        /(^|[^A-Za-z_])::(open|close|read|write|kill|unlink|stat)[[:space:]]*\(/ ||
        /"\/(proc|sys|dev)\// {
            if ($0 ~ /^[[:space:]]*\/\//) next
            printf "%s:%d: %s\n", file, FNR, $0
            found = 1
        }
        END { exit found }
    ' "$file" || status=1
done < <(find "$src/app" "$src/panel" "$src/model" "$src/platform" \
    \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z)
if [ "$status" -ne 0 ] && [ -z "$unlicensed" ]; then
    echo "FAIL: the lines above belong in a file of one system's own (name_linux.cpp, _windows, _browser, _desktop)"
fi
exit $status
