#include <gtest/gtest.h>

#include <cstdlib>

#include "app/program_options.h"

namespace stmtlink {
namespace {

TEST(ProgramOptionsTest, OptionsComeFirstAndTheHostLineLast) {
  ProgramOptions o;
  std::string error;
  ASSERT_TRUE(ParseProgramOptions({"--home", "/h", "--ui", "batch", "--from", "4", "--to", "3",
                                   "--equity", "2", "--ledger", "0", "--output", "C:\\a b.xml",
                                   "--answer", "yes", "4660,1025,7,C:\\out", "dir\\x.xml"},
                                  &o, &error))
      << error;
  EXPECT_EQ("/h", o.home);
  EXPECT_EQ("batch", o.ui);
  EXPECT_EQ(4, o.from_month);
  EXPECT_EQ(3, o.to_month);
  EXPECT_EQ(2, o.equity_kind);
  EXPECT_EQ(0, o.ledger);
  EXPECT_EQ("C:\\a b.xml", o.output_path);
  EXPECT_TRUE(o.answer_yes);
  // The shell split a path with a blank; the words are joined again.
  EXPECT_EQ("4660,1025,7,C:\\out dir\\x.xml", o.host_command_line);
}

TEST(ProgramOptionsTest, DoubleDashEndsTheOptions) {
  ProgramOptions o;
  std::string error;
  ASSERT_TRUE(ParseProgramOptions({"--", "--looks-like-an-option,1,2,"}, &o, &error));
  EXPECT_EQ("--looks-like-an-option,1,2,", o.host_command_line);
}

TEST(ProgramOptionsTest, ShortAndJoinedFormsAreAccepted) {
  ProgramOptions o;
  std::string error;
  ASSERT_TRUE(ParseProgramOptions({"-h", "-V", "--from=4", "--output=C:\\a=b.xml", "--home=/h",
                                   "-1,1025,7"},
                                  &o, &error))
      << error;
  EXPECT_TRUE(o.help);
  EXPECT_TRUE(o.version);
  EXPECT_EQ(4, o.from_month);
  EXPECT_EQ("C:\\a=b.xml", o.output_path); // only the first '=' parts name and value
  EXPECT_EQ("/h", o.home);
  EXPECT_EQ("-1,1025,7", o.host_command_line); // a minus sign with commas is the host's
}

TEST(ProgramOptionsTest, BadInputIsRefusedWithAReason) {
  struct Case {
    std::vector<std::string> args;
    const char* expected;
  } cases[] = {
      {{"--frobnicate"}, "unknown option '--frobnicate'"},
      {{"--from", "13"}, "--from takes a number from 1 to 12"},
      {{"--to", "x"}, "--to takes a number from 1 to 12"},
      {{"--equity", "3"}, "--equity takes a number from 1 to 2"},
      {{"--ledger", "2"}, "--ledger takes a number from 0 to 1"},
      {{"--ui", "gtk"}, "--ui takes batch, console or qt"},
      {{"--answer", "maybe"}, "--answer takes yes or no"},
      {{"--home"}, "--home needs a value"},
      {{"--home", ""}, "--home needs a folder"},
      {{"--from=13"}, "--from takes a number from 1 to 12, not '13'"},
      {{"--help=yes"}, "--help takes no value"},
      {{"-x"}, "unknown option '-x'"},
      // A stray word or a host line that lost its commas starts no run.
      {{"report.xml"}, "'report.xml' is neither an option nor a host command line"},
      {{"--ledger", "1", "4660"}, "'4660' is neither"},
      {{"--", "4660 1025"}, "'4660 1025' is neither"},
  };
  for (const Case& c : cases) {
    ProgramOptions o;
    std::string error;
    EXPECT_FALSE(ParseProgramOptions(c.args, &o, &error)) << c.args[0];
    EXPECT_NE(std::string::npos, error.find(c.expected)) << error;
  }
}

TEST(ProgramOptionsTest, HomeComesFromOptionThenEnvironmentThenUserHome) {
  ProgramOptions o;
  o.home = "/from/option";
  EXPECT_EQ("/from/option", ResolveHostHome(o, "/caller"));
  o.home.clear();
  setenv("STMTLINK_HOME", "/from/env", 1);
  EXPECT_EQ("/from/env", ResolveHostHome(o, "/caller"));
  // Relative homes, from either source, belong to the caller's folder.
  setenv("STMTLINK_HOME", "h1", 1);
  EXPECT_EQ("/caller/h1", ResolveHostHome(o, "/caller"));
  o.home = "./h1/";
  EXPECT_EQ("/caller/h1", ResolveHostHome(o, "/caller"));
  o.home = "../up/h1";
  EXPECT_EQ("/up/h1", ResolveHostHome(o, "/caller"));
  o.home.clear();
  unsetenv("STMTLINK_HOME");
  const char* saved = std::getenv("HOME");
  std::string saved_home = saved ? saved : "";
  setenv("HOME", "/home/u", 1);
  EXPECT_EQ("/home/u/.local/share/stmtlink", ResolveHostHome(o, "/caller"));
  setenv("HOME", saved_home.c_str(), 1);
}

TEST(ProgramOptionsTest, RelativeOutputPathsTakeTheCallersFolder) {
  const std::string folder = "Z:\\tmp\\x";
  EXPECT_EQ("Z:\\tmp\\x\\out\\r.xml", AbsoluteWindowsPath("out\\r.xml", folder));
  EXPECT_EQ("Z:\\out\\r.xml", AbsoluteWindowsPath("\\out\\r.xml", folder));
  EXPECT_EQ("C:\\r.xml", AbsoluteWindowsPath("r.xml", "C:\\"));
  EXPECT_EQ("\\\\srv\\share\\r.xml", AbsoluteWindowsPath("\\r.xml", "\\\\srv\\share\\a\\b"));
  // Drive-qualified and network paths, and nothing at all, stay as typed.
  for (const char* kept : {"C:\\out\\r.xml", "d:r.xml", "\\\\srv\\share\\r.xml", ""}) {
    EXPECT_FALSE(IsFolderRelativeWindowsPath(kept)) << kept;
    EXPECT_EQ(kept, AbsoluteWindowsPath(kept, folder));
  }
}

TEST(ProgramOptionsTest, FrontEndIsQtWithADisplayThenConsoleOnATerminalThenBatch) {
  EXPECT_EQ("qt", ChooseFrontEnd(true, true));
  EXPECT_EQ("qt", ChooseFrontEnd(true, false));
  EXPECT_EQ("console", ChooseFrontEnd(false, true));
  EXPECT_EQ("batch", ChooseFrontEnd(false, false));

  auto keep = [](const char* name) {
    const char* value = std::getenv(name);
    return std::make_pair(value != nullptr, std::string(value ? value : ""));
  };
  const auto display = keep("DISPLAY");
  const auto wayland = keep("WAYLAND_DISPLAY");
  unsetenv("DISPLAY");
  unsetenv("WAYLAND_DISPLAY");
  EXPECT_FALSE(HasDisplay());
  setenv("DISPLAY", "", 1); // set but empty: no display
  EXPECT_FALSE(HasDisplay());
  setenv("WAYLAND_DISPLAY", "wayland-0", 1);
  EXPECT_TRUE(HasDisplay());
  unsetenv("WAYLAND_DISPLAY");
  setenv("DISPLAY", ":0", 1);
  EXPECT_TRUE(HasDisplay());
  for (const auto& [name, saved] : {std::make_pair("DISPLAY", display), std::make_pair("WAYLAND_DISPLAY", wayland)}) {
    if (saved.first) setenv(name, saved.second.c_str(), 1);
    else unsetenv(name);
  }
}

TEST(ProgramOptionsTest, UnattendedIsAFlag) {
  ProgramOptions o;
  std::string error;
  ASSERT_TRUE(ParseProgramOptions({"--ui", "qt", "--unattended", "--from", "4"}, &o, &error)) << error;
  EXPECT_TRUE(o.unattended);
  EXPECT_EQ("qt", o.ui);
  EXPECT_EQ(4, o.from_month);
}

} // namespace
} // namespace stmtlink
