#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Qt 6 for WebAssembly (qtbase: Core, Gui, Widgets, the wasm platform
# plugin, the image plugins; static, single-threaded) with Debian's own
# emscripten, from Debian's own qt6-base source package of the version the
# machine's moc, rcc and uic have, so that those serve this build too. About
# eleven minutes on two cores; done once, kept in a cache.
#   build-qt.sh [prefix]   (default ~/.cache/virtalab/qt6-wasm-<Qt version>)
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# The source package's version: a binary rebuild (+b1, …) has no source of its own.
version=$(dpkg-query -W -f='${source:Version}' qt6-base-dev-tools)
upstream=${version%%-*}
upstream=${upstream#*:}
prefix=${1:-${XDG_CACHE_HOME:-$HOME/.cache}/virtalab/qt6-wasm-${upstream%%+*}}
jobs=${VIRTALAB_JOBS:-2}

source "$here/../windows/debian-source.sh"
work=${prefix}.build
rm -rf "$work"
mkdir -p "$work"
debian_source qt6-base "$version" "$work"
tar -xJf "$debian_source_dir/qt6-base_${upstream}.orig.tar.xz" -C "$work"
mv "$work"/qtbase-everywhere-src-* "$work/src"

# Qt reads emscripten's version through an emsdk folder, which Debian's
# emscripten has none of; a stand-in names Debian's emcc. Its JavaScript
# optimiser finds Debian's acorn through NODE_PATH.
mkdir -p "$work/emsdk/em"
echo "EMSCRIPTEN_ROOT = 'em'" >"$work/emsdk/.emscripten"
ln -sf /usr/bin/emcc "$work/emsdk/em/emcc"
export EMSDK=$work/emsdk NODE_PATH=/usr/share/nodejs

# Only what the program uses; the bundled third-party code, as the browser
# has none. The widgets it never shows (file, font and colour dialogs, the
# graphics view, date editors, style sheets, gestures) and the MIME database
# (a third of a megabyte, compressed) would otherwise come along through Qt's
# virtual tables.
cmake -G Ninja -S "$work/src" -B "$work/build" \
    -DCMAKE_TOOLCHAIN_FILE=/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake \
    -DQT_QMAKE_TARGET_MKSPEC=wasm-emscripten \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_INSTALL_PREFIX="$prefix.new" -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
    -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF \
    -DFEATURE_testlib=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_zstd=OFF \
    -DFEATURE_system_zlib=OFF -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF \
    -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF -DFEATURE_system_pcre2=OFF \
    -DFEATURE_system_doubleconversion=OFF -DFEATURE_icu=OFF -DFEATURE_glib=OFF \
    -DFEATURE_fontconfig=OFF -DFEATURE_mimetype_database=OFF -DFEATURE_filedialog=OFF \
    -DFEATURE_fontdialog=OFF -DFEATURE_colordialog=OFF -DFEATURE_graphicsview=OFF \
    -DFEATURE_datetimeedit=OFF -DFEATURE_calendarwidget=OFF -DFEATURE_style_stylesheet=OFF \
    -DFEATURE_gestures=OFF >"$work/configure.log"
echo "Сборка Qt для браузера ($jobs потока; около 11 минут на двух ядрах), журнал: $work/build.log"
cmake --build "$work/build" --parallel "$jobs" >"$work/build.log" 2>&1 || {
    tail -n 40 "$work/build.log"
    exit 1
}
rm -rf "$prefix.new"
cmake --install "$work/build" >"$work/install.log"
rm -rf "$prefix.new/doc"
# Only a finished build takes the cache's place.
rm -rf "$prefix"
mv "$prefix.new" "$prefix"
rm -rf "$work"
echo "Qt $version для браузера: $prefix"
