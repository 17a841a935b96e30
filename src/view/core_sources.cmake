# The result views' drawing over the DrawingSurface interface (no Qt).
# Their Qt windows (the distribution windows) live in app/ and are part of the program.
file(GLOB TESVID_VIEW_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
target_sources(tesvid_view_core PRIVATE ${TESVID_VIEW_SOURCES})
