#include "host/substitute/books_schema.h"

#include <sqlite3.h>

namespace stmtlink {

const char* BooksSchemaSql() {
  return R"sql(
-- Company data sets. tax_included is byte 5 of the consumption-tax settings:
-- nonzero when the books' amounts include consumption tax.
CREATE TABLE IF NOT EXISTS data_set (
  data_no             INTEGER PRIMARY KEY,
  data_id             TEXT    NOT NULL,
  company_name        TEXT    NOT NULL,
  period_start        INTEGER NOT NULL,
  period_end          INTEGER NOT NULL,
  keeps_mfg_schedule  INTEGER NOT NULL DEFAULT 0,
  interim_closing     INTEGER NOT NULL DEFAULT 0,
  introduction_month  INTEGER NOT NULL DEFAULT 0,
  company_law         INTEGER NOT NULL DEFAULT 1,
  tax_included        INTEGER NOT NULL DEFAULT 0
);

-- Account master. code = main x 10,000 + sub (sub > 0 for a sub-account);
-- seq is the cursor order; normal_side 1 debit, 2 credit; line_type 0 an
-- account, 1 a heading, 2 a total, 3 a computed item.
CREATE TABLE IF NOT EXISTS account (
  data_no            INTEGER NOT NULL,
  code               INTEGER NOT NULL,
  seq                INTEGER NOT NULL,
  formal_name        TEXT    NOT NULL,
  statement_name     TEXT    NOT NULL DEFAULT '',
  nature             INTEGER NOT NULL,
  line_type          INTEGER NOT NULL DEFAULT 0,
  normal_side        INTEGER NOT NULL,
  ledger_excluded_a  INTEGER NOT NULL DEFAULT 0,
  ledger_excluded_b  INTEGER NOT NULL DEFAULT 0,
  PRIMARY KEY (data_no, code)
);
CREATE INDEX IF NOT EXISTS account_by_seq ON account (data_no, seq);

-- A total row sums the accounts of line type 0 or 3 whose nature contains
-- every bit of one of its masks.
CREATE TABLE IF NOT EXISTS total_member (
  data_no      INTEGER NOT NULL,
  total_code   INTEGER NOT NULL,
  member_mask  INTEGER NOT NULL
);
CREATE INDEX IF NOT EXISTS total_member_by_total ON total_member (data_no, total_code);

-- Balances carried into the fiscal year (slot 0).
CREATE TABLE IF NOT EXISTS opening_balance (
  data_no  INTEGER NOT NULL,
  code     INTEGER NOT NULL,
  debit    INTEGER NOT NULL DEFAULT 0,
  credit   INTEGER NOT NULL DEFAULT 0,
  PRIMARY KEY (data_no, code)
);

-- The journal: one row per line of an entry. slot 1-12 is the month
-- position, 13 the year-end and 14 the interim closing adjustment. A code
-- of 0 means no account on that side.
CREATE TABLE IF NOT EXISTS journal_line (
  data_no        INTEGER NOT NULL,
  entry_id       INTEGER NOT NULL,
  entry_no       INTEGER NOT NULL,
  line_no        INTEGER NOT NULL,
  date           INTEGER NOT NULL,
  slot           INTEGER NOT NULL,
  debit_code     INTEGER NOT NULL DEFAULT 0,
  debit_amount   INTEGER NOT NULL DEFAULT 0,
  debit_tax      INTEGER NOT NULL DEFAULT 0,
  credit_code    INTEGER NOT NULL DEFAULT 0,
  credit_amount  INTEGER NOT NULL DEFAULT 0,
  credit_tax     INTEGER NOT NULL DEFAULT 0,
  description    TEXT    NOT NULL DEFAULT '',
  PRIMARY KEY (data_no, entry_id, line_no)
);
CREATE INDEX IF NOT EXISTS journal_line_by_date ON journal_line (data_no, date, entry_id, line_no);

-- The era table.
CREATE TABLE IF NOT EXISTS era (
  first_day     INTEGER PRIMARY KEY,
  name          TEXT NOT NULL,
  abbreviation  TEXT NOT NULL
);

-- The financial-statement settings texts (kinds 100, 0 and 1000).
CREATE TABLE IF NOT EXISTS statement_setting (
  data_no  INTEGER NOT NULL,
  kind     INTEGER NOT NULL,
  text     TEXT    NOT NULL,
  PRIMARY KEY (data_no, kind)
);
)sql";
}

bool CreateBooksSchema(sqlite3* db, std::string* error) {
  char* message = nullptr;
  if (sqlite3_exec(db, BooksSchemaSql(), nullptr, nullptr, &message) == SQLITE_OK) return true;
  if (error) *error = message ? message : "unknown SQLite error";
  sqlite3_free(message);
  return false;
}

} // namespace stmtlink
