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
  EXPECT_EQ("/from/option", ResolveHostHome(o));
  o.home.clear();
  setenv("STMTLINK_HOME", "/from/env", 1);
  EXPECT_EQ("/from/env", ResolveHostHome(o));
  unsetenv("STMTLINK_HOME");
  const char* saved = std::getenv("HOME");
  std::string saved_home = saved ? saved : "";
  setenv("HOME", "/home/u", 1);
  EXPECT_EQ("/home/u/.local/share/stmtlink", ResolveHostHome(o));
  setenv("HOME", saved_home.c_str(), 1);
}

} // namespace
} // namespace stmtlink
