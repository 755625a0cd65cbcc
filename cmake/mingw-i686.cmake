# The product: 32-bit Windows, so that 32-bit plug-ins load.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(PELMIRA_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)

# Floating point in SSE2 registers, as on x86_64: the x87 unit keeps excess
# precision that g++ does not round away on assignment, so a single-precision
# ratio would not be one and the preview would be laid out differently from
# the 64-bit build. Every CPU that runs Windows 8 or later has SSE2.
# Windows calls back (window procedures, hooks, plug-in exports) on stacks
# aligned to 4 bytes only, so no function may assume more.
set(PELMIRA_I686_FLAGS "-msse2 -mfpmath=sse -mincoming-stack-boundary=2")
set(CMAKE_C_FLAGS_INIT "${PELMIRA_I686_FLAGS}")
set(CMAKE_CXX_FLAGS_INIT "${PELMIRA_I686_FLAGS}")
