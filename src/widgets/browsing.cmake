# Shell browsing controls: the folder tree of the login dialog.
target_sources(gf_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/TShellFolderTree.cpp
)
