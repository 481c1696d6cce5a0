# SPDX-License-Identifier: GPL-3.0-or-later
# CTest runs the Windows test programs under Wine through wine-run.sh, which
# finds Qt, its plugins and the compiler's runtime where they lie.
function(vl_windows_path out path)
    string(REPLACE "/" "\\" path "Z:${path}")
    set(${out} "${path}" PARENT_SCOPE)
endfunction()
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libstdc++-6.dll
    OUTPUT_VARIABLE vl_libstdcxx OUTPUT_STRIP_TRAILING_WHITESPACE)
get_filename_component(vl_gcc_dir "${vl_libstdcxx}" DIRECTORY)
set(vl_winepath)
foreach(dir IN ITEMS "${VIRTALAB_QT_WINDOWS}/bin" "${vl_gcc_dir}" /usr/x86_64-w64-mingw32/lib)
    vl_windows_path(dir "${dir}")
    list(APPEND vl_winepath "${dir}")
endforeach()
list(JOIN vl_winepath ";" VL_WINEPATH)
vl_windows_path(VL_QT_PLUGINS "${VIRTALAB_QT_WINDOWS}/plugins")
set(VL_WINEPREFIX "${PROJECT_BINARY_DIR}/wine")
configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-env.sh.in ${PROJECT_BINARY_DIR}/wine-env.sh @ONLY)
foreach(script IN ITEMS wine-run.sh wine-prefix.sh)
    configure_file(${CMAKE_CURRENT_LIST_DIR}/${script} ${PROJECT_BINARY_DIR}/${script} COPYONLY)
endforeach()
set(CMAKE_CROSSCOMPILING_EMULATOR bash ${PROJECT_BINARY_DIR}/wine-run.sh)
