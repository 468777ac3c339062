# The report-writing benchmark: this program's writer against libxml2's
# xmlTextWriter (the peer) and a file copy (the floor). libxml2 is linked
# into this benchmark only. Not run by ctest: run it by hand.
pkg_check_modules(LIBXML2 REQUIRED IMPORTED_TARGET libxml-2.0)
add_executable(stmtlink_bench_report ${CMAKE_CURRENT_LIST_DIR}/report_bench.cpp
                                     ${CMAKE_SOURCE_DIR}/res/edition/edition.cpp)
target_compile_definitions(stmtlink_bench_report PRIVATE STMTLINK_EDITION_STD=1)
target_link_libraries(stmtlink_bench_report PRIVATE stmtlink_app stmtlink_res_common stmtlink_res_edition
  stmtlink_host_substitute PkgConfig::LIBXML2)
