# SPDX-License-Identifier: GPL-3.0-or-later
# `cpack -G DEB` in a configured build tree packages what `cmake --install`
# lays out, for the Debian release it is built on: its version says which
# (2.0.2-1+deb12, 2.0.2-1+deb13), and it names that release's packages.
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
if(VIRTALAB_DEBIAN_RELEASE)
    string(APPEND CPACK_DEBIAN_PACKAGE_RELEASE "+deb${VIRTALAB_DEBIAN_RELEASE}")
endif()
# The same in the package's changelog, with the release it is for.
set(VIRTALAB_DEBIAN_VERSION "${VIRTALAB_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE}")
set(VIRTALAB_DEBIAN_SUITE unstable)
if(VIRTALAB_DEBIAN_CODENAME)
    set(VIRTALAB_DEBIAN_SUITE ${VIRTALAB_DEBIAN_CODENAME})
endif()
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

# Names that differ between the releases: Debian 13 ships Liberation 2 as
# fonts-liberation (Debian 12's of that name is Liberation 1), and renamed
# the Qt core library's package in its move to 64-bit time.
set(liberation fonts-liberation)
set(qt_core libqt6core6t64)
if(VIRTALAB_DEBIAN_RELEASE AND VIRTALAB_DEBIAN_RELEASE LESS 13)
    set(liberation fonts-liberation2)
    set(qt_core libqt6core6)
endif()
# What the program loads at run time without linking to it: Qt's Russian
# dialogs and the fonts that carry the Cyrillic glyphs and the designed faces.
set(runtime_data "qt6-translations-l10n, ${liberation}, fonts-dejavu-core")
# dpkg-shlibdeps turns the linked libraries into versioned dependencies on the
# release's own packages; where it is missing they are named here, or the
# package would install without Qt.
find_program(VIRTALAB_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(VIRTALAB_DPKG_SHLIBDEPS)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "${runtime_data}")
else()
    set(CPACK_DEBIAN_PACKAGE_DEPENDS
        "${qt_core}, libqt6gui6, libqt6widgets6, libqt6printsupport6, libqt6multimedia6, libuemf0, ${runtime_data}")
endif()

include(CPack)
