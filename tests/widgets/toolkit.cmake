gf_add_test(tst_rtfreader SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_rtfreader.cpp LIBS gf_ui)
gf_add_test(tst_toolkit SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_toolkit.cpp LIBS gf_ui)
