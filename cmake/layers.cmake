# SPDX-License-Identifier: GPL-3.0-or-later
# Who may use whom. The program's folders are layers, app over model over
# panel over platform, and the platform layer has one folder per subsystem.
# A source may include a header from its own folder, or from the folder of a
# library its library links: the links say who may use whom, and the build
# stops at an include that no link allows, before anything is compiled.
set(vl_folders
    app virtalab_app
    model virtalab_model
    panel virtalab_panel
    platform virtalab_platform
    platform/pictures virtalab_pictures
    platform/sound virtalab_sound
    platform/printing virtalab_printing
    platform/modules virtalab_modules
    platform/browser virtalab_browser)
# The loadable modules' code lives in its subsystem's folder.
# The loadable modules' code lives in its subsystem's folder, the program's
# entry point in app/.
set(vl_checked
    virtalab_sound_module virtalab_print_module virtalab-sound virtalab-print virtalab)

# The folder of each library, and the libraries that are checked.
list(LENGTH vl_folders count)
math(EXPR last "${count} - 1")
foreach(i RANGE 0 ${last} 2)
    math(EXPR j "${i} + 1")
    list(GET vl_folders ${i} folder)
    list(GET vl_folders ${j} target)
    set(vl_folder_${target} ${folder})
    list(APPEND vl_checked ${target})
endforeach()

# The folders a library may include from: its own sources' and those of
# every library it links, directly or through another.
function(vl_reachable target out)
    set(seen)
    set(queue ${target})
    while(queue)
        list(POP_FRONT queue current)
        if(current IN_LIST seen OR NOT TARGET ${current})
            continue()
        endif()
        list(APPEND seen ${current})
        foreach(property LINK_LIBRARIES INTERFACE_LINK_LIBRARIES)
            get_target_property(links ${current} ${property})
            foreach(link IN LISTS links)
                string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" link "${link}")
                if(TARGET ${link})
                    list(APPEND queue ${link})
                endif()
            endforeach()
        endforeach()
    endwhile()
    set(${out} ${seen} PARENT_SCOPE)
endfunction()

set(vl_map "")
set(vl_sources)
foreach(target IN LISTS vl_checked)
    if(NOT TARGET ${target})
        continue()
    endif()
    vl_reachable(${target} reachable)
    set(allowed)
    foreach(library IN LISTS reachable)
        if(DEFINED vl_folder_${library})
            list(APPEND allowed ${vl_folder_${library}})
        endif()
    endforeach()
    get_target_property(source_dir ${target} SOURCE_DIR)
    get_target_property(sources ${target} SOURCES)
    foreach(source IN LISTS sources)
        cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${source_dir} NORMALIZE)
        # Written by the build (moc, the module records) or outside the
        # project: not ours to check.
        cmake_path(IS_PREFIX PROJECT_SOURCE_DIR "${source}" NORMALIZE inside)
        cmake_path(IS_PREFIX PROJECT_BINARY_DIR "${source}" NORMALIZE built)
        if(NOT inside OR built OR NOT source MATCHES "\\.(cpp|h)$")
            continue()
        endif()
        cmake_path(RELATIVE_PATH source BASE_DIRECTORY ${PROJECT_SOURCE_DIR} OUTPUT_VARIABLE file)
        cmake_path(GET file PARENT_PATH own)
        list(JOIN allowed "," allowed_text)
        string(APPEND vl_map "${file}|${own},${allowed_text}\n")
        list(APPEND vl_sources ${source})
    endforeach()
endforeach()
list(JOIN vl_folders "," vl_folder_text)
set(vl_map_file ${PROJECT_BINARY_DIR}/layers.txt)
file(WRITE ${vl_map_file}.new "${vl_folder_text}\n${vl_map}")
file(COPY_FILE ${vl_map_file}.new ${vl_map_file} ONLY_IF_DIFFERENT)
file(REMOVE ${vl_map_file}.new)

list(REMOVE_DUPLICATES vl_sources)
set(vl_stamp ${PROJECT_BINARY_DIR}/layers.stamp)
add_custom_command(OUTPUT ${vl_stamp}
    COMMAND ${CMAKE_COMMAND} -DSOURCE=${PROJECT_SOURCE_DIR} -DMAP=${vl_map_file}
        -DSTAMP=${vl_stamp} -P ${CMAKE_CURRENT_LIST_DIR}/checklayers.cmake
    DEPENDS ${vl_sources} ${vl_map_file} ${CMAKE_CURRENT_LIST_DIR}/checklayers.cmake
    COMMENT "Checking that every include follows the libraries' links"
    VERBATIM)
add_custom_target(virtalab_layers DEPENDS ${vl_stamp})
foreach(target IN LISTS vl_checked)
    if(TARGET ${target})
        add_dependencies(${target} virtalab_layers)
    endif()
endforeach()
