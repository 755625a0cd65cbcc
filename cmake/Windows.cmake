# Cross build for Windows: the program, the input-hook library and the Wine
# test programs, all statically linked so they need no MinGW runtime DLLs.
enable_language(RC)

set(PELMIRA_WARNINGS -Wall -Wextra -Werror)
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601
                        WINVER=0x0601)
add_link_options(-static -static-libgcc -static-libstdc++)
# The same sources give the same files: no link time in the headers, no
# build folder in the code.
add_link_options(-Wl,--no-insert-timestamp)
add_compile_options(-ffile-prefix-map=${PROJECT_SOURCE_DIR}=. -ffile-prefix-map=${CMAKE_BINARY_DIR}=.)

# Every file of the program carries the project's version; the resource
# scripts find the shared block (resources/VersionInfo.rc) and the version.
configure_file(${PROJECT_SOURCE_DIR}/resources/Version.h.in ${CMAKE_BINARY_DIR}/generated/Version.h)
include_directories($<$<COMPILE_LANGUAGE:RC>:${CMAKE_BINARY_DIR}/generated>
                    $<$<COMPILE_LANGUAGE:RC>:${PROJECT_SOURCE_DIR}/resources>)
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
set(CMAKE_LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

# The help file beside the program, by a writer built for this machine.
find_program(PELMIRA_HOST_CXX NAMES g++ c++ REQUIRED)
set(PELMIRA_MAKE_HELP ${CMAKE_BINARY_DIR}/host/make-help)
add_custom_command(OUTPUT ${PELMIRA_MAKE_HELP}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/host
    COMMAND ${PELMIRA_HOST_CXX} -std=c++20 -O2 -Wall -Wextra -Werror -I${PROJECT_SOURCE_DIR}
            ${PELMIRA_HELP_WRITER} ${PROJECT_SOURCE_DIR}/help/MakeHelp.cpp -o ${PELMIRA_MAKE_HELP}
    DEPENDS ${PELMIRA_HELP_TOOL_SOURCES}
    COMMENT "Building make-help for this machine")
add_custom_target(make_help DEPENDS ${PELMIRA_MAKE_HELP})
pelmira_help_file(${CMAKE_BINARY_DIR}/bin ${PELMIRA_MAKE_HELP} make_help)
set(PELMIRA_HELP_PROJECT ${CMAKE_BINARY_DIR}/help-project)
pelmira_html_help_file(${CMAKE_BINARY_DIR}/bin ${PELMIRA_HELP_PROJECT} ${PELMIRA_MAKE_HELP}
                       make_help)

# A 32-bit program gets the whole 4 GB of its address space on 64-bit
# Windows (2 GB otherwise), which the copies of a large photograph need.
# The x86_64 linker marks its programs so already.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    add_link_options(-Wl,--large-address-aware)
endif()

# Everything of the program but its entry point, so the tests link it too.
file(GLOB PELMIRA_WIN_SOURCES CONFIGURE_DEPENDS
    ${PROJECT_SOURCE_DIR}/base/*.cpp
    ${PROJECT_SOURCE_DIR}/win/*.cpp
    ${PROJECT_SOURCE_DIR}/ui/*.cpp
    ${PROJECT_SOURCE_DIR}/app/*.cpp
    ${PROJECT_SOURCE_DIR}/wallpaper/*.cpp
    ${PROJECT_SOURCE_DIR}/imaging/*.cpp
    ${PROJECT_SOURCE_DIR}/config/*.cpp
    ${PROJECT_SOURCE_DIR}/shell/*.cpp)
list(REMOVE_ITEM PELMIRA_WIN_SOURCES ${PROJECT_SOURCE_DIR}/app/Main.cpp)
add_library(pelmira_win STATIC ${PELMIRA_WIN_SOURCES})
target_include_directories(pelmira_win PUBLIC ${PROJECT_SOURCE_DIR})
# The help's pages, from the HTML Help project (HelpPages.h).
target_include_directories(pelmira_win PRIVATE ${PELMIRA_HELP_PROJECT})
add_dependencies(pelmira_win html_help_file)
target_compile_options(pelmira_win PRIVATE ${PELMIRA_WARNINGS})
target_link_libraries(pelmira_win PUBLIC comctl32 comdlg32 shell32 ole32 gdi32 user32 advapi32)

add_executable(Pelmira32 WIN32 ${PROJECT_SOURCE_DIR}/app/Main.cpp
                               ${PROJECT_SOURCE_DIR}/resources/Pelmira32.rc)
target_link_libraries(Pelmira32 PRIVATE pelmira_win)
target_compile_options(Pelmira32 PRIVATE ${PELMIRA_WARNINGS})

# Exports keep their plain names (no @n), as other programs look them up.
add_library(QMHOOK32 SHARED ${PROJECT_SOURCE_DIR}/hook/QmHook.cpp ${PROJECT_SOURCE_DIR}/hook/QmHook.rc)
set_target_properties(QMHOOK32 PROPERTIES PREFIX "" SUFFIX ".DLL" OUTPUT_NAME QMHOOK32)
target_compile_options(QMHOOK32 PRIVATE ${PELMIRA_WARNINGS})
target_link_options(QMHOOK32 PRIVATE -Wl,--kill-at)
target_link_libraries(QMHOOK32 PRIVATE user32)

# The program's own decoder plug-in, beside the program: the default
# plug-in folder is the program's folder.
add_library(ifpelmira SHARED ${PROJECT_SOURCE_DIR}/plugins/WicPlugin.cpp
                             ${PROJECT_SOURCE_DIR}/plugins/WicPlugin.rc
                             ${PROJECT_SOURCE_DIR}/imaging/DibHeader.cpp
                             ${PROJECT_SOURCE_DIR}/imaging/ExifOrientation.cpp)
target_include_directories(ifpelmira PRIVATE ${PROJECT_SOURCE_DIR})
set_target_properties(ifpelmira PROPERTIES PREFIX "" SUFFIX ".spi" OUTPUT_NAME ifpelmira)
target_compile_options(ifpelmira PRIVATE ${PELMIRA_WARNINGS})
target_link_options(ifpelmira PRIVATE -Wl,--kill-at)
target_link_libraries(ifpelmira PRIVATE windowscodecs ole32 shlwapi uuid)
add_dependencies(Pelmira32 ifpelmira)

# The process the plug-ins run in, beside the program and of its
# architecture, so that the 32-bit program hosts 32-bit plug-ins.
add_executable(PelmiraSpiHost WIN32 ${PROJECT_SOURCE_DIR}/spihost/SpiHost.cpp
                                    ${PROJECT_SOURCE_DIR}/spihost/SpiHost.rc)
target_link_libraries(PelmiraSpiHost PRIVATE pelmira_win)
target_compile_options(PelmiraSpiHost PRIVATE ${PELMIRA_WARNINGS} -municode)
target_link_options(PelmiraSpiHost PRIVATE -municode)
add_dependencies(Pelmira32 PelmiraSpiHost)

include(${PROJECT_SOURCE_DIR}/cmake/Package.cmake)

# The Wine test programs, their plug-ins, pictures and helpers; a folder that
# only makes the release archive (scripts/package.sh) leaves them out.
option(PELMIRA_TESTS "Build the Wine test programs" ON)
if(PELMIRA_TESTS)
    include(${PROJECT_SOURCE_DIR}/cmake/WindowsTests.cmake)
endif()
