add_executable(bench_db_edit db_edit_bench.cpp)
target_link_libraries(bench_db_edit PRIVATE satorix_db benchmark::benchmark benchmark::benchmark_main)
