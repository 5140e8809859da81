# Debian packages from `cpack -G DEB` in the build folder: tavrel-setup, the programs with their
# manual pages and menu entries (the install component "programs"); tavrel-data, the artwork that
# the programs and any game on the engine use, for every architecture alike ("data"); and
# libtavrel-engine-dev, the engine to build a game on ("development"); each with a copyright file
# and the changelog.
set(TAVREL_DEBIAN ${PROJECT_SOURCE_DIR}/cmake/debian)

# the changelog's latest entry names the version, which must be project()'s, and the maintainer
file(STRINGS ${TAVREL_DEBIAN}/changelog changelog)
list(GET changelog 0 latest)
if(NOT latest MATCHES "^tavrel \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "cmake/debian/changelog: the latest entry is not for ${PROJECT_VERSION}, "
                      "the version of project(): add one")
endif()
list(FILTER changelog INCLUDE REGEX "^ -- ")
list(GET changelog 0 signature)
string(REGEX REPLACE "^ -- (.*>)  .*" "\\1" maintainer "${signature}")

set(CPACK_GENERATOR DEB)
set(CPACK_PROJECT_CONFIG_FILE ${TAVREL_DEBIAN}/layout.cmake)
set(CPACK_TAVREL_PROGRAMS_FOLDER ${CMAKE_INSTALL_FULL_BINDIR})
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${maintainer})
set(CPACK_DEBIAN_PACKAGE_SOURCE tavrel)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL programs data development)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_PROGRAMS_PACKAGE_NAME tavrel-setup)
set(CPACK_DEBIAN_PROGRAMS_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PROGRAMS_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PROGRAMS_PACKAGE_DEPENDS "tavrel-data (= ${PROJECT_VERSION})")
# the plugin that draws a title bar for SDL2's Wayland windows on GNOME, where sdl12-compat runs
# the programs without X
set(CPACK_DEBIAN_PROGRAMS_PACKAGE_RECOMMENDS libdecor-0-plugin-1-cairo)
set(CPACK_DEBIAN_PROGRAMS_DESCRIPTION "hardware set-up utility of the game Tavrel, a demo and a texture viewer
Tavrel Setup opens one window in which the player chooses the game's screen
resolution, full-screen mode, mouse, sound, interface, text colour and
texture detail, and stores them in hwconfig.cfg in the game's folder.
.
This package also holds:
 - Tavrel Demo, a small game that starts as the player chose: a walk on a
   stone floor to collect gems, with sound;
 - Tavrel Viewer, which shows the textures of a game folder exactly as the
   game loads them, with their mipmaps.
The set-up utility and the demo have entries in the desktop's menu.")

set(CPACK_DEBIAN_DATA_PACKAGE_NAME tavrel-data)
set(CPACK_DEBIAN_DATA_PACKAGE_SECTION games)
set(CPACK_DEBIAN_DATA_PACKAGE_ARCHITECTURE all)
set(CPACK_DEBIAN_DATA_DESCRIPTION "artwork of the Tavrel engine and its programs
The bitmap font and window icon that every program on the Tavrel engine
finds by itself, and the floor texture and sounds of Tavrel Demo, in
/usr/share/games/tavrel.")

set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME libtavrel-engine-dev)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
# tavrel-data carries the engine's font and icon, the folder that pkg-config's datadir names
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS "libsdl1.2-dev | libsdl1.2-compat-dev, libgl-dev, \
libpng-dev, libvorbis-dev, tavrel-data (= ${PROJECT_VERSION})")
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SUGGESTS tavrel-setup)
set(CPACK_DEBIAN_DEVELOPMENT_DESCRIPTION "immediate-mode game engine of Tavrel (development files)
A small engine on SDL 1.2 and OpenGL 1.1 to build a game on: input state,
menus, text entry, colour bars, bitmap-font text, 2-D shapes and sprites,
textures with mipmaps, BMP, TGA and PNG loaders, viewports, screenshots, a
directory lister, safe file saves, a game's own options file, WAV and Ogg
Vorbis sounds mixed on 16 channels, and music streamed from Ogg Vorbis files.
.
This package holds the static library, its headers, a CMake package
(Tavrel::engine), a pkg-config file (tavrel-engine), the guide and the
reference for programming a game with it, examples that build against it
(the guide's programs and a small whole 2-D game), and the tavrel-engine(3)
manual page. The tavrel-setup package has a demo game and a texture viewer
built on it.")

# the copyright file in Debian's machine-readable form, from LICENSE: its first line names the
# holders, and the licence text follows indented by one space, an empty line written as "."
file(READ ${PROJECT_SOURCE_DIR}/LICENSE licence)
string(REGEX MATCH "^Copyright \\(c\\) ([^\n]*)\n\n(.*[^\n])" licence "${licence}")
set(TAVREL_COPYRIGHT "${CMAKE_MATCH_1}")
string(REPLACE "\n\n" "\n.\n" TAVREL_LICENCE "${CMAKE_MATCH_2}")
string(REPLACE "\n" "\n " TAVREL_LICENCE " ${TAVREL_LICENCE}")
configure_file(${TAVREL_DEBIAN}/copyright.in ${PROJECT_BINARY_DIR}/debian/copyright @ONLY)
tavrel_gzip(${TAVREL_DEBIAN}/changelog ${PROJECT_BINARY_DIR}/debian/changelog.gz)
add_custom_target(debianchangelog ALL DEPENDS ${PROJECT_BINARY_DIR}/debian/changelog.gz)

# each package's own documents, in the packages only: a plain install needs neither
foreach(component programs data development)
  string(TOUPPER ${component} upper)
  install(FILES ${PROJECT_BINARY_DIR}/debian/copyright ${PROJECT_BINARY_DIR}/debian/changelog.gz
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${CPACK_DEBIAN_${upper}_PACKAGE_NAME}
          COMPONENT ${component} EXCLUDE_FROM_ALL)
endforeach()

include(CPack)
