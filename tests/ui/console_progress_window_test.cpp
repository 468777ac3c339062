// The console's one-line progress bar: what it draws and how often.
#include "ui/console_progress_window.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/progress_dialog.h"
#include "tests/support/utf8.h"

namespace stmtlink {
namespace {

using testing::U8;

// Standard error stand-in that collects what is written.
class Captured {
 public:
  Captured() : file_(open_memstream(&buffer_, &size_)) {}
  ~Captured() {
    if (file_) std::fclose(file_);
    std::free(buffer_);
  }
  std::FILE* file() { return file_; }
  std::string text() {
    std::fflush(file_);
    return std::string(buffer_, size_);
  }

 private:
  char* buffer_ = nullptr;
  std::size_t size_ = 0;
  std::FILE* file_;
};

TEST(ConsoleProgressWindow, RepaintsAreCoalescedAndTheLastStateIsDrawn) {
  Captured out;
  std::int64_t now = 0;
  // Every look at the clock is a millisecond later.
  ConsoleProgressWindow console(out.file(), [&] { return now++; });
  {
    ProgressDialog dialog(0, &console);
    ASSERT_TRUE(dialog.Create());
    dialog.ShowWindow(true);
    dialog.ResetMainBar();
    dialog.AdvanceMainBar(0, 9999); // some 70,000 repaints asked for
    dialog.EndDialog(1);
  }
  // About one draw per 40 ms of the fake clock, not one per repaint.
  EXPECT_GT(console.draws(), 10);
  EXPECT_LT(console.draws(), 70000 / 20);
  const std::string text = out.text();
  const std::string last = text.substr(text.rfind('\r'));
  EXPECT_NE(std::string::npos, last.find(U8(u8"集計中 99％"))) << last;
  EXPECT_NE(std::string::npos, last.find("100.00%")) << last;
  EXPECT_EQ('\n', text.back()); // closing ends the line
}

TEST(ConsoleProgressWindow, AStoppedClockStillDrawsShowAndClose) {
  Captured out;
  ConsoleProgressWindow console(out.file(), [] { return std::int64_t{5}; });
  ProgressDialog dialog(0, &console);
  ASSERT_TRUE(dialog.Create());
  dialog.ShowWindow(true);
  dialog.ResetMainBar();
  dialog.AdvanceMainBar(0, 2500);
  EXPECT_EQ(1, console.draws()); // only the one when shown
  dialog.ShowWindow(false);
  EXPECT_EQ(2, console.draws());
  EXPECT_NE(std::string::npos, out.text().find(" 25.01%")) << out.text();
}

TEST(ConsoleProgressWindow, AHiddenWindowDrawsNothing) {
  Captured out;
  ConsoleProgressWindow console(out.file());
  ProgressDialog dialog(0, &console);
  ASSERT_TRUE(dialog.Create());
  dialog.ResetMainBar();
  dialog.AdvanceMainBar(0, 100);
  EXPECT_EQ(0, console.draws());
  EXPECT_TRUE(out.text().empty());
}

} // namespace
} // namespace stmtlink
