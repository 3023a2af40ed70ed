target_sources(varnex_desktop PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/ByteText.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FontRecordQt.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ReportListCtrl.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ReportListModel.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RowImages.cpp
    ${CMAKE_CURRENT_LIST_DIR}/VarnexView.cpp
    ${CMAKE_CURRENT_LIST_DIR}/VarnexView.h
)
