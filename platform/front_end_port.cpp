#include "platform/front_end_port.h"

#include <cstdio>

#include "platform/text_codec.h"

namespace stmtlink {
namespace {

// Used only before main() installs a front end (and by tools that have
// none): never loses a message, answers every question with No.
class FallbackFrontEnd : public FrontEndPort {
 public:
  int ShowMessageBox(HWND, const std::string& text, const std::string& caption,
                     UINT flags) override {
    std::fprintf(stderr, "%s: %s\n", ToUtf8(caption).c_str(), ToUtf8(text).c_str());
    return (flags & MB_TYPEMASK) == MB_YESNO ? IDNO : IDOK;
  }
};

FrontEndPort*& Installed() {
  static FrontEndPort* front_end = nullptr;
  return front_end;
}

} // namespace

FrontEndPort* CurrentFrontEnd() {
  static FallbackFrontEnd fallback;
  return Installed() ? Installed() : &fallback;
}

void SetFrontEnd(FrontEndPort* front_end) { Installed() = front_end; }

} // namespace stmtlink

int MessageBox(HWND owner, const char* text, const char* caption, UINT flags) {
  return stmtlink::CurrentFrontEnd()->ShowMessageBox(owner, text ? text : "", caption ? caption : "",
                                                     flags);
}
