# Native (Linux) build: the portable library, its unit tests and benchmarks.
option(PELMIRA_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)

set(PELMIRA_WARNINGS -Wall -Wextra -Werror)
if(PELMIRA_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all
                        -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()

add_library(pelmira_portable STATIC ${PELMIRA_PORTABLE_SOURCES})
target_include_directories(pelmira_portable PUBLIC ${PROJECT_SOURCE_DIR})
target_compile_options(pelmira_portable PRIVATE ${PELMIRA_WARNINGS})

add_library(pelmira_help STATIC ${PELMIRA_HELP_WRITER})
target_include_directories(pelmira_help PUBLIC ${PROJECT_SOURCE_DIR})
target_compile_options(pelmira_help PRIVATE ${PELMIRA_WARNINGS})
add_executable(make_help ${PROJECT_SOURCE_DIR}/help/MakeHelp.cpp)
target_link_libraries(make_help PRIVATE pelmira_help)
target_compile_options(make_help PRIVATE ${PELMIRA_WARNINGS})
pelmira_help_file(${CMAKE_BINARY_DIR} $<TARGET_FILE:make_help> make_help)
pelmira_html_help_file(${CMAKE_BINARY_DIR} ${CMAKE_BINARY_DIR}/help-project
                       $<TARGET_FILE:make_help> make_help)

find_package(GTest REQUIRED)
file(GLOB PELMIRA_NATIVE_TESTS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/native/*.cpp)
add_executable(pelmira_native_tests ${PELMIRA_NATIVE_TESTS})
# chmlib (libchm-dev) reads the compiled help file back.
find_library(PELMIRA_CHMLIB chm REQUIRED)
target_link_libraries(pelmira_native_tests PRIVATE pelmira_portable pelmira_help GTest::gtest_main
                                                   ${PELMIRA_CHMLIB})
target_include_directories(pelmira_native_tests PRIVATE ${CMAKE_BINARY_DIR}/help-project)
add_dependencies(pelmira_native_tests html_help_file)
target_compile_options(pelmira_native_tests PRIVATE ${PELMIRA_WARNINGS})
target_compile_definitions(pelmira_native_tests PRIVATE
    PELMIRA_TESTDATA="${PROJECT_SOURCE_DIR}/tests/data"
    PELMIRA_CHM="${CMAKE_BINARY_DIR}/QM32.CHM"
    PELMIRA_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
include(GoogleTest)
gtest_discover_tests(pelmira_native_tests)

find_package(benchmark QUIET)
if(benchmark_FOUND)
    file(GLOB PELMIRA_BENCHMARKS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/bench/*.cpp)
    add_executable(pelmira_benchmarks ${PELMIRA_BENCHMARKS})
    target_link_libraries(pelmira_benchmarks PRIVATE pelmira_portable benchmark::benchmark)
    target_compile_options(pelmira_benchmarks PRIVATE ${PELMIRA_WARNINGS})
endif()
