// The dialogs' font and their dialog units.
//
// The resources ask for "ＭＳ Ｐゴシック" 9 pt. Where that font is not
// installed, fontconfig is told (once per process) to accept a
// metric-compatible Japanese proportional Gothic in its place: IPAPGothic
// (Debian's fonts-ipafont-gothic) first, then other Japanese P-Gothics; a
// match that cannot draw Japanese gives way to the best Japanese font
// fontconfig knows.
//
// Dialog units follow the system's rule for a dialog font: the horizontal
// base unit is the average width of the font's 52 Latin letters (rounded),
// the vertical one the font's character height; a control at dialog units
// (x, y, cx, cy) lies at pixels x * base_x / 4, y * base_y / 8 (each
// rounded), sized likewise.
#pragma once

#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>

namespace stmtlink {

// The family that fontconfig gives for the resource's font name (UTF-8),
// with the fallback rules above in place.
QString ResolveDialogFontFamily(const QString& resource_family);

// The resource's font at its point size.
QFont DialogFont(const QString& resource_family, int point_size);

struct DialogUnits {
  int base_x = 0; // average character width, pixels
  int base_y = 0; // character height, pixels

  static DialogUnits ForFont(const QFont& font);
  int X(int du) const;
  int Y(int du) const;
  QRect Rect(int x, int y, int cx, int cy) const { return QRect(X(x), Y(y), X(cx), Y(cy)); }
  QSize Size(int cx, int cy) const { return QSize(X(cx), Y(cy)); }
};

} // namespace stmtlink
