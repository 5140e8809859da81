# The web build, configured with emcmake: emscripten's own SDL 1.2 and its emulation of GL 1.1's
# immediate mode stand in for the system's, libpng and libvorbisfile come from the prefixes that
# tools/web/libraries.sh builds, and tavrel_web_page makes a program a page.
set(TAVREL_WEB_LIBRARIES ${CMAKE_BINARY_DIR}/libraries CACHE PATH
    "the folder of the libraries built for the web, a prefix each")
set(TAVREL_WEB_SITE ${CMAKE_BINARY_DIR}/site CACHE PATH "the folder the programs' pages go to")
set(TAVREL_WEB_SHELL ${CMAKE_CURRENT_LIST_DIR}/../tools/web/shell.html CACHE INTERNAL
    "the page around a program's canvas")
set(TAVREL_WEB_PREJS ${CMAKE_CURRENT_LIST_DIR}/../platform/web.js CACHE INTERNAL
    "the script that readies a page's saved files before its program starts")

# the script marks each prefix it finished with the key it was built by
file(GLOB builtlibraries LIST_DIRECTORIES false ${TAVREL_WEB_LIBRARIES}/*/.key)
if(NOT builtlibraries)
  message(FATAL_ERROR "no libraries built for the web in ${TAVREL_WEB_LIBRARIES}: "
                      "tools/web/libraries.sh ${TAVREL_WEB_LIBRARIES} builds them")
endif()
set(pkgconfigfolders ${EMSCRIPTEN_SYSROOT}/lib/pkgconfig)
foreach(key ${builtlibraries})
  get_filename_component(prefix ${key} DIRECTORY)
  list(APPEND CMAKE_FIND_ROOT_PATH ${prefix})  # the toolchain searches under these roots alone
  list(APPEND pkgconfigfolders ${prefix}/lib/pkgconfig)
endforeach()
# named here rather than left to emcmake, so that a build configuring itself again finds the same
string(REPLACE ";" ":" pkgconfigfolders "${pkgconfigfolders}")
set(ENV{PKG_CONFIG_LIBDIR} ${pkgconfigfolders})
unset(ENV{PKG_CONFIG_PATH})

find_package(PkgConfig REQUIRED)
pkg_check_modules(TAVREL_SDL REQUIRED IMPORTED_TARGET sdl)
# a static link names the libraries each is built on
pkg_check_modules(TAVREL_VORBISFILE REQUIRED IMPORTED_TARGET vorbisfile vorbis ogg)
find_package(PNG REQUIRED)
add_library(OpenGL::GL INTERFACE IMPORTED)
set_target_properties(OpenGL::GL PROPERTIES INTERFACE_LINK_OPTIONS -sLEGACY_GL_EMULATION=1)

# tavrel_web_page(TARGET [FOLDER folder] [DATA file[@place]...]): links the program TARGET as the
# page FOLDER/index.html (by default TAVREL_WEB_SITE/TARGET), with its script, WebAssembly and data
# beside it. Each DATA file is preloaded into the engine's data folder in the page, under its own
# name or at the place given inside it (texture/floor.png), where the loaders find it after the
# working folder: that is the player's, kept in the browser (platform/web.js). The page needs no
# cross-origin isolation: no threads.
function(tavrel_web_page target)
  cmake_parse_arguments(PAGE "" "FOLDER" "DATA" ${ARGN})
  if(NOT PAGE_FOLDER)
    set(PAGE_FOLDER ${TAVREL_WEB_SITE}/${target})
  endif()
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PAGE_FOLDER}
                                             OUTPUT_NAME index SUFFIX .html)
  # emscripten 3.1.6 fails in its HTML minifier from -O1 on; FS lets a test read the page's files;
  # a program that returns from main ends, and the page says so
  target_link_options(${target} PRIVATE --shell-file ${TAVREL_WEB_SHELL} -sMINIFY_HTML=0
                      -sALLOW_MEMORY_GROWTH=1 -sEXPORTED_RUNTIME_METHODS=FS -sEXIT_RUNTIME=1)
  set(inputs ${TAVREL_WEB_SHELL} ${TAVREL_WEB_PREJS})
  foreach(entry ${PAGE_DATA})
    string(REPLACE "@" ";" parts ${entry})
    list(GET parts 0 file)
    get_filename_component(path ${file} ABSOLUTE)
    get_filename_component(place ${file} NAME)
    list(LENGTH parts count)
    if(count GREATER 1)
      list(GET parts 1 place)
    endif()
    target_link_options(${target} PRIVATE
                        "SHELL:--preload-file ${path}@${TAVREL_CONFIGURED_DATA_DIR}/${place}")
    list(APPEND inputs ${path})
  endforeach()
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${inputs})
endfunction()
