#include "ui/batch_dialogs.h"

#include "res/common/conditions_template.h"
#include "platform/text_codec.h"

namespace stmtlink {

int BatchDialogs::RunModal(DialogLogic& logic) {
  declined_ = false;
  if (StartModal(logic)) {
    for (const ControlInput& input : input_) {
      if (ended()) break;
      if (!Apply(logic, input)) {
        std::fprintf(out_, "batch: control %d %s; its input is dropped\n", input.id,
                     FindControl(input.id) != nullptr ? "is disabled" : "does not exist");
        std::fflush(out_);
      }
    }
    // The conditions dialog leaves the focus on the output edit when it
    // refuses the path (or a question about it was answered No): say which
    // path, and how to give another, beside the dialog's own message;
    // --answer yes only helps where a question was answered No (to make
    // the folder or to replace the file, whichever was asked).
    if (!ended() && GetFocus() == IDC_OUTPUT_PATH) {
      std::fprintf(out_,
                   declined_ ? "batch: the output path '%s' was refused: its question was "
                               "answered No; give another with --output PATH, or --answer yes "
                               "to answer Yes\n"
                             : "batch: the output path '%s' was refused; give another with "
                               "--output PATH\n",
                   ToUtf8(GetItemText(IDC_OUTPUT_PATH)).c_str());
      std::fflush(out_);
    }
  }
  return FinishModal(logic);
}

bool BatchDialogs::GetSaveFileName(const SaveFileRequest& request, std::string*) {
  std::fprintf(out_, "%s  -> cancelled\n", ToUtf8(request.title).c_str());
  std::fflush(out_);
  return false;
}

} // namespace stmtlink
