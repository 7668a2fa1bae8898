# The browser build, included by CMakeLists.txt under emscripten: raizes.js,
# the program as WebAssembly inside its JavaScript, for the web page alone;
# raizes.html, the page that holds it, made from web/; raizes-node.js, the
# same program built for node (RAIZES_NODE), on the real standard streams,
# for the tests that compare bytes; and their tests.
#
# -sASYNCIFY lets a read wait for the page's next line; only direct calls
# lead to one. -sSINGLE_FILE keeps the module inside the script, as one page
# needs (and as node 18 or later does, whose fetch takes no file path).
# -sMODULARIZE gives a function that makes a new instance for each run, and
# main is called through ccall, whose promise gives its exit status:
# emscripten's own start reports none once main has waited for input.
# The rest makes the page lighter: -Oz; no C++ exceptions or RTTI, which the
# program never uses; none of the module's settings that a page may give it
# (it gives only its own raizes* functions); TextDecoder, which every engine
# that runs WebAssembly has; errno only as the C code sets it; and a strtof
# of console_web.cpp's without the C library's long double arithmetic.
# web_options TARGET: the options of every program of this build.
function(web_options target)
  target_link_libraries(${target} PRIVATE raizes-options)
  target_compile_options(${target} PRIVATE -Oz -fno-exceptions -fno-rtti)
  target_link_options(${target} PRIVATE -Oz
    -sASYNCIFY -sASYNCIFY_IGNORE_INDIRECT
    -sSINGLE_FILE -sMODULARIZE -sEXPORT_NAME=createRaizes
    -sINVOKE_RUN=0 -sEXPORTED_FUNCTIONS=_main -sEXPORTED_RUNTIME_METHODS=ccall
    -sFILESYSTEM=0 -sDYNAMIC_EXECUTION=0 -sMALLOC=emmalloc
    -sINCOMING_MODULE_JS_API=[] -sTEXTDECODER=2 -sSUPPORT_ERRNO=0 -Wl,--wrap=strtof)
  # The page's program is for the web alone; the others run under node, on
  # the process's streams, from tests/node-runner.js.
  if(target STREQUAL raizes)
    target_link_options(${target} PRIVATE -sENVIRONMENT=web)
  else()
    set(runner ${CMAKE_CURRENT_SOURCE_DIR}/tests/node-runner.js)
    target_compile_definitions(${target} PRIVATE RAIZES_NODE)
    target_link_options(${target} PRIVATE -sENVIRONMENT=node --extern-post-js ${runner})
    set_target_properties(${target} PROPERTIES LINK_DEPENDS ${runner})
  endif()
endfunction()
web_options(raizes)
add_executable(raizes-node main.cpp console_web.cpp)
web_options(raizes-node)

find_package(Python3 3.9 REQUIRED COMPONENTS Interpreter)
set(web ${CMAKE_CURRENT_SOURCE_DIR}/web)
# tools/dist gives a commit that is not a release its own version.
set(RAIZES_VERSION ${PROJECT_VERSION} CACHE STRING "The version that the page's footer names")
set(page_sources ${web}/raizes.html ${web}/page.css ${web}/console.js ${web}/explain.js
  ${web}/graph.js raizes ${CMAKE_CURRENT_SOURCE_DIR}/cmake/page.py)
add_custom_command(OUTPUT raizes.html
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/cmake/page.py
          ${web}/raizes.html $<TARGET_FILE:raizes> ${RAIZES_VERSION} raizes.html
  DEPENDS ${page_sources}
  VERBATIM)
add_custom_target(page ALL DEPENDS raizes.html)

# The offline app, a folder for any static web host: the same page with
# its manifest, which holds the icons that cmake/icons.py draws, and its
# service worker. app_folder FOLDER VERSION: the app of VERSION in FOLDER.
set(icons ${CMAKE_CURRENT_BINARY_DIR}/icons)
add_custom_command(OUTPUT ${icons}/icon-192.png ${icons}/icon-512.png
  COMMAND ${CMAKE_COMMAND} -E make_directory ${icons}
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/cmake/icons.py ${icons} 192 512
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/cmake/icons.py
  VERBATIM)
function(app_folder folder version)
  add_custom_command(OUTPUT ${folder}/index.html ${folder}/manifest.webmanifest ${folder}/service-worker.js
    COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/cmake/page.py --app
            ${web}/raizes.html $<TARGET_FILE:raizes> ${version} ${folder} ${icons}
    DEPENDS ${page_sources} ${icons}/icon-192.png ${icons}/icon-512.png
            ${web}/app.js ${web}/manifest.webmanifest ${web}/service-worker.js
    VERBATIM)
endfunction()
app_folder(${CMAKE_CURRENT_BINARY_DIR}/app ${RAIZES_VERSION})
add_custom_target(app ALL DEPENDS app/index.html)

include(CTest)
if(BUILD_TESTING)
  set(tests ${CMAKE_CURRENT_SOURCE_DIR}/tests)
  # Emscripten's toolchain file names node as the emulator.
  if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
    message(FATAL_ERROR "The browser build's tests need node")
  endif()
  set(run ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:raizes-node>)
  set(RAIZES_TEST_TIMEOUT 240 CACHE STRING "Seconds each test may take")
  add_test(NAME golden COMMAND ${Python3_EXECUTABLE} ${tests}/golden.py ${tests}/cases ${run})
  add_test(NAME prompts-through-pipes COMMAND ${Python3_EXECUTABLE} ${tests}/prompts.py ${run})
  # The page in each engine, one table of what it must show
  # (tests/page.json); puppeteer-core from tools/ (npm ci there) drives
  # Chromium and Firefox.
  # The offline app is checked taking a next release: this one's, with
  # "+next" after its version.
  app_folder(${CMAKE_CURRENT_BINARY_DIR}/app-next ${PROJECT_VERSION}+next)
  add_custom_target(app-next ALL DEPENDS app-next/index.html)
  foreach(engine chromium webkit firefox)
    add_test(NAME page-${engine} COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} ${tests}/page.mjs ${engine}
      ${CMAKE_CURRENT_BINARY_DIR}/raizes.html ${tests}/cases
      ${CMAKE_CURRENT_BINARY_DIR}/app ${CMAKE_CURRENT_BINARY_DIR}/app-next)
  endforeach()
  add_test(NAME node-io-errors COMMAND ${Python3_EXECUTABLE} ${tests}/node_io_errors.py ${run})
  # The web build's own strtof against the C library's values.
  add_executable(reads-float tests/reads_float.cpp console_web.cpp)
  web_options(reads-float)
  add_test(NAME reads-float COMMAND ${Python3_EXECUTABLE} ${tests}/golden.py ${tests}/strtof
    ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:reads-float>)
  set(web_tests golden prompts-through-pipes page-chromium page-webkit page-firefox node-io-errors
    reads-float)
  set_tests_properties(${web_tests} PROPERTIES TIMEOUT ${RAIZES_TEST_TIMEOUT})
  if(NOT strict_tests)
    set_tests_properties(${web_tests} PROPERTIES SKIP_RETURN_CODE 77)
  endif()
endif()
