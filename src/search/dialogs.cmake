target_sources(gf_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/TLevelDlg.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TLevelKatDlg.cpp
)
