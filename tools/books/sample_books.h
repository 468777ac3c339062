// The sample host home: books.db with a realistic company, host.ini and the
// drive C folder. The books tool, the tests and the benchmarks all build
// their homes with it, so one seed always gives the same books.
#pragma once

#include <cstdint>
#include <string>

namespace stmtlink {

struct SampleOptions {
  std::string home;        // Linux folder; made (with its parents) when missing
  std::uint32_t seed = 1;  // drives every generated figure
  bool force = false;      // replace books.db when the home already holds one
};

enum class SampleStatus {
  kWritten,
  kRefused, // the home holds books.db and force is off; nothing was touched
  kFailed,  // a file or folder could not be written; books.db is unchanged
};

// Writes the home. books.db and host.ini are written beside their final
// names and renamed into place, so a failure never leaves half a file.
// *error says what went wrong (kRefused and kFailed).
SampleStatus WriteSampleHome(const SampleOptions& options, std::string* error);

} // namespace stmtlink
