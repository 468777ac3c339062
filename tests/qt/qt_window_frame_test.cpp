// How a resource's window style becomes the window's frame: who draws the
// caption bar, and which boxes a window manager may put on it.
#include <gtest/gtest.h>

#include "res/common/window_styles.h"
#include "ui/qt/qt_window_frame.h"

namespace stmtlink {
namespace {

constexpr Qt::WindowFlags kBoxes = Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                                   Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint;

TEST(QtWindowFrameTest, OnlyASystemMenuLetsTheWindowManagerDrawTheCaption) {
  // Caption without system menu: a caption of its own, no boxes, on top when
  // system modal.
  const WindowFrame progress = FrameForStyle(kStylePopup | kStyleCaption | kStyleModalFrame | kStyleSystemModal);
  EXPECT_TRUE(progress.own_caption);
  EXPECT_TRUE(progress.flags & Qt::FramelessWindowHint);
  EXPECT_TRUE(progress.flags & Qt::WindowStaysOnTopHint);
  EXPECT_FALSE(progress.flags & kBoxes);

  // With a system menu the window manager's caption and its close box; the
  // other boxes only where the style names them.
  const WindowFrame with_menu = FrameForStyle(kStylePopup | kStyleCaption | kStyleSystemMenu | kStyleMinimizeBox);
  EXPECT_FALSE(with_menu.own_caption);
  EXPECT_FALSE(with_menu.flags & (Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint));
  EXPECT_EQ(Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint,
            with_menu.flags & kBoxes);
  EXPECT_TRUE(with_menu.flags & Qt::WindowTitleHint);

  // No caption at all: no frame, and nothing drawn in its place.
  const WindowFrame bare = FrameForStyle(kStylePopup);
  EXPECT_FALSE(bare.own_caption);
  EXPECT_TRUE(bare.flags & Qt::FramelessWindowHint);

  FramedWindow framed(nullptr, kStylePopup | kStyleCaption | kStyleSystemMenu);
  EXPECT_TRUE(framed.CaptionRect().isEmpty());
  EXPECT_EQ(QPoint(0, 0), framed.ClientOrigin());
  framed.SetFixedClientSize(QSize(200, 100));
  EXPECT_EQ(QSize(200, 100), framed.size());
}

} // namespace
} // namespace stmtlink
