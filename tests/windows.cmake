# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows build's tests: the Qt Test programs built for Windows, run
# under Wine; the version block read back from the built executable; and the
# installer, the installed program and the uninstaller under Wine.
# test_assets runs the asset generator, a build-machine tool.
foreach(name IN ITEMS test_aboutbox test_geometry test_trace test_power test_sweep
        test_mainwindow test_random test_panel test_pictures test_metafile
        test_accessibility test_screenpaint test_modules test_faults)
    vl_test(${name})
endforeach()
# The switch sounds go to Windows' own player, which plays into a sound
# server of the test's own.
set_tests_properties(test_faults PROPERTIES ENVIRONMENT "VL_QTEST_REPORT=1;VL_SOUND_SERVER=1")

add_test(NAME test_version_exe
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/test_version_rc.sh $<TARGET_FILE:virtalab>)
add_subdirectory(e2e)
