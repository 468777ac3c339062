// stmtlink-books: creates and inspects the host home of the host substitute.
//   stmtlink-books sample [--home DIR] [--seed N] [--force] [--entries N | --lines N]
//                         [--accounts N] [--manufacturing] [--interim] [--unclassified]
//                         [--tax-included] [--balanced-compound P]
//   stmtlink-books info [--home DIR]
//   stmtlink-books import ... | export ...  (tools/books/transfer_commands.h)
// Exit status: 0 done, 1 failed, 2 refused (bad command line, books present).
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "tools/books/books_language.h"
#include "tools/books/home_info.h"
#include "tools/books/sample_books.h"
#include "tools/books/transfer_commands.h"
#include "tools/books/user_text.h"

namespace {

constexpr int kExitDone = 0;
constexpr int kExitFailed = 1;
constexpr int kExitRefused = 2;

const char kUsage[] =
    "Usage: stmtlink-books COMMAND [OPTIONS]\n"
    "\n"
    "Creates and inspects the host home: the books (books.db), host.ini and\n"
    "drive C (drive_c/) that the statement link program reads.\n"
    "\n"
    "Commands:\n"
    "  sample [--home DIR] [--seed N] [--force] [SCALE AND CONTENT OPTIONS]\n"
    "      Write a sample company's books and host.ini into DIR (made when\n"
    "      missing). Refuses a home that already has books.db unless --force.\n"
    "      The same options and seed always give the same books.\n"
    "        --entries N      ordinary entries over the year (default 1200);\n"
    "                         year-end adjustments come on top\n"
    "        --lines N        instead: entries until the journal has N lines\n"
    "        --accounts N     extra expense accounts and customer and supplier\n"
    "                         sub-accounts until the account master has N rows\n"
    "        --manufacturing  keep a schedule of cost of goods manufactured\n"
    "        --interim        an interim closing, with adjustments in slot 14\n"
    "        --unclassified   accounts with the unclassified noncurrent-asset\n"
    "                         codes 0x80840000, 0x80840008, 0x80840004\n"
    "        --tax-included   the data set's amounts include consumption tax\n"
    "        --balanced-compound P\n"
    "                         about P per cent of the journal's lines are later\n"
    "                         lines of entries with several accounts on both\n"
    "                         sides whose every line balances (0 to 50)\n"
    "      The year's profit reaches net assets through 繰越利益剰余金, a\n"
    "      computed item holding the earlier years' retained earnings and the\n"
    "      income-statement accounts; the books balance at every month end.\n"
    "  info [--home DIR]\n"
    "      List the data sets of the books and the user's selection.\n"
    "%TRANSFER%"
    "  --help\n"
    "      Show this text.\n"
    "\n"
    "DIR defaults to $STMTLINK_HOME, else ~/.local/share/stmtlink.\n"
    "The tool speaks Japanese unless LANG (or LC_MESSAGES) starts with en.\n";

const char8_t kUsageJapanese[] =
    u8"使い方: stmtlink-books コマンド [オプション]\n"
    u8"\n"
    u8"ホーム (帳簿 books.db, host.ini, 決算書連動プログラムが読む C ドライブ\n"
    u8"drive_c/) を作り、中を見ます。\n"
    u8"\n"
    u8"コマンド:\n"
    u8"  sample [--home DIR] [--seed N] [--force] [規模と内容のオプション]\n"
    u8"      サンプル会社の帳簿と host.ini を DIR (なければ作ります) に書きます。\n"
    u8"      books.db のあるホームは --force がなければ断ります。同じオプションと\n"
    u8"      シードからは、いつも同じ帳簿ができます。\n"
    u8"        --entries N      一年の通常の仕訳の数 (既定 1200)。決算整理仕訳は別\n"
    u8"        --lines N        代わりに、仕訳の行が N 行になるまで仕訳を作ります\n"
    u8"        --accounts N     勘定科目が N 行になるまで経費の科目と得意先・\n"
    u8"                         仕入先の補助科目を足します\n"
    u8"        --manufacturing  製造原価報告書を作る会社にします\n"
    u8"        --interim        中間決算があり、その整理仕訳は区分 14 に入ります\n"
    u8"        --unclassified   未分類の固定資産コード 0x80840000, 0x80840008,\n"
    u8"                         0x80840004 の勘定科目を含めます\n"
    u8"        --tax-included   税込経理のデータにします\n"
    u8"        --balanced-compound P\n"
    u8"                         仕訳の行のおよそ P% を、借方にも貸方にも科目が\n"
    u8"                         並び各行が貸借一致する複合仕訳の二行目以降に\n"
    u8"                         します (0 から 50)\n"
    u8"      当期の利益は、前期までの利益と損益の科目をまとめる計算科目\n"
    u8"      繰越利益剰余金を通して純資産に入り、帳簿は毎月末に貸借が一致します。\n"
    u8"  info [--home DIR]\n"
    u8"      帳簿のデータと利用者の選択を一覧します。\n"
    u8"%TRANSFER%"
    u8"  --help\n"
    u8"      この説明を出します。\n"
    u8"\n"
    u8"DIR の既定は $STMTLINK_HOME、なければ ~/.local/share/stmtlink です。\n"
    u8"環境変数 LANG (または LC_MESSAGES) が en で始まると英語で話します。\n";

struct CommandLine {
  std::string command;
  std::string home;
  bool has_seed = false;
  std::uint32_t seed = 1;
  bool force = false;
  stmtlink::SampleOptions sample;
};

int Refuse(const std::string& message) {
  std::cerr << "stmtlink-books: " << message << "\n"
            << stmtlink::Say("Run 'stmtlink-books --help' for the commands and options.\n",
                             u8"コマンドとオプションは 'stmtlink-books --help' で見られます。\n");
  return kExitRefused;
}

bool ParseSeed(const std::string& text, std::uint32_t* seed) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return false;
  errno = 0;
  unsigned long long value = std::strtoull(text.c_str(), nullptr, 10);
  if (errno != 0 || value > 0xFFFFFFFFull) return false;
  *seed = static_cast<std::uint32_t>(value);
  return true;
}

std::string DefaultHome() {
  if (const char* env = std::getenv("STMTLINK_HOME"); env && *env) return env;
  if (const char* home = std::getenv("HOME"); home && *home)
    return std::string(home) + "/.local/share/stmtlink";
  return std::string();
}

// Parses argv into *line; on a refusal returns false with *message set.
bool Parse(const std::vector<std::string>& args, CommandLine* line, std::string* message) {
  if (args.empty()) {
    *message = stmtlink::Say("no command given", u8"コマンドがありません");
    return false;
  }
  line->command = args[0];
  if (line->command != "sample" && line->command != "info") {
    *message = stmtlink::Say("unknown command '{0}'", u8"'{0}' というコマンドはありません",
                             {stmtlink::TextForMessage(line->command)});
    return false;
  }
  for (std::size_t i = 1; i < args.size(); ++i) {
    std::string name = args[i];
    std::string value;
    bool has_value = false;
    // Both "--home DIR" and "--home=DIR".
    if (std::size_t eq = name.find('='); name.rfind("--", 0) == 0 && eq != std::string::npos) {
      value = name.substr(eq + 1);
      name = name.substr(0, eq);
      has_value = true;
    }
    auto take_value = [&](std::string* out) {
      if (has_value) {
        *out = value;
        return true;
      }
      if (i + 1 >= args.size()) return false;
      *out = args[++i];
      return true;
    };
    bool for_sample = line->command == "sample";
    if (name == "--home") {
      if (!take_value(&line->home) || line->home.empty()) {
        *message = stmtlink::Say("--home needs a folder", u8"--home にはフォルダが要ります");
        return false;
      }
    } else if (name == "--seed" && for_sample) {
      std::string text;
      if (!take_value(&text) || !ParseSeed(text, &line->seed)) {
        *message = stmtlink::Say("--seed needs a whole number from 0 to 4294967295",
                                 u8"--seed には 0 から 4294967295 の整数が要ります");
        return false;
      }
      line->has_seed = true;
    } else if (name == "--force" && for_sample && !has_value) {
      line->force = true;
    } else if ((name == "--entries" || name == "--accounts" || name == "--lines") && for_sample) {
      std::string text;
      std::uint32_t number = 0;
      if (!take_value(&text) || !ParseSeed(text, &number)) {
        *message = stmtlink::Say("{0} needs a whole number from 0 to 4294967295",
                                 u8"{0} には 0 から 4294967295 の整数が要ります", {name});
        return false;
      }
      if (name == "--entries") line->sample.entries = number;
      if (name == "--accounts") line->sample.accounts = number;
      if (name == "--lines") line->sample.lines = number;
    } else if (name == "--balanced-compound" && for_sample) {
      std::string text;
      std::uint32_t percent = 0;
      if (!take_value(&text) || !ParseSeed(text, &percent) || percent > 50) {
        *message = stmtlink::Say("{0} needs a whole number from 0 to 50",
                                 u8"{0} には 0 から 50 の整数が要ります", {name});
        return false;
      }
      line->sample.balanced_compound_percent = percent;
    } else if (name == "--manufacturing" && for_sample && !has_value) {
      line->sample.manufacturing = true;
    } else if (name == "--interim" && for_sample && !has_value) {
      line->sample.interim = true;
    } else if (name == "--unclassified" && for_sample && !has_value) {
      line->sample.unclassified = true;
    } else if (name == "--tax-included" && for_sample && !has_value) {
      line->sample.tax_included = true;
    } else {
      *message = stmtlink::Say("unknown option '{0}' for '{1}'",
                               u8"'{1}' に '{0}' というオプションはありません",
                               {stmtlink::TextForMessage(args[i]), line->command});
      return false;
    }
  }
  if (line->home.empty()) line->home = DefaultHome();
  if (line->home.empty()) {
    *message = stmtlink::Say("no host home: give --home DIR or set STMTLINK_HOME",
                             u8"ホームがありません: --home DIR か STMTLINK_HOME で指定してください");
    return false;
  }
  return true;
}

int RunSample(const CommandLine& line) {
  stmtlink::SampleOptions options = line.sample;
  options.home = line.home;
  options.seed = line.seed;
  options.force = line.force;
  options.on_wait = [](const std::string& message) {
    std::cerr << "stmtlink-books: " << message << std::endl;
  };
  std::string error;
  switch (stmtlink::WriteSampleHome(options, &error)) {
    case stmtlink::SampleStatus::kWritten:
      std::cout << stmtlink::Say("Sample books written to {0}/books.db (seed {1}).\n",
                                 u8"サンプルの帳簿を {0}/books.db に書きました (シード {1})。\n",
                                 {line.home, std::to_string(line.seed)});
      return kExitDone;
    case stmtlink::SampleStatus::kRefused:
      std::cerr << "stmtlink-books: " << error << "\n";
      return kExitRefused;
    case stmtlink::SampleStatus::kFailed:
      break;
  }
  std::cerr << "stmtlink-books: "
            << stmtlink::Say("could not write the sample home: {0}\n",
                             u8"サンプルのホームを書けませんでした: {0}\n", {error});
  return kExitFailed;
}

int RunInfo(const CommandLine& line) {
  std::string error;
  if (stmtlink::WriteHomeInfo(line.home, std::cout, &error)) return kExitDone;
  std::cerr << "stmtlink-books: "
            << stmtlink::Say("cannot read the books of {0}: {1}\n"
                             "Create them with: stmtlink-books sample --home {0}\n",
                             u8"{0} の帳簿を読めません: {1}\n"
                             u8"作るには: stmtlink-books sample --home {0}\n",
                             {line.home, error});
  return kExitFailed;
}

} // namespace

int main(int argc, char** argv) {
  stmtlink::SetMessageLanguage(stmtlink::LanguageFromEnvironment());
  std::vector<std::string> args(argv + 1, argv + argc);
  for (const std::string& arg : args) {
    if (arg == "--help" || arg == "-h" || arg == "help") {
      const bool japanese = stmtlink::InJapanese();
      std::string usage = japanese ? reinterpret_cast<const char*>(kUsageJapanese) : kUsage;
      usage.replace(usage.find("%TRANSFER%"), 10,
                    japanese ? stmtlink::kTransferUsageJapanese : stmtlink::kTransferUsage);
      std::cout << usage;
      return kExitDone;
    }
  }
  if (!args.empty() && (args[0] == "import" || args[0] == "export")) {
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    return args[0] == "import" ? stmtlink::RunImportCommand(rest, DefaultHome())
                               : stmtlink::RunExportCommand(rest, DefaultHome());
  }
  CommandLine line;
  std::string message;
  if (!Parse(args, &line, &message)) return Refuse(message);
  return line.command == "sample" ? RunSample(line) : RunInfo(line);
}
