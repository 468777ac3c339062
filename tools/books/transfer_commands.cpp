#include "tools/books/transfer_commands.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "tools/books/book_values.h"
#include "tools/books/books_export.h"
#include "tools/books/books_language.h"
#include "tools/books/books_import.h"
#include "tools/books/user_text.h"

namespace stmtlink {
namespace {

constexpr int kDone = 0, kFailed = 1, kRefused = 2;

int Refuse(const std::string& message) {
  std::cerr << "stmtlink-books: " << message << "\n"
            << Say("Run 'stmtlink-books --help' for the commands and options.\n",
                   u8"コマンドとオプションは 'stmtlink-books --help' で見られます。\n");
  return kRefused;
}

// Walks "--name VALUE", "--name=VALUE" and flags; calls take(name, value)
// for options with a value and flag(name) for the rest. Returns "" or the
// refusal.
template <typename Take, typename Flag>
std::string WalkOptions(const std::vector<std::string>& args,
                        const std::vector<std::string>& with_value, Take take, Flag flag) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string name = args[i], value;
    bool inline_value = false;
    if (std::size_t eq = name.find('='); name.rfind("--", 0) == 0 && eq != std::string::npos) {
      value = name.substr(eq + 1);
      name = name.substr(0, eq);
      inline_value = true;
    }
    bool needs_value = false;
    for (const std::string& n : with_value) needs_value = needs_value || n == name;
    if (needs_value) {
      if (!inline_value) {
        if (i + 1 >= args.size()) return Say("{0} needs a value", u8"{0} には値が要ります", {name});
        value = args[++i];
      }
      if (std::string why = take(name, value); !why.empty()) return why;
    } else if (inline_value || !flag(name)) {
      return Say("unknown option '{0}'", u8"'{0}' というオプションはありません",
                 {TextForMessage(args[i])});
    }
  }
  return std::string();
}

bool ParsePeriod(const std::string& text, std::int64_t* start, std::int64_t* end) {
  const std::size_t dash = text.find('-', 1);
  if (text.size() != 17 || dash != 8) return false;
  return ParseBookDate(text.substr(0, 8), start) && ParseBookDate(text.substr(9), end) &&
         *start <= *end;
}

} // namespace

// UTF-8, whatever the execution character set, as the terminal shows it.
const char8_t kTransferUsageText[] =
    u8"  import [--home DIR] --journal JOURNAL.csv [--chart CHART.csv]\n"
    "         [--opening OPENING.csv] [--company-file COMPANY.csv] [--notes NOTES.csv]\n"
    "         [--map MAP.csv] [--company NAME] [--period YYYYMMDD-YYYYMMDD]\n"
    "         [--tax-included] [--manufacturing] [--interim]\n"
    "         [--amounts tax-included|tax-excluded] [--tax-rounding down|nearest|up]\n"
    "         [--create-sub-accounts] [--strict]\n"
    "         [--encoding auto|utf-8|cp932] [--replace] | import --from FOLDER ...\n"
    "      Make the books of one company from CSV files (see docs/books.md).\n"
    "      Without --chart the standard chart shipped with the tool is used,\n"
    "      and the journal may name accounts by their usual names (現金,\n"
    "      普通預金, 売上高 ...). The journal is this tool's CSV or the CSV of\n"
    "      'hledger print -O csv'. --map MAP.csv (account, code) turns a\n"
    "      company's own account names (or hledger's) into the chart's.\n"
    "      Without --period: twelve months from the month of the\n"
    "      journal's first line. Every bad value is reported with its file,\n"
    "      line and column, and then nothing is written. A home that has\n"
    "      books is refused unless --replace (the old books stay as\n"
    "      books.db.bak). --from FOLDER takes the files an export wrote.\n"
    "      One import or sample into a home at a time: a second one waits\n"
    "      for the first (at most 60 seconds).\n"
    "      Headings may be Japanese (取引日, 借方勘定科目, 借方補助科目, 借方金額,\n"
    "      借方税区分, 摘要 ...). On lines with a tax category (課税売上10%,\n"
    "      課税仕入8%(軽減) ...) amounts hold the tax (内税) unless the line's\n"
    "      税計算区分 says 外税 or --amounts tax-excluded is given; the tax is\n"
    "      rounded down to the yen unless --tax-rounding says otherwise.\n"
    "      --create-sub-accounts adds the sub-accounts the journal names.\n"
    "      Columns the import does not read (部門, 識別フラグ ...) are skipped\n"
    "      with a notice; --strict refuses them.\n"
    "  export [--home DIR] --out FOLDER [--data N] [--replace]\n"
    "      Write the books of the selected data set (or data set N) as the\n"
    "      CSV files the import reads: company.csv, chart.csv, opening.csv,\n"
    "      journal.csv, notes.csv.\n";
const char* const kTransferUsage = reinterpret_cast<const char*>(kTransferUsageText);

const char8_t kTransferUsageJapaneseText[] =
    u8"  import [--home DIR] --journal 仕訳.csv [--chart 科目.csv]\n"
    u8"         [--opening 期首残高.csv] [--company-file 会社.csv] [--notes 注記.csv]\n"
    u8"         [--map 対応表.csv] [--company 会社名] [--period YYYYMMDD-YYYYMMDD]\n"
    u8"         [--tax-included] [--manufacturing] [--interim]\n"
    u8"         [--amounts tax-included|tax-excluded] [--tax-rounding down|nearest|up]\n"
    u8"         [--create-sub-accounts] [--strict]\n"
    u8"         [--encoding auto|utf-8|cp932] [--replace] | import --from フォルダ ...\n"
    u8"      CSV ファイルから一社の帳簿を作ります (docs/books.md)。\n"
    u8"      --chart がなければ付属の標準勘定科目を使い、仕訳は勘定科目を\n"
    u8"      ふだんの名前 (現金, 普通預金, 売上高 ...) で書けます。仕訳はこの\n"
    u8"      ツールの CSV か 'hledger print -O csv' の CSV です。--map 対応表.csv\n"
    u8"      (account, code) で会社独自の勘定科目名 (または hledger の名前) を\n"
    u8"      勘定科目に読み替えます。--period がなければ、仕訳の最初の月から\n"
    u8"      12 か月が会計期間です。誤りはすべてファイル・行・列を添えて示し、\n"
    u8"      そのときは何も書き込みません。帳簿のあるホームは --replace が\n"
    u8"      なければ断ります (古い帳簿は books.db.bak に残ります)。\n"
    u8"      --from フォルダはエクスポートしたファイルを読みます。一つのホームへの\n"
    u8"      インポートとサンプルは一度に一つで、二つめは最初のものを待ちます\n"
    u8"      (最長 60 秒)。\n"
    u8"      見出しは日本語でも書けます (取引日, 借方勘定科目, 借方補助科目,\n"
    u8"      借方金額, 借方税区分, 摘要 ...)。日付は 2025/4/1, 令和7年4月1日,\n"
    u8"      R7/4/1 などで書けます。税区分 (課税売上10%, 課対仕入8%(軽) ...) の\n"
    u8"      ある行の金額は、税計算区分が外税か --amounts tax-excluded でなければ\n"
    u8"      税込 (内税) です。税額は円未満を切り捨てます (--tax-rounding)。\n"
    u8"      --create-sub-accounts は仕訳が名指す補助科目を追加します。\n"
    u8"      読まない列 (部門, 識別フラグ ...) は読み飛ばして知らせます。\n"
    u8"      --strict ではそれを断ります。--encoding は利用者のファイルに効きます。\n"
    u8"  export [--home DIR] --out フォルダ [--data N] [--replace]\n"
    u8"      選ばれたデータ (または N 番) の帳簿を、インポートが読む CSV\n"
    u8"      (company.csv, chart.csv, opening.csv, journal.csv, notes.csv) に\n"
    u8"      書き出します。\n";
const char* const kTransferUsageJapanese =
    reinterpret_cast<const char*>(kTransferUsageJapaneseText);

int RunImportCommand(const std::vector<std::string>& args, const std::string& default_home) {
  ImportOptions o;
  o.home = default_home;
  std::string from;
  const std::string refusal = WalkOptions(
      args,
      {"--home", "--journal", "--chart", "--opening", "--company-file", "--notes", "--map",
       "--company", "--period", "--encoding", "--from", "--amounts", "--tax-rounding"},
      [&](const std::string& name, const std::string& value) -> std::string {
        if (value.empty()) return Say("{0} needs a value", u8"{0} には値が要ります", {name});
        const std::pair<const char*, std::string*> texts[] = {
            {"--home", &o.home},   {"--journal", &o.journal},      {"--chart", &o.chart},
            {"--opening", &o.opening}, {"--company-file", &o.company}, {"--notes", &o.notes},
            {"--map", &o.map},     {"--company", &o.company_name}, {"--from", &from}};
        for (const auto& [option, text] : texts)
          if (name == option) *text = value;
        if (name == "--period" && !ParsePeriod(value, &o.period_start, &o.period_end))
          return Say("--period needs YYYYMMDD-YYYYMMDD, two calendar days in order",
                     u8"--period には YYYYMMDD-YYYYMMDD (実在する日付を順に二つ) が要ります");
        if (name == "--encoding" && !ParseTextEncoding(value, &o.encoding))
          return Say("--encoding needs auto, utf-8 or cp932",
                     u8"--encoding には auto, utf-8, cp932 のどれかが要ります");
        if (name == "--amounts") {
          if (value != "tax-included" && value != "tax-excluded")
            return Say("--amounts needs tax-included or tax-excluded",
                       u8"--amounts には tax-included か tax-excluded が要ります");
          o.amounts_exclude_tax = value == "tax-excluded";
        }
        if (name == "--tax-rounding") {
          if (value == "down")
            o.tax_rounding = TaxRounding::kDown;
          else if (value == "nearest")
            o.tax_rounding = TaxRounding::kNearest;
          else if (value == "up")
            o.tax_rounding = TaxRounding::kUp;
          else
            return Say("--tax-rounding needs down, nearest or up",
                       u8"--tax-rounding には down, nearest, up のどれかが要ります");
        }
        return std::string();
      },
      [&](const std::string& name) {
        const std::pair<const char*, int*> switches[] = {{"--tax-included", &o.tax_included},
                                                         {"--manufacturing", &o.manufacturing},
                                                         {"--interim", &o.interim}};
        for (const auto& [option, flag] : switches)
          if (name == option) *flag = 1;
        if (name == "--replace") o.replace = true;
        if (name == "--create-sub-accounts") o.create_sub_accounts = true;
        if (name == "--strict") o.strict = true;
        return name == "--replace" || name == "--create-sub-accounts" || name == "--strict" ||
               name == "--tax-included" || name == "--manufacturing" || name == "--interim";
      });
  if (!refusal.empty()) return Refuse(refusal);
  if (!from.empty()) {
    // The files an export wrote (those present, and the journal in any
    // case); options given as well take precedence.
    auto fill = [&](std::string* path, const char* name) {
      std::error_code ec;
      const std::string file = from + "/" + name;
      if (path->empty() && (std::filesystem::exists(file, ec) || path == &o.journal)) *path = file;
    };
    fill(&o.company, "company.csv");
    fill(&o.chart, "chart.csv");
    fill(&o.opening, "opening.csv");
    fill(&o.journal, "journal.csv");
    fill(&o.notes, "notes.csv");
  }
  if (o.home.empty())
    return Refuse(Say("no host home: give --home DIR or set STMTLINK_HOME",
                      u8"ホームがありません: --home DIR か STMTLINK_HOME で指定してください"));
  o.on_wait = [](const std::string& message) {
    std::cerr << "stmtlink-books: " << message << std::endl;
  };
  std::string summary, messages;
  const ImportStatus status = ImportBooks(o, &summary, &messages);
  if (status == ImportStatus::kImported) {
    std::cout << summary;
    return kDone;
  }
  std::cerr << messages;
  return status == ImportStatus::kRefused ? kRefused : kFailed;
}

int RunExportCommand(const std::vector<std::string>& args, const std::string& default_home) {
  ExportOptions o;
  o.home = default_home;
  const std::string refusal = WalkOptions(
      args, {"--home", "--out", "--data"},
      [&](const std::string& name, const std::string& value) -> std::string {
        if (name == "--home")
          o.home = value;
        else if (name == "--out")
          o.folder = value;
        else if (name == "--data") {
          o.data_no = std::atoll(value.c_str());
          if (o.data_no < 1 || value.find_first_not_of("0123456789") != std::string::npos)
            return Say("--data needs a data set number", u8"--data にはデータの番号が要ります");
        }
        return value.empty() ? Say("{0} needs a value", u8"{0} には値が要ります", {name})
                             : std::string();
      },
      [&](const std::string& name) {
        if (name != "--replace") return false;
        o.replace = true;
        return true;
      });
  if (!refusal.empty()) return Refuse(refusal);
  if (o.folder.empty())
    return Refuse(Say("export needs --out FOLDER", u8"export には --out フォルダ が要ります"));
  if (o.home.empty())
    return Refuse(Say("no host home: give --home DIR or set STMTLINK_HOME",
                      u8"ホームがありません: --home DIR か STMTLINK_HOME で指定してください"));
  std::string summary, error;
  if (!ExportBooks(o, &summary, &error)) {
    std::cerr << "stmtlink-books: " << error << "\n";
    return error.find("--replace") != std::string::npos ? kRefused : kFailed;
  }
  std::cout << summary;
  return kDone;
}

} // namespace stmtlink
