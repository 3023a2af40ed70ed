# The report view on a large collection, offscreen: open, switch styles, delete.
if(TARGET Qt6::Widgets)
    add_executable(desktop_bench ${CMAKE_CURRENT_LIST_DIR}/desktop_bench.cpp)
    target_link_libraries(desktop_bench PRIVATE varnex_desktop)
endif()
