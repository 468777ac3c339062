// The files stmtlink-report reads and writes: an output replaces its target
// only when whole and is never one of the inputs; only regular files are
// read, and the rest is refused at once (a FIFO would hang the tool); the
// system's reasons and the parser's faults are told in Japanese, at the line
// of the node that holds them; a DOCTYPE, its entities and XInclude are
// refused or ignored without reading what they name.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <regex>
#include <set>

#include "tests/report_tool/report_fixture.h"
#include "tests/support/program_runner.h"
#include "tests/support/temp_dir.h"
#include "tools/report/parser_reasons.h"
#include "tools/report/quoted_text.h"

namespace stmtlink::report {
namespace {

using stmtlink::testing::BuiltProgram;
using stmtlink::testing::ProgramRun;
using stmtlink::testing::ReadTextFile;
using stmtlink::testing::RunProgram;
using stmtlink::testing::WriteTextFile;

const char kDeclaration[] = "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n";

// Runs the tool under a time bound: a command that waits on a FIFO ends
// with timeout's 124 instead of hanging the test.
ProgramRun RunTool(const std::vector<std::string>& args, double* seconds = nullptr) {
  std::vector<std::string> bounded = {"20", BuiltProgram("stmtlink-report")};
  bounded.insert(bounded.end(), args.begin(), args.end());
  const auto start = std::chrono::steady_clock::now();
  ProgramRun run = RunProgram("/usr/bin/timeout", bounded, {"QT_QPA_PLATFORM=offscreen"});
  if (seconds)
    *seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return run;
}

// Temporaries left in a folder (".<name>.<pid>-<n>.tmp").
std::vector<std::string> LeftTemporaries(const std::string& folder) {
  std::vector<std::string> left;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (name.size() > 4 && name[0] == '.' && name.compare(name.size() - 4, 4, ".tmp") == 0)
      left.push_back(name);
  }
  return left;
}

// The words of every strerror text ("no", "such", "file", ...), lower case.
const std::set<std::string>& StrerrorWords() {
  static const std::set<std::string> words = [] {
    std::set<std::string> out;
    for (int e = 1; e < 134; ++e) {
      std::string text = std::strerror(e);
      for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      const std::regex word("[a-z]{2,}");
      for (auto it = std::sregex_iterator(text.begin(), text.end(), word); it != std::sregex_iterator(); ++it)
        out.insert(it->str());
    }
    return out;
  }();
  return words;
}

// The ASCII words of text (the given paths taken out) that strerror uses.
std::vector<std::string> StrerrorWordsIn(std::string text, const std::vector<std::string>& paths) {
  for (const std::string& path : paths)
    for (std::size_t at; !path.empty() && (at = text.find(path)) != std::string::npos;) text.erase(at, path.size());
  std::vector<std::string> found;
  const std::regex word("[A-Za-z]+");
  for (auto it = std::sregex_iterator(text.begin(), text.end(), word); it != std::sregex_iterator(); ++it) {
    std::string w = it->str();
    for (char& c : w) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (StrerrorWords().count(w)) found.push_back(it->str());
  }
  return found;
}

class ReportFiles : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir = new stmtlink::testing::TempDir;
    std::string why;
    report = testing::SampleReport(dir->path(), "f", {"--seed", "5"}, {}, &why);
    ASSERT_FALSE(report.empty()) << why;
  }
  static void TearDownTestSuite() { delete dir; }
  static stmtlink::testing::TempDir* dir;
  static std::string report;
  stmtlink::testing::TempDir here;
};
stmtlink::testing::TempDir* ReportFiles::dir = nullptr;
std::string ReportFiles::report;

TEST_F(ReportFiles, OutputReplacesItsTargetOnlyWhenWholeAndIsNeverAnInput) {
  const std::string bytes = ReadTextFile(report);
  const std::string copy = here.File("r.xml");
  ASSERT_TRUE(WriteTextFile(copy, bytes));
  const std::string broken = here.File("broken.xml");
  ASSERT_TRUE(WriteTextFile(broken, bytes.substr(0, bytes.size() / 2)));

  // A refused input leaves an earlier output exactly as it was.
  for (const char* command : {"html", "pdf"}) {
    SCOPED_TRACE(command);
    const std::string out = here.File(std::string("earlier.") + command);
    ASSERT_TRUE(WriteTextFile(out, "earlier"));
    EXPECT_EQ(2, RunTool({command, broken, "-o", out}).exit_status);
    EXPECT_EQ("earlier", ReadTextFile(out));
    EXPECT_EQ(2, RunTool({command, copy, "--previous", broken, "-o", out}).exit_status);
    EXPECT_EQ("earlier", ReadTextFile(out));
    // A whole output replaces it.
    EXPECT_EQ(0, RunTool({command, copy, "-o", out}).exit_status);
    EXPECT_EQ(std::string(command) == "pdf" ? "%PDF" : "<!DO", ReadTextFile(out).substr(0, 4));
  }

  // An output that is an input, by any name, is refused in words.
  ASSERT_EQ(0, symlink(copy.c_str(), here.File("link.xml").c_str()));
  ASSERT_EQ(0, link(copy.c_str(), here.File("hard.xml").c_str()));
  std::filesystem::create_directory(here.File("sub"));
  const std::string previous = here.File("previous.xml");
  ASSERT_TRUE(WriteTextFile(previous, bytes));
  const std::vector<std::vector<std::string>> same = {
      {"html", copy, "-o", copy},
      {"pdf", copy, "-o", copy},
      {"html", copy, "-o", here.File("link.xml")},
      {"pdf", copy, "-o", here.File("hard.xml")},
      {"html", copy, "-o", here.File("sub/../r.xml")},
      {"html", copy, "--previous", previous, "-o", previous},
  };
  for (const auto& args : same) {
    SCOPED_TRACE(args[0] + " -o " + args.back());
    const ProgramRun run = RunTool(args);
    EXPECT_EQ(2, run.exit_status);
    EXPECT_NE(std::string::npos, run.err.find("同じです")) << run.err;
  }
  EXPECT_EQ(bytes, ReadTextFile(copy));
  EXPECT_EQ(bytes, ReadTextFile(previous));

  // Targets that cannot be written are told, with their reason.
  const ProgramRun folder = RunTool({"html", copy, "-o", here.File("sub")});
  EXPECT_EQ(2, folder.exit_status);
  EXPECT_NE(std::string::npos, folder.err.find("フォルダーです")) << folder.err;
  const ProgramRun missing = RunTool({"pdf", copy, "-o", here.File("none/out.pdf")});
  EXPECT_EQ(2, missing.exit_status);
  EXPECT_NE(std::string::npos, missing.err.find("フォルダーがありません")) << missing.err;
  EXPECT_EQ(std::string::npos, missing.err.find("QPainter")) << missing.err;

  EXPECT_TRUE(LeftTemporaries(here.path()).empty());
  EXPECT_TRUE(LeftTemporaries(here.File("sub")).empty());
}

TEST_F(ReportFiles, InputsThatAreNotRegularFilesAreRefusedAtOnce) {
  const std::string fifo = here.File("fifo.xml");
  ASSERT_EQ(0, mkfifo(fifo.c_str(), 0600));
  const std::string out = here.File("out.html");
  struct Case {
    std::vector<std::string> args;
    std::string reason;
  };
  const std::vector<Case> cases = {
      {{"check", fifo}, "名前付きパイプ"},
      {{"check", "--json", fifo}, "名前付きパイプ"},
      {{"check", report, "--schema", fifo}, "名前付きパイプ"},
      {{"html", fifo}, "名前付きパイプ"},
      {{"html", fifo, "-o", out}, "名前付きパイプ"},
      {{"pdf", fifo, "-o", here.File("out.pdf")}, "名前付きパイプ"},
      {{"diff", fifo, report}, "名前付きパイプ"},
      {{"diff", report, fifo}, "名前付きパイプ"},
      {{"html", report, "--previous", fifo}, "名前付きパイプ"},
      {{"view", report, "--previous", fifo}, "名前付きパイプ"},
      {{"view", fifo, "--screenshot", here.File("v.png")}, ""},
      {{"check", "/dev/zero"}, "装置"},
      {{"html", here.path()}, "フォルダーです"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args[0] + " " + c.args[1] + " " + c.args.back());
    double seconds = 0;
    const ProgramRun run = RunTool(c.args, &seconds);
    EXPECT_EQ(2, run.exit_status) << run.out << run.err;
    EXPECT_LT(seconds, 10.0);
    EXPECT_NE(std::string::npos, (run.out + run.err).find(c.reason)) << run.out << run.err;
  }
  EXPECT_FALSE(std::filesystem::exists(out));
}

TEST_F(ReportFiles, SystemReasonsAreToldInJapanese) {
  const std::string fifo = here.File("pipe.xml");
  ASSERT_EQ(0, mkfifo(fifo.c_str(), 0600));
  const std::string missing = here.File("missing.xml");
  struct Case {
    std::string path, reason;
  };
  const std::vector<Case> cases = {
      {missing, "ファイルがありません"},
      {here.path(), "フォルダーです"},
      {fifo, "通常のファイルではありません"},
  };
  for (const Case& c : cases) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"check", c.path}, {"html", c.path}, {"diff", report, c.path}}) {
      SCOPED_TRACE(args[0] + " " + c.path);
      const ProgramRun run = RunTool(args);
      EXPECT_EQ(2, run.exit_status);
      const std::string said = run.out + run.err;
      EXPECT_NE(std::string::npos, said.find(c.reason)) << said;
      EXPECT_EQ(std::vector<std::string>{}, StrerrorWordsIn(said, {c.path, report}));
    }
    const ProgramRun json = RunTool({"check", "--json", c.path});
    const std::size_t refusal = json.out.find("\"refusal\":\"");
    ASSERT_NE(std::string::npos, refusal) << json.out;
    EXPECT_EQ(json.out.compare(refusal + 11, c.reason.size(), c.reason), 0) << json.out;
  }
  // An output that cannot be written, in the same words.
  const ProgramRun out = RunTool({"html", report, "-o", here.File("no/such/out.html")});
  EXPECT_EQ(2, out.exit_status);
  EXPECT_EQ(std::vector<std::string>{}, StrerrorWordsIn(out.err, {here.File("no/such/out.html")}));
  // And the help holds no English sentence: only names of commands,
  // options and formats.
  const ProgramRun help = RunTool({"--help"});
  const std::regex sentence("[A-Za-z]+ [a-z]+ [a-z]+");
  EXPECT_FALSE(std::regex_search(help.out, sentence)) << help.out;
  EXPECT_EQ(std::vector<std::string>{}, StrerrorWordsIn(help.out, {}));
}

TEST_F(ReportFiles, PermissionsAreToldInJapanese) {
  // Root may read and write anything: as root the tool runs as nobody.
  std::vector<std::string> prefix;
  if (geteuid() == 0) {
    if (access("/usr/bin/setpriv", X_OK) != 0) GTEST_SKIP() << "run as root without setpriv";
    prefix = {"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"};
  }
  ASSERT_EQ(0, chmod(here.path().c_str(), 0755));
  const std::string readable = here.File("open.xml"), closed = here.File("closed.xml");
  ASSERT_TRUE(WriteTextFile(readable, ReadTextFile(report)));
  ASSERT_TRUE(WriteTextFile(closed, ReadTextFile(report)));
  ASSERT_EQ(0, chmod(readable.c_str(), 0644));
  ASSERT_EQ(0, chmod(closed.c_str(), 0));
  std::filesystem::create_directory(here.File("shut"));
  ASSERT_EQ(0, chmod(here.File("shut").c_str(), 0555));
  const std::string tool = BuiltProgram("stmtlink-report");
  struct Case {
    std::vector<std::string> args;
    std::string reason;
  } const cases[] = {
      {{"check", closed}, "読む権限がありません"},
      {{"html", closed}, "読む権限がありません"},
      {{"html", readable, "-o", here.File("shut/out.html")}, "書く権限がありません"},
      {{"pdf", readable, "-o", here.File("shut/out.pdf")}, "書く権限がありません"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args[0] + " " + c.args.back());
    std::vector<std::string> args = prefix;
    args.insert(args.end(), {"/usr/bin/timeout", "20", tool});
    args.insert(args.end(), c.args.begin(), c.args.end());
    const ProgramRun run = RunProgram(args.front(), {args.begin() + 1, args.end()},
                                      {"QT_QPA_PLATFORM=offscreen"});
    EXPECT_EQ(2, run.exit_status);
    EXPECT_NE(std::string::npos, (run.out + run.err).find(c.reason)) << run.out << run.err;
    EXPECT_EQ(std::vector<std::string>{}, StrerrorWordsIn(run.out + run.err, {c.args[1], c.args.back()}));
  }
  EXPECT_TRUE(std::filesystem::is_empty(here.File("shut")));
}

TEST_F(ReportFiles, DeclarationsAndReferencesAreRefusedAtTheirOwnLine) {
  // A DOCTYPE after a comment of many lines, beyond the parser's first
  // block: named at its own line, the same on every run.
  std::string comment = "<!-- ";
  for (int i = 0; i < 2000; ++i) comment += "line\r\n";
  comment += "-->\r\n";
  const std::string doctype = here.File("doctype.xml");
  ASSERT_TRUE(WriteTextFile(doctype, kDeclaration + comment +
                                         "<!DOCTYPE REPORT SYSTEM \"http://example.invalid/r.dtd\">\r\n"
                                         "<REPORT/>\r\n"));
  for (int run = 0; run < 5; ++run) {
    ReadResult read;
    EXPECT_FALSE(ReadReport(doctype, ReadOptions{}, &read));
    EXPECT_EQ(Refusal::kNotReport, read.refusal);
    EXPECT_EQ(2003, read.refusal_place.line); // the declaration, 2,000 lines of comment, "-->"
  }

  // What a DOCTYPE or an XInclude names is never read: here a FIFO, which
  // would keep the tool waiting.
  const std::string fifo = here.File("named.fifo");
  ASSERT_EQ(0, mkfifo(fifo.c_str(), 0600));
  const std::string lol = "<!ENTITY a \"aaaaaaaaaa\">\r\n<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;\">\r\n"
                          "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;\">\r\n";
  struct Case {
    const char* what;
    std::string text;
    long line;
  };
  const Case cases[] = {
      {"external entity", "<!DOCTYPE REPORT [\r\n<!ENTITY x SYSTEM \"" + fifo + "\">\r\n]>\r\n<REPORT>&x;</REPORT>\r\n", 2},
      {"external DTD", "<!DOCTYPE REPORT SYSTEM \"" + fifo + "\">\r\n<REPORT/>\r\n", 2},
      {"expansion", "<!DOCTYPE REPORT [\r\n" + lol + "]>\r\n<REPORT>&c;&c;&c;</REPORT>\r\n", 0},
      {"XInclude", "<REPORT xmlns:xi=\"http://www.w3.org/2001/XInclude\">\r\n<xi:include href=\"" + fifo +
                       "\" parse=\"text\"/></REPORT>\r\n", 0},
      {"undeclared entity", "<REPORT>\r\n<DATA>&x;</DATA></REPORT>\r\n", 3},
      {"deep nesting", "<REPORT>" + [] { std::string s; for (int i = 0; i < 400; ++i) s += "<a>"; return s; }() + "\r\n", 2},
      {"huge text", "<REPORT><DATA>" + std::string(12'000'000, 'a') + "</DATA></REPORT>\r\n", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string file = here.File("declared.xml");
    ASSERT_TRUE(WriteTextFile(file, kDeclaration + c.text));
    double seconds = 0;
    const ProgramRun run = RunTool({"check", file}, &seconds);
    EXPECT_EQ(2, run.exit_status) << run.out << run.err;
    EXPECT_LT(seconds, 10.0);
    if (c.line > 0) {
      EXPECT_NE(std::string::npos, run.out.find("（" + std::to_string(c.line) + " 行目")) << run.out;
    }
    // The parser's words are told in Japanese, and a deep path is cut.
    EXPECT_EQ(std::string::npos, run.out.find("Entity")) << run.out;
    EXPECT_LT(run.out.size(), 1000u) << run.out;
  }
}

TEST(QuotedText, CutsLongTextsAtACharacterWithAnEllipsis) {
  std::string sixty;
  for (int i = 0; i < 60; ++i) sixty += "勘";
  EXPECT_EQ(sixty, Quoted(sixty));
  EXPECT_EQ(sixty + "…", Quoted(sixty + "定"));
  EXPECT_EQ("ab…", Quoted("abc", 2));
  EXPECT_EQ("現金  預金", Quoted("現金\r\n預金")); // a quote stays on its line
  EXPECT_EQ("a b", Quoted("a\tb"));
  // Half a character at the end of a text is passed on, never split further.
  EXPECT_EQ("a\xE5\x8B", Quoted("a\xE5\x8B", 5));

  // libxml2's words of any form are told without their English.
  EXPECT_EQ("要素 A はここに置けません（ここに置けるのは B, C）。",
            SchemaProblemReason("Element 'A': This element is not expected. Expected is one of ( B, C )."));
  EXPECT_EQ("要素 A がスキーマの定めに合いません。", SchemaProblemReason("Element 'A': Something new."));
  EXPECT_EQ("スキーマの定めに合いません。", SchemaProblemReason("Anything else"));
  const std::string long_name(200, 'n');
  EXPECT_LT(SchemaProblemReason("Element '" + long_name + "': This element is not expected.").size(), 120u);
  EXPECT_EQ(std::string::npos, ParserFaultReason({9999, "x", "y", 0}).find("rror"));
}

} // namespace
} // namespace stmtlink::report
