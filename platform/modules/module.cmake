# SPDX-License-Identifier: GPL-3.0-or-later
# virtalab_add_module(<name> <library>): the module virtalab-<name>, made of
# <name>module.cpp (its entry point) and the static library that holds its
# code, which the tests link too. Printing and sound pull in large Qt
# libraries; each lives in a module, loaded on first use, so that the
# program starts without them.
function(virtalab_add_module name library)
    target_include_directories(${library} PUBLIC ${PROJECT_SOURCE_DIR})
    set_target_properties(${library} PROPERTIES POSITION_INDEPENDENT_CODE ON)
    add_library(virtalab-${name} MODULE ${name}module.cpp)
    target_link_libraries(virtalab-${name} PRIVATE ${library})
    # Named alike on every system and built beside the program, which looks
    # for them in its own folder.
    set_target_properties(virtalab-${name} PROPERTIES
        PREFIX ""
        LIBRARY_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/app)
    # The program loads a module only as the build recorded it, and it is
    # installed and packaged as built; a release build strips it here, before
    # its record is taken.
    if(CMAKE_STRIP AND CMAKE_BUILD_TYPE MATCHES "^(Release|MinSizeRel)$")
        add_custom_command(TARGET virtalab-${name} POST_BUILD
            COMMAND ${CMAKE_STRIP} $<TARGET_FILE:virtalab-${name}>
            VERBATIM)
    endif()
    set_property(GLOBAL APPEND PROPERTY VIRTALAB_MODULES ${name})
endfunction()
