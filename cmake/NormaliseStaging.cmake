# Run by CPack on the staged files before it packs them: the .deb takes each
# file's and folder's mode from the disk, where the umask of the build set it.
# (The tarball is packed again with fixed modes after CPack.)
if(NOT CPACK_GENERATOR STREQUAL "DEB")
  return()
endif()
file(GLOB_RECURSE staged LIST_DIRECTORIES true "${CPACK_TEMPORARY_DIRECTORY}/*")
foreach(path ${CPACK_TEMPORARY_DIRECTORY} ${staged})
  if(IS_DIRECTORY ${path} OR path MATCHES "/raizes$")
    file(CHMOD ${path} PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
      WORLD_READ WORLD_EXECUTE)
  else()
    file(CHMOD ${path} PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
  endif()
endforeach()
