target_sources(gf_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/Look.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TPushButton.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TSkinButton.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TStatusBar.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TRadioGroup.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TBaseDlg.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TImage.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RtfReader.cpp
)
