#include "app/program_options.h"

#include <cstdlib>
#include <filesystem>

#include "platform/mbcs.h"
#include "platform/win_path.h"

namespace stmtlink {
namespace {

bool ParseNumber(const std::string& text, int low, int high, int* value) {
  if (text.empty() || text.size() > 4) return false;
  int result = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    result = result * 10 + (c - '0');
  }
  if (result < low || result > high) return false;
  *value = result;
  return true;
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }
bool HasDriveLetter(const std::string& path) {
  return path.size() >= 2 && path[1] == ':' &&
         ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

// "C:" of "C:\a\b", "\\server\share" of "\\server\share\a"; empty for
// anything else.
std::string RootOf(const std::string& folder) {
  if (HasDriveLetter(folder)) return folder.substr(0, 2);
  if (folder.size() < 3 || !IsSeparator(folder[0]) || !IsSeparator(folder[1])) return std::string();
  // The share ends at the second separator after the server's name; names
  // may hold double-byte characters whose trail byte is 0x5C.
  int separators = 0;
  for (std::size_t i = 2; i < folder.size(); i += MbcsCharLength(folder, i)) {
    if (MbcsCharLength(folder, i) == 1 && IsSeparator(folder[i]) && ++separators == 2)
      return folder.substr(0, i);
  }
  return folder;
}

// An option: "--name[=value]", or "-x" (a host command line may start
// with a minus sign, but always holds commas).
bool LooksLikeOption(const std::string& arg) {
  if (arg.size() < 2 || arg[0] != '-') return false;
  return arg[1] == '-' || arg.find(',') == std::string::npos;
}

// Reads the options in order, then the host's command line after them.
// Each step returns false with *error set at the first fault.
class OptionReader {
 public:
  OptionReader(const std::vector<std::string>& args, ProgramOptions* options, std::string* error)
      : args_(args), options_(options), error_(error) {}

  bool Run() { return ReadOptions() && ReadHostLine(); }

 private:
  bool ReadOptions();
  // One option, its name split from an inline value ("--from=4").
  bool ReadOption(const std::string& arg);
  bool ReadTextOption(const std::string& arg);
  bool ReadNumberOption(const std::string& arg);
  bool ReadHostLine();

  // "--from=4" carries its value; "--from 4" takes the next argument.
  bool ValueOf(const std::string& name, std::string* value) {
    if (inline_value_) {
      *value = *inline_value_;
      return true;
    }
    if (next_ + 1 >= args_.size()) return Fail("option " + name + " needs a value (see --help)");
    *value = args_[++next_];
    return true;
  }
  bool NumberOf(const std::string& name, int low, int high, std::optional<int>* out) {
    std::string text;
    if (!ValueOf(name, &text)) return false;
    int value = 0;
    if (!ParseNumber(text, low, high, &value))
      return Fail("option " + name + " takes a number from " + std::to_string(low) + " to " +
                  std::to_string(high) + ", not '" + text + "'");
    *out = value;
    return true;
  }
  bool Fail(std::string message) {
    *error_ = std::move(message);
    return false;
  }

  const std::vector<std::string>& args_;
  ProgramOptions* options_;
  std::string* error_;
  std::size_t next_ = 0;
  std::optional<std::string> inline_value_;
  bool after_double_dash_ = false;
};

bool OptionReader::ReadOptions() {
  for (; next_ < args_.size(); ++next_) {
    if (args_[next_] == "--") {
      ++next_;
      after_double_dash_ = true;
      return true;
    }
    if (!LooksLikeOption(args_[next_])) return true; // the host's command line
    std::string arg = args_[next_];
    inline_value_.reset();
    if (std::size_t equals = arg.find('='); arg.compare(0, 2, "--") == 0 && equals != std::string::npos) {
      inline_value_ = arg.substr(equals + 1);
      arg.resize(equals);
    }
    if (!ReadOption(arg)) return false;
  }
  return true;
}

bool OptionReader::ReadOption(const std::string& arg) {
  const bool takes_value = arg == "--home" || arg == "--ui" || arg == "--from" || arg == "--to" ||
                           arg == "--equity" || arg == "--ledger" || arg == "--output" ||
                           arg == "--answer";
  if (inline_value_ && !takes_value) return Fail("option " + arg + " takes no value (see --help)");
  if (arg == "--help" || arg == "-h") {
    options_->help = true;
  } else if (arg == "--version" || arg == "-V") {
    options_->version = true;
  } else if (arg == "--unattended") {
    options_->unattended = true;
  } else if (arg == "--from" || arg == "--to" || arg == "--equity" || arg == "--ledger") {
    return ReadNumberOption(arg);
  } else if (takes_value) {
    return ReadTextOption(arg);
  } else {
    return Fail("unknown option '" + args_[next_] + "' (see --help)");
  }
  return true;
}

bool OptionReader::ReadNumberOption(const std::string& arg) {
  if (arg == "--from") return NumberOf(arg, 1, 12, &options_->from_month);
  if (arg == "--to") return NumberOf(arg, 1, 12, &options_->to_month);
  if (arg == "--equity") return NumberOf(arg, 1, 2, &options_->equity_kind);
  return NumberOf(arg, 0, 1, &options_->ledger);
}

bool OptionReader::ReadTextOption(const std::string& arg) {
  std::string value;
  if (!ValueOf(arg, &value)) return false;
  if (arg == "--home") {
    if (value.empty()) return Fail("option --home needs a folder");
    options_->home = value;
  } else if (arg == "--ui") {
    if (value != "batch" && value != "console" && value != "qt")
      return Fail("option --ui takes batch, console or qt, not '" + value + "'");
    options_->ui = value;
  } else if (arg == "--output") {
    options_->output_path = value;
  } else { // --answer
    if (value != "yes" && value != "no") return Fail("option --answer takes yes or no, not '" + value + "'");
    options_->answer_yes = value == "yes";
  }
  return true;
}

bool OptionReader::ReadHostLine() {
  std::string host_line;
  for (; next_ < args_.size(); ++next_) {
    if (!host_line.empty()) host_line.push_back(' ');
    host_line += args_[next_];
  }
  // The host always writes "window,message,function[,path]"; a word without
  // a comma is a mistyped option or a stray argument, and taking it as the
  // host's line would start a run the user did not mean.
  if (!host_line.empty() && host_line.find(',') == std::string::npos)
    return Fail("'" + host_line + "' is neither an option nor a host command line " +
                "(window,message,function[,output path])" + (after_double_dash_ ? "" : "; see --help"));
  options_->host_command_line = host_line;
  return true;
}

} // namespace

bool ParseProgramOptions(const std::vector<std::string>& args, ProgramOptions* options,
                         std::string* error) {
  return OptionReader(args, options, error).Run();
}

std::string ProgramUsage(const std::string& program_name) {
  return "Usage: " + program_name +
         " [options] [HOST_COMMAND_LINE]\n"
         "\n"
         "Aggregates the closing statements of the company selected in the host's books\n"
         "and writes them as one Shift_JIS XML file for the tax return application.\n"
         "\n"
         "Options:\n"
         "  --home DIR          host home (books.db, host.ini); default $STMTLINK_HOME,\n"
         "                      else ~/.local/share/stmtlink\n"
         "  --ui KIND           batch, console or qt; default qt when a display is\n"
         "                      present, console on a terminal, batch otherwise\n"
         "  --unattended        qt: show the windows but let nobody answer them: the\n"
         "                      dialog gets the options below and Execute, message\n"
         "                      boxes get --answer (for demonstrations and benchmarks)\n"
         "  --from N, --to N    first and last month to aggregate (1-12)\n"
         "  --equity 1|2        1 shareholders' equity, 2 members' equity statement\n"
         "  --ledger 0|1        include the general ledger\n"
         "  --output PATH       output file (a Windows path such as C:\\out\\report.xml)\n"
         "  --answer yes|no     answer to every question in batch and unattended mode\n"
         "                      (default no)\n"
         "  -V, --version       print the version information and exit\n"
         "  -h, --help          print this help and exit\n"
         "\n"
         "--from, --to, --equity, --ledger and --output fill the dialog in every front\n"
         "end, over the remembered conditions; what they leave open keeps its\n"
         "remembered value. Batch then presses Execute; console and qt leave it to you.\n"
         "Options that take a value accept both --from 4 and --from=4.\n"
         "HOST_COMMAND_LINE is what the host passes: window,message,function[,output path];\n"
         "an argument without a comma is refused.\n"
         "Exit status: 0 completed, 1 cancelled, 2 failed.\n";
}

std::string ChooseFrontEnd(bool has_display, bool on_terminal) {
  if (has_display) return "qt";
  return on_terminal ? "console" : "batch";
}

bool HasDisplay() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') return true;
  }
  return false;
}

std::string ResolveHostHome(const ProgramOptions& options, const std::string& caller_dir) {
  std::string home;
  if (!options.home.empty()) {
    home = options.home;
  } else if (const char* env = std::getenv("STMTLINK_HOME"); env != nullptr && *env != '\0') {
    home = env;
  } else {
    const char* user_home = std::getenv("HOME");
    home = std::string(user_home != nullptr && *user_home != '\0' ? user_home : ".") +
           "/.local/share/stmtlink";
  }
  return AbsoluteLinuxPath(home, caller_dir);
}

std::string AbsoluteLinuxPath(const std::string& path, const std::string& dir) {
  std::filesystem::path full = std::filesystem::path(dir) / path; // an absolute path replaces dir
  std::string normal = full.lexically_normal().string();
  while (normal.size() > 1 && normal.back() == '/') normal.pop_back();
  return normal;
}

bool IsFolderRelativeWindowsPath(const std::string& path) {
  if (path.empty() || HasDriveLetter(path)) return false;
  return !(path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1]));
}

std::string AbsoluteWindowsPath(const std::string& path, const std::string& windows_folder) {
  if (!IsFolderRelativeWindowsPath(path)) return path;
  if (IsSeparator(path[0])) return RootOf(windows_folder) + path;
  std::string joined = windows_folder;
  if (!EndsWithSeparator(joined)) joined.push_back('\\');
  return joined + path;
}

} // namespace stmtlink
