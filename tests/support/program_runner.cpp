#include "tests/support/program_runner.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>

#include "tests/support/temp_dir.h"

extern char** environ;

namespace stmtlink::testing {

std::string BuiltProgram(const std::string& name) { return std::string(STMTLINK_BIN_DIR) + "/" + name; }

ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                      const std::vector<std::string>& extra_env, const std::string& working_dir,
                      const std::string& stdin_text) {
  ProgramRun run;
  TempDir capture;
  std::string out_path = capture.File("out");
  std::string err_path = capture.File("err");
  std::string in_path = "/dev/null";
  if (!stdin_text.empty()) {
    in_path = capture.File("in");
    std::ofstream(in_path, std::ios::binary) << stdin_text;
  }

  std::vector<std::string> argv_storage = {program};
  argv_storage.insert(argv_storage.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& a : argv_storage) argv.push_back(a.data());
  argv.push_back(nullptr);

  // extra_env replaces inherited variables of the same name: getenv finds
  // the first entry, so an inherited QT_QPA_PLATFORM would win otherwise.
  auto overridden = [&extra_env](const std::string& entry) {
    const std::string name = entry.substr(0, entry.find('=') + 1);
    for (const std::string& extra : extra_env)
      if (extra.compare(0, name.size(), name) == 0) return true;
    return false;
  };
  std::vector<std::string> env_storage;
  for (char** e = environ; *e != nullptr; ++e)
    if (!overridden(*e)) env_storage.emplace_back(*e);
  env_storage.insert(env_storage.end(), extra_env.begin(), extra_env.end());
  std::vector<char*> envp;
  for (std::string& e : env_storage) envp.push_back(e.data());
  envp.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, in_path.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (!working_dir.empty()) posix_spawn_file_actions_addchdir_np(&actions, working_dir.c_str());
  pid_t pid = 0;
  int rc = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) {
    run.err = std::string("cannot start ") + program + ": " + std::strerror(rc);
    return run;
  }
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
  }
  if (WIFEXITED(status)) run.exit_status = WEXITSTATUS(status);
  run.out = ReadTextFile(out_path);
  run.err = ReadTextFile(err_path);
  return run;
}

ProgramRun RunBooksTool(const std::vector<std::string>& args, const std::string& lang) {
  return RunProgram(BuiltProgram("stmtlink-books"), args, {"LC_ALL=", "LC_MESSAGES=", "LANG=" + lang});
}

} // namespace stmtlink::testing
