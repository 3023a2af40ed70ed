target_sources(gui_tests PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/test_view.cpp
    ${CMAKE_CURRENT_LIST_DIR}/test_view_model.cpp
)
