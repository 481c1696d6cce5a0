# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-builds the program for 64-bit Windows with Debian's MinGW-w64
# (posix threads, which Qt needs). Qt for Windows is the first of:
#   the VIRTALAB_QT_WINDOWS variable (CMake or environment),
#   ../shared/qt6-mingw beside the source tree,
#   ~/.cache/virtalab/qt6-mingw-<version>, where tools/windows/build-qt.sh puts it,
# the last two only when they hold the machine's own Qt version.
# libUEMF for Windows comes from VIRTALAB_UEMF_WINDOWS or
# ~/.cache/virtalab/uemf-mingw (tools/windows/build-uemf.sh).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

if(DEFINED ENV{XDG_CACHE_HOME})
    set(vl_cache "$ENV{XDG_CACHE_HOME}/virtalab")
else()
    set(vl_cache "$ENV{HOME}/.cache/virtalab")
endif()

if(NOT VIRTALAB_QT_WINDOWS AND DEFINED ENV{VIRTALAB_QT_WINDOWS})
    set(VIRTALAB_QT_WINDOWS "$ENV{VIRTALAB_QT_WINDOWS}")
endif()
if(NOT VIRTALAB_QT_WINDOWS)
    get_filename_component(vl_shared "${CMAKE_CURRENT_LIST_DIR}/../../../shared/qt6-mingw" ABSOLUTE)
    include("${CMAKE_CURRENT_LIST_DIR}/../matchingqt.cmake")
    # A cache folder without the version in its name is an older script's.
    vl_matching_qt(VIRTALAB_QT_WINDOWS lib/cmake/Qt6/Qt6Config.cmake "${vl_shared}"
        "${vl_cache}/qt6-mingw-${VL_HOST_QT_VERSION}" "${vl_cache}/qt6-mingw")
endif()
if(NOT VIRTALAB_QT_WINDOWS)
    message(FATAL_ERROR "No Qt for Windows: set VIRTALAB_QT_WINDOWS, or run ./setup.sh windows, "
                        "which builds it once into ${vl_cache}/qt6-mingw-<version>")
endif()
# Kept for the try-compiles, which read the toolchain afresh.
set(VIRTALAB_QT_WINDOWS "${VIRTALAB_QT_WINDOWS}" CACHE PATH "Qt for Windows")

if(NOT VIRTALAB_UEMF_WINDOWS AND DEFINED ENV{VIRTALAB_UEMF_WINDOWS})
    set(VIRTALAB_UEMF_WINDOWS "$ENV{VIRTALAB_UEMF_WINDOWS}")
endif()
if(NOT VIRTALAB_UEMF_WINDOWS)
    set(VIRTALAB_UEMF_WINDOWS "${vl_cache}/uemf-mingw")
endif()
set(VIRTALAB_UEMF_WINDOWS "${VIRTALAB_UEMF_WINDOWS}" CACHE PATH "libUEMF for Windows")
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES VIRTALAB_QT_WINDOWS VIRTALAB_UEMF_WINDOWS)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 "${VIRTALAB_QT_WINDOWS}" "${VIRTALAB_UEMF_WINDOWS}")
set(CMAKE_PREFIX_PATH "${VIRTALAB_QT_WINDOWS}" "${VIRTALAB_UEMF_WINDOWS}")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Qt's tools run here: the host's moc, rcc and uic are the same version.
set(QT_HOST_PATH /usr)
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake)
