#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The project's sources. Every one names its licence in an SPDX line near its
# top. And the program also builds for Windows: outside a platform
# conditional (#if/#ifdef naming Q_OS_*, _WIN32, __linux__, __unix__ or
# __APPLE__), its sources include no POSIX or Linux header and make no call
# that only those systems have; tests and tools that run only here are not
# checked for that.
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
    awk -v file="${file#"$src"/}" '
        # Open conditionals; a line is guarded while any of them names a platform.
        /^[[:space:]]*#[[:space:]]*if/ {
            depth++
            platform[depth] = ($0 ~ /Q_OS_|_WIN32|__linux__|__unix__|__APPLE__/)
            next
        }
        /^[[:space:]]*#[[:space:]]*endif/ { if (depth > 0) depth--; next }
        function guarded(   i) {
            for (i = 1; i <= depth; i++) if (platform[i]) return 1
            return 0
        }
        guarded() { next }
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
    echo "FAIL: the lines above would not build or work on Windows; guard them by platform"
fi
exit $status
