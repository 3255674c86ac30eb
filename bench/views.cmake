# The tree and the program list driven offscreen on a full database (needs the GUI library).
if(TARGET satorix_gui)
  add_executable(bench_views views_bench.cpp)
  target_link_libraries(bench_views PRIVATE satorix_gui satorix_db Qt6::Widgets benchmark::benchmark)
endif()
