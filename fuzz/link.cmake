add_executable(fuzz_link fuzz_link.cpp)
target_compile_options(fuzz_link PRIVATE -fsanitize=fuzzer)
target_link_options(fuzz_link PRIVATE -fsanitize=fuzzer)
target_link_libraries(fuzz_link PRIVATE satorix_link)
