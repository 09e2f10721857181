gf_add_test(tst_leveldlgs SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_leveldlgs.cpp LIBS gf_ui)
