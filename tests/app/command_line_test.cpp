// The host's command line: what is recognised, what stays set when it is not.
#include <gtest/gtest.h>

#include "app/link_app.h"

namespace stmtlink {
namespace {

TEST(CommandLineTest, FullLineWithPathSetsEveryField) {
  LinkApp app;
  EXPECT_EQ(1, app.ParseCommandLine("4660,1025,7,C:\\out\\決算書.xml"));
  EXPECT_EQ(4660u, app.hostWindow);
  EXPECT_EQ(1025u, app.doneMessage);
  EXPECT_EQ(7, app.functionId);
  EXPECT_EQ("C:\\out\\決算書.xml", app.hostOutputPath);
}

TEST(CommandLineTest, NothingAfterTheThirdCommaMeansNoImposedPath) {
  LinkApp app;
  EXPECT_EQ(1, app.ParseCommandLine("4660,1025,7,"));
  EXPECT_EQ(7, app.functionId);
  EXPECT_TRUE(app.hostOutputPath.empty());
}

TEST(CommandLineTest, TwoCommasAreNotRecognisedButKeepWhatWasRead) {
  LinkApp app;
  EXPECT_EQ(0, app.ParseCommandLine("4660,1025"));
  EXPECT_EQ(0, app.ParseCommandLine("4660,1025,"));
  EXPECT_EQ(4660u, app.hostWindow);
  EXPECT_EQ(1025u, app.doneMessage);
  EXPECT_EQ(3, app.functionId); // untouched default
}

TEST(CommandLineTest, EmptyOrCommaFreeTextIsNotRecognised) {
  LinkApp app;
  EXPECT_EQ(0, app.ParseCommandLine(""));
  EXPECT_EQ(0, app.ParseCommandLine("C:\\out\\report.xml"));
  EXPECT_EQ(0u, app.hostWindow);
}

TEST(CommandLineTest, LaterCommasBelongToThePath) {
  LinkApp app;
  EXPECT_EQ(1, app.ParseCommandLine("1,2,3,C:\\a,b\\c.xml"));
  EXPECT_EQ("C:\\a,b\\c.xml", app.hostOutputPath);
}

TEST(CommandLineTest, NumbersAreReadAsLeadingNumbers) {
  LinkApp app;
  EXPECT_EQ(1, app.ParseCommandLine("  12abc,x,-2,"));
  EXPECT_EQ(12u, app.hostWindow);
  EXPECT_EQ(0u, app.doneMessage);
  EXPECT_EQ(-2, app.functionId);
  // The function number is kept in 16 bits.
  EXPECT_EQ(1, app.ParseCommandLine("1,2,70000,"));
  EXPECT_EQ(static_cast<std::int16_t>(70000 - 65536), app.functionId);
}

TEST(CommandLineTest, LongLineIsReadWholeWithoutCuttingThePath) {
  LinkApp app;
  std::string path = "C:\\" + std::string(300, 'a') + "\\表ソ.xml";
  EXPECT_EQ(1, app.ParseCommandLine("4660,1025,7," + path));
  EXPECT_EQ(path, app.hostOutputPath);
}

} // namespace
} // namespace stmtlink
