// Runs one of the built programs (build/bin) as a child process and
// collects its exit status and output.
#pragma once

#include <string>
#include <vector>

namespace stmtlink::testing {

struct ProgramRun {
  int exit_status = -1; // -1 when it did not exit normally
  std::string out;
  std::string err;
};

// The built program of that name (STMTLINK_BIN_DIR/name).
std::string BuiltProgram(const std::string& name);
// Runs program with args; stdin is /dev/null, or a file holding
// stdin_text when that is not empty. extra_env: "NAME=value", replacing an
// inherited variable of that name. working_dir: the child's current folder
// (empty: this process's).
ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                      const std::vector<std::string>& extra_env = {},
                      const std::string& working_dir = "", const std::string& stdin_text = "");
// Runs the built stmtlink-books with its messages in the language of `lang`
// (LANG; LC_ALL and LC_MESSAGES emptied): English by default, so that a
// test can match the messages it checks.
ProgramRun RunBooksTool(const std::vector<std::string>& args, const std::string& lang = "en_US.UTF-8");

} // namespace stmtlink::testing
