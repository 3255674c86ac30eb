# Start-up of the editor window, offscreen (needs the GUI library).
if(TARGET satorix_gui)
  add_executable(bench_gui gui_bench.cpp)
  target_link_libraries(bench_gui PRIVATE satorix_gui satorix_db Qt6::Widgets benchmark::benchmark)
endif()
