// Dialog resource 131, the progress window: caption, font, size and its two
// bars, positions in dialog units. Texts are CP932.
#pragma once

#include <cstdint>

#include "platform/win_types.h"

namespace stmtlink {

struct ProgressBarTemplate {
  int id;           // 1016 main bar, 1017 second bar
  bool smooth;      // smooth bar; otherwise segmented
  bool client_edge; // sunken client edge besides the static edge
  int x, y, cx, cy;
};

struct ProgressWindowTemplate {
  UINT resource_id;
  std::uint32_t style;   // window style bits (res/common/window_styles.h)
  const char* caption;   // CP932
  const char* font_name; // CP932
  int point_size;
  int cx, cy;
  ProgressBarTemplate bars[2];
};

const ProgressWindowTemplate& ProgressTemplate();

} // namespace stmtlink
