#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Qt 6 for 64-bit Windows (qtbase: Core, Gui, Widgets, PrintSupport,
# Test, the platform plugins, the windowsvista style, the image plugins) with
# Debian's MinGW-w64, from Debian's own qt6-base source package of the
# version the machine's moc, rcc and uic have, so that those serve this build
# too. The better part of an hour on two cores; done once, kept in a cache.
#   build-qt.sh [prefix]   (default ~/.cache/virtalab/qt6-mingw-<Qt version>)
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# The source package's version: a binary rebuild (+b1, …) has no source of its own.
version=$(dpkg-query -W -f='${source:Version}' qt6-base-dev-tools)
upstream=${version%%-*}
upstream=${upstream#*:}
prefix=${1:-${XDG_CACHE_HOME:-$HOME/.cache}/virtalab/qt6-mingw-${upstream%%+*}}
jobs=${VIRTALAB_JOBS:-2}

source "$here/debian-source.sh"
work=${prefix}.build
rm -rf "$work"
mkdir -p "$work"
debian_source qt6-base "$version" "$work"
# Qt's own source as Debian ships it; Debian's patches concern its Linux
# build.
tar -xJf "$debian_source_dir/qt6-base_${upstream}.orig.tar.xz" -C "$work"
mv "$work"/qtbase-everywhere-src-* "$work/src"

# Qt 6.4.2 does not build its Windows platform plugin with OpenGL off and
# dynamic GL on; both places are guarded (Qt fixed this upstream later).
sed -i 's/^#if QT_CONFIG(dynamicgl)$/#if QT_CONFIG(dynamicgl) \&\& QT_CONFIG(opengl)/' \
    "$work/src/src/plugins/platforms/windows/qwindowswindow.cpp"

cat >"$work/toolchain.cmake" <<'TOOLCHAIN'
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
TOOLCHAIN

# Only what the program and its tests use; the bundled third-party code
# (zlib, PCRE2, HarfBuzz, FreeType, libpng, libjpeg), as MinGW has none.
# Debian's source drops the wintab headers, hence no tablet events.
cmake -G Ninja -S "$work/src" -B "$work/build" \
    -DCMAKE_TOOLCHAIN_FILE="$work/toolchain.cmake" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_INSTALL_PREFIX="$prefix.new" -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
    -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_opengl=OFF \
    -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_tabletevent=OFF \
    -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF \
    -DFEATURE_system_freetype=OFF -DFEATURE_system_jpeg=OFF \
    -DFEATURE_system_doubleconversion=OFF >"$work/configure.log"
echo "Сборка Qt для Windows ($jobs потока; около часа на двух ядрах), журнал: $work/build.log"
cmake --build "$work/build" --parallel "$jobs" >"$work/build.log" 2>&1 || {
    tail -n 40 "$work/build.log"
    exit 1
}
rm -rf "$prefix.new"
cmake --install "$work/build" >"$work/install.log"
find "$prefix.new" -name '*.dll' -exec x86_64-w64-mingw32-strip --strip-unneeded {} \;
rm -rf "$prefix.new/doc"
# Only a finished build takes the cache's place.
rm -rf "$prefix"
mv "$prefix.new" "$prefix"
rm -rf "$work"
echo "Qt $version для Windows: $prefix"
