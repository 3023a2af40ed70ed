# The report view on a large collection, offscreen: open, switch styles,
# delete; the options sheet's OK on a large collection; and opening names in
# legacy charsets against all-ASCII ones.
if(TARGET Qt6::Widgets)
    add_library(varnex_view_bench_support STATIC ${CMAKE_CURRENT_LIST_DIR}/ViewBenchSupport.cpp)
    target_link_libraries(varnex_view_bench_support PUBLIC varnex_desktop varnex_tool_args)

    add_executable(desktop_bench ${CMAKE_CURRENT_LIST_DIR}/desktop_bench.cpp)
    target_link_libraries(desktop_bench PRIVATE varnex_view_bench_support)

    add_executable(options_bench ${CMAKE_CURRENT_LIST_DIR}/options_bench.cpp)
    target_link_libraries(options_bench PRIVATE varnex_view_bench_support)

    add_executable(preview_bench ${CMAKE_CURRENT_LIST_DIR}/preview_bench.cpp)
    target_link_libraries(preview_bench PRIVATE varnex_view_bench_support)

    add_executable(pattern_bench ${CMAKE_CURRENT_LIST_DIR}/pattern_bench.cpp)
    target_link_libraries(pattern_bench PRIVATE varnex_view_bench_support)

    add_executable(players_bench ${CMAKE_CURRENT_LIST_DIR}/players_bench.cpp)
    target_link_libraries(players_bench PRIVATE varnex_view_bench_support)

    add_executable(charset_bench ${CMAKE_CURRENT_LIST_DIR}/charset_bench.cpp)
    target_link_libraries(charset_bench PRIVATE varnex_view_bench_support)
endif()
