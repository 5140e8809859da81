# The site of the web build: a page each for the set-up utility, the demo and the guide's 2-D
# example with the artwork it reads, an index of them, and the browser driver's own test page.
add_subdirectory(app)
add_subdirectory(demo)
tavrel_web_page(tavrel-setup FOLDER ${TAVREL_WEB_SITE}/setup DATA data/font.bmp data/tvr.bmp)
tavrel_web_page(tavrel-demo FOLDER ${TAVREL_WEB_SITE}/demo
                DATA data/font.bmp data/tvr.bmp data/floor.bmp data/ambient.wav data/gem.wav)

# the guide's 2-D example, as the examples folder holds it
add_executable(shapes examples/shapes/main.cpp)
target_link_libraries(shapes PRIVATE engine)
tavrel_web_page(shapes DATA data/font.bmp)

configure_file(tools/web/site.html ${TAVREL_WEB_SITE}/index.html COPYONLY)
enable_testing()
add_subdirectory(tests/web)
