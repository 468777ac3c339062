// The window style bits that the program's dialog resources carry, with
// the system's values, so that a front end can give each window the frame
// the resource asks for.
#pragma once

#include <cstdint>

namespace stmtlink {

constexpr std::uint32_t kStylePopup = 0x80000000u;       // a top-level window of its own
constexpr std::uint32_t kStyleCaption = 0x00C00000u;     // caption bar (with border)
constexpr std::uint32_t kStyleSystemMenu = 0x00080000u;  // system menu, and with it the close box
constexpr std::uint32_t kStyleMinimizeBox = 0x00020000u;
constexpr std::uint32_t kStyleMaximizeBox = 0x00010000u;
constexpr std::uint32_t kStyleThickFrame = 0x00040000u;  // the user may resize it
constexpr std::uint32_t kStyleModalFrame = 0x00000080u;  // dialog: modal dialog frame
constexpr std::uint32_t kStyleSystemModal = 0x00000002u; // dialog: above every other window

} // namespace stmtlink
