# The report view on a large collection, offscreen: open, switch styles, delete.
if(TARGET Qt6::Widgets)
    add_executable(desktop_bench ${CMAKE_CURRENT_LIST_DIR}/desktop_bench.cpp)
    target_link_libraries(desktop_bench PRIVATE varnex_desktop)
endif()

# The options sheet's OK on a large collection.
if(TARGET Qt6::Widgets)
    add_executable(options_bench ${CMAKE_CURRENT_LIST_DIR}/options_bench.cpp)
    target_link_libraries(options_bench PRIVATE varnex_desktop)
endif()
