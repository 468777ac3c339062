// The frame of a top-level window as its resource style asks for it: the
// caption bar, the system menu with its close box, the minimise and
// maximise boxes, above other windows or not.
//
// A window manager's caption bar brings its own buttons. Some window
// managers leave them off when the Motif hints (which Qt writes from the
// window flags) ask for no close, minimise or maximise, but others always
// draw them beside a caption and close the window on Alt+F4. So a window
// whose style has a caption and no system menu gets no frame from the
// window manager: it draws its caption bar and modal frame itself, and the
// window manager still holds its title (for task bars and window lists).
#pragma once

#include <QWidget>

#include <cstdint>

namespace stmtlink {

struct WindowFrame {
  Qt::WindowFlags flags;
  bool own_caption = false; // the window draws its caption bar and frame itself
};

// The Qt flags of a dialog-like top-level window with this style, and who
// draws its caption.
WindowFrame FrameForStyle(std::uint32_t style);

// A top-level window framed as FrameForStyle says. With its own caption it
// draws, around the client area, a raised modal frame and a caption bar
// with the window title in the selection colours, and repaints that bar
// when the title changes; otherwise the client area is the whole window.
class FramedWindow : public QWidget {
 public:
  FramedWindow(QWidget* parent, std::uint32_t style);

  // Fixes the window's size so that its client area has this size (the
  // caption bar's height follows the font: set the font first).
  void SetFixedClientSize(QSize size);
  // Where the client area begins, in the window's coordinates (children
  // laid out in dialog units are moved by it).
  QPoint ClientOrigin() const { return contentsRect().topLeft(); }
  // The caption bar the window draws; empty when the window manager draws it.
  QRect CaptionRect() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void UpdateMargins();

  bool own_caption_;
};

} // namespace stmtlink
