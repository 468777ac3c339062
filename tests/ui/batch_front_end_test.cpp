// The batch front end's progress: the console's bar on a terminal, nothing
// when standard error is a file or a pipe.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "ui/batch_front_end.h"

namespace stmtlink {
namespace {

// Shows a progress window with one step and hides it again.
void ShowProgress(FrontEndPort& front_end) {
  ProgressWindowPort* window = front_end.ProgressWindow();
  const HWND handle = window->CreateProgressWindow(0);
  window->SetProgressCaption(handle, "ledger");
  window->ShowProgressWindow(handle, true);
  window->ShowProgressWindow(handle, false);
  window->DestroyProgressWindow(handle);
}

TEST(BatchFrontEndTest, ProgressOnlyOnATerminal) {
  char* buffer = nullptr;
  std::size_t size = 0;
  std::FILE* log = open_memstream(&buffer, &size);
  {
    BatchFrontEnd batch(false, log);
    ShowProgress(batch);
  }
  std::fclose(log);
  EXPECT_EQ(0u, size) << buffer;
  std::free(buffer);

  int master = -1, slave = -1;
  ASSERT_EQ(0, openpty(&master, &slave, nullptr, nullptr, nullptr));
  std::FILE* terminal = fdopen(slave, "w");
  {
    BatchFrontEnd batch(false, terminal);
    ShowProgress(batch);
  }
  std::fclose(terminal);
  fcntl(master, F_SETFL, O_NONBLOCK);
  char shown[256];
  EXPECT_GT(read(master, shown, sizeof shown), 0);
  close(master);
}

} // namespace
} // namespace stmtlink
