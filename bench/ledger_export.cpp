#include "bench/ledger_export.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

#include "host/substitute/books_db.h"

namespace stmtlink::bench {
namespace {

// 1/10,000 yen as "-12.3400".
std::string Yen(std::int64_t units) {
  char text[32];
  const bool negative = units < 0;
  const std::uint64_t magnitude =
      negative ? 0 - static_cast<std::uint64_t>(units) : static_cast<std::uint64_t>(units);
  std::snprintf(text, sizeof(text), "%s%llu.%04llu", negative ? "-" : "",
                static_cast<unsigned long long>(magnitude / 10000),
                static_cast<unsigned long long>(magnitude % 10000));
  return text;
}

} // namespace

bool EnsureLedgerJournal(const std::string& books, const std::string& path, std::string* error) {
  if (std::filesystem::exists(path)) return true;
  std::shared_ptr<BooksDb> db;
  if (!BooksDb::Open(books, BooksDb::Mode::kReadOnly, &db, error)) return false;
  BooksStatement q;
  if (!db->Prepare("SELECT entry_id, date, description, debit_code, debit_amount + debit_tax, "
                   "credit_code, credit_amount + credit_tax FROM journal_line "
                   "WHERE data_no = 1 ORDER BY entry_id, line_no",
                   &q, error))
    return false;
  const std::string partial = path + ".partial";
  std::ofstream out(partial, std::ios::binary);
  std::int64_t entry = -1;
  for (;;) {
    const BooksStatement::Step step = q.Next(error);
    if (step == BooksStatement::Step::kError) return false;
    if (step == BooksStatement::Step::kDone) break;
    if (q.Int64(0) != entry) {
      entry = q.Int64(0);
      const std::int64_t date = q.Int64(1);
      char head[32];
      std::snprintf(head, sizeof(head), "\n%04lld/%02lld/%02lld ", static_cast<long long>(date / 10000),
                    static_cast<long long>(date / 100 % 100), static_cast<long long>(date % 100));
      out << head << q.Text(2) << '\n';
    }
    if (q.Int64(3) != 0) out << "    A" << q.Int64(3) << "  " << Yen(q.Int64(4)) << '\n';
    if (q.Int64(5) != 0) out << "    A" << q.Int64(5) << "  " << Yen(-q.Int64(6)) << '\n';
  }
  out.close();
  if (!out) {
    *error = "cannot write " + partial;
    return false;
  }
  std::filesystem::rename(partial, path);
  return true;
}

std::string LedgerCliProgram() {
  if (const char* chosen = std::getenv("STMTLINK_LEDGER_CLI"); chosen && *chosen) return chosen;
  const char* path = std::getenv("PATH");
  std::string dirs = path ? path : "/usr/bin:/bin";
  std::size_t start = 0;
  while (start <= dirs.size()) {
    const std::size_t colon = dirs.find(':', start);
    const std::string dir = dirs.substr(start, colon - start);
    const std::string candidate = (dir.empty() ? "." : dir) + "/ledger";
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
    if (colon == std::string::npos) break;
    start = colon + 1;
  }
  return std::string();
}

} // namespace stmtlink::bench
