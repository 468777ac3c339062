#include "platform/win_app.h"

namespace stmtlink {

int RunApplication(CWinApp* app) {
  // With TRUE the framework would enter its message loop; the program has no
  // main window, so the loop ends at once. Either way ExitInstance follows.
  app->InitInstance();
  return app->ExitInstance();
}

} // namespace stmtlink
