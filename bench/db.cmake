add_executable(bench_db db_bench.cpp exchange_bench.cpp)
target_link_libraries(bench_db PRIVATE satorix_db benchmark::benchmark benchmark::benchmark_main)
