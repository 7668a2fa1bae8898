# Run by CPack on the staged files before it packs them: the .deb takes each
# file's mode from the disk, where the umask of the build may have narrowed it.
file(GLOB_RECURSE staged LIST_DIRECTORIES true "${CPACK_TEMPORARY_DIRECTORY}/*")
foreach(path ${CPACK_TEMPORARY_DIRECTORY} ${staged})
  if(IS_DIRECTORY ${path} OR path MATCHES "/raizes$")
    file(CHMOD ${path} PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
      WORLD_READ WORLD_EXECUTE)
  else()
    file(CHMOD ${path} PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
  endif()
endforeach()
