// The host home: the one Linux folder that stands for the host's installation
// and data (books.db, host.ini, host-window.log, drive_c/). Set once at
// start-up from --home, $STMTLINK_HOME or ~/.local/share/stmtlink.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace stmtlink {

void SetHostHome(std::string linux_dir);
const std::string& HostHome();
// A number that changes with every SetHostHome: what was read from a home
// is still good while it stays the same (cheaper than comparing folders).
// Inline: every host call asks it.
namespace internal {
extern std::uint64_t host_home_generation;
} // namespace internal
inline std::uint64_t HostHomeGeneration() { return internal::host_home_generation; }
// HostHome() joined with a file name, e.g. HostHomeFile("host.ini").
std::string HostHomeFile(std::string_view name);

} // namespace stmtlink
