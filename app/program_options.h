// The program's own options, read before the host's command line (which
// stays exactly as the host writes it and comes last):
//   StmtLinkStd [--home DIR] [--ui batch|console|qt] [--unattended]
//               [--from N] [--to N] [--equity 1|2] [--ledger 0|1]
//               [--output PATH] [--answer yes|no] [HOST_COMMAND_LINE]
// An option's value follows it ("--from 4") or is joined to it ("--from=4");
// -h and -V are --help and --version. The first argument that is not an
// option (or everything after "--") starts the host's command line; its
// words are joined with single blanks, so a path with blanks survives the
// shell's splitting. A host command line always holds commas: one without
// is refused, so a stray word never starts a run as if the host had.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace stmtlink {

struct ProgramOptions {
  bool help = false;
  bool version = false;
  std::string home;             // Linux folder; empty: the default
  std::string ui;               // "batch", "console", "qt"; empty: ChooseFrontEnd
  bool unattended = false;      // qt: the windows are shown, nobody answers them
  std::optional<int> from_month; // 1-12
  std::optional<int> to_month;   // 1-12
  std::optional<int> equity_kind; // 1 or 2
  std::optional<int> ledger;      // 0 or 1
  std::optional<std::string> output_path; // as typed (UTF-8)
  bool answer_yes = false;
  std::string host_command_line; // as typed (UTF-8)
};

// False with a message in *error for an unknown option, a missing or bad
// value.
bool ParseProgramOptions(const std::vector<std::string>& args, ProgramOptions* options,
                         std::string* error);

// The front end when --ui is not given: qt when a display is present,
// console when standard input and standard error are a terminal, batch
// otherwise.
std::string ChooseFrontEnd(bool has_display, bool on_terminal);
// A display is present: $DISPLAY or $WAYLAND_DISPLAY is set.
bool HasDisplay();

// The usage text for --help (UTF-8).
std::string ProgramUsage(const std::string& program_name);

// The host home: --home, else $STMTLINK_HOME, else ~/.local/share/stmtlink,
// made absolute against caller_dir (the caller's current folder). Start-up
// makes the program's own folder current before it opens the books, so a
// relative home must be fixed first or it would name two folders.
std::string ResolveHostHome(const ProgramOptions& options, const std::string& caller_dir);

// A Linux path made absolute against dir and normalized ("./h1" and "h1/"
// are dir + "/h1"); an absolute path is only normalized.
std::string AbsoluteLinuxPath(const std::string& path, const std::string& dir);

// A Windows path (CP932) made absolute against the Windows form of the
// caller's folder, for the same reason as the home: "out\r.xml" becomes
// folder + "\out\r.xml", "\out\r.xml" goes on the folder's drive or share.
// Paths with a drive letter ("C:\x", "C:x") and network paths stay as they
// are; so does an empty one, which the dialog refuses in its own words.
std::string AbsoluteWindowsPath(const std::string& path, const std::string& windows_folder);
// True when AbsoluteWindowsPath would take the path against the folder.
bool IsFolderRelativeWindowsPath(const std::string& path);

} // namespace stmtlink
