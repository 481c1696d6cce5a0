# SPDX-License-Identifier: GPL-3.0-or-later
# Lays the program out as a desktop program. The executable lives in its own
# folder with the switch sounds and its print and sound modules, because it
# looks for them beside itself; bin/ holds only a relative link to it, which
# installs and packages alike.
include(GNUInstallDirs)

set(VIRTALAB_PROGRAM_DIR lib/virtalab)
install(TARGETS virtalab RUNTIME DESTINATION ${VIRTALAB_PROGRAM_DIR})
# The program loads a module only as it was built, so the modules are copied
# as files: neither stripping nor a new library path may touch them.
install(FILES $<TARGET_FILE:virtalab-print> $<TARGET_FILE:virtalab-sound>
        DESTINATION ${VIRTALAB_PROGRAM_DIR})
install(FILES ${VIRTALAB_SOUNDS} DESTINATION ${VIRTALAB_PROGRAM_DIR})

file(RELATIVE_PATH program_from_bin /${CMAKE_INSTALL_BINDIR} /${VIRTALAB_PROGRAM_DIR}/virtalab)
file(MAKE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/command)
file(CREATE_LINK ${program_from_bin} ${CMAKE_CURRENT_BINARY_DIR}/command/virtalab SYMBOLIC)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/command/virtalab DESTINATION ${CMAKE_INSTALL_BINDIR})

install(FILES ${CMAKE_CURRENT_LIST_DIR}/virtalab.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# AppStream wants the file named after the component id.
install(FILES ${VIRTALAB_METAINFO}
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo
        RENAME io.github.virtalab.Virtalab.metainfo.xml)

# The theme icons are the icon's own two images, not rescaled copies.
set(theme_icons)
foreach(size 16 32)
    set(png ${CMAKE_CURRENT_BINARY_DIR}/icons/${size}x${size}/virtalab.png)
    add_custom_command(OUTPUT ${png}
        COMMAND virtalab-iconpng ${PROJECT_SOURCE_DIR}/assets/virtalab.ico ${size} ${png}
        DEPENDS virtalab-iconpng ${PROJECT_SOURCE_DIR}/assets/virtalab.ico
        COMMENT "Theme icon ${size} x ${size}"
        VERBATIM)
    install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
    list(APPEND theme_icons ${png})
endforeach()
add_custom_target(virtalab_icons ALL DEPENDS ${theme_icons})

# What Debian expects beside a package: the licence in machine-readable form,
# the package's changelog and a manual page, the last two compressed without
# a time stamp so that rebuilds give the same bytes.
set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/virtalab)
configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/copyright ${CMAKE_CURRENT_BINARY_DIR}/debian/copyright @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/debian/copyright DESTINATION ${doc_dir})
set(compressed_docs)
foreach(doc IN ITEMS changelog virtalab.1)
    configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/${doc} ${CMAKE_CURRENT_BINARY_DIR}/debian/${doc} @ONLY)
    set(gz ${CMAKE_CURRENT_BINARY_DIR}/debian/${doc}.gz)
    add_custom_command(OUTPUT ${gz}
        COMMAND gzip -9nkf ${CMAKE_CURRENT_BINARY_DIR}/debian/${doc}
        DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/debian/${doc}
        VERBATIM)
    list(APPEND compressed_docs ${gz})
endforeach()
add_custom_target(virtalab_docs ALL DEPENDS ${compressed_docs})
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/debian/changelog.gz
        DESTINATION ${doc_dir} RENAME changelog.Debian.gz)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/debian/virtalab.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
