# The site of the web build: a page each for the set-up utility, the demo and the guide's 2-D
# example with the artwork it reads, an index of them, and the browser tests.
add_subdirectory(app)
add_subdirectory(demo)
tavrel_web_page(tavrel-setup FOLDER ${TAVREL_WEB_SITE}/setup DATA data/font.bmp)

# the demo's floor as a PNG, which it takes before the BMP installed with the engine's data, and
# the example game's music, which it plays in place of its chord
set(floorpng ${CMAKE_BINARY_DIR}/pagedata/floor.png)
add_custom_command(OUTPUT ${floorpng}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/pagedata
  COMMAND ${PROJECT_SOURCE_DIR}/tools/web/bmptopng.py ${PROJECT_SOURCE_DIR}/data/floor.bmp
          ${floorpng}
  DEPENDS tools/web/bmptopng.py data/floor.bmp)
add_custom_target(floorpng DEPENDS ${floorpng})
add_dependencies(tavrel-demo floorpng)
tavrel_web_page(tavrel-demo FOLDER ${TAVREL_WEB_SITE}/demo
                DATA data/font.bmp data/gem.wav ${floorpng}@texture/floor.png
                     examples/arena/data/sound/music.ogg@sound/music.ogg)

# the guide's 2-D example, as the examples folder holds it
add_executable(shapes examples/shapes/main.cpp)
target_link_libraries(shapes PRIVATE engine)
tavrel_web_page(shapes DATA data/font.bmp)

configure_file(tools/web/site.html ${TAVREL_WEB_SITE}/index.html COPYONLY)
enable_testing()
add_subdirectory(tests/web)
