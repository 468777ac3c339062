// The report of books aggregated as the run does it: a small book stated in
// the test against a hand-written golden file, and the sample books checked
// by an XML reader.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "aggregate/statement_aggregator.h"
#include "app/month_conditions.h"
#include "app/progress_dialog.h"
#include "host/data_mgr.h"
#include "host/set_data.h"
#include "report/report_writer.h"
#include "tests/host/host_test_home.h"
#include "tests/support/recording_front_end.h"
#include "tests/support/recording_progress_window.h"
#include "tests/support/temp_dir.h"
#include "tests/support/xmllint.h"
#include "tools/books/sample_books.h"

namespace stmtlink {
namespace {

using testing::ReadTextFile;
using testing::ScopedCurrentDir;
using testing::TestHome;
using testing::Utf8;

// A year of a small trading company: cash, payables, capital, retained
// earnings, sales, rent, with the total rows that the statements look up.
constexpr char8_t kSmallBook[] = u8R"(
INSERT INTO data_set (data_no, data_id, company_name, period_start, period_end)
  VALUES (1, 'D0000001', 'ｶﾌﾞｼｷｶﾞｲｼｬ ﾎﾟｰﾄ', 20250401, 20260331);
INSERT INTO account (data_no, code, seq, formal_name, nature, line_type, normal_side) VALUES
  (1, 10000000,  1, '流動資産合計', 2156396544, 2, 1),
  (1, 11100000,  2, '現金', 2156396545, 0, 1),
  (1, 19000000,  3, '資産合計', 2155872256, 2, 1),
  (1, 20000000,  4, '流動負債合計', 2152202240, 2, 2),
  (1, 21100000,  5, '買掛金', 2152202241, 0, 2),
  (1, 29000000,  6, '負債合計', 2151677952, 2, 2),
  (1, 31100000,  7, '資本金', 2150137856, 0, 2),
  (1, 33400000,  8, '繰越利益剰余金', 2150109256, 3, 2),
  (1, 38000000,  9, '純資産合計', 2149580800, 2, 2),
  (1, 40000000, 10, '売上高合計', 1082687488, 2, 2),
  (1, 41100000, 11, '売上高', 1082687489, 0, 2),
  (1, 60000000, 12, '販売費及び一般管理費合計', 1082662912, 2, 1),
  (1, 61800000, 13, '地代家賃', 1082662920, 0, 1),
  (1, 89000000, 14, '当期純利益', 1075839040, 2, 2);
INSERT INTO total_member (data_no, total_code, member_mask) VALUES
  (1, 10000000, 2156396544), (1, 19000000, 2155872256), (1, 20000000, 2152202240),
  (1, 29000000, 2151677952), (1, 38000000, 2150105088), (1, 40000000, 1082687488),
  (1, 60000000, 1082662912), (1, 89000000, 1082130432),
  (1, 33400000, 1082130432);
INSERT INTO opening_balance (data_no, code, debit, credit) VALUES
  (1, 11100000, 15000000000, 0), (1, 31100000, 0, 10000000000), (1, 33400000, 0, 5000000000);
INSERT INTO journal_line (data_no, entry_id, entry_no, line_no, date, slot, debit_code,
  debit_amount, credit_code, credit_amount) VALUES
  (1, 1, 1, 1, 20250410, 1, 11100000, 30000000000, 41100000, 30000000000),
  (1, 2, 2, 1, 20250510, 2, 61800000, 12000000000, 11100000, 12000000000),
  (1, 3, 3, 1, 20250610, 3, 61800000, 3000000000, 21100000, 3000000000);
)";

StDATAINFO SelectedData() {
  StDATAINFO data;
  std::memset(&data, 0, sizeof(data));
  auto* set = dynamic_cast<ClSetData*>(ClDataMgr::Inst()->GetSetObject(5, 1));
  if (const StDATAINFO* selected = set ? set->GetSelectedInfo() : nullptr) data = *selected;
  return data;
}

class ReportFromBooksTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(home_.dir() + "/drive_c");
    home_.WriteHostIni(u8"[User]\nCurrentUserID=USER01\nSelectedNo1=0\nSelectedNo2=1\n");
  }

  // Aggregates the whole year and writes the report to C:\report.xml.
  int AggregateAndWrite() {
    StDATAINFO data = SelectedData();
    EXPECT_EQ(data.dataNo, 1);
    EXPECT_TRUE(progress_.Create());
    progress_.ResetMainBar();
    MonthConditions conditions{};
    EXPECT_TRUE(BuildMonthConditions(&conditions, &data, 4, 3).ok());
    StatementAggregator aggregator;
    aggregator.progressWindow = &progress_;
    aggregator.lines = &lines_;
    EXPECT_TRUE(aggregator.aggregate(0, conditions.entries, &data).ok());
    main_bar_after_aggregation_ = port_.Count("Delta(1016,1)");

    ReportWriter report;
    report.progressWindow = &progress_;
    report.lines = &lines_;
    report.progressBase = static_cast<std::int16_t>(aggregator.progressPosition);
    ScopedCurrentDir cwd(home_.dir());
    return report.WriteReport("C:\\report.xml", 3, &data);
  }

  std::string Report() const { return ReadTextFile(home_.dir() + "/drive_c/report.xml"); }

  TestHome home_;
  testing::RecordingFrontEnd front_end_;
  testing::RecordingProgressWindow port_;
  ProgressDialog progress_{0, &port_};
  AccountLineList lines_;
  long main_bar_after_aggregation_ = 0;
};

TEST_F(ReportFromBooksTest, SmallBookMatchesTheGoldenFileByteForByte) {
  home_.WriteBooks(kSmallBook);
  ASSERT_EQ(AggregateAndWrite(), 1);
  std::string expected =
      ReadTextFile(std::string(STMTLINK_SOURCE_DIR) + "/tests/report/golden/small_book.xml");
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(Report(), expected);

  // The main bar goes on from the aggregation's 5,000 to the end: 5,000 to
  // 6,000, 6,000 to 7,000 and 7,000 to 10,000, each end point stepped twice.
  EXPECT_EQ(port_.Count("Delta(1016,1)") - main_bar_after_aggregation_, 1001 + 1001 + 3001);
  ASSERT_FALSE(port_.captions.empty());
  EXPECT_EQ(port_.captions.back(), "集計中 100％");
}

TEST_F(ReportFromBooksTest, SampleBooksGiveAWellFormedShiftJisReport) {
  if (!testing::HaveXmllint())
    GTEST_SKIP() << "xmllint is not installed (scripts/lib/common.sh installs it)";
  SampleOptions options;
  options.home = home_.dir();
  options.force = true;
  std::string error;
  ASSERT_EQ(WriteSampleHome(options, &error), SampleStatus::kWritten) << error;
  ResetHostSubstitute(); // read the new books
  ASSERT_EQ(AggregateAndWrite(), 1);
  std::string text = Report();
  EXPECT_GT(std::count(text.begin(), text.end(), '\n'), 100);
  EXPECT_NE(text.find("<Item Label="), std::string::npos);

  EXPECT_EQ(testing::XmllintComplaints(home_.dir() + "/drive_c/report.xml"), "");
}

} // namespace
} // namespace stmtlink
