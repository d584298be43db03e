# The tray program: main frame, tray icon, the capture pipeline and the boxes of the tray menu.
target_sources(tovrix_app PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/CMainFrame.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CTrayNotifyIcon.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CTrayRessurectionWnd.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CaptureSteps.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CAboutDlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CDonateDlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UserGuide.cpp)
# The About box reads the executable's version resource.
target_link_libraries(tovrix_app PUBLIC version)
