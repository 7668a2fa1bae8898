# Release artefacts, made by CPack from a RAIZES_DIST build:
#   raizes-<version>-<arch>-linux.tar.gz  the static executable, both manuals,
#                                         README.md and LICENSE
#   raizes_<version>_<debian arch>.deb    the dynamic build, for Debian and Ubuntu
# CollectArtefacts.cmake makes them independent of the file system, puts them
# in build/dist/ at the top of the tree and rewrites build/dist/SHA256SUMS.
# Two builds of the same commit give the same bytes, whatever their folder,
# file system, clock, time zone or umask.

# The static executable that the tarball carries, beside the dynamic `raizes`.
add_executable(raizes-static main.cpp)
set_target_properties(raizes-static PROPERTIES OUTPUT_NAME raizes RUNTIME_OUTPUT_DIRECTORY static
  CXX_EXTENSIONS OFF POSITION_INDEPENDENT_CODE ON)
target_link_libraries(raizes-static PRIVATE raizes-options raizes-static-options)

# Timestamps in the packages are those of the last commit, unless the caller
# sets SOURCE_DATE_EPOCH itself.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(epoch $ENV{SOURCE_DATE_EPOCH})
else()
  execute_process(COMMAND git log -1 --format=%ct WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
    OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
endif()
if(NOT epoch MATCHES "^[0-9]+$")
  message(FATAL_ERROR "Packages take their timestamps from the last git commit; outside a git "
    "clone, set SOURCE_DATE_EPOCH to the release's time in seconds since 1970.")
endif()

# The tarball's folder, relative to its top folder.
install(TARGETS raizes-static RUNTIME DESTINATION . COMPONENT tarball EXCLUDE_FROM_ALL)
install(FILES README.md LICENSE DESTINATION . COMPONENT tarball EXCLUDE_FROM_ALL)
install(FILES doc/raizes.1 DESTINATION man/man1 COMPONENT tarball EXCLUDE_FROM_ALL)
install(FILES doc/pt_BR/raizes.1 DESTINATION man/pt_BR/man1 COMPONENT tarball EXCLUDE_FROM_ALL)

# The Debian package, relative to /usr. Debian wants its manuals and changelog
# compressed with gzip -9, without a name or time in the header, and a
# copyright file in its machine-readable format.
set(deb ${CMAKE_BINARY_DIR}/deb)
file(READ LICENSE licence)
string(REGEX MATCH "\nCopyright \\(c\\) ([^\n]*)\n\n" _ "${licence}")
set(holder ${CMAKE_MATCH_1})
string(REGEX REPLACE "^.*\nCopyright \\(c\\) [^\n]*\n\n" "" licence "${licence}")
string(REGEX REPLACE "\n\n" "\n.\n" licence "${licence}")
string(REGEX REPLACE "\n([^\n])" "\n \\1" licence " ${licence}")
file(WRITE ${deb}/copyright
  "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
  "Upstream-Name: raizes\n\nFiles: *\nCopyright: ${holder}\nLicense: Expat\n${licence}")
set(gzipped)
foreach(pair raizes.1:doc/raizes.1 raizes.pt_BR.1:doc/pt_BR/raizes.1 changelog:cmake/debian/changelog)
  string(REPLACE ":" ";" pair ${pair})
  list(GET pair 0 name)
  list(GET pair 1 source)
  add_custom_command(OUTPUT ${deb}/${name}.gz
    COMMAND sh -c "gzip -9n <\"$0\" >\"$1\"" ${CMAKE_SOURCE_DIR}/${source} ${deb}/${name}.gz
    DEPENDS ${source} VERBATIM)
  list(APPEND gzipped ${deb}/${name}.gz)
endforeach()
add_custom_target(deb-files ALL DEPENDS ${gzipped})
install(TARGETS raizes RUNTIME DESTINATION bin COMPONENT deb EXCLUDE_FROM_ALL)
install(FILES ${deb}/raizes.1.gz DESTINATION share/man/man1 COMPONENT deb EXCLUDE_FROM_ALL)
install(FILES ${deb}/raizes.pt_BR.1.gz DESTINATION share/man/pt_BR/man1 RENAME raizes.1.gz
  COMPONENT deb EXCLUDE_FROM_ALL)
install(FILES ${deb}/copyright ${deb}/changelog.gz DESTINATION share/doc/raizes
  COMPONENT deb EXCLUDE_FROM_ALL)

set(CPACK_PACKAGE_NAME raizes)
set(CPACK_PACKAGE_VENDOR "the raizes developers")
set(CPACK_PACKAGE_CONTACT "raizes developers <raizes@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "real roots of a quadratic equation, asked for in Portuguese")
set(CPACK_PACKAGE_DESCRIPTION [[
raizes solves one quadratic equation A*x^2 + B*x + C = 0 in real
arithmetic. It asks in Portuguese for A, B and C, reads them from standard
input, and prints both real roots with two decimal places on one line.
Scripts can pipe the three numbers in; the exit status tells whether the
result line was written.]])
set(CPACK_PACKAGE_FILE_NAME raizes-${PROJECT_VERSION}-${CMAKE_SYSTEM_PROCESSOR}-linux)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION math)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/CPackPerGenerator.cmake)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/NormaliseStaging.cmake)
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/CollectArtefacts.cmake)
# Read by the three scripts above.
set(CPACK_RAIZES_BINARY_DIR ${CMAKE_BINARY_DIR})
set(CPACK_RAIZES_DIST_DIR ${CMAKE_SOURCE_DIR}/build/dist)
set(CPACK_RAIZES_SOURCE_DATE_EPOCH ${epoch})
include(CPack)
