# SPDX-License-Identifier: GPL-3.0-or-later
# Qt for another system must be the machine's own Qt version: the host's
# moc, rcc and uic serve its builds. Included by the toolchain files.

# The version of the Qt whose CMake packages lie in cmake_dir, empty where
# there is none.
function(vl_qt_version out cmake_dir)
    set(version "")
    if(EXISTS "${cmake_dir}/Qt6/Qt6ConfigVersionImpl.cmake")
        file(STRINGS "${cmake_dir}/Qt6/Qt6ConfigVersionImpl.cmake" lines
             REGEX "^set\\(PACKAGE_VERSION \"[^\"]*\"\\)$")
        list(GET lines 0 line)
        string(REGEX REPLACE "^set\\(PACKAGE_VERSION \"([^\"]*)\"\\)$" "\\1" version "${line}")
    endif()
    set(${out} "${version}" PARENT_SCOPE)
endfunction()

vl_qt_version(VL_HOST_QT_VERSION /usr/lib/x86_64-linux-gnu/cmake)

# Sets out to the first of the prefixes that holds a Qt of the machine's
# version with the file marker in it; leaves it unset if none does.
function(vl_matching_qt out marker)
    foreach(prefix IN LISTS ARGN)
        vl_qt_version(version "${prefix}/lib/cmake")
        if(EXISTS "${prefix}/${marker}" AND version STREQUAL VL_HOST_QT_VERSION)
            set(${out} "${prefix}" PARENT_SCOPE)
            return()
        endif()
    endforeach()
endfunction()
