# The release archive: the program, its libraries and help, the licence and
# the Japanese readme, and nothing of the tests. `cpack` in a build folder
# (scripts/package.sh) makes it. The same sources give the same archive, byte
# for byte: the links carry no time stamp and no build folder (Windows.cmake),
# the help file no compile time (Help.cmake), and the archive's entries come
# in the order of their names at one time (PackageNormalise.cmake).

# The readme as a Japanese user's editor expects it: code page 932, CR LF.
set(release_text ${CMAKE_BINARY_DIR}/release)
configure_file(${PROJECT_SOURCE_DIR}/resources/readme.txt ${release_text}/readme-utf8.txt @ONLY)
find_program(PELMIRA_ICONV iconv REQUIRED)
add_custom_command(OUTPUT ${release_text}/readme.txt
    COMMAND ${PELMIRA_ICONV} -f UTF-8 -t CP932 -o readme-cp932.txt readme-utf8.txt
    COMMAND sh -c "sed 's/$/\\r/' readme-cp932.txt > readme.txt"
    DEPENDS ${release_text}/readme-utf8.txt
    WORKING_DIRECTORY ${release_text}
    COMMENT "Writing the readme in code page 932"
    VERBATIM)
add_custom_target(release_readme ALL DEPENDS ${release_text}/readme.txt)

# One time for everything the archive holds: SOURCE_DATE_EPOCH when the
# packager sets it. The strip that CPack runs writes it into each program's
# header (binutils reads SOURCE_DATE_EPOCH), and it is every entry's time.
set(CPACK_PELMIRA_EPOCH 1767225600) # 2026-01-01 00:00:00 UTC
install(CODE "if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
                  set(ENV{SOURCE_DATE_EPOCH} ${CPACK_PELMIRA_EPOCH})
              endif()" COMPONENT program)
install(TARGETS Pelmira32 PelmiraSpiHost QMHOOK32 ifpelmira
        RUNTIME DESTINATION . COMPONENT program
        LIBRARY DESTINATION . COMPONENT program
        # MinGW's import libraries of the two DLLs: nobody links against them.
        ARCHIVE DESTINATION lib COMPONENT import_libraries EXCLUDE_FROM_ALL)
install(FILES ${CMAKE_BINARY_DIR}/bin/QM32.CHM ${CMAKE_BINARY_DIR}/bin/QM32.HLP
              ${PROJECT_SOURCE_DIR}/LICENSE ${release_text}/readme.txt
        DESTINATION . COMPONENT program)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Pelmira32)
set(CPACK_PACKAGE_VENDOR "The Pelmira32 developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
# Only the i686 archive is a release; the x86_64 one exists for the tests of
# machines that cannot run 32-bit code, and says so in its name.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(CPACK_PACKAGE_FILE_NAME Pelmira32-${PROJECT_VERSION})
else()
    set(CPACK_PACKAGE_FILE_NAME Pelmira32-${PROJECT_VERSION}-x86_64-test-only)
endif()
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Pelmira32)
set(CPACK_COMPONENTS_ALL program)
set(CPACK_STRIP_FILES TRUE)
set(CPACK_POST_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/PackageNormalise.cmake)
include(CPack)
