#include "tools/report/etax_account_map.h"

#include <cerrno>

#include "platform/env.h"
#include "platform/text_codec.h"
#include "tools/report/csv_fields.h"
#include "tools/report/etax_text.h"
#include "tools/report/system_reasons.h"

namespace stmtlink::report {
namespace {

bool IsUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    const std::size_t n = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
    if (n == 0 || i + n > text.size()) return false;
    for (std::size_t k = 1; k < n; ++k)
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    i += n;
  }
  return true;
}

std::string Trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

} // namespace

bool AccountMap::Load(const std::string& path, const EtaxCodeTable& balance_sheet, const EtaxCodeTable& income,
                      std::string* error) {
  std::string bytes;
  errno = 0;
  if (!Env::Real()->ReadFile(path, &bytes)) {
    *error = path + ": 読めません: " + (errno != 0 ? FileReason(errno, FileUse::kReading) : "読み込めませんでした");
    return false;
  }
  if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) bytes.erase(0, 3);
  std::string text;
  if (IsUtf8(bytes)) text = std::move(bytes);
  else if (!Cp932ToUtf8(bytes, &text)) {
    *error = path + ": UTF-8 でも Shift_JIS でもないファイルです";
    return false;
  }
  const std::vector<std::string_view> lines = TextLines(text);
  std::vector<std::string> fields;
  for (std::size_t n = 0; n < lines.size(); ++n) {
    const std::string where = path + " の " + std::to_string(n + 1) + " 行目";
    if (Trimmed(std::string(lines[n])).empty() || lines[n][0] == '#') continue;
    if (!SplitCsvFields(lines[n], &fields) || fields.size() < 2 || fields.size() > 3) {
      *error = where + ": 「勘定科目名,コード」または「勘定科目名,コード,書き出す名前」の形ではありません";
      return false;
    }
    AccountMapping mapping{Trimmed(fields[0]), Trimmed(fields[1]), fields.size() == 3 ? Trimmed(fields[2]) : "", where};
    if (mapping.account.empty()) {
      *error = where + ": 勘定科目名がありません";
      return false;
    }
    if (mapping.code.empty() && mapping.name.empty()) {
      *error = where + ": コードも書き出す名前もありません";
      return false;
    }
    if (!mapping.code.empty() && balance_sheet.Find(mapping.code) < 0 && income.Find(mapping.code) < 0) {
      *error = where + ": 「" + mapping.code + "」は勘定科目コード表にないコードです";
      return false;
    }
    for (const AccountMapping& other : by_account_[mapping.account])
      if (other.code == mapping.code) {
        *error = where + ": 「" + mapping.account + "」は " + other.where + " にもあります";
        return false;
      }
    std::string encoded;
    TextFault fault;
    if (!mapping.name.empty() && !EtaxEncode(EtaxFieldText(mapping.name), &encoded, &fault)) {
      *error = TextFaultMessage(fault, where + ": 書き出す名前", mapping.name);
      return false;
    }
    by_account_[mapping.account].push_back(std::move(mapping));
  }
  return true;
}

const std::vector<AccountMapping>& AccountMap::Of(const std::string& account) const {
  static const std::vector<AccountMapping> kNone;
  const auto it = by_account_.find(account);
  return it == by_account_.end() ? kNone : it->second;
}

} // namespace stmtlink::report
