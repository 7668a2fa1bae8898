# Run by CPack after each package is made. Makes the package independent of
# the file system that it was staged on, puts it in build/dist/, and lists
# every artefact there in SHA256SUMS, for `sha256sum -c SHA256SUMS`.
#
# Two things in CPack's output depend on that file system: a tarball lists
# its files in the order the directory gives them, and a .deb's Installed-Size
# counts each directory at its size on disk. The ar members of a .deb also get
# the modes that the umask gave their files.

set(work ${CPACK_RAIZES_BINARY_DIR}/repack)
set(epoch ${CPACK_RAIZES_SOURCE_DATE_EPOCH})
# Sorted, owned by root, dated with the last commit, modes 644 and 755.
set(tar tar --format=gnu --sort=name --owner=0 --group=0 --numeric-owner --mtime=@${epoch}
  --mode=u=rwX,go=rX)

function(run)
  execute_process(COMMAND ${ARGN} COMMAND_ERROR_IS_FATAL ANY)
endfunction()

# pack(FOLDER OUT ENTRY...): FOLDER's entries, tarred and gzipped into OUT.
function(pack folder out)
  run(sh -c "cd \"$1\" && shift 2 && \"$@\" | gzip -9n" sh ${folder} ${out} ${tar} -cf - ${ARGN}
    OUTPUT_FILE ${out})
endfunction()

# An ar member header: name, time, owner, group, mode and size, in fixed-width
# fields of 16, 12, 6, 6, 8 and 10 characters, then "`\n".
function(ar_header file name size)
  set(header "")
  foreach(field "${name}:16" "${epoch}:12" "0:6" "0:6" "100644:8" "${size}:10")
    string(REGEX MATCH "^(.*):([0-9]+)$" _ "${field}")
    string(LENGTH "${CMAKE_MATCH_1}" length)
    math(EXPR pad "${CMAKE_MATCH_2} - ${length}")
    string(REPEAT " " ${pad} blanks)
    string(APPEND header "${CMAKE_MATCH_1}${blanks}")
  endforeach()
  file(WRITE ${file} "${header}`\n")
endfunction()

function(rebuild_deb package out)
  file(REMOVE_RECURSE ${work})
  file(MAKE_DIRECTORY ${work}/control)
  run(ar x ${package} WORKING_DIRECTORY ${work})
  run(tar -xzf ${work}/control.tar.gz -C ${work}/control)
  # Installed-Size as dpkg-gencontrol counts it: each file's size in KiB,
  # rounded up, and 1 KiB for each directory.
  execute_process(COMMAND tar -tvzf ${work}/data.tar.gz OUTPUT_VARIABLE listing
    COMMAND_ERROR_IS_FATAL ANY)
  string(REGEX MATCHALL "[^\n]+" entries "${listing}")
  set(kib 0)
  foreach(entry ${entries})
    string(REGEX MATCH "^(.)[^ ]* +[^ ]+ +([0-9]+) " _ "${entry}")
    if(CMAKE_MATCH_1 STREQUAL "d")
      math(EXPR kib "${kib} + 1")
    else()
      math(EXPR kib "${kib} + (${CMAKE_MATCH_2} + 1023) / 1024")
    endif()
  endforeach()
  file(READ ${work}/control/control control)
  string(REGEX REPLACE "\nInstalled-Size: [0-9]+\n" "\nInstalled-Size: ${kib}\n" control "${control}")
  file(WRITE ${work}/control/control "${control}")
  pack(${work}/control ${work}/control.tar.gz ./control ./md5sums)
  set(parts ${work}/magic)
  file(WRITE ${work}/magic "!<arch>\n")
  file(WRITE ${work}/pad "\n")
  foreach(member debian-binary control.tar.gz data.tar.gz)
    file(SIZE ${work}/${member} size)
    ar_header(${work}/${member}.header ${member} ${size})
    list(APPEND parts ${work}/${member}.header ${work}/${member})
    math(EXPR odd "${size} % 2")
    if(odd)
      list(APPEND parts ${work}/pad)
    endif()
  endforeach()
  run(cat ${parts} OUTPUT_FILE ${out})
endfunction()

file(MAKE_DIRECTORY ${CPACK_RAIZES_DIST_DIR})
foreach(package ${CPACK_PACKAGE_FILES})
  get_filename_component(name ${package} NAME)
  if(name MATCHES "\\.deb$")
    rebuild_deb(${package} ${CPACK_RAIZES_DIST_DIR}/${name})
  else()
    # Packed again from the folder that CPack staged.
    pack(${CPACK_TOPLEVEL_DIRECTORY} ${CPACK_RAIZES_DIST_DIR}/${name} ${CPACK_PACKAGE_FILE_NAME})
  endif()
endforeach()
file(REMOVE_RECURSE ${work})

file(GLOB artefacts RELATIVE ${CPACK_RAIZES_DIST_DIR}
  ${CPACK_RAIZES_DIST_DIR}/*.tar.gz ${CPACK_RAIZES_DIST_DIR}/*.deb)
list(SORT artefacts)
set(sums "")
foreach(name ${artefacts})
  file(SHA256 ${CPACK_RAIZES_DIST_DIR}/${name} sum)
  string(APPEND sums "${sum}  ${name}\n")
endforeach()
file(WRITE ${CPACK_RAIZES_DIST_DIR}/SHA256SUMS "${sums}")
