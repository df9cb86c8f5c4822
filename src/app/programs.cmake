# The programs built from the app library. Sources in subfolders of src/app
# stay out of the library's glob.

# blobsmith-cli: the command-line front end (a console program on Windows).
add_executable(blobsmith-cli ${CMAKE_CURRENT_LIST_DIR}/cli/blobsmith_cli.cpp)
target_link_libraries(blobsmith-cli PRIVATE blobsmith_app)
