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
    "DIR defaults to $STMTLINK_HOME, else ~/.local/share/stmtlink.\n";

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
            << "Run 'stmtlink-books --help' for the commands and options.\n";
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
    *message = "no command given";
    return false;
  }
  line->command = args[0];
  if (line->command != "sample" && line->command != "info") {
    *message = "unknown command '" + stmtlink::TextForMessage(line->command) + "'";
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
        *message = "--home needs a folder";
        return false;
      }
    } else if (name == "--seed" && for_sample) {
      std::string text;
      if (!take_value(&text) || !ParseSeed(text, &line->seed)) {
        *message = "--seed needs a whole number from 0 to 4294967295";
        return false;
      }
      line->has_seed = true;
    } else if (name == "--force" && for_sample && !has_value) {
      line->force = true;
    } else if ((name == "--entries" || name == "--accounts" || name == "--lines") && for_sample) {
      std::string text;
      std::uint32_t number = 0;
      if (!take_value(&text) || !ParseSeed(text, &number)) {
        *message = name + " needs a whole number from 0 to 4294967295";
        return false;
      }
      if (name == "--entries") line->sample.entries = number;
      if (name == "--accounts") line->sample.accounts = number;
      if (name == "--lines") line->sample.lines = number;
    } else if (name == "--balanced-compound" && for_sample) {
      std::string text;
      std::uint32_t percent = 0;
      if (!take_value(&text) || !ParseSeed(text, &percent) || percent > 50) {
        *message = name + " needs a whole number from 0 to 50";
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
      *message = "unknown option '" + stmtlink::TextForMessage(args[i]) + "' for '" +
                 line->command + "'";
      return false;
    }
  }
  if (line->home.empty()) line->home = DefaultHome();
  if (line->home.empty()) {
    *message = "no host home: give --home DIR or set STMTLINK_HOME";
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
      std::cout << "Sample books written to " << line.home << "/books.db (seed " << line.seed
                << ").\n";
      return kExitDone;
    case stmtlink::SampleStatus::kRefused:
      std::cerr << "stmtlink-books: " << error << "\n";
      return kExitRefused;
    case stmtlink::SampleStatus::kFailed:
      break;
  }
  std::cerr << "stmtlink-books: could not write the sample home: " << error << "\n";
  return kExitFailed;
}

int RunInfo(const CommandLine& line) {
  std::string error;
  if (stmtlink::WriteHomeInfo(line.home, std::cout, &error)) return kExitDone;
  std::cerr << "stmtlink-books: cannot read the books of " << line.home << ": " << error << "\n"
            << "Create them with: stmtlink-books sample --home " << line.home << "\n";
  return kExitFailed;
}

} // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  for (const std::string& arg : args) {
    if (arg == "--help" || arg == "-h" || arg == "help") {
      std::string usage = kUsage;
      usage.replace(usage.find("%TRANSFER%"), 10, stmtlink::kTransferUsage);
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
