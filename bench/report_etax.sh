#!/bin/sh
# stmtlink-report etax and etax-check on the report of sample books with
# 1,000 accounts (the benchmarks' books, with --manufacturing so that the
# PDF beside the files holds the manufacturing schedule too): the median of
# 5 runs of each.
#   bench/report_etax.sh [BUILD_DIR] [LINES] [LEDGER]   (default: build 1000000 0)
# The journal's size changes the amounts only: a report without the
# general ledger (LEDGER 0) and the files are the same size for any LINES.
# With LEDGER 1 the report carries the ledger, which etax reads through
# (unused) to be sure the report is whole: the time is then the reading's.
set -eu
build=${1:-build}
lines=${2:-1000000}
ledger=${3:-0}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
home=$work/home
"$build/bin/stmtlink-books" sample --home "$home" --accounts 1000 --lines "$lines" --manufacturing >/dev/null
"$build/bin/StmtLinkStd" --home "$home" --ui batch --from 4 --to 3 --ledger "$ledger" \
    --output 'C:\r.xml' --answer yes >/dev/null 2>&1
report=$home/drive_c/r.xml
median() { sort -n | sed -n 3p; }
run5() { # the command's wall time in seconds, five times
  for i in 1 2 3 4 5; do
    /usr/bin/time -f '%e' -o "$work/time" "$@" >/dev/null
    cat "$work/time"
  done
}
etax=$(run5 "$build/bin/stmtlink-report" etax "$report" -o "$work/out" | median)
check=$(run5 "$build/bin/stmtlink-report" etax-check "$work/out" --report "$report" | median)
rows_bs=$(($(wc -l <"$work/out/HOT010_3.0_BS.csv") - 5))
rows_pl=$(($(wc -l <"$work/out/HOT010_3.0_PL.csv") - 5))
echo "report $(stat -c %s "$report") bytes; BS $rows_bs rows, PL $rows_pl rows"
echo "etax (both CSV files and the PDF): median of 5 = $etax s"
echo "etax-check --report:               median of 5 = $check s"
