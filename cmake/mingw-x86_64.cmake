# MinGW-w64 x86_64: the same Windows code as a 64-bit program, which Wine runs with its
# 64-bit loader (the tests run this build).
set(QUORVEL_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
