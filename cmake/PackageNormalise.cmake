# Run by CPack on each archive it made. Its ZIP writer records what only the
# building machine knows: each file's access and change times, the builder's
# user and group, and the order in which that machine's file system listed
# the staged files. strip-nondeterminism, the reproducible-builds project's
# tool, sets one time (the archive's, Package.cmake), clears the
# owners and sorts the entries by name.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
    set(epoch $ENV{SOURCE_DATE_EPOCH})
else()
    set(epoch ${CPACK_PELMIRA_EPOCH})
endif()
set(ENV{TZ} UTC) # the entries' DOS times are local times
execute_process(COMMAND strip-nondeterminism --type zip --timestamp ${epoch}
                        ${CPACK_PACKAGE_FILES}
                COMMAND_ERROR_IS_FATAL ANY)
