gf_add_test(tst_startup SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_startup.cpp LIBS gf_ui)
gf_add_test(tst_mainwin SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_mainwin.cpp LIBS gf_ui)
gf_add_test(tst_screens SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_screens.cpp LIBS gf_ui)
