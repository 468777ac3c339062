// The report reader of stmtlink-report: any bytes as a report file, read
// with the report's schema, the statements' and the ledger's figures
// checked. A refusal must leave no findings; every outcome is an exit
// status of 0, 1 or 2.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "tools/report/report_check.h"
#include "tools/report/report_schema.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace stmtlink::report;
  static const std::unique_ptr<ReportSchema> schema = ReportSchema::Load(STMTLINK_REPORT_SCHEMA);
  if (!schema) __builtin_trap();
  const int fd = memfd_create("report", 0);
  if (fd < 0) return 0;
  if (size > 0 && write(fd, data, size) != static_cast<ssize_t>(size)) {
    close(fd);
    return 0;
  }
  CheckOutcome outcome;
  CheckReport("/proc/self/fd/" + std::to_string(fd), *schema, &outcome);
  close(fd);
  if (outcome.exit_status < 0 || outcome.exit_status > 2) __builtin_trap();
  if (outcome.read.refusal != Refusal::kNone &&
      (!outcome.findings.list().empty() || outcome.exit_status != 2))
    __builtin_trap();
  (void)CheckText("report.xml", outcome);
  (void)CheckJson("report.xml", outcome);
  return 0;
}
