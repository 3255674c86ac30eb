add_executable(fuzz_database fuzz_database.cpp)
target_compile_options(fuzz_database PRIVATE -fsanitize=fuzzer)
target_link_options(fuzz_database PRIVATE -fsanitize=fuzzer)
target_link_libraries(fuzz_database PRIVATE satorix_db)
