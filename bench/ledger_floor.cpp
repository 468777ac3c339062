// The floor of a ledger run's work, measured on the same books: what no
// implementation of the run can do without. The ledger-run benchmark runs
// it beside the program, round by round, and divides the program's time by
// it.
//
//   stmtlink_bench_ledger_floor pass BOOKS.db [--sort]
//     reads every journal column the run needs from SQLite in one plain
//     scan (types read as the columns hold them, no checks), sums each
//     account's debits and credits per slot, and with --sort sorts every
//     line's ledger key (date, slot, entry number, entry id, line number);
//   stmtlink_bench_ledger_floor write FILE BYTES
//     writes BYTES bytes of ledger rows (ten lines each, numbers formatted
//     with std::to_chars, CR LF) over FILE and syncs it to the disk, as the
//     program overwrites its report.
//
// Both print nothing and exit 0; anything else exits 1 with a reason.
#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "stmtlink_bench_ledger_floor: %s\n", what.c_str());
  std::exit(1);
}

constexpr int kSlots = 15;

struct Sums {
  std::int64_t debit[kSlots] = {}, credit[kSlots] = {};
  std::int64_t debit_tax[kSlots] = {}, credit_tax[kSlots] = {};
};

struct LedgerKey {
  std::int64_t date, slot, entry_no, entry_id, line_no;
  bool operator<(const LedgerKey& o) const {
    if (date != o.date) return date < o.date;
    if (slot != o.slot) return slot < o.slot;
    if (entry_no != o.entry_no) return entry_no < o.entry_no;
    if (entry_id != o.entry_id) return entry_id < o.entry_id;
    return line_no < o.line_no;
  }
};

int Pass(const char* books, bool sort) {
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(books, &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
    Fail(std::string("cannot open ") + books);
  sqlite3_stmt* stmt = nullptr;
  if (sqlite3_prepare_v2(db,
                         "SELECT data_no, entry_id, entry_no, line_no, date, slot, debit_code,"
                         " debit_amount, debit_tax, credit_code, credit_amount, credit_tax,"
                         " description FROM journal_line",
                         -1, &stmt, nullptr) != SQLITE_OK)
    Fail(sqlite3_errmsg(db));
  std::unordered_map<std::int64_t, Sums> sums;
  std::vector<LedgerKey> keys;
  std::size_t text_bytes = 0;
  int rc;
  while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    const auto at = [stmt](int column) { return sqlite3_column_int64(stmt, column); };
    const std::int64_t slot = std::clamp<std::int64_t>(at(5), 0, kSlots - 1);
    if (const std::int64_t code = at(6)) {
      Sums& s = sums[code];
      s.debit[slot] += at(7);
      s.debit_tax[slot] += at(8);
    }
    if (const std::int64_t code = at(9)) {
      Sums& s = sums[code];
      s.credit[slot] += at(10);
      s.credit_tax[slot] += at(11);
    }
    text_bytes += static_cast<std::size_t>(sqlite3_column_bytes(stmt, 12));
    if (sort) keys.push_back(LedgerKey{at(4), slot, at(2), at(1), at(3)});
  }
  if (rc != SQLITE_DONE) Fail(sqlite3_errmsg(db));
  sqlite3_finalize(stmt);
  sqlite3_close(db);
  if (sort) std::sort(keys.begin(), keys.end());
  // Keep the work from being optimised away.
  return sums.size() + keys.size() + text_bytes == 0 ? 1 : 0;
}

// One ledger row as the report writes it: the row element and nine values.
void AppendRow(std::string* out, std::int64_t n) {
  static const char* const kTags[] = {"HJ00780S0050", "HJ00780S0060", "HJ00780S0070",
                                      "HJ00780S0080", "HJ00780S0090", "HJ00780S0100",
                                      "HJ00780S0110", "HJ00780S0120"};
  out->append("\t\t\t\t<HJ00780S02>\r\n");
  char number[24];
  for (int i = 0; i < 8; ++i) {
    out->append("\t\t\t\t\t<").append(kTags[i]).append(">");
    const auto end = std::to_chars(number, number + sizeof(number), n * (i + 7) - 5000).ptr;
    out->append(number, end);
    out->append("</").append(kTags[i]).append(">\r\n");
  }
  out->append("\t\t\t\t</HJ00780S02>\r\n");
}

int Write(const char* path, unsigned long long bytes) {
  const int fd = open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) Fail(std::string("cannot write ") + path);
  std::string buffer;
  buffer.reserve(1 << 20);
  unsigned long long written = 0;
  std::int64_t row = 0;
  while (written < bytes) {
    while (buffer.size() < (1u << 20) - 512) AppendRow(&buffer, ++row);
    const std::size_t chunk =
        static_cast<std::size_t>(std::min<unsigned long long>(buffer.size(), bytes - written));
    for (std::size_t done = 0; done < chunk;) {
      const ssize_t n = ::write(fd, buffer.data() + done, chunk - done);
      if (n <= 0) Fail(std::string("cannot write ") + path);
      done += static_cast<std::size_t>(n);
    }
    written += chunk;
    buffer.clear();
  }
  if (fsync(fd) != 0 || close(fd) != 0) Fail(std::string("cannot sync ") + path);
  return 0;
}

} // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "--help" || mode == "-h") {
    std::printf("usage: stmtlink_bench_ledger_floor pass BOOKS.db [--sort]\n"
                "       stmtlink_bench_ledger_floor write FILE BYTES\n");
    return 0;
  }
  if (mode == "pass" && (argc == 3 || (argc == 4 && std::strcmp(argv[3], "--sort") == 0)))
    return Pass(argv[2], argc == 4);
  if (mode == "write" && argc == 4) {
    char* end = nullptr;
    const unsigned long long bytes = std::strtoull(argv[3], &end, 10);
    if (*end != '\0') Fail(std::string("bad byte count ") + argv[3]);
    return Write(argv[2], bytes);
  }
  Fail("usage: pass BOOKS.db [--sort] | write FILE BYTES (see --help)");
}
