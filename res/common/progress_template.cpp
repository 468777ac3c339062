#include "res/common/progress_template.h"

#include "res/common/resource.h"
#include "res/common/window_styles.h"

namespace stmtlink {
namespace {

// Pop-up with caption bar and modal frame, above other windows, no system
// menu, initially hidden.
constexpr ProgressWindowTemplate kProgress = {
    IDD_PROGRESS,
    kStylePopup | kStyleCaption | kStyleModalFrame | kStyleSystemModal,
    "集計中",
    "ＭＳ Ｐゴシック",
    9,
    221,
    45,
    {
        {1016, true, true, 5, 6, 211, 22},
        {1017, false, false, 5, 29, 211, 10},
    },
};

} // namespace

const ProgressWindowTemplate& ProgressTemplate() { return kProgress; }

} // namespace stmtlink
