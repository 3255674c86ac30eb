add_executable(bench_link link_bench.cpp)
target_link_libraries(bench_link PRIVATE satorix_link satorix_stbsim benchmark::benchmark benchmark::benchmark_main)
