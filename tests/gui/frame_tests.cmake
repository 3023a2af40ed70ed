target_sources(gui_tests PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/test_frame.cpp
    ${CMAKE_CURRENT_LIST_DIR}/test_app.cpp
)
