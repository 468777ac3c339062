#include "tools/report/etax_export.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <sstream>
#include <vector>

#include "platform/env.h"
#include "platform/replacing_file.h"
#include "tools/report/equity_form.h"
#include "tools/report/etax_build.h"
#include "tools/report/output_file.h"
#include "tools/report/report_check.h"
#include "tools/report/report_reader.h"
#include "tools/report/statements_html.h"
#include "tools/report/system_reasons.h"

namespace stmtlink::report {
namespace {

// The statements e-Tax takes as PDF that the report has, by title.
std::vector<std::string> PdfStatements(const Node& root) {
  std::vector<std::string> titles;
  const Node* data = root.Child("DATA");
  if (data == nullptr) return titles;
  if (data->Child("ScheduleCostGoodsManufactured")) titles.push_back("製造原価報告書");
  if (const auto equity = EquityForm(root)) titles.push_back(equity->title);
  if (data->Child("ListNotesNonConsolidated")) titles.push_back("個別注記表");
  return titles;
}

std::string Joined(const std::vector<std::string>& parts, const char* separator) {
  std::string text;
  for (const std::string& part : parts) text += (text.empty() ? "" : separator) + part;
  return text;
}

// The files put in place together: an earlier file at a target is kept
// under a link until all are in place, and put back when one fails.
class Commitment {
 public:
  ~Commitment() {
    for (const Kept& kept : kept_)
      if (!kept.backup.empty()) unlink(kept.backup.c_str());
  }
  // Keeps the file at target (if any) for a roll-back.
  void Keep(const std::string& target) {
    Kept kept{target, ""};
    struct stat status;
    if (lstat(target.c_str(), &status) == 0 && S_ISREG(status.st_mode)) {
      const std::size_t slash = target.rfind('/');
      const std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
      kept.backup = folder + ".etax-kept." + std::to_string(getpid()) + "." + std::to_string(kept_.size());
      if (link(target.c_str(), kept.backup.c_str()) != 0) kept.backup.clear();
      kept.existed = true;
    }
    kept_.push_back(kept);
  }
  // After the commit of target failed: the targets put in place before it
  // go back to what they were.
  void RollBack(std::size_t committed) {
    for (std::size_t i = 0; i < committed && i < kept_.size(); ++i) {
      const Kept& kept = kept_[i];
      if (!kept.backup.empty()) rename(kept.backup.c_str(), kept.target.c_str());
      else if (!kept.existed) unlink(kept.target.c_str());
    }
  }

 private:
  struct Kept {
    std::string target, backup;
    bool existed = false;
  };
  std::vector<Kept> kept_;
};

int RefuseEtax(std::ostream& err, const std::string& message) {
  err << "stmtlink-report etax: " << message << "\n何も書き込んでいません。\n";
  return 2;
}

// The folder, made when missing; "" when it may be written into, else why not.
std::string PrepareFolder(const std::string& folder) {
  struct stat status;
  if (stat(folder.c_str(), &status) == 0) {
    if (!S_ISDIR(status.st_mode)) return "フォルダーではありません";
    return access(folder.c_str(), W_OK | X_OK) == 0 ? "" : FileReason(EACCES, FileUse::kWriting);
  }
  if (errno != ENOENT) return FileReason(errno, FileUse::kWriting);
  if (mkdir(folder.c_str(), 0777) != 0) return FileReason(errno, FileUse::kWriting);
  return "";
}

} // namespace

int EtaxExport(const EtaxExportRequest& request, const EtaxPdfWriter& write_pdf, std::ostream& out,
               std::ostream& err) {
  std::string error;
  EtaxTables tables;
  if (!tables.Load(&error)) return RefuseEtax(err, error);
  AccountMap company_map;
  if (!request.map.empty() && !company_map.Load(request.map, tables.balance_sheet, tables.income, &error))
    return RefuseEtax(err, error);
  ReadResult read;
  if (!ReadReport(request.report, ReadOptions{}, &read))
    return RefuseEtax(err, request.report + ": 読めません: " + RefusalMessage(read));
  EtaxFiles files;
  if (!BuildEtaxFiles(read.root, tables, request.map.empty() ? nullptr : &company_map, request.company, &files, &error))
    return RefuseEtax(err, request.report + ": " + error);
  const std::vector<std::string> pdf_titles = PdfStatements(read.root);

  if (const std::string why = PrepareFolder(request.folder); !why.empty())
    return RefuseEtax(err, request.folder + ": 書き込めません: " + why);
  const std::string folder = request.folder.back() == '/' ? request.folder : request.folder + "/";
  // Every file whole under its temporary name before any is put in place.
  std::vector<std::unique_ptr<ReplacingFile>> csv;
  for (std::size_t i = 0; i < 2; ++i) {
    const std::string target = folder + EtaxFileName(files.sheets[i].kind);
    ReplacingFile::OpenError open_error = ReplacingFile::OpenError::kNone;
    std::unique_ptr<ReplacingFile> file = ReplacingFile::Open(Env::Real(), target, &open_error);
    if (!file) return RefuseEtax(err, target + ": 書き込めません: " + ReplacementReason(open_error, target));
    errno = 0;
    if (!file->Append(files.bytes[i]))
      return RefuseEtax(err, target + ": 書き込めません: " + FileReason(errno != 0 ? errno : EIO, FileUse::kWriting));
    csv.push_back(std::move(file));
  }
  ReplacementPath pdf;
  const std::string pdf_target = folder + kEtaxPdfName;
  if (!pdf_titles.empty()) {
    if (!pdf.Prepare(pdf_target, &error)) return RefuseEtax(err, pdf_target + ": 書き込めません: " + error);
    std::ostringstream html;
    HtmlOptions options;
    options.for_qt = true;
    options.etax_attachments = true;
    StatementsHtml document(html, options);
    document.WriteStatements(read.root);
    document.Finish();
    if (!write_pdf(read.root, html.str(), pdf.temporary()))
      return RefuseEtax(err, pdf_target + ": PDF を作れません");
  }
  Commitment commitment;
  for (const auto& file : csv) commitment.Keep(file->target());
  if (!pdf_titles.empty()) commitment.Keep(pdf_target);
  for (std::size_t i = 0; i < csv.size(); ++i) {
    errno = 0;
    if (!csv[i]->Commit()) {
      const int error_number = errno;
      commitment.RollBack(i);
      return RefuseEtax(err, csv[i]->target() + ": 書き込めません: " + FileReason(error_number != 0 ? error_number : EIO, FileUse::kWriting));
    }
  }
  if (!pdf_titles.empty() && !pdf.Commit(&error)) {
    commitment.RollBack(csv.size());
    return RefuseEtax(err, pdf_target + ": 書き込めません: " + error);
  }

  for (const EtaxSheet& sheet : files.sheets) {
    int amounts = 0, branches = 0;
    std::string branched;
    for (const EtaxRow& row : sheet.rows) {
      if (row.amount) ++amounts;
      if (row.code.find('-') != std::string::npos) {
        ++branches;
        branched += "\n    " + row.code + "  " + row.name;
      }
    }
    out << folder << EtaxFileName(sheet.kind) << ": " << EtaxTitle(sheet.kind) << " " << sheet.rows.size()
        << " 行（金額の行 " << amounts << "、見出しの行 " << sheet.rows.size() - amounts << "）\n";
    if (branches > 0)
      out << "  コード表にない勘定科目（見出しのコードに枝番、--map で指定できます）: " << branches << " 件" << branched << "\n";
  }
  if (pdf_titles.empty()) {
    out << "製造原価報告書・株主資本等変動計算書・個別注記表はレポートにないため、PDF は作っていません。\n";
    struct stat status;
    if (stat(pdf_target.c_str(), &status) == 0) // not this report's: say so rather than leave it unnamed
      out << "（" << pdf_target << " は以前に書き出したもので、このレポートのものではありません）\n";
  }
  else
    out << pdf_target << ": " << Joined(pdf_titles, "・") << "（e-Tax には CSV でなく PDF で添付します）\n";
  out << "CSV の最終確認は e-Tax の CSV チェックコーナーで行ってください。\n";
  return 0;
}

} // namespace stmtlink::report
