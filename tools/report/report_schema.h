// The report's schema (docs/report.xsd, shipped beside the tool as
// stmtlink-report.xsd), compiled once and shared by any number of reads.
#pragma once

#include <memory>
#include <string>

struct _xmlSchema;

namespace stmtlink::report {

class ReportSchema {
 public:
  // nullptr when the file cannot be read or is not a schema.
  static std::unique_ptr<ReportSchema> Load(const std::string& path);
  ~ReportSchema();
  ReportSchema(const ReportSchema&) = delete;
  ReportSchema& operator=(const ReportSchema&) = delete;

  _xmlSchema* get() const { return schema_; }

 private:
  explicit ReportSchema(_xmlSchema* schema) : schema_(schema) {}
  _xmlSchema* schema_;
};

} // namespace stmtlink::report
