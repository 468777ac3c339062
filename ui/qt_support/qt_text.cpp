#include "ui/qt_support/qt_text.h"

#include "platform/mbcs.h"
#include "platform/text_codec.h"

namespace stmtlink {

QString FromCp932(std::string_view cp932) { return QString::fromStdString(ToUtf8(cp932)); }

std::string ToCp932Text(const QString& text) { return ToCp932(text.toStdString()); }

int CharIndexOfByte(std::string_view cp932, int byte_offset) {
  int chars = 0;
  std::size_t i = 0;
  while (i < cp932.size() && static_cast<int>(i) < byte_offset) {
    i += MbcsCharLength(cp932, i);
    ++chars;
  }
  return chars;
}

QChar MnemonicOf(const QString& text) {
  for (qsizetype i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != u'&') continue;
    if (text[i + 1] == u'&') {
      ++i; // "&&" is a plain ampersand
      continue;
    }
    return text[i + 1].toUpper();
  }
  return QChar();
}

} // namespace stmtlink
