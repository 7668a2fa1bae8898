# Run by CPack after each package is made: copies it into build/dist/ and
# lists every artefact there in SHA256SUMS, for `sha256sum -c SHA256SUMS`.

# The DEB generator gives the members of the .deb (an ar archive) the modes
# their files got from the umask. Each member's 60-byte header holds its mode
# in octal at offset 40 and its size at offset 48; the mode becomes 100644.
function(fix_ar_modes deb)
  file(SIZE ${deb} end)
  set(at 8)
  while(at LESS end)
    file(READ ${deb} header OFFSET ${at} LIMIT 60)
    string(SUBSTRING "${header}" 48 10 size)
    string(STRIP "${size}" size)
    math(EXPR mode_at "${at} + 40")
    execute_process(COMMAND sh -c "printf '100644  ' | dd of=\"$0\" bs=1 seek=$1 conv=notrunc status=none"
      ${deb} ${mode_at} COMMAND_ERROR_IS_FATAL ANY)
    math(EXPR at "${at} + 60 + ${size} + ${size} % 2")
  endwhile()
endfunction()

file(MAKE_DIRECTORY ${CPACK_RAIZES_DIST_DIR})
foreach(package ${CPACK_PACKAGE_FILES})
  get_filename_component(name ${package} NAME)
  file(COPY_FILE ${package} ${CPACK_RAIZES_DIST_DIR}/${name})
  if(name MATCHES "\\.deb$")
    fix_ar_modes(${CPACK_RAIZES_DIST_DIR}/${name})
  endif()
endforeach()
file(GLOB artefacts RELATIVE ${CPACK_RAIZES_DIST_DIR}
  ${CPACK_RAIZES_DIST_DIR}/*.tar.gz ${CPACK_RAIZES_DIST_DIR}/*.deb)
list(SORT artefacts)
set(sums "")
foreach(name ${artefacts})
  file(SHA256 ${CPACK_RAIZES_DIST_DIR}/${name} sum)
  string(APPEND sums "${sum}  ${name}\n")
endforeach()
file(WRITE ${CPACK_RAIZES_DIST_DIR}/SHA256SUMS "${sums}")
