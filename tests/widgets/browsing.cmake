gf_add_test(test_shellfoldertree
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_ShellFolderTree.cpp
    LIBS gf_ui)
