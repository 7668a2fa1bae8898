# Read by CPack once per generator: the Debian package and the tarball are
# made from different install components of the same build.
set(ENV{SOURCE_DATE_EPOCH} ${CPACK_RAIZES_SOURCE_DATE_EPOCH})
if(CPACK_GENERATOR STREQUAL "DEB")
  set(CPACK_INSTALL_CMAKE_PROJECTS "${CPACK_RAIZES_BINARY_DIR};raizes;deb;/")
else()
  set(CPACK_INSTALL_CMAKE_PROJECTS "${CPACK_RAIZES_BINARY_DIR};raizes;tarball;/")
endif()
