# The application object, the document framework, the main frame with its
# status bar, the About box and the prompts; then the executable.
target_sources(varnex_desktop PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/AboutDlg.cpp
    ${CMAKE_CURRENT_LIST_DIR}/AboutDlg.h
    ${CMAKE_CURRENT_LIST_DIR}/CommandRouter.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CommandRouter.h
    ${CMAKE_CURRENT_LIST_DIR}/CountStatusBar.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CountStatusBar.h
    ${CMAKE_CURRENT_LIST_DIR}/DesktopDocHost.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DesktopDocHost.h
    ${CMAKE_CURRENT_LIST_DIR}/DocFramework.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DocFramework.h
    ${CMAKE_CURRENT_LIST_DIR}/FontColorDialog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FontColorDialog.h
    ${CMAKE_CURRENT_LIST_DIR}/MainFrame.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MainFrame.h
    ${CMAKE_CURRENT_LIST_DIR}/ProgramIcon.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ProgramIcon.h
    ${CMAKE_CURRENT_LIST_DIR}/Prompts.h
    ${CMAKE_CURRENT_LIST_DIR}/QtPrompts.cpp
    ${CMAKE_CURRENT_LIST_DIR}/QtPrompts.h
    ${CMAKE_CURRENT_LIST_DIR}/RecentFileList.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RecentFileList.h
    ${CMAKE_CURRENT_LIST_DIR}/SingleInstance.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SingleInstance.h
    ${CMAKE_CURRENT_LIST_DIR}/VarnexApp.cpp
    ${CMAKE_CURRENT_LIST_DIR}/VarnexApp.h
    ${CMAKE_CURRENT_LIST_DIR}/WaitCursor.cpp
    ${CMAKE_CURRENT_LIST_DIR}/WaitCursor.h
    ${CMAKE_CURRENT_LIST_DIR}/WndPlacement.cpp
    ${CMAKE_CURRENT_LIST_DIR}/WndPlacement.h
    ${CMAKE_CURRENT_LIST_DIR}/res/varnex.qrc
)

add_executable(varnex ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
target_link_libraries(varnex PRIVATE varnex_desktop)
set_target_properties(varnex PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})

include(GNUInstallDirs)
install(TARGETS varnex RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# Opening a .vnx file from a file manager starts the program with its path.
install(FILES ${CMAKE_CURRENT_LIST_DIR}/res/varnex.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/res/varnex-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME varnex.xml)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/res/varnex.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
