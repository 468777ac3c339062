// The remembered-settings file: any content, a record replaced in it. The
// new record is found again with its values, and the other lines stay.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "dialog/remembered_conditions.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view content(reinterpret_cast<const char*>(data), size);
  const std::string key = stmtlink::ConditionsKey("USER01", 0, 1);

  std::string value;
  stmtlink::ConditionsRecord loaded;
  if (stmtlink::FindConditionsValue(content, key, &value))
    stmtlink::ParseConditionsValue(value, &loaded);

  const stmtlink::ConditionsRecord saved{4, 3, 2, 0, "C:\\out\\report.xml"};
  const std::string replaced = stmtlink::ReplaceConditionsRecord(content, key, saved);
  if (replaced.empty() || replaced.back() != '\n') __builtin_trap();
  stmtlink::ConditionsRecord again;
  if (!stmtlink::FindConditionsValue(replaced, key, &value)) __builtin_trap();
  stmtlink::ParseConditionsValue(value, &again);
  if (again.from != 4 || again.to != 3 || again.kind != 2 || again.ledger != 0 ||
      again.path != saved.path)
    __builtin_trap();
  // Replacing again changes nothing: the record of the key stands last.
  if (stmtlink::ReplaceConditionsRecord(replaced, key, saved) != replaced) __builtin_trap();
  return 0;
}
