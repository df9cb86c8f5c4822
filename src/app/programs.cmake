# The programs built from the app library. Sources in subfolders of src/app
# stay out of the library's glob.

# The version, in one place (project() in CMakeLists.txt): app/version.h for
# the code and the resources, and the manifest.
set(generated_dir ${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_CURRENT_LIST_DIR}/version.h.in ${generated_dir}/app/version.h @ONLY)
target_include_directories(blobsmith_app PUBLIC ${generated_dir})

# blobsmith-cli: the command-line front end (a console program on Windows).
add_executable(blobsmith-cli ${CMAKE_CURRENT_LIST_DIR}/cli/blobsmith_cli.cpp)
target_link_libraries(blobsmith-cli PRIVATE blobsmith_app)

# Blobsmith.exe: the window program (Windows only). GUI subsystem; the
# resources carry the icon, the manifest (DPI aware, common controls 6) and
# the version. scripts/make-icon.py draws the icon.
if(WIN32)
  enable_language(RC)
  set(program_dir ${CMAKE_CURRENT_LIST_DIR}/program)
  add_executable(Blobsmith WIN32 ${program_dir}/main.cpp ${program_dir}/blobsmith.rc)
  target_link_libraries(Blobsmith PRIVATE blobsmith_app)
  configure_file(${program_dir}/blobsmith.manifest.in ${generated_dir}/blobsmith.manifest @ONLY)
  target_include_directories(Blobsmith PRIVATE ${program_dir} ${generated_dir})
  set_source_files_properties(${program_dir}/blobsmith.rc PROPERTIES
    OBJECT_DEPENDS "${program_dir}/blobsmith.ico;${generated_dir}/blobsmith.manifest;${generated_dir}/app/version.h")
endif()

# blobsmith-drop-steps: the steps of the window's drop, timed (bench/run.sh
# runs it under Wine). Built with everything, so that it keeps compiling.
if(WIN32)
  add_executable(blobsmith-drop-steps ${CMAKE_SOURCE_DIR}/bench/drop_steps_win32.cpp)
  target_link_libraries(blobsmith-drop-steps PRIVATE blobsmith_app)
endif()
