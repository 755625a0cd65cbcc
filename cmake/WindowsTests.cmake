# The Wine test programs and what they need, beside the program (Windows.cmake).

# GoogleTest from Debian's sources, built with the cross compiler.
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/scripts/wine-run.sh)

# One Wine test program per folder of tests/wine; a test that needs the
# 256-colour display carries the label depth8 and runs a second time there.
# A program given WINDOWS runs once for each version named (winxp, win10...),
# each time in a prefix set to that version; one given DPI runs once for
# each DPI named, in a prefix whose LogPixels says so (scripts/wine-run.sh).
# One given DESK runs on the desk of several monitors alone (label desk).
function(pelmira_wine_test name)
    cmake_parse_arguments(T "DEPTH8;DESK" "TIMEOUT" "SOURCES;WINDOWS;DPI" ${ARGN})
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 300)
    endif()
    add_executable(${name} ${T_SOURCES} ${PROJECT_SOURCE_DIR}/tests/wine/WineTestMain.cpp)
    target_link_libraries(${name} PRIVATE pelmira_win gtest)
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/wine)
    target_compile_options(${name} PRIVATE ${PELMIRA_WARNINGS})
    add_dependencies(${name} Pelmira32 QMHOOK32)
    set(tests ${name})
    if(T_WINDOWS)
        list(TRANSFORM T_WINDOWS PREPEND ${name}_ OUTPUT_VARIABLE tests)
    elseif(T_DPI)
        list(TRANSFORM T_DPI PREPEND ${name}_dpi OUTPUT_VARIABLE tests)
    endif()
    foreach(test ${tests})
        add_test(NAME ${test} COMMAND ${name})
        # A box that nobody answers fails the run in minutes instead of hanging it.
        set_tests_properties(${test} PROPERTIES TIMEOUT ${T_TIMEOUT})
        if(T_DESK)
            set_tests_properties(${test} PROPERTIES LABELS "desk")
        elseif(T_DEPTH8)
            set_tests_properties(${test} PROPERTIES LABELS "wine;depth8")
        else()
            set_tests_properties(${test} PROPERTIES LABELS "wine")
        endif()
        string(REPLACE "${name}_" "" windows ${test})
        if(T_WINDOWS)
            set_tests_properties(${test} PROPERTIES ENVIRONMENT "PELMIRA_WINDOWS=${windows}")
        elseif(T_DPI)
            string(REPLACE "${name}_dpi" "" dpi ${test})
            set_tests_properties(${test} PROPERTIES ENVIRONMENT "PELMIRA_DPI=${dpi}")
        endif()
    endforeach()
endfunction()

pelmira_wine_test(wine_harness_tests DEPTH8 SOURCES ${PROJECT_SOURCE_DIR}/tests/wine/HarnessTests.cpp)
pelmira_wine_test(wine_ui_tests SOURCES ${PROJECT_SOURCE_DIR}/tests/wine/UiTests.cpp
                                        ${PROJECT_SOURCE_DIR}/tests/wine/MessageDialogTests.cpp
                                        ${PROJECT_SOURCE_DIR}/tests/wine/TrayIconTests.cpp
                                        ${PROJECT_SOURCE_DIR}/tests/wine/DialogWatcher.cpp)
pelmira_wine_test(wine_hook_tests SOURCES ${PROJECT_SOURCE_DIR}/tests/wine/HookTests.cpp)
pelmira_wine_test(wine_e2e_tests TIMEOUT 600 SOURCES ${PROJECT_SOURCE_DIR}/tests/wine/EndToEndTests.cpp
                                         ${PROJECT_SOURCE_DIR}/tests/wine/AutomaticModeTests.cpp
                                         ${PROJECT_SOURCE_DIR}/tests/wine/DllPlantingTests.cpp
                                         ${PROJECT_SOURCE_DIR}/tests/wine/ProcessDriver.cpp
                                         ${PROJECT_SOURCE_DIR}/tests/wine/TestFiles.cpp
                                         ${PROJECT_SOURCE_DIR}/tests/wine/DialogWatcher.cpp)
target_link_libraries(wine_e2e_tests PRIVATE psapi)

# The help commands and the help files, on a system with Windows Help and on
# one with HTML Help only.
pelmira_wine_test(wine_help_tests WINDOWS winxp win10 SOURCES
    ${PROJECT_SOURCE_DIR}/resources/Pelmira32.rc
    ${PROJECT_SOURCE_DIR}/tests/wine/HelpCommandTests.cpp
    ${PROJECT_SOURCE_DIR}/tests/wine/HelpFileTests.cpp
    ${PROJECT_SOURCE_DIR}/tests/wine/ProcessDriver.cpp
    ${PROJECT_SOURCE_DIR}/tests/wine/TestFiles.cpp
    ${PROJECT_SOURCE_DIR}/tests/wine/DialogWatcher.cpp)
target_link_libraries(wine_help_tests PRIVATE psapi urlmon ole32)
target_compile_definitions(wine_help_tests PRIVATE PELMIRA_HELP_SOURCE="Z:${PELMIRA_HELP_TEXT}")
add_dependencies(wine_help_tests help_file html_help_file ifpelmira)

# Every form laid out at the DPI of the screen.
pelmira_wine_test(wine_dpi_tests DPI 120 144 192 SOURCES
    ${PROJECT_SOURCE_DIR}/resources/Pelmira32.rc
    ${PROJECT_SOURCE_DIR}/tests/wine/DpiLayoutTests.cpp
    ${PROJECT_SOURCE_DIR}/tests/wine/TestFiles.cpp
    ${PROJECT_SOURCE_DIR}/tests/wine/DialogWatcher.cpp)

# Where the converted wallpaper lives, on a system before Windows Vista and
# on one after.
pelmira_wine_test(wine_wallpaper_place_tests WINDOWS winxp win10 SOURCES
    ${PROJECT_SOURCE_DIR}/resources/Pelmira32.rc
    ${PROJECT_SOURCE_DIR}/tests/wine/WallpaperPlaceTests.cpp
    ${PROJECT_SOURCE_DIR}/tests/wine/TestFiles.cpp
    ${PROJECT_SOURCE_DIR}/tests/wine/DialogWatcher.cpp)
add_dependencies(wine_wallpaper_place_tests test_pictures ifpelmira)

# These check the converted wallpaper in the Windows directory, its place
# before Windows Vista.
pelmira_wine_test(wine_large_picture_tests DEPTH8 WINDOWS winxp SOURCES
    ${PROJECT_SOURCE_DIR}/tests/wine/LargePictureTests.cpp
    ${PROJECT_SOURCE_DIR}/tests/wine/ProcessDriver.cpp
    ${PROJECT_SOURCE_DIR}/tests/wine/TestFiles.cpp)
target_link_libraries(wine_large_picture_tests PRIVATE psapi)
add_dependencies(wine_large_picture_tests huge_picture Pelmira32)

pelmira_wine_test(wine_config_dialog_tests SOURCES
    ${PROJECT_SOURCE_DIR}/resources/Pelmira32.rc
    ${PROJECT_SOURCE_DIR}/tests/wine/ConfigDialogTests.cpp
    ${PROJECT_SOURCE_DIR}/tests/wine/TestFiles.cpp
    ${PROJECT_SOURCE_DIR}/tests/wine/DialogWatcher.cpp)

# Used by scripts/run.sh to wait for and close the program's window.
add_executable(window_driver ${PROJECT_SOURCE_DIR}/tests/wine/tools/WindowDriver.cpp)
target_compile_options(window_driver PRIVATE ${PELMIRA_WARNINGS} -municode)
target_link_options(window_driver PRIVATE -municode)

# The main window's tests carry the program's own resources: icons, glyphs, manifest.
pelmira_wine_test(wine_main_window_tests DEPTH8 WINDOWS winxp SOURCES
    ${PROJECT_SOURCE_DIR}/resources/Pelmira32.rc
    ${PROJECT_SOURCE_DIR}/tests/wine/SettingsTests.cpp
    ${PROJECT_SOURCE_DIR}/tests/wine/WallpaperTests.cpp
    ${PROJECT_SOURCE_DIR}/tests/wine/PreviewTests.cpp
    ${PROJECT_SOURCE_DIR}/tests/wine/MainWindowLayoutTests.cpp
    ${PROJECT_SOURCE_DIR}/tests/wine/DropAndMonitorTests.cpp
    ${PROJECT_SOURCE_DIR}/tests/wine/FileNameTests.cpp
    ${PROJECT_SOURCE_DIR}/tests/wine/PluginHostTests.cpp
    ${PROJECT_SOURCE_DIR}/tests/wine/PictureFormatTests.cpp
    ${PROJECT_SOURCE_DIR}/tests/wine/TestFiles.cpp
    ${PROJECT_SOURCE_DIR}/tests/wine/DialogWatcher.cpp)

# A desk of several monitors, on the display pelmira_start_desk makes
# (scripts/wine-env.sh): the tiled layout before Windows 8, the span after.
pelmira_wine_test(wine_desk_tests DESK WINDOWS winxp win7 win10 SOURCES
    ${PROJECT_SOURCE_DIR}/resources/Pelmira32.rc
    ${PROJECT_SOURCE_DIR}/tests/wine/MonitorTests.cpp
    ${PROJECT_SOURCE_DIR}/tests/wine/MonitorWallpaperTests.cpp
    ${PROJECT_SOURCE_DIR}/tests/wine/TestFiles.cpp
    ${PROJECT_SOURCE_DIR}/tests/wine/DialogWatcher.cpp)

# Broken stand-ins for QMHOOK32.DLL, copied beside the program by the tests.
add_library(fakehook_refuses SHARED ${PROJECT_SOURCE_DIR}/tests/wine/tools/FakeHook.cpp)
target_compile_definitions(fakehook_refuses PRIVATE FAKE_HOOK_REFUSES)
add_library(fakehook_empty SHARED ${PROJECT_SOURCE_DIR}/tests/wine/tools/FakeHook.cpp)
add_library(fakehook_idle SHARED ${PROJECT_SOURCE_DIR}/tests/wine/tools/FakeHook.cpp)
target_compile_definitions(fakehook_idle PRIVATE FAKE_HOOK_IDLE)
target_link_libraries(fakehook_idle PRIVATE advapi32)
foreach(fake fakehook_refuses fakehook_empty fakehook_idle)
    set_target_properties(${fake} PROPERTIES PREFIX "")
    target_link_options(${fake} PRIVATE -Wl,--kill-at)
    add_dependencies(wine_e2e_tests ${fake})
endforeach()

# A DLL planted beside a program or in its current folder, and a program that
# imports msimg32.dll, which shows that such a copy loads where a name is imported.
add_library(planted_dll SHARED ${PROJECT_SOURCE_DIR}/tests/wine/tools/PlantedDll.cpp)
set_target_properties(planted_dll PROPERTIES PREFIX "")
target_link_options(planted_dll PRIVATE -Wl,--kill-at)
add_executable(imports_msimg32 ${PROJECT_SOURCE_DIR}/tests/wine/tools/ImportsMsimg32.cpp)
target_link_libraries(imports_msimg32 PRIVATE msimg32)
add_dependencies(wine_e2e_tests planted_dll imports_msimg32)
set_tests_properties(wine_e2e_tests PROPERTIES ENVIRONMENT "WINEDLLOVERRIDES=msimg32=n,b")

# Susie plug-ins made for the tests, built for the architecture of the
# program under test; the tests copy them into plug-in folders as if*.spi.
foreach(kind GOOD VERSION NO_INFO NO_PICTURE AT_128 FAILS NO_MEMORY LIES FAULTS HANGS BREAKS_HEAP)
    string(TOLOWER ${kind} lower)
    add_library(testplugin_${lower} SHARED ${PROJECT_SOURCE_DIR}/tests/wine/tools/TestPlugin.cpp)
    target_compile_definitions(testplugin_${lower} PRIVATE PLUGIN_${kind})
    set_target_properties(testplugin_${lower} PROPERTIES PREFIX "")
    target_link_options(testplugin_${lower} PRIVATE -Wl,--kill-at)
    add_dependencies(wine_main_window_tests testplugin_${lower})
endforeach()

include(${PROJECT_SOURCE_DIR}/tests/wine/pictures.cmake)
add_dependencies(wine_main_window_tests test_pictures ifpelmira)

# The plug-in's decoding benchmark (not part of the test command):
#   cmake --build build/<arch> --target wic_plugin_bench, then run it under Wine.
add_executable(wic_plugin_bench EXCLUDE_FROM_ALL ${PROJECT_SOURCE_DIR}/tests/bench/wine/WicPluginBench.cpp)
target_compile_options(wic_plugin_bench PRIVATE ${PELMIRA_WARNINGS})
target_link_libraries(wic_plugin_bench PRIVATE windowscodecs ole32 uuid)
set(bench_pictures ${CMAKE_BINARY_DIR}/bin/pictures)
add_custom_command(OUTPUT ${bench_pictures}/big.jpg ${bench_pictures}/big.png
    COMMAND ${CMAKE_COMMAND} -E make_directory ${bench_pictures}
    COMMAND ${PELMIRA_CONVERT} -seed 3 -size 3840x2160 plasma:fractal -blur 0x2
            -quality 90 ${bench_pictures}/big.jpg
    COMMAND ${PELMIRA_CONVERT} ${bench_pictures}/big.jpg -depth 8 ${bench_pictures}/big.png
    VERBATIM)
# A 4000x3000 photograph as stored (orientation 1) and turned (6), with the
# Exif segment of the orientation tests.
set(bench_photo ${CMAKE_BINARY_DIR}/bench-photo.jpg)
add_custom_command(OUTPUT ${bench_pictures}/photo-1.jpg ${bench_pictures}/photo-6.jpg
    COMMAND ${PELMIRA_CONVERT} -seed 5 -size 4000x3000 plasma:fractal -blur 0x2 -quality 90
            ${bench_photo}
    COMMAND sh -c "for o in 1 6; do printf '${exif_head}${one_entry}\\00'$o'${entry_end}' > ${bench_pictures}/photo-$o.jpg && tail -c +3 ${bench_photo} >> ${bench_pictures}/photo-$o.jpg; done"
    VERBATIM)
add_custom_target(bench_pictures DEPENDS ${bench_pictures}/big.jpg ${bench_pictures}/big.png
                                         ${bench_pictures}/photo-1.jpg ${bench_pictures}/photo-6.jpg)
add_dependencies(wic_plugin_bench bench_pictures ifpelmira)

# What running the plug-ins in their host costs (not part of the test command):
#   cmake --build build/<arch> --target plugin_host_bench, then run it under Wine.
add_executable(plugin_host_bench EXCLUDE_FROM_ALL ${PROJECT_SOURCE_DIR}/tests/bench/wine/PluginHostBench.cpp)
target_compile_options(plugin_host_bench PRIVATE ${PELMIRA_WARNINGS})
target_link_libraries(plugin_host_bench PRIVATE pelmira_win)
add_dependencies(plugin_host_bench bench_pictures ifpelmira PelmiraSpiHost)

# The unpacked release archive's test, started by scripts/release-check.sh
# once the archive is unpacked in the test prefix (so not by ctest).
add_executable(wine_release_tests ${PROJECT_SOURCE_DIR}/tests/wine/ReleaseTests.cpp
                                  ${PROJECT_SOURCE_DIR}/tests/wine/ProcessDriver.cpp
                                  ${PROJECT_SOURCE_DIR}/tests/wine/TestFiles.cpp
                                  ${PROJECT_SOURCE_DIR}/tests/wine/WineTestMain.cpp)
target_link_libraries(wine_release_tests PRIVATE pelmira_win gtest psapi version)
target_include_directories(wine_release_tests PRIVATE ${PROJECT_SOURCE_DIR}/tests/wine)
target_compile_options(wine_release_tests PRIVATE ${PELMIRA_WARNINGS})
target_compile_definitions(wine_release_tests PRIVATE PELMIRA_VERSION_TEXT_WIDE=L"${PROJECT_VERSION}")
add_dependencies(wine_release_tests test_pictures)
