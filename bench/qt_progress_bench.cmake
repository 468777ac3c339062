# The Qt front end's whole-run benchmark against batch (run it by hand; ctest
# runs a smoke version). It only starts the built programs, so it is
# compiled with UTF-8 literals and links none of the program's libraries.
add_executable(stmtlink_bench_qt_progress ${CMAKE_CURRENT_LIST_DIR}/qt_progress_bench.cpp)
set_target_properties(stmtlink_bench_qt_progress PROPERTIES STMTLINK_UTF8_TEXT ON)
target_link_libraries(stmtlink_bench_qt_progress PRIVATE stmtlink_options)
target_compile_definitions(stmtlink_bench_qt_progress PRIVATE STMTLINK_BIN_DIR="${CMAKE_BINARY_DIR}/bin")
add_dependencies(stmtlink_bench_qt_progress StmtLinkStd stmtlink-books)
add_test(NAME bench_qt_progress_smoke COMMAND stmtlink_bench_qt_progress --smoke)
set_tests_properties(bench_qt_progress_smoke PROPERTIES TIMEOUT 120)
