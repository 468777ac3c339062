// The link connection and the message manager: answers from host.ini, the
// journal, and messages through the front-end port.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/acc_connect.h"
#include "host/msg_mgr.h"
#include "host/substitute/substitute_control.h"
#include "platform/front_end_port.h"
#include "tests/host/host_test_home.h"

namespace {

using stmtlink::testing::TestHome;

class RecordingFrontEnd : public stmtlink::FrontEndPort {
 public:
  struct Box {
    HWND owner;
    std::string text;
    std::string caption;
    UINT flags;
  };
  RecordingFrontEnd() { stmtlink::SetFrontEnd(this); }
  ~RecordingFrontEnd() override { stmtlink::SetFrontEnd(nullptr); }
  int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption,
                     UINT flags) override {
    boxes.push_back({owner, text, caption, flags});
    return IDOK;
  }
  std::vector<Box> boxes;
};

TEST(HostConnect, LinkAnswersComeFromHostIni) {
  TestHome home; // no host.ini: the host says yes
  ClAccConnect* link = ClAccConnect::Inst();
  EXPECT_EQ(0, link->Initiate());
  EXPECT_TRUE(link->IsConnected());
  EXPECT_EQ(0, link->ExpSysLink());

  home.WriteHostIni(u8"[Link]\nInitiate=3\nExpSysLink=1\n");
  stmtlink::ResetHostSubstitute();
  EXPECT_EQ(3, link->Initiate());
  EXPECT_FALSE(link->IsConnected());
  EXPECT_EQ(1, link->ExpSysLink());

  // A value that is not a whole number is the default, not a code.
  home.WriteHostIni(u8"[Link]\nInitiate=x\nExpSysLink=-2\n");
  stmtlink::ResetHostSubstitute();
  EXPECT_EQ(0, link->Initiate());
  EXPECT_EQ(-2, link->ExpSysLink());
}

TEST(HostConnect, JournalRecordsTheCallsWithTheirArguments) {
  TestHome home;
  ClAccConnect* link = ClAccConnect::Inst();
  link->SetAppType(3);
  link->SetUseDataType(1);
  link->Initiate();
  link->LogOut();
  link->Terminate();
  link->Release();
  EXPECT_EQ(3, link->AppType());
  EXPECT_EQ(1, link->UseDataType());
  EXPECT_FALSE(link->IsConnected());
  EXPECT_EQ((std::vector<std::string>{"ClAccConnect::SetAppType(3)",
                                      "ClAccConnect::SetUseDataType(1)", "ClAccConnect::Initiate",
                                      "ClAccConnect::LogOut", "ClAccConnect::Terminate",
                                      "ClAccConnect::Release"}),
            stmtlink::HostCalls());
}

TEST(HostConnect, DispMsgShowsThroughTheFrontEnd) {
  TestHome home;
  RecordingFrontEnd front_end;
  ClAccConnect* link = ClAccConnect::Inst();
  link->m_strCaption = "決算書";
  EXPECT_EQ(IDOK, link->DispMsg(4660, "出力しました。", nullptr, MB_OK | MB_ICONASTERISK));
  ASSERT_EQ(1u, front_end.boxes.size());
  EXPECT_EQ(4660u, front_end.boxes[0].owner);
  EXPECT_EQ("出力しました。", front_end.boxes[0].text);
  EXPECT_EQ("決算書", front_end.boxes[0].caption); // the connection's caption
  EXPECT_EQ(MB_OK | MB_ICONASTERISK, front_end.boxes[0].flags);
  EXPECT_EQ("ClAccConnect::DispMsg(4660, 64)", stmtlink::HostCalls().back());
}

TEST(HostMsgMgr, OnlyFatalCodesAreShownAndReported) {
  TestHome home;
  RecordingFrontEnd front_end;
  ClAccConnect::Inst()->m_strCaption = "決算書";
  ClMsgMgr* messages = ClMsgMgr::Inst();
  EXPECT_EQ(0, messages->CheckFatalErrorWithMsg(0, 0, 1, 0));
  EXPECT_EQ(0, messages->CheckFatalErrorWithMsg(5000, 0, 1, 0));
  EXPECT_TRUE(front_end.boxes.empty());

  EXPECT_NE(0, messages->CheckFatalErrorWithMsg(9001, 0, 1, 77));
  ASSERT_EQ(1u, front_end.boxes.size());
  EXPECT_EQ(77u, front_end.boxes[0].owner);
  EXPECT_EQ("決算書", front_end.boxes[0].caption);
  EXPECT_NE(std::string::npos, front_end.boxes[0].text.find("9001"));
  EXPECT_EQ(MB_ICONHAND, front_end.boxes[0].flags & MB_ICONMASK);

  // show 0: still fatal, nothing shown.
  EXPECT_NE(0, messages->CheckFatalErrorWithMsg(7, 0, 0, 0));
  EXPECT_EQ(1u, front_end.boxes.size());
}

TEST(HostMsgMgr, SetLastErrorKeepsItsOwnCopyOfTheSource) {
  TestHome home;
  ClMsgMgr* messages = ClMsgMgr::Inst();
  {
    std::string source = "AccUty\\CmnProcHpr";
    messages->SetLastError(9001, source.c_str(), 120);
  }
  EXPECT_EQ(9001, messages->LastErrorCode());
  EXPECT_STREQ("AccUty\\CmnProcHpr", messages->LastErrorSource());
  EXPECT_EQ(120, messages->LastErrorLine());
  messages->SetLastError(0, nullptr, 0);
  EXPECT_EQ(nullptr, messages->LastErrorSource());
  EXPECT_EQ("ClMsgMgr::SetLastError(0, (null), 0)", stmtlink::HostCalls().back());
}

} // namespace
