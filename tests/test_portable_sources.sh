#!/usr/bin/env bash
# The program also builds for Windows: outside a platform conditional
# (#if/#ifdef naming Q_OS_*, _WIN32, __linux__, __unix__ or __APPLE__), its
# sources include no POSIX or Linux header and make no call that only those
# systems have. Tests and tools that run only here are not checked.
# Usage: test_portable_sources.sh <source dir>
set -euo pipefail

src=${1:?usage: $0 <source dir>}
status=0
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
if [ "$status" -ne 0 ]; then
    echo "FAIL: the lines above would not build or work on Windows; guard them by platform"
fi
exit $status
