#include "ui/qt_support/qt_start_environment.h"

#include <QDir>
#include <QLocale>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <string_view>

namespace stmtlink {
namespace {

std::string_view Variable(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

// The locale that governs dates, as the C library and Qt both find it.
bool TimeLocaleIsC() {
  std::string_view locale = Variable("LC_ALL");
  if (locale.empty()) locale = Variable("LC_TIME");
  if (locale.empty()) locale = Variable("LANG");
  return locale.empty() || locale == "C" || locale == "POSIX" || locale.substr(0, 2) == "C.";
}

// <temp>/runtime-<user>, made private when missing; empty when it is not
// a folder of this user that only this user can enter.
std::string PrivateRuntimeFolder() {
  const passwd* user = getpwuid(geteuid());
  if (user == nullptr || user->pw_name == nullptr) return {};
  const std::string folder = QDir::tempPath().toStdString() + "/runtime-" + user->pw_name;
  if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return {};
  struct stat status{};
  if (lstat(folder.c_str(), &status) != 0 || !S_ISDIR(status.st_mode) ||
      status.st_uid != geteuid() || (status.st_mode & 0777) != 0700)
    return {};
  return folder;
}

} // namespace

void QtStartEnvironment::BeforeQtStarts() {
  if (Variable("XDG_RUNTIME_DIR").empty()) {
    const std::string folder = PrivateRuntimeFolder();
    if (!folder.empty()) setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
  }
  if (TimeLocaleIsC()) {
    if (const char* lc_all = std::getenv("LC_ALL")) saved_lc_all_ = lc_all;
    setenv("LC_ALL", "ja_JP.UTF-8", 1);
    locale_changed_ = true;
  }
}

void QtStartEnvironment::AfterQtStarted() {
  if (!locale_changed_) return;
  // Qt reads its system locale once; read it now, while it is Japanese.
  const QLocale japanese = QLocale::system();
  QLocale::setDefault(japanese);
  if (saved_lc_all_) setenv("LC_ALL", saved_lc_all_->c_str(), 1);
  else unsetenv("LC_ALL");
  // The C library's locale as Qt's start would have set it from the
  // caller's environment.
  std::setlocale(LC_ALL, "");
  locale_changed_ = false;
}

} // namespace stmtlink
