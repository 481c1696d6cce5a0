# SPDX-License-Identifier: GPL-3.0-or-later
# Every version text the program, its resources and its packages carry,
# derived from the project's version.
set(VIRTALAB_VERSION "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}")
set(VIRTALAB_FILE_VERSION_COMMAS
    "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},0,${PROJECT_VERSION_TWEAK}")
set(VIRTALAB_FILE_VERSION
    "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.0.${PROJECT_VERSION_TWEAK}")

# The version strings of the resource pad the minor number to two digits and
# the build to four: "2.00.0001".
function(vl_zero_padded out value width)
    string(LENGTH "${value}" length)
    while(length LESS width)
        string(PREPEND value "0")
        math(EXPR length "${length} + 1")
    endwhile()
    set(${out} "${value}" PARENT_SCOPE)
endfunction()
vl_zero_padded(minor "${PROJECT_VERSION_MINOR}" 2)
vl_zero_padded(build "${PROJECT_VERSION_TWEAK}" 4)
set(VIRTALAB_FILE_VERSION_TEXT "${PROJECT_VERSION_MAJOR}.${minor}.${build}")
unset(minor)
unset(build)
