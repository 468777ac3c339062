// Writing the report file: this program's writer against libxml2's
// xmlTextWriter writing the same elements (the peer), and against copying
// the finished file (the floor: the cost of the bytes alone).
//
//   stmtlink_bench_report [--accounts N] [--runs R]
//
// The statement lines are generated: a chart of N accounts spread over the
// statement sections as a large company's books would be, with totals,
// subtotals, equity items and names that need escaping. The peer replays
// the finished report's elements (read back before timing, texts already
// converted to the UTF-8 that libxml2 takes), so it does none of the
// selection work that the program's writer does while it writes.
#include <libxml/xmlwriter.h>
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "aggregate/account_line.h"
#include "host/host_records.h"
#include "platform/host_home.h"
#include "platform/drive_map.h"
#include "platform/text_codec.h"
#include "platform/win_path.h"
#include "report/report_writer.h"

namespace {

using stmtlink::AccountLine;
using stmtlink::AccountLineList;

constexpr std::int64_t kYen = 10000;

void Add(AccountLineList* lines, int code, const std::string& name, std::uint32_t nature,
         int type, std::int64_t closing, std::int64_t opening = 0) {
  auto line = std::make_unique<AccountLine>();
  line->code = code * 10000;
  std::memcpy(line->formalName, name.data(), std::min<std::size_t>(name.size(), 30));
  line->nature = static_cast<std::int32_t>(nature);
  line->lineType = static_cast<std::int16_t>(type);
  line->closing = closing;
  line->opening = opening;
  line->change = closing - opening;
  lines->Append(std::move(line));
}

// N accounts over the sections, each section led by its total row.
void GenerateLines(int accounts, AccountLineList* lines) {
  struct Section {
    std::uint32_t total;
    const char* name;
  };
  const Section sections[] = {
      {0x80880000, "流動資産"},   {0x80848000, "有形固定資産"}, {0x80844000, "無形固定資産"},
      {0x80842000, "投資等"},     {0x80820000, "繰延資産"},     {0x80480000, "流動負債"},
      {0x80440000, "固定負債"},   {0x40888000, "売上高"},       {0x40884000, "売上原価"},
      {0x40882000, "販管費"},     {0x40848000, "営業外収益"},   {0x40844000, "営業外費用"},
      {0x40480000, "特別利益"},   {0x40440000, "特別損失"},     {0x20800000, "材料費"},
      {0x20400000, "労務費"},     {0x20200000, "製造経費"},
  };
  const int per_section = std::max(1, accounts / static_cast<int>(std::size(sections)));
  int code = 1000;
  std::uint32_t seed = 12345;
  auto next = [&seed] { return seed = seed * 1103515245u + 12345u; };
  for (const Section& section : sections) {
    Add(lines, code++, std::string(section.name) + "合計", section.total, 2,
        static_cast<std::int64_t>(next() % 900000000) * kYen);
    for (int i = 0; i < per_section; ++i) {
      std::string name = std::string(section.name) + "（" + std::to_string(i) + "）";
      if (i % 10 == 3) name = "A&B<" + std::to_string(i) + ">商事";
      std::int64_t closing = static_cast<std::int64_t>(next() % 2000000000) * 10 - 5000000000LL;
      Add(lines, code++, name, section.total | (1u + static_cast<std::uint32_t>(i % 200)), 0, closing);
    }
  }
  const std::uint32_t subtotals[] = {0x80800000, 0x80840000, 0x80400000, 0x80200000, 0x40880008,
                                     0x40880000, 0x40800000, 0x40200080, 0x40200040, 0x20080000,
                                     0x20100008, 0x40884200};
  for (std::uint32_t nature : subtotals) Add(lines, code++, "小計", nature, 2, 123456789 * kYen, 0);
  Add(lines, code++, "法人税等", 0x40200001, 0, 300000 * kYen);
  Add(lines, code++, "資本金", 0x80288000, 0, 10000000 * kYen, 10000000 * kYen);
  Add(lines, code++, "別途積立金", 0x80281040, 0, 500000 * kYen, 400000 * kYen);
  Add(lines, code++, "繰越利益剰余金", 0x80281048, 0, 9000000 * kYen, 7000000 * kYen);
}

// (<chrono> cannot be compiled with the CP932 execution character set.)
// Wall time, and the CPU time (user and system) of this thread, which a
// busy machine disturbs less.
struct Instant {
  double wall;
  double cpu;
};
double Seconds(clockid_t clock) {
  timespec ts;
  clock_gettime(clock, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}
Instant Now() { return {Seconds(CLOCK_MONOTONIC), Seconds(CLOCK_THREAD_CPUTIME_ID)}; }

struct Samples {
  std::vector<double> wall, cpu;
  void Add(const Instant& from, const Instant& to) {
    wall.push_back(to.wall - from.wall);
    cpu.push_back(to.cpu - from.cpu);
  }
};

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// One element of the finished report, in libxml2's UTF-8.
struct Event {
  enum Kind { kStart, kEnd, kElement } kind;
  std::string name;
  std::vector<std::pair<std::string, std::string>> attributes;
  std::string text;
};

std::string Unescape(std::string_view s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '&') {
      out.push_back(s[i]);
      continue;
    }
    std::size_t end = s.find(';', i);
    std::string_view entity = s.substr(i, end - i + 1);
    out.push_back(entity == "&amp;" ? '&' : entity == "&lt;" ? '<' : entity == "&gt;" ? '>'
                  : entity == "&quot;" ? '"' : '\'');
    i = end;
  }
  return stmtlink::ToUtf8(out);
}

// Reads the report's own line format back into elements.
std::vector<Event> ReadEvents(const std::string& report) {
  std::vector<Event> events;
  std::size_t pos = 0;
  while (pos < report.size()) {
    std::size_t eol = report.find("\r\n", pos);
    std::string_view line(report.data() + pos, eol - pos);
    pos = eol + 2;
    line.remove_prefix(std::min(line.find_first_not_of('\t'), line.size()));
    if (line.starts_with("<?")) continue;
    Event event;
    if (line.starts_with("</")) {
      event.kind = Event::kEnd;
      events.push_back(event);
      continue;
    }
    std::size_t tag_end = line.find('>');
    std::string_view tag = line.substr(1, tag_end - 1);
    std::size_t space = tag.find(' ');
    event.name = std::string(tag.substr(0, space));
    while (space != std::string_view::npos) {
      std::size_t eq = tag.find('=', space);
      std::size_t close = tag.find('"', eq + 2);
      event.attributes.emplace_back(std::string(tag.substr(space + 1, eq - space - 1)),
                                    Unescape(tag.substr(eq + 2, close - eq - 2)));
      space = tag.find(' ', close);
    }
    if (tag_end + 1 == line.size()) {
      event.kind = Event::kStart;
    } else {
      event.kind = Event::kElement;
      std::size_t text_end = line.rfind("</");
      event.text = Unescape(line.substr(tag_end + 1, text_end - tag_end - 1));
    }
    events.push_back(std::move(event));
  }
  return events;
}

bool WriteWithLibxml2(const std::vector<Event>& events, const std::string& path) {
  xmlTextWriterPtr w = xmlNewTextWriterFilename(path.c_str(), 0);
  if (w == nullptr) return false;
  bool ok = xmlTextWriterSetIndent(w, 1) >= 0 &&
            xmlTextWriterSetIndentString(w, BAD_CAST "\t") >= 0 &&
            xmlTextWriterStartDocument(w, "1.0", "Shift_JIS", nullptr) >= 0;
  auto x = [](const std::string& s) { return BAD_CAST s.c_str(); };
  for (const Event& e : events) {
    if (!ok) break;
    if (e.kind == Event::kEnd) {
      ok = xmlTextWriterFullEndElement(w) >= 0;
      continue;
    }
    ok = xmlTextWriterStartElement(w, x(e.name)) >= 0;
    for (const auto& [name, value] : e.attributes)
      ok = ok && xmlTextWriterWriteAttribute(w, x(name), x(value)) >= 0;
    if (e.kind == Event::kElement)
      ok = ok && xmlTextWriterWriteString(w, x(e.text)) >= 0 && xmlTextWriterFullEndElement(w) >= 0;
  }
  ok = ok && xmlTextWriterEndDocument(w) >= 0;
  xmlFreeTextWriter(w);
  return ok;
}

} // namespace

constexpr const char* kUsage =
    "usage: stmtlink_bench_report [--accounts 5000] [--runs 15]\n"
    "Writes a report of that many accounts with this program's writer, with libxml2's\n"
    "xmlTextWriter and as a plain copy, and prints the median times.\n";

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::fputs(kUsage, stdout);
      return 0;
    }
  }
  int accounts = 5000;
  int runs = 15;
  bool understood = true;
  for (int i = 1; i < argc; i += 2) {
    if (i + 1 < argc && std::strcmp(argv[i], "--accounts") == 0) accounts = std::atoi(argv[i + 1]);
    else if (i + 1 < argc && std::strcmp(argv[i], "--runs") == 0) runs = std::atoi(argv[i + 1]);
    else understood = false;
  }
  if (!understood || accounts < 1 || runs < 1) {
    std::fputs(kUsage, stderr);
    return 2;
  }

  std::string dir = (std::filesystem::temp_directory_path() / "stmtlink-report-bench-XXXXXX").string();
  if (mkdtemp(dir.data()) == nullptr) return 2;
  stmtlink::SetHostHome(dir);
  stmtlink::ReloadDriveMap();
  std::filesystem::current_path(dir); // no SUPPORT.INF: the edition's defaults
  const std::string ours_path = dir + "/ours.xml";
  const std::string peer_path = dir + "/peer.xml";
  const std::string copy_path = dir + "/copy.xml";
  std::string windows_path;
  if (!stmtlink::LinuxToWindowsPath(ours_path, &windows_path)) return 2;

  AccountLineList lines;
  GenerateLines(accounts, &lines);
  StDATAINFO data{};
  std::strcpy(data.companyNameText, "ﾍﾞﾝﾁﾏｰｸ商事(株)");
  data.periodStart = 20250401;
  data.periodEnd = 20260331;
  data.keepsMfgSchedule = 1;
  stmtlink::ReportWriter report;
  report.lines = &lines;

  if (report.WriteReport(windows_path.c_str(), 7, &data) != 1) {
    std::fprintf(stderr, "the report could not be written\n");
    return 1;
  }
  std::string finished;
  {
    FILE* f = std::fopen(ours_path.c_str(), "rb");
    char buffer[65536];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof(buffer), f)) > 0;) finished.append(buffer, n);
    std::fclose(f);
  }
  const std::vector<Event> events = ReadEvents(finished);

  Samples ours, peer, floor;
  for (int r = 0; r < runs; ++r) {
    Instant t0 = Now();
    if (report.WriteReport(windows_path.c_str(), 7, &data) != 1) return 1;
    Instant t1 = Now();
    if (!WriteWithLibxml2(events, peer_path)) return 1;
    Instant t2 = Now();
    std::filesystem::copy_file(ours_path, copy_path, std::filesystem::copy_options::overwrite_existing);
    Instant t3 = Now();
    ours.Add(t0, t1);
    peer.Add(t1, t2);
    floor.Add(t2, t3);
  }
  std::printf("report of %zu statement lines, %zu elements, %zu bytes; median of %d runs\n",
              lines.size(), events.size(), finished.size(), runs);
  std::printf("                          wall ms    cpu ms\n");
  auto row = [](const char* what, const Samples& s) {
    std::printf("  %-22s %8.3f  %8.3f\n", what, Median(s.wall) * 1e3, Median(s.cpu) * 1e3);
  };
  row("this writer", ours);
  row("xmlTextWriter (peer)", peer);
  row("file copy (floor)", floor);
  double wall_peer = Median(ours.wall) / Median(peer.wall);
  double cpu_peer = Median(ours.cpu) / Median(peer.cpu);
  std::printf("  ours/peer  = %.2f wall, %.2f cpu\n", wall_peer, cpu_peer);
  std::printf("  ours/floor = %.2f wall, %.2f cpu\n", Median(ours.wall) / Median(floor.wall),
              Median(ours.cpu) / Median(floor.cpu));
  std::printf("  target: no slower than the peer -- %s\n",
              wall_peer <= 1.0 && cpu_peer <= 1.0 ? "met" : "NOT met");
  std::filesystem::remove_all(dir);
  return 0;
}
