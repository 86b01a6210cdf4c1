# The release archive quorvel-<version>-<preset>.zip: the static program, the skin tool,
# the README and the notices of the libraries linked into them. Built with
#   cmake --build --preset win32 --target package
# (CPack's package target builds everything of the preset first).
install(TARGETS quorvel quorvel-skin RUNTIME DESTINATION .)
install(FILES ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_SOURCE_DIR}/THIRD-PARTY-NOTICES.txt DESTINATION .)

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(_quorvel_platform win64)
else()
  set(_quorvel_platform win32)
endif()
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME quorvel)
set(CPACK_PACKAGE_VENDOR "The Quorvel developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME quorvel-${PROJECT_VERSION}-${_quorvel_platform})
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
# One folder inside the archive, named like the archive, so unpacking never scatters files.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
# The archive holds exactly the programs the tests ran: nothing is stripped on the way.
set(CPACK_STRIP_FILES OFF)
include(CPack)
