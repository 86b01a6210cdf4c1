# MinGW-w64 i686: the product target (32-bit Windows).
set(QUORVEL_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
