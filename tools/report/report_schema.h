// The report's schema (docs/report.xsd, shipped beside the tool as
// stmtlink-report.xsd), compiled once and shared by any number of reads.
// The general ledger's part is taken out of libxml2's hands when it can be
// (see ledger_form.h): the compiled schema then lets the ledger's content
// pass unseen, and the reader checks it by the ledger's rules.
#pragma once

#include <memory>
#include <string>

#include "tools/report/ledger_form.h"

struct _xmlSchema;
struct _xmlDoc;

namespace stmtlink::report {

class ReportSchema {
 public:
  // nullptr when the file cannot be read or is not a schema.
  static std::unique_ptr<ReportSchema> Load(const std::string& path);
  ~ReportSchema();
  ReportSchema(const ReportSchema&) = delete;
  ReportSchema& operator=(const ReportSchema&) = delete;

  _xmlSchema* get() const { return schema_; }
  // The ledger's rules, nullptr when the schema validates the ledger itself.
  const LedgerForm* ledger_form() const { return ledger_form_.get(); }

 private:
  ReportSchema() = default;
  _xmlDoc* doc_ = nullptr;
  _xmlSchema* schema_ = nullptr;
  std::unique_ptr<LedgerForm> ledger_form_;
};

} // namespace stmtlink::report
