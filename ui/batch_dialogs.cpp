#include "ui/batch_dialogs.h"

#include "platform/text_codec.h"

namespace stmtlink {

int BatchDialogs::RunModal(DialogLogic& logic) {
  if (StartModal(logic)) {
    for (const ControlInput& input : input_) {
      if (ended()) break;
      if (!Apply(logic, input)) {
        std::fprintf(out_, "batch: control %d %s; its input is dropped\n", input.id,
                     FindControl(input.id) != nullptr ? "is disabled" : "does not exist");
        std::fflush(out_);
      }
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
