gf_add_test(tst_login SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_login.cpp LIBS gf_ui)
