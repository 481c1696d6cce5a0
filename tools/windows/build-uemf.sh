#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds libUEMF for 64-bit Windows (MinGW-w64), or for the browser
# (emscripten), from Debian's own source package, the version the machine's
# libuemf-dev has, so that every build of the metafile reader validates
# records alike. A static library: the program ships no extra DLL for it.
# Takes seconds.
#   build-uemf.sh [prefix [windows|web]]   (default ~/.cache/virtalab/uemf-mingw, windows)
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
prefix=${1:-${XDG_CACHE_HOME:-$HOME/.cache}/virtalab/uemf-mingw}
target=${2:-windows}
# The source package's version: a binary rebuild (+b1, …) has no source of its own.
version=$(dpkg-query -W -f='${source:Version}' libuemf-dev)
case "$target" in
windows) cc=x86_64-w64-mingw32-gcc-posix ar=x86_64-w64-mingw32-ar system=Windows ;;
web) cc=emcc ar=emar system="браузера" ;;
*) echo "usage: $0 [prefix [windows|web]]" >&2; exit 2 ;;
esac

source "$here/debian-source.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
debian_source libuemf "$version" "$work"
# With Debian's patches, as the machine's own libuemf was built.
dpkg-source --no-check -x "$debian_source_dir/libuemf_${version#*:}.dsc" "$work/src" >/dev/null

# The record code includes <iconv.h>, which MinGW lacks; only the text
# conversions use it, and the reader calls none of them. Stubbed, they fail
# cleanly instead of converting (in the browser's build too, which needs
# no converter tables).
mkdir -p "$work/shim" "$work/obj"
cat >"$work/shim/iconv.h" <<'SHIM'
#include <stddef.h>
typedef void* iconv_t;
static inline iconv_t iconv_open(const char* to, const char* from) {
    (void)to; (void)from; return (iconv_t)-1;
}
static inline size_t iconv(iconv_t cd, char** in, size_t* inLeft, char** out, size_t* outLeft) {
    (void)cd; (void)in; (void)inLeft; (void)out; (void)outLeft; return (size_t)-1;
}
static inline int iconv_close(iconv_t cd) { (void)cd; return 0; }
SHIM
# The library's own source list, from its CMakeLists.txt.
for name in uemf uemf_print uemf_endian uemf_safe uemf_utf uwmf uwmf_print uwmf_endian upmf upmf_print; do
    "$cc" -std=c99 -O2 -I"$work/shim" -I"$work/src" -c "$work/src/$name.c" -o "$work/obj/$name.o"
done
rm -rf "$prefix"
mkdir -p "$prefix/lib" "$prefix/include" "$prefix/share/licenses"
"$ar" rcs "$prefix/lib/libuemf.a" "$work/obj"/*.o
cp "$work/src"/*.h "$prefix/include/"
cp "$work/src/COPYING" "$prefix/share/licenses/libUEMF-COPYING"
echo "$version" >"$prefix/VERSION"
echo "libUEMF $version для $system: $prefix"
