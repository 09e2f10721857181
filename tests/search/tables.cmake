gf_add_test(tst_search_itemtables SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_itemtables.cpp LIBS gf_core)
gf_add_test(tst_searchrun SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_searchrun.cpp LIBS gf_core)
