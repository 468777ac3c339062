#include "AccUty/CmnProcHpr.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "host/data_mgr.h"
#include "host/host_errors.h"
#include "host/msg_mgr.h"

namespace stmtlink {
namespace {

// How the host's message manager names this source file.
constexpr char kSourceName[] = "AccUty\\CmnProcHpr.cpp";
// The places of the failing calls, as the host's error records name them.
constexpr int kLineGetCursor = 310;
constexpr int kLineReady = 317;
constexpr int kLineWalk = 337;
constexpr std::int32_t kLastDate = 99991231;

// The host's message manager is asked to judge a result without showing
// its own box: a failure ends the run with one message that names the call
// that failed, and a second box for the same failure would only confuse.
constexpr long kShowNoBox = 0;

constexpr std::size_t kFormatBuffer = 128;
constexpr char kErasWhat[] = "元号";

template <typename... Args>
std::string Format(const char* format, Args... args) {
  char text[kFormatBuffer];
  std::snprintf(text, sizeof(text), format, args...);
  return text;
}

} // namespace

CmnProcHpr::CmnProcHpr(std::int32_t own_set_manager) : own_set_manager_(own_set_manager) {}

CmnProcHpr::~CmnProcHpr() { ClMsgMgr::Inst()->SetLastError(0, nullptr, 0); }

int CmnProcHpr::HostError(long result, int line, const char* call, long fatal) {
  ClMsgMgr::Inst()->SetLastError(result, kSourceName, line);
  // The caller (the ledger) must not take an empty date for a date outside
  // every era: the failure is kept for it. A call whose answer was a
  // normal one (0, or 5000 at the end of the rows) did not fail: the
  // message manager that judged it did.
  const bool normal_answer = result == 0 || result == kHostEndOfRows;
  if (!normal_answer || fatal == 0) read_failure_.Note(RunFailure::HostRead(call, result, kErasWhat));
  else read_failure_.Note(RunFailure::HostRead("ClMsgMgr::CheckFatalErrorWithMsg", fatal, kErasWhat));
  return -1;
}

int CmnProcHpr::FindEra(std::int32_t date, StGENGOINFO* era, std::int32_t* era_year) {
  if (era) std::memset(era, 0, sizeof(*era));
  ClMsgMgr* messages = ClMsgMgr::Inst();
  ClSetMgr* set_mgr = ClDataMgr::Inst()->GetSetMgr();
  if (set_mgr == nullptr) return HostError(0, kLineGetCursor, "ClDataMgr::GetSetMgr", 0);
  auto* eras = static_cast<ClSetGengo*>(set_mgr->GetSetObject(kSetKindEras, kSetObjectPrivate));
  if (eras == nullptr) return HostError(0, kLineGetCursor, "ClSetMgr::GetSetObject", 0);

  long cursor = 0;
  long result = eras->GetCursor(&cursor);
  long fatal = messages->CheckFatalErrorWithMsg(result, 0, kShowNoBox, owner_window_);
  if (fatal || result) return HostError(result, kLineGetCursor, "ClSetGengo::GetCursor", fatal);
  result = eras->Ready(cursor);
  fatal = messages->CheckFatalErrorWithMsg(result, 0, kShowNoBox, owner_window_);
  if (fatal || result) {
    eras->ReleaseCursor(cursor);
    return HostError(result, kLineReady, "ClSetGengo::Ready", fatal);
  }

  StGENGOINFO previous{};
  bool have_previous = false;
  for (;;) {
    StGENGOINFO row{};
    result = eras->Walk(cursor, &row);
    fatal = messages->CheckFatalErrorWithMsg(result, 0, kShowNoBox, owner_window_);
    if (fatal) {
      eras->ReleaseCursor(cursor);
      return HostError(result, kLineWalk, "ClSetGengo::Walk", fatal);
    }
    if (result != 0) break; // no more eras
    if (!have_previous) {
      if (date < row.firstDay) {
        eras->ReleaseCursor(cursor);
        return -1;
      }
    } else if (date >= previous.firstDay && date < row.firstDay) {
      break; // the previous era contains the date
    }
    previous = row;
    have_previous = true;
  }
  eras->ReleaseCursor(cursor);

  if (!have_previous || date > kLastDate) return -1;
  if (era) *era = previous;
  if (era_year) *era_year = date / 10000 - previous.firstDay / 10000 + 1;
  return 0;
}

std::string CmnProcHpr::FormatDate(std::int32_t date, int format, int zero_pad) {
  const long year = date / 10000;
  const long month = date % 10000 / 100;
  const long day = date % 100;
  const bool pad = zero_pad != 0;

  StGENGOINFO era{};
  std::int32_t era_year = 0;
  if (format == 0 || format == 1 || format == 5) {
    if (FindEra(date, &era, &era_year) != 0) return "";
  }
  // The row's texts need not be terminated within their fields.
  const std::string_view name(era.name, strnlen(era.name, sizeof(era.name)));
  switch (format) {
    case 0: {
      // The ledger's form, asked for every row: built without printf, cut
      // where the fixed buffer of the other forms cuts.
      // Built in place and made a string once: a usual date fits the
      // string's own room and needs no allocation.
      char text[kFormatBuffer];
      char* const limit = text + sizeof(text) - 1;
      char* at = text;
      const auto put = [&](std::string_view part) {
        const std::size_t n = std::min<std::size_t>(part.size(), static_cast<std::size_t>(limit - at));
        std::memcpy(at, part.data(), n);
        at += n;
      };
      const auto number = [&](long value) {
        char digits[24];
        put(std::string_view(digits, static_cast<std::size_t>(
                                         std::to_chars(digits, digits + sizeof(digits), value).ptr - digits)));
      };
      put(name);
      number(era_year);
      put("年");
      number(month);
      put("月");
      number(day);
      put("日");
      return std::string(text, static_cast<std::size_t>(at - text));
    }
    case 1: {
      const std::string abbreviation(era.abbreviation,
                                     strnlen(era.abbreviation, sizeof(era.abbreviation)));
      return Format(pad ? "%s.%02ld/%02ld/%02ld" : "%s.%ld/%ld/%ld", abbreviation.c_str(),
                    static_cast<long>(era_year), month, day);
    }
    case 2:
      return Format(pad ? "%ld/%02ld/%02ld" : "%ld/%ld/%ld", year, month, day);
    case 3:
      return Format(pad ? "%02ld/%02ld/%02ld" : "%02ld/%ld/%ld", year, month, day);
    case 4:
      return Format("%ld年%ld月%ld日", year, month, day);
    case 5: {
      std::string era_year_text = era_year == 1 ? "元" : std::to_string(era_year);
      return Format("%s%s年%ld月%ld日", std::string(name).c_str(), era_year_text.c_str(), month,
                    day);
    }
    default:
      return "";
  }
}

} // namespace stmtlink
