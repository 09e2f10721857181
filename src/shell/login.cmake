# Login: the frameless base window, the login dialog and the door screen's operations.
target_sources(gf_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/TOwnFenster.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TTuerDlg.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TAnmeldDlg.cpp
)
