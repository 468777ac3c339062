# The Qt front end's whole-run benchmark against batch (run it by hand; ctest
# runs a smoke version). It starts the built programs and makes the books
# with the shared bench helpers.
add_executable(stmtlink_bench_qt_progress ${CMAKE_CURRENT_LIST_DIR}/qt_progress_bench.cpp)
set_target_properties(stmtlink_bench_qt_progress PROPERTIES STMTLINK_UTF8_TEXT ON)
target_link_libraries(stmtlink_bench_qt_progress PRIVATE stmtlink_bench_support)
target_compile_definitions(stmtlink_bench_qt_progress PRIVATE STMTLINK_BIN_DIR="${CMAKE_BINARY_DIR}/bin")
add_dependencies(stmtlink_bench_qt_progress StmtLinkStd)
add_test(NAME bench_qt_progress_smoke COMMAND stmtlink_bench_qt_progress --smoke)
set_tests_properties(bench_qt_progress_smoke PROPERTIES TIMEOUT 120)
