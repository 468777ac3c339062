// stmtlink-report etax-check: checks a folder's e-Tax CSV files of the
// statements (HOT010_3.0_BS.csv, HOT010_3.0_PL.csv) by the rules the
// export keeps (etax_file_check.h), that both name the same company and
// business year and, given the report, that every total and result they
// hold is the report's. Exit 0 clean, 1 findings, 2 could not check.
#pragma once

#include <ostream>
#include <string>

namespace stmtlink::report {

struct EtaxCheckRequest {
  std::string folder;
  std::string report; // "" for none
};

int EtaxCheck(const EtaxCheckRequest& request, std::ostream& out, std::ostream& err);

} // namespace stmtlink::report
