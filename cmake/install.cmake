# What `cmake --install` puts under its prefix: the programs with their manual pages, menu
# entries, software-centre metainfo and icon theme icons (component "programs"); the artwork, the
# engine's font and icon and the demo's floor and sounds, which any game on the engine may use
# (component "data"); and the engine as a static library with its public headers, a CMake
# package (Tavrel::engine), a pkg-config file, the guide, the reference and the examples
# (component "development").
include(CMakePackageConfigHelpers)

set(TAVREL_PACKAGE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/TavrelEngine)

install(TARGETS tavrel-setup tavrel-viewer tavrel-demo
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT programs)
install(FILES data/font.bmp data/tvr.bmp data/floor.bmp data/ambient.wav data/gem.wav
        DESTINATION ${TAVREL_DATA_DIR}
        COMPONENT data)
# the set-up utility and the demo in the desktop's menu and software centre; the viewer, which
# looks at the textures of a game folder given to it, is started from a shell
foreach(id org.tavrel.Setup org.tavrel.Demo)
  install(FILES data/desktop/${id}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications
          COMPONENT programs)
  install(FILES data/desktop/${id}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo
          COMPONENT programs)
endforeach()
install(DIRECTORY data/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor
        COMPONENT programs)

# tavrel_gzip(SOURCE OUTPUT): OUTPUT is built as SOURCE compressed as Debian keeps documents,
# with no name or time stamp in the header, so that the same text gives the same bytes
function(tavrel_gzip source output)
  get_filename_component(folder ${output} DIRECTORY)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
    COMMAND gzip -9n -c ${source} > ${output}
    DEPENDS ${source})
endfunction()

foreach(page tavrel-setup.6 tavrel-viewer.6 tavrel-demo.6)
  tavrel_gzip(${PROJECT_SOURCE_DIR}/docs/man/${page} ${PROJECT_BINARY_DIR}/man/${page}.gz)
  list(APPEND manualpages ${PROJECT_BINARY_DIR}/man/${page}.gz)
endforeach()
install(FILES ${manualpages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man6 COMPONENT programs)

# the guide and the reference, for programming a game offline, and the engine's manual page
tavrel_gzip(${PROJECT_SOURCE_DIR}/docs/man/tavrel-engine.3 ${PROJECT_BINARY_DIR}/man/tavrel-engine.3.gz)
install(FILES ${PROJECT_BINARY_DIR}/man/tavrel-engine.3.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man3
        COMPONENT development)
install(FILES docs/engine.md docs/reference.md
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/libtavrel-engine-dev COMPONENT development)
# the guide's programs and a small whole game, each a folder that builds against the install
install(DIRECTORY examples/
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/libtavrel-engine-dev/examples
        COMPONENT development PATTERN .gitignore EXCLUDE)
add_custom_target(manualpages ALL DEPENDS ${manualpages} ${PROJECT_BINARY_DIR}/man/tavrel-engine.3.gz)

install(TARGETS engine EXPORT TavrelEngineTargets ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        COMPONENT development)
foreach(header ${TAVREL_PUBLIC_HEADERS})
  get_filename_component(folder ${header} DIRECTORY)
  install(FILES ${header} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/tavrel/${folder}
          COMPONENT development)
endforeach()

install(EXPORT TavrelEngineTargets NAMESPACE Tavrel:: DESTINATION ${TAVREL_PACKAGE_DIR}
        COMPONENT development)
configure_package_config_file(cmake/TavrelEngineConfig.cmake.in
  ${PROJECT_BINARY_DIR}/TavrelEngineConfig.cmake INSTALL_DESTINATION ${TAVREL_PACKAGE_DIR}
  PATH_VARS TAVREL_DATA_DIR)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/TavrelEngineConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/TavrelEngineConfig.cmake
              ${PROJECT_BINARY_DIR}/TavrelEngineConfigVersion.cmake
        DESTINATION ${TAVREL_PACKAGE_DIR} COMPONENT development)

# the pkg-config file names the prefix it is installed into, as --prefix (or the packaging's
# prefix under DESTDIR) gives it at install time, so that its folders read plainly; one found from
# the file's own place would print as .../lib/pkgconfig/../../../share. A library folder given
# absolute lies outside any prefix, so the prefix configured is written in, as CMake writes it
# into the package's targets, and an install elsewhere is warned of
if(IS_ABSOLUTE ${CMAKE_INSTALL_LIBDIR})
  set(pcfolder ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
  set(TAVREL_PC_PREFIX ${CMAKE_INSTALL_PREFIX})
  install(CODE "
    if(NOT CMAKE_INSTALL_PREFIX STREQUAL \"${CMAKE_INSTALL_PREFIX}\")
      message(WARNING \"the library folder ${CMAKE_INSTALL_LIBDIR} was configured absolute: \"
        \"its pkg-config file and CMake package name the prefix ${CMAKE_INSTALL_PREFIX}, not \"
        \"\${CMAKE_INSTALL_PREFIX}\")
    endif()" COMPONENT development)
else()
  set(pcfolder ${CMAKE_INSTALL_LIBDIR}/pkgconfig)  # below the prefix given at install time
  set(TAVREL_PC_PREFIX @TAVREL_INSTALLED_PREFIX@)  # filled in as it is installed
endif()
# a folder as the pkg-config file names it: below ${prefix}, unless it was given absolute
function(pkgconfigfolder variable path)
  if(NOT IS_ABSOLUTE ${path})
    set(path "\${prefix}/${path}")
  endif()
  set(${variable} ${path} PARENT_SCOPE)
endfunction()
pkgconfigfolder(TAVREL_PC_LIBDIR ${CMAKE_INSTALL_LIBDIR})
pkgconfigfolder(TAVREL_PC_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR})
pkgconfigfolder(TAVREL_PC_DATADIR ${TAVREL_DATA_DIR})
configure_file(cmake/tavrel-engine.pc.in ${PROJECT_BINARY_DIR}/pkgconfig/tavrel-engine.pc.in @ONLY)
# written straight into its place, so that an install needs no write access to the build folder;
# a --prefix given relative is taken from the folder the install was started in
install(CODE "
  get_filename_component(TAVREL_INSTALLED_PREFIX \"\${CMAKE_INSTALL_PREFIX}\" ABSOLUTE
                         BASE_DIR \"\$ENV{PWD}\")
  file(READ \"${PROJECT_BINARY_DIR}/pkgconfig/tavrel-engine.pc.in\" pc)
  string(CONFIGURE \"\${pc}\" pc @ONLY)
  set(folder \"${pcfolder}\")
  if(NOT IS_ABSOLUTE \"\${folder}\")
    set(folder \"\${TAVREL_INSTALLED_PREFIX}/${CMAKE_INSTALL_LIBDIR}/pkgconfig\")
  endif()
  message(STATUS \"Installing: \$ENV{DESTDIR}\${folder}/tavrel-engine.pc\")
  file(WRITE \"\$ENV{DESTDIR}\${folder}/tavrel-engine.pc\" \"\${pc}\")
  list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\$ENV{DESTDIR}\${folder}/tavrel-engine.pc\")"
  COMPONENT development)
