gf_add_test(tst_msgdlg SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_msgdlg.cpp LIBS gf_ui)
gf_add_test(tst_shelldialogs SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_shelldialogs.cpp LIBS gf_ui)
