# The same sources for 64-bit Windows. Used only to run the Wine tests on
# machines whose kernel cannot execute 32-bit code (so wine32 cannot start).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(PELMIRA_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
