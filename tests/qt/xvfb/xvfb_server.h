// A private X server for the tests that need a real display: Debian's Xvfb,
// started on a free display number (it picks one and tells it through a
// pipe) and stopped again at the end.
#pragma once

#include <sys/types.h>

#include <string>

namespace stmtlink::testing {

class XvfbServer {
 public:
  XvfbServer() = default;
  ~XvfbServer();
  XvfbServer(const XvfbServer&) = delete;
  XvfbServer& operator=(const XvfbServer&) = delete;

  // The Xvfb program on PATH; empty when it is not installed.
  static std::string Find();
  // Starts the server with one 24-bit screen; false with the reason in
  // *error when it does not come up within a few seconds.
  bool Start(const std::string& program, std::string* error);
  // ":N" once started.
  const std::string& display() const { return display_; }

 private:
  pid_t pid_ = -1;
  std::string display_;
};

} // namespace stmtlink::testing
