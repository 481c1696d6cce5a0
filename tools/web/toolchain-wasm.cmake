# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the program for the browser: Qt for WebAssembly with Debian's own
# emscripten. Qt for WebAssembly is the first of:
#   the VIRTALAB_QT_WASM variable (CMake or environment),
#   ../shared/qt6-wasm beside the source tree,
#   ~/.cache/virtalab/qt6-wasm-<version>, where tools/web/build-qt.sh puts it,
# the last two only when they hold the machine's own Qt version.
# libUEMF for the browser comes from VIRTALAB_UEMF_WASM or
# ~/.cache/virtalab/uemf-wasm (tools/windows/build-uemf.sh … web).
if(DEFINED ENV{XDG_CACHE_HOME})
    set(vl_cache "$ENV{XDG_CACHE_HOME}/virtalab")
else()
    set(vl_cache "$ENV{HOME}/.cache/virtalab")
endif()

if(NOT VIRTALAB_QT_WASM AND DEFINED ENV{VIRTALAB_QT_WASM})
    set(VIRTALAB_QT_WASM "$ENV{VIRTALAB_QT_WASM}")
endif()
if(NOT VIRTALAB_QT_WASM)
    get_filename_component(vl_shared "${CMAKE_CURRENT_LIST_DIR}/../../../shared/qt6-wasm" ABSOLUTE)
    include("${CMAKE_CURRENT_LIST_DIR}/../matchingqt.cmake")
    # A cache folder without the version in its name is an older script's.
    vl_matching_qt(VIRTALAB_QT_WASM lib/cmake/Qt6/qt.toolchain.cmake "${vl_shared}"
        "${vl_cache}/qt6-wasm-${VL_HOST_QT_VERSION}" "${vl_cache}/qt6-wasm")
endif()
if(NOT VIRTALAB_QT_WASM)
    message(FATAL_ERROR "No Qt for WebAssembly: set VIRTALAB_QT_WASM, or run ./setup.sh web, "
                        "which builds it once into ${vl_cache}/qt6-wasm-<version>")
endif()
set(VIRTALAB_QT_WASM "${VIRTALAB_QT_WASM}" CACHE PATH "Qt for WebAssembly")

if(NOT VIRTALAB_UEMF_WASM AND DEFINED ENV{VIRTALAB_UEMF_WASM})
    set(VIRTALAB_UEMF_WASM "$ENV{VIRTALAB_UEMF_WASM}")
endif()
if(NOT VIRTALAB_UEMF_WASM)
    set(VIRTALAB_UEMF_WASM "${vl_cache}/uemf-wasm")
endif()
set(VIRTALAB_UEMF_WASM "${VIRTALAB_UEMF_WASM}" CACHE PATH "libUEMF for the browser")
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES VIRTALAB_QT_WASM VIRTALAB_UEMF_WASM)

# Qt reads emscripten's version through an emsdk folder, which Debian's
# emscripten has none of; a stand-in names Debian's emcc.
set(vl_emsdk "${vl_cache}/emsdk")
if(NOT EXISTS "${vl_emsdk}/em/emcc")
    file(MAKE_DIRECTORY "${vl_emsdk}/em")
    file(WRITE "${vl_emsdk}/.emscripten" "EMSCRIPTEN_ROOT = 'em'\n")
    file(CREATE_LINK /usr/bin/emcc "${vl_emsdk}/em/emcc" SYMBOLIC)
endif()
set(ENV{EMSDK} "${vl_emsdk}")

set(QT_CHAINLOAD_TOOLCHAIN_FILE /usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)
include("${VIRTALAB_QT_WASM}/lib/cmake/Qt6/qt.toolchain.cmake")
list(APPEND CMAKE_FIND_ROOT_PATH "${VIRTALAB_UEMF_WASM}")
list(APPEND CMAKE_PREFIX_PATH "${VIRTALAB_UEMF_WASM}")
# Qt's tools run here: the host's moc, rcc and uic are the same version.
set(QT_HOST_PATH /usr)
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake)
