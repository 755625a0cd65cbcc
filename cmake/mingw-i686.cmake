# The product: 32-bit Windows, so that 32-bit plug-ins load.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(PELMIRA_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
