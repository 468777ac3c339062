#include "tools/report/system_reasons.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace stmtlink::report {

std::string FileReason(int error_number, FileUse use) {
  const bool reading = use == FileUse::kReading;
  switch (error_number) {
    case ENOENT: return reading ? "ファイルがありません" : "書き込む先のフォルダーがありません";
    case ENOTDIR: return "途中の名前がフォルダーではありません";
    case EACCES:
    case EPERM: return reading ? "読む権限がありません" : "書く権限がありません";
    case EISDIR: return "フォルダーです";
    case EFBIG:
    case EOVERFLOW: return "ファイルが大きすぎます";
    case ENAMETOOLONG: return "名前が長すぎます";
    case ELOOP: return "シンボリックリンクが循環しています";
    case ENOSPC: return "ディスクに空きがありません";
    case EDQUOT: return "ディスクの使用量の上限を超えます";
    case EROFS: return "読み取り専用のファイルシステムです";
    case EIO: return "装置の入出力エラーです";
    case EMFILE:
    case ENFILE: return "開いているファイルが多すぎます";
    case ENOMEM: return "メモリーが足りません";
    case EBUSY:
    case ETXTBSY: return "ほかのプログラムが使用中です";
    case ENXIO:
    case ENODEV: return "装置がありません";
    case EAGAIN: return "今は使えません。しばらくしてからやり直してください";
    default: return "システムのエラーです（番号 " + std::to_string(error_number) + "）";
  }
}

std::string NotRegularReason(unsigned mode) {
  if (S_ISDIR(mode)) return "フォルダーです";
  if (S_ISFIFO(mode)) return "通常のファイルではありません（名前付きパイプ）";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "通常のファイルではありません（装置）";
  if (S_ISSOCK(mode)) return "通常のファイルではありません（ソケット）";
  return "通常のファイルではありません";
}

std::string ReplacementReason(ReplacingFile::OpenError error, const std::string& target) {
  struct stat status {};
  switch (error) {
    case ReplacingFile::OpenError::kNone: return "";
    case ReplacingFile::OpenError::kNotAFile:
      return stat(target.c_str(), &status) == 0 ? NotRegularReason(status.st_mode)
                                                : "通常のファイルではありません";
    case ReplacingFile::OpenError::kNotWritable: return "書く権限がありません";
    case ReplacingFile::OpenError::kNoTemporary: {
      // The temporary goes beside the target: its folder says why.
      const std::size_t slash = target.rfind('/');
      const std::string folder =
          slash == std::string::npos ? "." : slash == 0 ? "/" : target.substr(0, slash);
      if (stat(folder.c_str(), &status) != 0) return FileReason(errno, FileUse::kWriting);
      if (!S_ISDIR(status.st_mode)) return "途中の名前がフォルダーではありません";
      if (access(folder.c_str(), W_OK | X_OK) != 0) return "フォルダーに書く権限がありません";
      return "書き込む先のフォルダーに一時ファイルを作れません";
    }
  }
  return "";
}

} // namespace stmtlink::report
