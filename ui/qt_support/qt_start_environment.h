// What the Qt front end settles in the process environment around the
// start of Qt, so that a user of the C locale or of a session without a
// runtime folder meets the same windows as anyone else.
#pragma once

#include <optional>
#include <string>

namespace stmtlink {

// Call BeforeQtStarts() before the QApplication is made and AfterQtStarted()
// right after it:
// - Under the C or POSIX locale (C.UTF-8 included) Qt would show dates in
//   English (the save dialog's file list): Qt's system locale is made
//   Japanese while it starts, and the C library's locale and the
//   environment are put back as they were, so nothing else changes.
// - Without XDG_RUNTIME_DIR Qt warns on standard error on every start: the
//   folder Qt would fall back on (<temp>/runtime-<user>, mode 0700) is made
//   and named, when it is (or can be made) a private folder of this user.
//   Otherwise the variable stays unset and Qt says why.
class QtStartEnvironment {
 public:
  void BeforeQtStarts();
  void AfterQtStarted();

 private:
  bool locale_changed_ = false;
  std::optional<std::string> saved_lc_all_;
};

} // namespace stmtlink
