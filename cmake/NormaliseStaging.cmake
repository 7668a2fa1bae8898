# Run by CPack on the staged files before it packs them: the archive takes
# each file's mode and time from the disk, where the umask and the clock of
# the build left them.
file(GLOB_RECURSE staged LIST_DIRECTORIES true "${CPACK_TEMPORARY_DIRECTORY}/*")
foreach(path ${CPACK_TEMPORARY_DIRECTORY} ${staged})
  if(IS_DIRECTORY ${path} OR path MATCHES "/(raizes|bin/raizes)$")
    file(CHMOD ${path} PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
      WORLD_READ WORLD_EXECUTE)
  else()
    file(CHMOD ${path} PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
  endif()
endforeach()
execute_process(COMMAND touch -h -d @${CPACK_RAIZES_SOURCE_DATE_EPOCH} ${CPACK_TEMPORARY_DIRECTORY}
  ${staged} COMMAND_ERROR_IS_FATAL ANY)
