# The customisable toolbar, its customisation dialog and its pictures.
target_sources(varnex_desktop PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/CommandRouter.h
    ${CMAKE_CURRENT_LIST_DIR}/Prompts.h
    ${CMAKE_CURRENT_LIST_DIR}/CustToolBar.h
    ${CMAKE_CURRENT_LIST_DIR}/CustToolBar.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ToolBarCustomizeDialog.h
    ${CMAKE_CURRENT_LIST_DIR}/ToolBarCustomizeDialog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/icons/toolbar.qrc
)
