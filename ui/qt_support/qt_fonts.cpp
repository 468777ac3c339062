#include "ui/qt_support/qt_fonts.h"

#include <fontconfig/fontconfig.h>

#include <QFontMetrics>
#include <QMutex>
#include <QMutexLocker>
#include <QStringList>

#include <string>

namespace stmtlink {
namespace {

// Japanese proportional Gothics that keep the metrics of the requested font
// closest, best first; the monospaced IPAGothic last.
const char* const kJapaneseGothics[] = {
    "IPAPGothic", "IPAexGothic", "VL PGothic", "TakaoPGothic", "Noto Sans CJK JP",
    "Source Han Sans JP", "IPAGothic",
};

QString XmlEscaped(const QString& text) { return text.toHtmlEscaped(); }

// "accept": the Japanese Gothics go right after the requested family, so
// the real font still wins where it is installed, and they come before the
// generic families that the system's rules append.
void LoadFallbackRules(const QString& family) {
  static QMutex mutex;
  static QStringList loaded;
  QMutexLocker lock(&mutex);
  if (loaded.contains(family)) return;
  loaded.append(family);
  QString accept;
  for (const char* gothic : kJapaneseGothics)
    accept += QStringLiteral("<family>%1</family>").arg(QString::fromLatin1(gothic));
  const QString rules =
      QStringLiteral(
          "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">\n<fontconfig>\n"
          "<alias binding=\"same\"><family>%1</family><accept>%2</accept></alias>\n"
          "<alias binding=\"same\"><family>MS PGothic</family><accept>%2</accept></alias>\n"
          "</fontconfig>\n")
          .arg(XmlEscaped(family), accept);
  const std::string xml = rules.toStdString();
  FcConfigParseAndLoadFromMemory(FcConfigGetCurrent(),
                                 reinterpret_cast<const FcChar8*>(xml.c_str()), FcFalse);
}

bool DrawsJapanese(FcPattern* font) {
  FcCharSet* chars = nullptr;
  if (FcPatternGetCharSet(font, FC_CHARSET, 0, &chars) != FcResultMatch) return false;
  // "決" and "あ".
  return FcCharSetHasChar(chars, 0x6C7A) && FcCharSetHasChar(chars, 0x3042);
}

QString FamilyOf(FcPattern* font) {
  FcChar8* family = nullptr;
  if (FcPatternGetString(font, FC_FAMILY, 0, &family) != FcResultMatch) return QString();
  return QString::fromUtf8(reinterpret_cast<const char*>(family));
}

// Best match for the pattern's family; with japanese_only, the best font
// that draws Japanese.
QString Match(const QString& family, bool japanese_only) {
  FcPattern* pattern = FcPatternCreate();
  const std::string name = family.toStdString();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
  FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>("ja"));
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  QString found;
  FcResult result = FcResultNoMatch;
  if (!japanese_only) {
    if (FcPattern* font = FcFontMatch(nullptr, pattern, &result)) {
      if (DrawsJapanese(font)) found = FamilyOf(font);
      FcPatternDestroy(font);
    }
  } else if (FcFontSet* fonts = FcFontSort(nullptr, pattern, FcFalse, nullptr, &result)) {
    for (int i = 0; i < fonts->nfont && found.isEmpty(); ++i)
      if (DrawsJapanese(fonts->fonts[i])) found = FamilyOf(fonts->fonts[i]);
    FcFontSetDestroy(fonts);
  }
  FcPatternDestroy(pattern);
  return found;
}

int MulDiv(int a, int b, int c) { return c == 0 ? 0 : static_cast<int>((static_cast<long long>(a) * b + c / 2) / c); }

} // namespace

QString ResolveDialogFontFamily(const QString& resource_family) {
  FcInit();
  LoadFallbackRules(resource_family);
  QString family = Match(resource_family, false);
  if (family.isEmpty()) family = Match(resource_family, true);
  return family.isEmpty() ? resource_family : family;
}

QFont DialogFont(const QString& resource_family, int point_size) {
  QFont font(ResolveDialogFontFamily(resource_family));
  font.setPointSize(point_size);
  font.setStyleHint(QFont::SansSerif);
  return font;
}

DialogUnits DialogUnits::ForFont(const QFont& font) {
  const QFontMetrics metrics(font);
  const int letters =
      metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  DialogUnits units;
  units.base_x = (letters / 26 + 1) / 2;
  units.base_y = metrics.height();
  return units;
}

int DialogUnits::X(int du) const { return MulDiv(du, base_x, 4); }
int DialogUnits::Y(int du) const { return MulDiv(du, base_y, 8); }

} // namespace stmtlink
