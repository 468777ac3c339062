// The program's entry point: the program options, the host home and the
// front end, then the application object as the framework would run it.
// The exit status is the outcome reported to the host: 0 completed,
// 1 cancelled, 2 failed.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/link_app.h"
#include "app/program_options.h"
#include "dialog/conditions_input.h"
#include "host/substitute/substitute_control.h"
#include "host/substitute/substitute_extras.h"
#include "platform/env.h"
#include "platform/front_end_port.h"
#include "platform/host_home.h"
#include "platform/host_window.h"
#include "platform/text_codec.h"
#include "platform/win_path.h"
#include "res/common/resource.h"
#include "res/common/string_table.h"
#include "res/edition/edition.h"
#include "ui/batch_front_end.h"
#include "ui/console_front_end.h"
#include "ui/qt/qt_front_end.h"

namespace {

using stmtlink::ThisEdition;

int Refuse(const std::string& message) {
  std::fprintf(stderr, "%s: %s\n", ThisEdition().program_name, message.c_str());
  return stmtlink::kResultFailed;
}

void PrintVersion() {
  const stmtlink::Edition& e = ThisEdition();
  std::printf("%s %s\n", e.program_name, stmtlink::LoadResourceString(IDS_VERSION));
  std::printf("FileDescription: %s\n", stmtlink::ToUtf8(e.file_description).c_str());
  std::printf("ProductName: %s\n", stmtlink::ToUtf8(e.version_product_name).c_str());
  std::printf("FileVersion: %s\n", e.file_version);
  std::printf("ProductVersion: %s\n", e.product_version);
}

// The conditions dialog's output box holds 255 bytes.
constexpr std::size_t kOutputPathLimit = 255;

// The dialog values of --from, --to, --equity, --ledger and --output; false
// with a message when --output cannot be given to the dialog whole. A
// relative --output, Linux or Windows, is taken against the caller's folder
// (caller_dir, Linux), as the user who typed it meant: start-up later makes
// the program's folder current.
bool DialogChoices(const stmtlink::ProgramOptions& options, const std::string& caller_dir,
                   stmtlink::ConditionsChoices* choices, std::string* error) {
  choices->from_month = options.from_month;
  choices->to_month = options.to_month;
  choices->equity_kind = options.equity_kind;
  choices->ledger = options.ledger;
  if (!options.output_path) return true;
  std::string path;
  if (stmtlink::IsLinuxStylePath(*options.output_path)) {
    // A Linux path ("/tmp/r.xml", "sub/r.xml") goes to the dialog in its
    // Windows form, on Z: or on the mapped drive whose folder holds it.
    if (!stmtlink::TypedLinuxPathToWindows(*options.output_path, caller_dir, &path)) {
      *error = "--output " + *options.output_path +
               " has no Windows form: it is relative and the current folder cannot be read, "
               "or a name holds characters that Shift_JIS cannot represent";
      return false;
    }
  } else {
    if (!stmtlink::Utf8ToCp932(*options.output_path, &path)) {
      *error = "--output holds characters that Shift_JIS cannot represent";
      return false;
    }
    if (stmtlink::IsFolderRelativeWindowsPath(path)) {
      std::string folder;
      if (!stmtlink::LinuxToWindowsPath(caller_dir, &folder)) {
        *error = "--output is relative, and the current folder cannot be read or has no Windows "
                 "path; give a full path such as C:\\out\\report.xml";
        return false;
      }
      path = stmtlink::AbsoluteWindowsPath(path, folder);
    }
  }
  if (path.size() > kOutputPathLimit) {
    *error = "--output is longer than the " + std::to_string(kOutputPathLimit) +
             " bytes (Shift_JIS) that the dialog's output box holds";
    return false;
  }
  choices->output_path = path;
  return true;
}

// What the application tells the host window at the end of a failed run,
// for a run that Qt cannot carry on (its platform did not start, or the
// display went away): the host's window is enabled again and hears
// "failed", as it would from ExitInstance.
void TellHostTheRunFailed(const std::string& command_line) {
  stmtlink::LinkApp parsed;
  if (parsed.ParseCommandLine(command_line) != 1) return;
  const auto wparam = static_cast<std::uint32_t>(static_cast<std::int32_t>(parsed.functionId));
  EnableWindow(parsed.hostWindow, TRUE);
  PostMessage(parsed.hostWindow, parsed.doneMessage, wparam, stmtlink::kResultFailed);
}

// Null with a reason in *error when the front end cannot run here.
// command_line: the host's (CP932).
std::unique_ptr<stmtlink::FrontEndPort> MakeFrontEnd(std::string kind,
                                                     const stmtlink::ProgramOptions& options,
                                                     const stmtlink::ConditionsChoices& choices,
                                                     const std::string& command_line,
                                                     std::string* error) {
  // A display that is set but does not answer counts as none.
  if (kind.empty())
    kind = stmtlink::ChooseFrontEnd(stmtlink::HasDisplay() && stmtlink::QtCanShowWindows(nullptr),
                                    isatty(STDIN_FILENO) && isatty(STDERR_FILENO));
  if (kind != "qt") stmtlink::ReleaseDisplayProbe(); // Qt will not connect
  if (kind == "console") {
    // The form shows the values of the options; F12 is the user's.
    auto console = std::make_unique<stmtlink::ConsoleFrontEnd>();
    console->console_dialogs().SetPresets(stmtlink::ConditionsDialogValues(choices));
    return console;
  }
  if (kind == "qt") {
    // Where Qt cannot open windows it would end the process; say so instead.
    std::string why;
    if (!stmtlink::QtCanShowWindows(&why)) {
      *error = "--ui qt needs a display: " + why + ". Use QT_QPA_PLATFORM=offscreen to run without one.";
      TellHostTheRunFailed(command_line);
      return nullptr;
    }
    // The dialog shows the values of the options; Execute is the user's,
    // unless nobody attends the windows.
    stmtlink::QtFrontEndSettings settings;
    settings.dialog_input = stmtlink::ConditionsDialogInput(choices);
    settings.unattended = options.unattended;
    settings.answer_yes = options.answer_yes;
    settings.application_name = ThisEdition().program_name;
    settings.on_fatal = [command_line] { TellHostTheRunFailed(command_line); };
    return stmtlink::MakeQtFrontEnd(settings);
  }
  if (kind == "batch") {
    auto batch = std::make_unique<stmtlink::BatchFrontEnd>(options.answer_yes);
    batch->batch_dialogs().SetInput(stmtlink::ConditionsDialogInput(choices));
    return batch;
  }
  *error = "no front end '" + kind + "'";
  return nullptr;
}

} // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  stmtlink::ProgramOptions options;
  std::string error;
  if (!stmtlink::ParseProgramOptions(args, &options, &error)) return Refuse(error);
  if (options.help) {
    std::fputs(stmtlink::ProgramUsage(ThisEdition().program_name).c_str(), stdout);
    return 0;
  }
  if (options.version) {
    PrintVersion();
    return 0;
  }

  // Every path the caller gave is fixed against the caller's folder here,
  // before start-up makes the program's folder current.
  // A folder that cannot be read (it was removed) matters only to a
  // relative path.
  std::string caller_dir;
  if (!stmtlink::Env::Current()->GetCurrentDir(&caller_dir)) caller_dir.clear();
  std::string home = stmtlink::ResolveHostHome(options, caller_dir);
  if (home.empty() || home[0] != '/')
    return Refuse("the host home " + home + " is relative, and the current folder cannot be read");
  stmtlink::FileStatus books;
  if (!stmtlink::Env::Current()->Stat(home + "/books.db", &books) || books.is_directory) {
    return Refuse("no books in the host home " + home +
                  ".\nCreate sample books with:  stmtlink-books sample --home " + home +
                  "\nor name another home with --home DIR or $STMTLINK_HOME.");
  }
  stmtlink::SetHostHome(home);
  stmtlink::SetHostCallJournal(false); // a diagnosis aid for tests only

  if (options.unattended && options.ui != "qt")
    return Refuse("--unattended belongs to --ui qt; batch never waits for a user");
  stmtlink::ConditionsChoices choices;
  if (!DialogChoices(options, caller_dir, &choices, &error)) return Refuse(error);
  // The host writes its command line in the system code page.
  std::string command_line;
  if (!stmtlink::Utf8ToCp932(options.host_command_line, &command_line))
    return Refuse("the host command line holds characters that Shift_JIS cannot represent");
  std::unique_ptr<stmtlink::FrontEndPort> front_end =
      MakeFrontEnd(options.ui, options, choices, command_line, &error);
  if (front_end == nullptr) return Refuse(error);
  stmtlink::SetFrontEnd(front_end.get());

  // The host here is the substitute over the home's books.
  stmtlink::SubstituteExtras host_extras;
  stmtlink::LinkApp app;
  app.m_lpCmdLine = command_line;
  app.hostExtras = &host_extras;
  stmtlink::RunApplication(&app);
  stmtlink::SetFrontEnd(nullptr);
  return app.resultCode;
}
