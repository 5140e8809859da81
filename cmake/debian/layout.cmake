# Read by cpack before it packs: Debian keeps the programs of a package in section games in
# /usr/games, and the programs look for their artwork from the folders they were built for, so a
# package is made only from a build configured that way.
if(CPACK_GENERATOR STREQUAL "DEB" AND NOT CPACK_TAVREL_PROGRAMS_FOLDER STREQUAL "/usr/games")
  message(FATAL_ERROR "the programs would go to ${CPACK_TAVREL_PROGRAMS_FOLDER}, not /usr/games: "
    "make the packages in a build configured for Debian's layout, as in\n"
    "  cmake -S . -B build-deb -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_INSTALL_BINDIR=games")
endif()
