# The help file QM32.HLP, written from help/QM32.txt by the project's own
# writer. It is a program for the machine that builds, so the cross build
# compiles it with the host's compiler.
set(PELMIRA_HELP_WRITER ${PROJECT_SOURCE_DIR}/help/HelpSource.cpp
                        ${PROJECT_SOURCE_DIR}/help/HelpWriter.cpp)
set(PELMIRA_HELP_TOOL_SOURCES ${PELMIRA_HELP_WRITER} ${PROJECT_SOURCE_DIR}/help/MakeHelp.cpp
                              ${PROJECT_SOURCE_DIR}/help/HelpSource.h
                              ${PROJECT_SOURCE_DIR}/help/HelpWriter.h)
set(PELMIRA_HELP_TEXT ${PROJECT_SOURCE_DIR}/help/QM32.txt)

# Writes QM32.HLP into `folder` with the make-help program `tool`.
function(pelmira_help_file folder tool tool_target)
    add_custom_command(OUTPUT ${folder}/QM32.HLP
        COMMAND ${tool} ${PELMIRA_HELP_TEXT} ${folder}/QM32.HLP
        DEPENDS ${tool_target} ${tool} ${PELMIRA_HELP_TEXT}
        COMMENT "Writing the help file QM32.HLP")
    add_custom_target(help_file ALL DEPENDS ${folder}/QM32.HLP)
endfunction()
