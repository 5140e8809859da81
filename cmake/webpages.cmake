# The site of the web build: a page each for the set-up utility, the demo and the guide's 2-D
# example with the artwork it reads, an index of them, and the browser driver's own test page.
add_subdirectory(app)
add_subdirectory(demo)
tavrel_web_page(tavrel-setup FOLDER ${TAVREL_WEB_SITE}/setup DATA data/font.bmp data/tvr.bmp)
tavrel_web_page(tavrel-demo FOLDER ${TAVREL_WEB_SITE}/demo
                DATA data/font.bmp data/tvr.bmp data/floor.bmp data/ambient.wav data/gem.wav)

# the guide's 2-D example exactly as the guide shows it: the first C++ block of its section
set(guide ${PROJECT_SOURCE_DIR}/docs/engine.md)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${guide})
file(READ ${guide} text)
string(FIND "${text}" "\n## 2-D drawing\n" start)
string(SUBSTRING "${text}" ${start} -1 text)
string(FIND "${text}" "\n```cpp\n" start)
math(EXPR start "${start} + 8")
string(SUBSTRING "${text}" ${start} -1 text)
string(FIND "${text}" "\n```\n" length)
math(EXPR length "${length} + 1")
string(SUBSTRING "${text}" 0 ${length} text)
file(WRITE ${CMAKE_BINARY_DIR}/shapes/main.cpp.new "${text}")
configure_file(${CMAKE_BINARY_DIR}/shapes/main.cpp.new ${CMAKE_BINARY_DIR}/shapes/main.cpp COPYONLY)
add_executable(shapes ${CMAKE_BINARY_DIR}/shapes/main.cpp)
target_link_libraries(shapes PRIVATE engine)
tavrel_web_page(shapes DATA data/font.bmp)

configure_file(tools/web/site.html ${TAVREL_WEB_SITE}/index.html COPYONLY)
enable_testing()
add_subdirectory(tests/web)
