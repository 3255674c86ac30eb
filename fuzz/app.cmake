# The Qt-free parts of the editor: built from their sources, so that no fuzz target needs Qt.
add_executable(fuzz_config fuzz_config.cpp ${PROJECT_SOURCE_DIR}/app/AppConfig.cpp)
add_executable(fuzz_rows fuzz_rows.cpp ${PROJECT_SOURCE_DIR}/views/ProgramListRows.cpp)
foreach(target fuzz_config fuzz_rows)
  target_compile_options(${target} PRIVATE -fsanitize=fuzzer)
  target_link_options(${target} PRIVATE -fsanitize=fuzzer)
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${target} PRIVATE satorix_db)
endforeach()
