# SPDX-License-Identifier: GPL-3.0-or-later
# `cpack -G DEB` in a configured build tree packages what `cmake --install`
# lays out, for Debian 12.
set(CPACK_PACKAGE_NAME virtalab)
# The version the program shows in its title and about box, and the one its
# AppStream release names; the executable's file version counts differently.
set(CPACK_PACKAGE_VERSION ${VIRTALAB_VERSION})
set(CPACK_PACKAGE_VENDOR "Вирталаб")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "laboratory trainer: an oscilloscope with a signal generator")
# Debian shows the long description as written: lines under 80 columns.
set(CPACK_PACKAGE_DESCRIPTION [=[
Вирталаб models an electronic oscilloscope with a signal generator attached
to its input, for laboratory classes. Students switch both units on and off,
choose the signal shape, set voltage, frequency, gain and time per division,
move the trace and choose the sweep mode. The interface is in Russian.]=])
set(VIRTALAB_PACKAGE_CONTACT "Virtalab maintainers <maintainers@virtalab.invalid>"
    CACHE STRING "Maintainer named in the packages")
set(CPACK_PACKAGE_CONTACT "${VIRTALAB_PACKAGE_CONTACT}")
set(CPACK_STRIP_FILES ON)

if(NOT WIN32)
    set(CPACK_GENERATOR DEB)
endif()
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

# What the program loads at run time without linking to it: Qt's Russian
# dialogs and the fonts that carry the Cyrillic glyphs and the designed faces.
set(runtime_data "qt6-translations-l10n, fonts-liberation2, fonts-dejavu-core")
# dpkg-shlibdeps turns the linked libraries into versioned dependencies; where
# it is missing they are named here, or the package would install without Qt.
find_program(VIRTALAB_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(VIRTALAB_DPKG_SHLIBDEPS)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "${runtime_data}")
else()
    set(CPACK_DEBIAN_PACKAGE_DEPENDS
        "libqt6core6, libqt6gui6, libqt6widgets6, libqt6printsupport6, libqt6multimedia6, libuemf0, ${runtime_data}")
endif()

include(CPack)
