#!/bin/sh
# stmtlink-report pdf --ledger on a report with the general ledger from
# sample books of a given journal size: its time and peak memory, to show
# that the ledger is painted page by page (memory flat, time linear).
#   bench/report_pdf_ledger.sh [BUILD_DIR] [LINES...]   (default: build 250000 1000000)
# Figures on the development machine (2 cores shared with other work; the
# load average in brackets):
#     lines  report   pages   time            peak RSS
#   250000   251 MB   12340    50 s (0.6)      31 MB
#  1000000  1006 MB   49250   279 s (2.6)      32 MB
# Reading alone (html --ledger to /dev/null, load 0.6) took 2.5 s and 12.9 s.
set -eu
build=${1:-build}
[ $# -gt 0 ] && shift
sizes=${*:-250000 1000000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf '%10s %10s %8s %10s %10s\n' lines report pages seconds peak_kb
for lines in $sizes; do
  home=$work/h$lines
  "$build/bin/stmtlink-books" sample --home "$home" --lines "$lines" >/dev/null
  "$build/bin/StmtLinkStd" --home "$home" --ui batch --from 4 --to 3 --ledger 1 \
      --output 'C:\r.xml' --answer yes >/dev/null
  report=$home/drive_c/r.xml
  /usr/bin/time -f '%e %M' -o "$work/time" \
      "$build/bin/stmtlink-report" pdf "$report" --ledger -o "$work/out.pdf"
  pages=$(pdfinfo "$work/out.pdf" | sed -n 's/^Pages: *//p')
  read -r seconds peak <"$work/time"
  printf '%10s %10s %8s %10s %10s\n' "$lines" "$(stat -c %s "$report")" "$pages" "$seconds" "$peak"
  rm -f "$work/out.pdf" && rm -rf "$home"
done
