gf_add_test(tst_uiscreens SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_uiscreens.cpp LIBS gf_ui)
