// Which e-Tax code an account of the books takes, where its name is not a
// name of the NTA's table: the table shipped with the tool for the standard
// chart of stmtlink-books (stmtlink-etax-accounts.csv), and a company's own
// map given with --map. Each line: account name, code[, name to write].
// The code may be left empty when the line only renames (a name holding a
// character e-Tax cannot take, e.g. 髙). Lines starting with # and blank
// lines are skipped. The file is UTF-8 (with or without a BOM) or, when its
// bytes are not UTF-8, Shift_JIS (code page 932).
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "tools/report/etax_codes.h"

namespace stmtlink::report {

struct AccountMapping {
  std::string account;
  std::string code;   // a code of either table; "" when the line only renames
  std::string name;   // the name to write; "" for the table's name (or the account's own)
  std::string where;  // 「MAP.csv の 3 行目」, for messages
};

class AccountMap {
 public:
  // Reads a map; false with *error (Japanese, naming the file and line)
  // for a malformed line, an unknown code, an account given twice or a
  // name e-Tax cannot take.
  bool Load(const std::string& path, const EtaxCodeTable& balance_sheet, const EtaxCodeTable& income,
            std::string* error);
  // The lines of that account, in the file's order (the shipped table may
  // give an account a code in each section it can stand in).
  const std::vector<AccountMapping>& Of(const std::string& account) const;
  bool empty() const { return by_account_.empty(); }

 private:
  std::unordered_map<std::string, std::vector<AccountMapping>> by_account_;
};

} // namespace stmtlink::report
