target_sources(gf_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/ItemTables.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ItemTableText.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SearchRules.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tSearchRun.cpp
)
