# SPDX-License-Identifier: GPL-3.0-or-later
# Lays the Windows program out as one folder that holds everything it loads:
# the program, its print module, the switch sounds, the Qt libraries and
# plugins it uses, the compiler's runtime, Qt's Russian dialogs, and a
# qt.conf that points Qt at this folder alone. The installer and the
# portable archive are both made from this layout.

# What the program uses from Qt. BMP is built into Qt Gui; the pictures are
# also GIF and ICO.
set(qt_libraries Core Gui Widgets PrintSupport)
set(qt_plugins platforms/qwindows styles/qwindowsvistastyle imageformats/qgif imageformats/qico)

set(runtime_files)
foreach(library IN LISTS qt_libraries)
    list(APPEND runtime_files ${VIRTALAB_QT_WINDOWS}/bin/Qt6${library}.dll)
endforeach()
# The compiler's runtime, which Qt's libraries link as well.
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libstdc++-6.dll
    OUTPUT_VARIABLE libstdcxx OUTPUT_STRIP_TRAILING_WHITESPACE)
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libgcc_s_seh-1.dll
    OUTPUT_VARIABLE libgcc OUTPUT_STRIP_TRAILING_WHITESPACE)
find_file(VIRTALAB_WINPTHREAD_DLL libwinpthread-1.dll
    PATHS /usr/x86_64-w64-mingw32/lib NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
list(APPEND runtime_files ${libstdcxx} ${libgcc} ${VIRTALAB_WINPTHREAD_DLL})
foreach(file IN LISTS runtime_files)
    if(NOT EXISTS ${file})
        message(FATAL_ERROR "Missing from the Windows build's runtime: ${file}")
    endif()
endforeach()

# Qt's Russian dialogs and buttons: the same file Debian ships.
find_file(VIRTALAB_QTBASE_RU qtbase_ru.qm
    PATHS /usr/share/qt6/translations NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)

install(TARGETS virtalab RUNTIME DESTINATION .)
# Copied as built: the program loads a module only when it is byte for byte
# the one it was built with.
install(FILES $<TARGET_FILE:virtalab-print> DESTINATION .)
install(FILES ${VIRTALAB_SOUNDS} ${runtime_files} DESTINATION .)
foreach(plugin IN LISTS qt_plugins)
    get_filename_component(folder ${plugin} DIRECTORY)
    install(FILES ${VIRTALAB_QT_WINDOWS}/plugins/${plugin}.dll DESTINATION plugins/${folder})
endforeach()
install(FILES ${VIRTALAB_QTBASE_RU} DESTINATION translations)
install(FILES ${PROJECT_SOURCE_DIR}/tools/windows/qt.conf DESTINATION .)

# The Qt libraries and plugins, the runtime and the translation as a list of
# source files, for the tests that run the build tree's programs.
set(VIRTALAB_WINDOWS_RUNTIME ${runtime_files} CACHE INTERNAL "DLLs the Windows programs need")
