target_sources(gf_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/TxMsgDlg.cpp
    ${CMAKE_CURRENT_LIST_DIR}/THelpWin.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TPictureScreen.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TtitleDlg.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TCreditDlg.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TChooseModeDlg.cpp
)
