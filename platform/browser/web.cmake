# SPDX-License-Identifier: GPL-3.0-or-later
# The browser's stand-ins: switch sounds through the browser's audio,
# printing through its print dialog, the page the program runs in, and the
# faces and translations the desktop finds on the system, carried inside the
# program.
target_sources(virtalab_core PRIVATE
    websoundplayer.h websoundplayer.cpp
    browserprinting.h browserprinting.cpp
    browserpage.h browserpage.cpp
    styleresources.cpp
)
target_link_libraries(virtalab_core PUBLIC virtalab_page)

# The faces, cut to the letters the program writes (Latin, Cyrillic and
# their punctuation): whole, they would be a fifth of the site. Debian's
# default face serves the menu and the message boxes, as on the desktop; the
# two stand-ins serve the windows' own faces. Their hinting programs go too:
# the desktop draws with fontconfig's slight hinting, which ignores them.
find_program(VIRTALAB_PYTHON python3 PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)
set(faces
    /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
    /usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf
    /usr/share/fonts/truetype/liberation2/LiberationSerif-Bold.ttf)
set(letters "U+0020-007E,U+00A0-00FF,U+0401-045F,U+2010-2027,U+2116,U+FFFD")
set(cut_faces)
foreach(face IN LISTS faces)
    get_filename_component(name ${face} NAME)
    set(cut ${CMAKE_CURRENT_BINARY_DIR}/fonts/${name})
    add_custom_command(OUTPUT ${cut}
        COMMAND ${VIRTALAB_PYTHON} -m fontTools.subset ${face} --output-file=${cut}
            --unicodes=${letters} --layout-features=* --notdef-outline --no-hinting
        DEPENDS ${face}
        COMMENT "Cutting ${name} to the program's letters"
        VERBATIM)
    set_source_files_properties(${cut} PROPERTIES QT_RESOURCE_ALIAS ${name})
    list(APPEND cut_faces ${cut})
endforeach()
qt_add_resources(virtalab_core "virtalab_web_fonts" PREFIX "/fonts" FILES ${cut_faces})

set_source_files_properties(/usr/share/qt6/translations/qtbase_ru.qm
    PROPERTIES QT_RESOURCE_ALIAS qtbase_ru.qm)
qt_add_resources(virtalab_core "virtalab_web_translations" PREFIX "/translations"
    FILES /usr/share/qt6/translations/qtbase_ru.qm)
