# What `cmake --install` puts under its prefix: the programs and their artwork, and the engine as a
# static library with its public headers, a CMake package (Tavrel::engine) and a pkg-config file.
include(CMakePackageConfigHelpers)

set(TAVREL_DATA_DIR ${CMAKE_INSTALL_DATADIR}/tavrel)
set(TAVREL_PACKAGE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/TavrelEngine)

install(TARGETS tavrel-setup tavrel-viewer RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES data/font.bmp data/tvr.bmp DESTINATION ${TAVREL_DATA_DIR})

install(TARGETS engine EXPORT TavrelEngineTargets ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
foreach(header ${TAVREL_PUBLIC_HEADERS})
  get_filename_component(folder ${header} DIRECTORY)
  install(FILES ${header} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/tavrel/${folder})
endforeach()

install(EXPORT TavrelEngineTargets NAMESPACE Tavrel:: DESTINATION ${TAVREL_PACKAGE_DIR})
configure_package_config_file(cmake/TavrelEngineConfig.cmake.in
  ${PROJECT_BINARY_DIR}/TavrelEngineConfig.cmake INSTALL_DESTINATION ${TAVREL_PACKAGE_DIR}
  PATH_VARS TAVREL_DATA_DIR)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/TavrelEngineConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/TavrelEngineConfig.cmake
              ${PROJECT_BINARY_DIR}/TavrelEngineConfigVersion.cmake
        DESTINATION ${TAVREL_PACKAGE_DIR})

# the pkg-config file finds its prefix from where it lies, so --prefix at install time holds
file(RELATIVE_PATH TAVREL_PC_TO_PREFIX /prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig /prefix)
string(REGEX REPLACE "/$" "" TAVREL_PC_TO_PREFIX ${TAVREL_PC_TO_PREFIX})
configure_file(cmake/tavrel-engine.pc.in ${PROJECT_BINARY_DIR}/tavrel-engine.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/tavrel-engine.pc
        DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
