#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# One entry point for a fresh Debian 12 or 13 machine:
#   ./setup.sh run    install what is missing, build, start Вирталаб
#   ./setup.sh test   install what is missing, build, run every test, then
#                     again under the sanitizers, then run each fuzzer for a
#                     minute and play what the WAV fuzzer kept
#   ./setup.sh fuzz [seconds]   fuzz longer (default 600 s for each fuzzer)
#   ./setup.sh pictures         write the README's pictures into docs/
#   ./setup.sh windows   the Windows installer, the MSI and the portable
#                     archive, building Qt for Windows first where there is
#                     none (about an hour)
#   ./setup.sh web    the browser's site in build/web/site, building Qt for
#                     WebAssembly first where there is none (11 to 14 minutes),
#                     served on 127.0.0.1 (port $VIRTALAB_WEB_PORT, else 8080)
# Qt for Windows and for WebAssembly must be the machine's own Qt version,
# whose moc, rcc and uic serve their builds: the first of $VIRTALAB_QT_WINDOWS
# (…_WASM), ../shared/qt6-mingw (qt6-wasm) and the cache,
# ~/.cache/virtalab/qt6-mingw-<version> (qt6-wasm-<version>), that has it.
# The test command builds the Windows program and checks it under Wine when
# that Qt is at hand, which `./setup.sh windows` sees to; it builds the site
# and takes the lesson in Chromium, building Qt for WebAssembly into the
# cache first when there is none.
# Packages are installed only when missing; apt-get update runs only then.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
cd "$here"

# Names that differ between the releases: the sanitizer runtime of the
# release's clang, and Liberation 2, which Debian 13 ships as fonts-liberation
# (its fonts-liberation2 is a transitional package).
case "$(sed -n 's/^VERSION_CODENAME=//p' /etc/os-release)" in
bookworm) clang_runtime=libclang-rt-14-dev liberation=fonts-liberation2 ;;
*) clang_runtime=libclang-rt-19-dev liberation=fonts-liberation ;;
esac

packages=(
    g++ cmake ninja-build pkg-config
    qt6-base-dev qt6-multimedia-dev qt6-translations-l10n
    libgl-dev
    fonts-dejavu-core "$liberation"
    libuemf-dev libgif-dev
    libbenchmark-dev time
    clang-format clang "$clang_runtime"
    xvfb xauth xdotool x11-apps imagemagick poppler-utils
    cups-daemon cups-client ghostscript
    binutils binutils-mingw-w64-x86-64
    dpkg-dev file desktop-file-utils appstream lintian
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-tools xz-utils
    wine wine64 fonts-wine nsis python3 unzip wixl msitools
    emscripten node-acorn python3-fonttools chromium firefox-esr brotli
)
# The sound-player test plays into a PulseAudio server of its own. A desktop
# running PipeWire's PulseAudio server keeps it; the test then plays into none.
if ! dpkg-query -W -f='${Status}' pipewire-pulse 2>/dev/null | grep -q 'install ok installed'; then
    packages+=(pulseaudio)
fi

install_missing() {
    local missing=()
    local p
    for p in "${packages[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$p")
        fi
    done
    if [ ${#missing[@]} -eq 0 ]; then
        return
    fi
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        sudo=(sudo)
    fi
    echo "Устанавливаются пакеты: ${missing[*]}"
    # Another installation running (an update at boot) is waited for.
    "${sudo[@]}" apt-get -o DPkg::Lock::Timeout=600 update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get -o DPkg::Lock::Timeout=600 install -y -qq \
        --no-install-recommends "${missing[@]}"
}

build() {
    local preset=$1
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" --parallel "$(nproc)"
}

# Runs each fuzzer (the metafile reader, the WAV check) for $1 seconds,
# starting from the real pictures and sounds and from what earlier runs kept,
# then plays every sound the WAV fuzzer kept through the real player. A
# finding stops the run, saves the input beside its fuzzer and fails the
# command.
fuzz() {
    build fuzz
    local name dir log
    for name in metafile wavefile; do
        dir=build/fuzz/tests/fuzz/$name
        log=build/fuzz/fuzz_$name.log
        mkdir -p "$dir/corpus"
        echo "Фаззинг ($name): $1 с"
        if ! "build/fuzz/tests/fuzz/fuzz_$name" -max_total_time="$1" -timeout=10 \
            -print_final_stats=1 -artifact_prefix="$dir/" "$dir/corpus" "$dir/seeds" >"$log" 2>&1; then
            tail -n 80 "$log"
            echo "Фаззер нашёл ошибку; входные данные сохранены в $dir/" >&2
            return 1
        fi
        grep -E '^#[0-9]+[[:space:]]+DONE|^stat::' "$log"
    done
    echo "Звуки из корпуса фаззера — через настоящий проигрыватель"
    cmake --preset dev >/dev/null
    cmake --build --preset dev --parallel "$(nproc)" --target test_faults
    QT_QPA_PLATFORM=offscreen LANG=C.UTF-8 LC_ALL=C.UTF-8 \
        build/dev/tests/test_faults everyWavePlayedOrBeeped
}

cache=${XDG_CACHE_HOME:-$HOME/.cache}/virtalab

# The machine's Qt version ("6.8.2" of 6.8.2+dfsg-9+deb13u2): its moc, rcc
# and uic serve the Windows and browser builds, whose Qt must be the same.
machine_qt_version() {
    local version
    version=$(dpkg-query -W -f='${Version}' qt6-base-dev-tools)
    version=${version#*:}
    echo "${version%%[+~-]*}"
}

# Prints the first of the folders after $1 that holds a Qt of the machine's
# version with the file $1 in it; nothing if none does.
matching_qt() {
    local marker=$1 want dir version
    shift
    want=$(machine_qt_version)
    for dir in "$@"; do
        if [ -n "$dir" ] && [ -f "$dir/$marker" ]; then
            version=$(sed -n 's/^set(PACKAGE_VERSION "\(.*\)")$/\1/p' \
                "$dir"/lib/cmake/Qt6/Qt6ConfigVersion*.cmake 2>/dev/null | head -n 1)
            if [ "$version" = "$want" ]; then
                (cd "$dir" && pwd)
                return
            fi
        fi
    done
}

# Prints the folder of Qt for Windows, the first of: the variable, the
# shared folder beside the repository, the cache; nothing if none is there.
# The cache keeps one Qt for each version; a folder without the version in
# its name is an older script's, used while it fits.
windows_qt() {
    matching_qt lib/cmake/Qt6/Qt6Config.cmake "${VIRTALAB_QT_WINDOWS:-}" \
        "$here/../shared/qt6-mingw" "$cache/qt6-mingw-$(machine_qt_version)" "$cache/qt6-mingw"
}

# Builds the Windows program, its tests, the installer and the archive.
windows_build() {
    VIRTALAB_QT_WINDOWS=$(windows_qt)
    export VIRTALAB_QT_WINDOWS
    # libUEMF for Windows, built once from the same source as the machine's.
    if [ "$(cat "$cache/uemf-mingw/VERSION" 2>/dev/null)" != \
        "$(dpkg-query -W -f='${source:Version}' libuemf-dev)" ]; then
        tools/windows/build-uemf.sh "$cache/uemf-mingw"
    fi
    export VIRTALAB_UEMF_WINDOWS=$cache/uemf-mingw
    cmake --preset windows >/dev/null
    cmake --build --preset windows --parallel "$(nproc)"
}

# The Windows part of the tests, under Wine on a virtual display. Building
# its Qt would take the test command past an hour and a half, so without one
# the part is left for `./setup.sh windows`.
windows_test() {
    if [ -z "$(windows_qt)" ]; then
        echo "Windows part skipped: no Qt $(machine_qt_version) for Windows (\$VIRTALAB_QT_WINDOWS, ../shared/qt6-mingw, $cache/qt6-mingw-$(machine_qt_version)); ./setup.sh windows builds it once (about an hour), then the installer"
        return
    fi
    windows_build
    xvfb-run -a -s '-screen 0 1280x1024x24' ctest --preset windows --output-on-failure
}

# Prints the folder of Qt for WebAssembly, found as Qt for Windows is.
web_qt() {
    matching_qt lib/cmake/Qt6/qt.toolchain.cmake "${VIRTALAB_QT_WASM:-}" \
        "$here/../shared/qt6-wasm" "$cache/qt6-wasm-$(machine_qt_version)" "$cache/qt6-wasm"
}

# Qt for WebAssembly of the machine's version, built into the cache when
# there is none (11 to 14 minutes on two cores).
web_qt_ready() {
    if [ -z "$(web_qt)" ]; then
        tools/web/build-qt.sh "$cache/qt6-wasm-$(machine_qt_version)"
    fi
}

# Builds the browser's site, build/web/site.
web_build() {
    VIRTALAB_QT_WASM=$(web_qt)
    export VIRTALAB_QT_WASM
    # libUEMF for the browser, built once from the same source as the machine's.
    if [ "$(cat "$cache/uemf-wasm/VERSION" 2>/dev/null)" != \
        "$(dpkg-query -W -f='${source:Version}' libuemf-dev)" ]; then
        tools/windows/build-uemf.sh "$cache/uemf-wasm" web
    fi
    export VIRTALAB_UEMF_WASM=$cache/uemf-wasm
    build web
}

# The browser part of the tests: the lesson in Chromium on a virtual display.
web_test() {
    web_qt_ready
    local started=$SECONDS built
    web_build
    built=$SECONDS
    bash tests/e2e/test_web.sh build/web/site build/dev/tests/e2e/shotcheck
    echo "Browser part: $((built - started)) s to build the site, $((SECONDS - built)) s for the lesson in Chromium"
}

case "${1:-}" in
run)
    install_missing
    build release
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
        echo "Нет дисплея: программе нужен графический экран." >&2
        echo "No display found. To run without one, use a virtual X server:" >&2
        echo "    xvfb-run -s '-screen 0 1280x1024x24' ./build/release/app/virtalab" >&2
        exit 1
    fi
    exec ./build/release/app/virtalab
    ;;
test)
    install_missing
    build dev
    ctest --preset dev --output-on-failure
    build asan
    ctest --preset asan --output-on-failure
    fuzz 60
    windows_test
    web_test
    ;;
windows)
    install_missing
    if [ -z "$(windows_qt)" ]; then
        tools/windows/build-qt.sh "$cache/qt6-mingw-$(machine_qt_version)"
    fi
    windows_build
    echo "Установщик, пакет MSI и переносная версия: build/windows/Вирталаб-*-setup.exe, build/windows/Вирталаб-*.msi, build/windows/Вирталаб-*-windows.zip"
    ;;
web)
    install_missing
    web_qt_ready
    web_build
    port=${VIRTALAB_WEB_PORT:-8080}
    echo "Вирталаб в браузере: http://127.0.0.1:$port/ (папка build/web/site; Ctrl+C — остановить)"
    exec python3 -m http.server "$port" --bind 127.0.0.1 --directory build/web/site
    ;;
pictures)
    install_missing
    build release
    ./build/release/tools/virtalab-pictures docs
    ;;
fuzz)
    install_missing
    fuzz "${2:-600}"
    ;;
*)
    echo "usage: $0 run|test|pictures|windows|web|fuzz [seconds]" >&2
    exit 2
    ;;
esac
