target_sources(gf_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/Startup.cpp
)
target_sources(gf_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/TMainWin.cpp
)
