# target_sources(varnex_desktop PRIVATE ${CMAKE_CURRENT_LIST_DIR}/VarnexView.cpp ...)
