# SPDX-License-Identifier: GPL-3.0-or-later
# Lays the program out as a static site, build/web/site/: the page, Qt's
# loader, the program's .js and .wasm, and its file system (the switch
# sounds, in the program's folder as on the desktop). Any web server can
# serve the folder as it is.
qt_add_executable(virtalab main.cpp)
# The handlers report their errors as exceptions. Qt for WebAssembly, built
# without them, turns catching off in its link options; this comes after
# those.
target_link_libraries(virtalab PRIVATE virtalab_app "-sDISABLE_EXCEPTION_CATCHING=0")
# What the program does not use stays out of the site: JPEG pictures, Qt's
# whole faces for the browser (the program carries its own, cut to its
# letters; see platform/browser/CMakeLists.txt), and the common style's pictures
# (see platform/browser/styleresources.cpp).
qt_import_plugins(virtalab EXCLUDE Qt6::QJpegPlugin)
foreach(resources Qt6::QWasmIntegrationPlugin_resources_1 Qt6::Widgets_resources_1)
    set_target_properties(${resources} PROPERTIES IMPORTED_OBJECTS "" IMPORTED_OBJECTS_RELEASE "")
endforeach()

# The sounds are packed into virtalab.data, which the program's loader
# unpacks into its file system before the program starts.
foreach(sound IN LISTS VIRTALAB_SOUNDS)
    get_filename_component(name ${sound} NAME)
    target_link_options(virtalab PRIVATE "SHELL:--preload-file ${sound}@/${name}")
endforeach()
set_property(TARGET virtalab APPEND PROPERTY LINK_DEPENDS ${VIRTALAB_SOUNDS})
# Smaller rather than faster: the site's size is what a student waits for,
# and the panel's work per step is small.
target_link_options(virtalab PRIVATE -Oz)

set(VIRTALAB_SITE ${PROJECT_BINARY_DIR}/site CACHE INTERNAL "The browser's site")
set(VIRTALAB_TITLE_HTML "Вирталаб&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;Ver.${VIRTALAB_VERSION}")
# On every build, whether or not the program was linked again: a site
# folder deleted or changed by hand is laid out afresh. The page follows the
# loader of the Qt the program is built with.
add_custom_target(virtalab_site ALL
    COMMAND ${CMAKE_COMMAND}
        -DSOURCE=${PROJECT_SOURCE_DIR}/platform/browser/site
        -DBUILD=$<TARGET_FILE_DIR:virtalab> -DQTLOADER=${VIRTALAB_QT_WASM}/plugins/platforms/qtloader.js
        -DLOADER=${Qt6_VERSION} -DSITE=${VIRTALAB_SITE} -DVERSION=${PROJECT_VERSION}
        "-DTITLE=${VIRTALAB_TITLE_HTML}" -DICON=${PROJECT_SOURCE_DIR}/assets/virtalab.ico
        -P ${PROJECT_SOURCE_DIR}/platform/browser/site/layout.cmake
    DEPENDS virtalab
    COMMENT "Laying out the site in ${VIRTALAB_SITE}"
    VERBATIM)
