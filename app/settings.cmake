# The settings store, the settings dialog and the naming of saved files.
target_sources(tovrix_app PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/SettingsFile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/OutputNaming.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CTovrixDlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PrintScreenShortcut.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PrintScreenNote.cpp)
