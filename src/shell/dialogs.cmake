target_sources(gf_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/TxMsgDlg.cpp
    ${CMAKE_CURRENT_LIST_DIR}/THelpWin.cpp
)
