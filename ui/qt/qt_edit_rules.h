// The input rules of the dialogs' edits, shared by the dialog window (which
// sets them up) and the dialog port (which types options into the edits).
#pragma once

#include <QString>
#include <QValidator>

#include "ui/qt_support/qt_text.h"

namespace stmtlink {

// An edit's input rules: digits only (number style) and a limit counted in
// bytes of the code page, as the program stores the text. Texts the program
// sets are not checked, as with the system's edit control.
class EditRules : public QValidator {
 public:
  EditRules(bool digits_only, QObject* parent) : QValidator(parent), digits_only_(digits_only) {}
  void set_limit(int bytes) { limit_ = bytes; }
  int limit() const { return limit_; }
  bool digits_only() const { return digits_only_; }

  State validate(QString& input, int&) const override {
    if (digits_only_)
      for (QChar c : input)
        if (c < u'0' || c > u'9') return Invalid;
    if (limit_ > 0 && static_cast<int>(ToCp932Text(input).size()) > limit_) return Invalid;
    return Acceptable;
  }

 private:
  bool digits_only_;
  int limit_ = 0;
};

} // namespace stmtlink
