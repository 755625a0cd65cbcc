# The help files QM32.HLP and QM32.CHM, written from help/QM32.txt by the
# project's own writer. It is a program for the machine that builds, so the
# cross build compiles it with the host's compiler.
set(PELMIRA_HELP_WRITER ${PROJECT_SOURCE_DIR}/help/HelpSource.cpp
                        ${PROJECT_SOURCE_DIR}/help/HelpWriter.cpp
                        ${PROJECT_SOURCE_DIR}/help/HtmlHelpWriter.cpp
                        ${PROJECT_SOURCE_DIR}/help/CompiledHelpTimes.cpp)
set(PELMIRA_HELP_TOOL_SOURCES ${PELMIRA_HELP_WRITER} ${PROJECT_SOURCE_DIR}/help/MakeHelp.cpp
                              ${PROJECT_SOURCE_DIR}/help/HelpSource.h
                              ${PROJECT_SOURCE_DIR}/help/HelpWriter.h
                              ${PROJECT_SOURCE_DIR}/help/HtmlHelpWriter.h
                              ${PROJECT_SOURCE_DIR}/help/CompiledHelpTimes.h)
set(PELMIRA_HELP_TEXT ${PROJECT_SOURCE_DIR}/help/QM32.txt)

# Writes QM32.HLP into `folder` with the make-help program `tool`.
function(pelmira_help_file folder tool tool_target)
    add_custom_command(OUTPUT ${folder}/QM32.HLP
        COMMAND ${tool} ${PELMIRA_HELP_TEXT} ${folder}/QM32.HLP
        DEPENDS ${tool_target} ${tool} ${PELMIRA_HELP_TEXT}
        COMMENT "Writing the help file QM32.HLP")
    add_custom_target(help_file ALL DEPENDS ${folder}/QM32.HLP)
endfunction()

# Writes QM32.CHM into `folder`: make-help writes the HTML Help project into
# `project` (with HelpPages.h, the program's table of the pages), and
# chmcmd (Debian's fp-utils) compiles it; its compile times are cleared, so
# that the same help gives the same file. The project carries no [ALIAS]
# map: chmcmd would store each aliased page under the build folder's absolute
# path, which leads nowhere in the finished file.
function(pelmira_html_help_file folder project tool tool_target)
    find_program(PELMIRA_CHMCMD chmcmd REQUIRED)
    add_custom_command(OUTPUT ${project}/QM32.hhp ${project}/HelpPages.h
        COMMAND ${CMAKE_COMMAND} -E make_directory ${project}
        COMMAND ${tool} --html ${PELMIRA_HELP_TEXT} ${project}
        DEPENDS ${tool_target} ${tool} ${PELMIRA_HELP_TEXT}
        COMMENT "Writing the HTML Help project")
    add_custom_command(OUTPUT ${folder}/QM32.CHM
        COMMAND ${PELMIRA_CHMCMD} --verbosity 0 QM32.hhp
        COMMAND ${tool} --clear-times QM32.CHM
        COMMAND ${CMAKE_COMMAND} -E copy QM32.CHM ${folder}/QM32.CHM
        DEPENDS ${project}/QM32.hhp ${tool_target} ${tool}
        WORKING_DIRECTORY ${project}
        COMMENT "Compiling the help file QM32.CHM")
    add_custom_target(html_help_file ALL DEPENDS ${folder}/QM32.CHM ${project}/HelpPages.h)
endfunction()
