#include "report/xml_writer.h"

#include <gtest/gtest.h>

#include "platform/cfile.h"
#include "tests/support/fault_injection_env.h"
#include "tests/support/scratch_home.h"
#include "tests/support/temp_dir.h"

namespace stmtlink {
namespace {

using testing::ReadTextFile;

class XmlWriterTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(writer_.Open(&file_, "C:\\out.xml"), 0); }
  std::string Written() {
    EXPECT_EQ(writer_.Close(), 0);
    return ReadTextFile(home_.Path("drive_c/out.xml"));
  }

  ScratchHome home_;
  CFile file_;
  XmlWriter writer_;
};

TEST_F(XmlWriterTest, LinesCarryTabsAttributesAndCrLf) {
  EXPECT_EQ(writer_.OpenElement("REPORT", 0), 1);
  EXPECT_EQ(writer_.OpenElement("Assets", 5, "Label", "資産", "Amount", "100"), 1);
  EXPECT_EQ(writer_.WriteElement("Item", "-12345", 2, "Label", "現金"), 1);
  EXPECT_EQ(writer_.WriteElement("Empty", "", 1), 1);
  EXPECT_EQ(writer_.WriteElement("Sub", "", 3, "Label", "a", "Amount", ""), 1);
  EXPECT_EQ(writer_.CloseElement("REPORT", 0), 1);
  EXPECT_EQ(Written(),
            "<REPORT>\r\n"
            "\t\t\t\t\t<Assets Label=\"資産\" Amount=\"100\">\r\n"
            "\t\t<Item Label=\"現金\">-12345</Item>\r\n"
            "\t<Empty></Empty>\r\n"
            "\t\t\t<Sub Label=\"a\" Amount=\"\"></Sub>\r\n"
            "</REPORT>\r\n");
}

TEST_F(XmlWriterTest, AttributeNeedsNameAndValueAndSecondNeedsFirst) {
  EXPECT_EQ(writer_.OpenElement("A", 0, nullptr, nullptr, "Amount", "1"), 1);
  EXPECT_EQ(writer_.OpenElement("B", 0, "Label", nullptr, "Amount", "1"), 1);
  EXPECT_EQ(writer_.WriteElement("C", "x", 0, nullptr, "v", "Amount", "1"), 1);
  EXPECT_EQ(writer_.WriteElement("D", "x", 0, "Label", "v", "Amount", nullptr), 1);
  EXPECT_EQ(Written(),
            "<A>\r\n"
            "<B>\r\n"
            "<C>x</C>\r\n"
            "<D Label=\"v\">x</D>\r\n");
}

TEST_F(XmlWriterTest, EscapesFiveCharactersInContentAndValuesOnly) {
  EXPECT_EQ(writer_.WriteElement("V", "A&B<C>", 0, "Label", "it's \"x\""), 1);
  // Control bytes and Shift_JIS pass unchanged; "ソ" and "表" end in 0x5C.
  EXPECT_EQ(writer_.WriteElement("W", "\t\r\nソ表１２", 0), 1);
  EXPECT_EQ(Written(),
            "<V Label=\"it&apos;s &quot;x&quot;\">A&amp;B&lt;C&gt;</V>\r\n"
            "<W>\t\r\nソ表１２</W>\r\n");
  EXPECT_EQ(XmlWriter::EscapeText("&&"), "&amp;&amp;");
}

TEST_F(XmlWriterTest, TextLongerThanTheReceiversLineIsWrittenWhole) {
  std::string value(1000, 'x');
  value += "&";
  EXPECT_EQ(writer_.WriteElement("Long", value, 0, "Label", value.c_str()), 1);
  std::string escaped = std::string(1000, 'x') + "&amp;";
  EXPECT_EQ(Written(), "<Long Label=\"" + escaped + "\">" + escaped + "</Long>\r\n");
}

TEST(XmlWriterFailureTest, OpenFailsWithoutFileOrPathOrFolder) {
  ScratchHome home;
  CFile file;
  XmlWriter writer;
  EXPECT_EQ(writer.Open(nullptr, "C:\\a.xml"), -1);
  EXPECT_EQ(writer.Open(&file, nullptr), -1);
  EXPECT_EQ(writer.Open(&file, ""), -1);
  EXPECT_EQ(writer.Open(&file, "C:\\missing\\a.xml"), -1);
  EXPECT_FALSE(writer.is_open());
  EXPECT_EQ(writer.WriteText("x"), 0);
}

// A writer open on C:\out.xml over an environment whose faults a test sets.
class XmlWriterFaultTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(writer.Open(&file, "C:\\out.xml"), 0); }

  ScratchHome home;
  FaultInjectionEnv env;
  ScopedEnv use{&env};
  CFile file;
  XmlWriter writer;
};

TEST_F(XmlWriterFaultTest, AfterAFailedWriteEveryWriteFailsAndWritesNothing) {
  EXPECT_EQ(writer.OpenElement("REPORT", 0), 1);
  env.Fail(FaultInjectionEnv::Op::kAppend);
  EXPECT_EQ(writer.OpenElement("DATA", 1), 0);
  EXPECT_FALSE(writer.is_open());
  env.Clear();
  int appends = env.Calls(FaultInjectionEnv::Op::kAppend);
  EXPECT_EQ(writer.WriteText("x"), 0);
  EXPECT_EQ(writer.OpenElement("A", 1), 0);
  EXPECT_EQ(writer.WriteElement("A", "v", 1), 0);
  EXPECT_EQ(writer.CloseElement("A", 1), 0);
  EXPECT_EQ(env.Calls(FaultInjectionEnv::Op::kAppend), appends);
  EXPECT_EQ(writer.Close(), 0); // nothing more to close
  // Nothing of the failed file reaches the folder.
  EXPECT_TRUE(testing::FolderEntries(home.Path("drive_c")).empty());
}

TEST_F(XmlWriterFaultTest, ShortWriteFailsTheLine) {
  env.SetDiskSpace(12);
  EXPECT_EQ(writer.OpenElement("REPORT", 0), 1); // 10 bytes
  EXPECT_EQ(writer.OpenElement("DATA", 1), 0);   // only 2 of 9 fit
  EXPECT_EQ(writer.Close(), 0);
}

TEST_F(XmlWriterFaultTest, FailedCloseIsReported) {
  EXPECT_EQ(writer.OpenElement("REPORT", 0), 1);
  env.Fail(FaultInjectionEnv::Op::kClose);
  EXPECT_EQ(writer.Close(), -1);
  EXPECT_FALSE(writer.is_open());
  EXPECT_EQ(writer.Close(), 0);
}

TEST_F(XmlWriterFaultTest, AReportNotPutOnTheDiskIsAFailure) {
  EXPECT_EQ(writer.OpenElement("REPORT", 0), 1);
  env.Fail(FaultInjectionEnv::Op::kSync);
  EXPECT_EQ(writer.Close(), -1);
  EXPECT_EQ(1, env.Calls(FaultInjectionEnv::Op::kSync));
}

TEST(XmlWriterFailureTest, ADeviceAtThePathIsRefusedAtOpen) {
  ScratchHome home;
  CFile file;
  XmlWriter writer;
  EXPECT_EQ(writer.Open(&file, "Z:\\dev\\full"), -1);
}

} // namespace
} // namespace stmtlink
