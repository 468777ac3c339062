#include "tools/report/ledger_book.h"

#include "tools/report/findings.h"
#include "tools/report/ledger_sides.h"
#include "tools/report/net_assets_classes.h"
#include "tools/report/statement_terms.h"

namespace stmtlink::report {
namespace {

// A line the book adds of its own (brought forward, month and running
// totals, the closing balance): its words in the description column.
LedgerLine BookLine(LedgerLineKind kind, const char* words, std::optional<std::int64_t> debit,
                    std::optional<std::int64_t> credit, std::optional<std::int64_t> balance) {
  LedgerLine line;
  line.kind = kind;
  line.description = words;
  line.debit = debit;
  line.credit = credit;
  line.balance = balance;
  return line;
}

} // namespace

std::string LedgerBook::MonthOf(const std::string& date) {
  const std::size_t month = date.find("月");
  return month == std::string::npos ? date : date.substr(0, month + std::string("月").size());
}

void LedgerBook::BeginBlock(const LedgerBlock& block) {
  seen_.insert(block.account);
  category_ = block.category;
  months_ = true;
  closing_ = block.closing;
  month_.clear();
  month_debit_ = month_credit_ = total_debit_ = total_credit_ = 0;
  rows_ = false;
  output_->BeginAccount(block.account, block.category);
  output_->Line(BookLine(LedgerLineKind::kBroughtForward, "前期繰越", {}, {}, block.opening));
}

void LedgerBook::Row(const LedgerRow& row) {
  const std::string month = MonthOf(row.date);
  if (rows_ && months_ && month != month_) CloseMonth();
  month_ = month;
  rows_ = true;
  const DebitCredit sides = SidesOf(category_, row.amount);
  month_debit_ = Plus(month_debit_, sides.debit);
  month_credit_ = Plus(month_credit_, sides.credit);
  LedgerLine line;
  line.date = row.date;
  line.counter_account = row.counter_account;
  if (!row.counter_sub_account.empty()) line.counter_account += "／" + row.counter_sub_account;
  line.description = row.description;
  if (sides.debit != 0 || sides.credit == 0) line.debit = sides.debit;
  if (sides.credit != 0) line.credit = sides.credit;
  line.balance = row.balance;
  output_->Line(line);
}

void LedgerBook::CloseMonth() {
  total_debit_ = Plus(total_debit_, month_debit_);
  total_credit_ = Plus(total_credit_, month_credit_);
  output_->Line(BookLine(LedgerLineKind::kMonthTotal, "月計", month_debit_, month_credit_, {}));
  output_->Line(BookLine(LedgerLineKind::kCumulative, "累計", total_debit_, total_credit_, {}));
  month_debit_ = month_credit_ = 0;
}

void LedgerBook::EndBlock() {
  if (rows_ && months_) CloseMonth();
  output_->Line(BookLine(LedgerLineKind::kClosing, "期末残高", {}, {}, closing_));
  output_->EndAccount();
}

namespace {

struct StillAccount {
  std::string account, category;
  std::int64_t closing = 0;
};

void CollectAccounts(const Node& section, std::vector<StillAccount>* accounts) {
  for (const Node& child : section.children) {
    if (child.name == "Item") accounts->push_back({child.label.value_or(""), SectionName(section.name), child.amount.value_or(0)});
    else CollectAccounts(child, accounts);
  }
}

} // namespace

void LedgerBook::Finish() {
  const Node* data = root_ ? root_->Child("DATA") : nullptr;
  const Node* sheet = data ? data->Child("BalanceSheet") : nullptr;
  if (sheet == nullptr) return;
  std::vector<StillAccount> accounts;
  CollectAccounts(*sheet, &accounts);
  // The equity statement's item for each net-assets account: its opening and changes.
  const Node* equity = data->Child("StatementChangesNetAssets");
  std::vector<NetAssetsAccount> net_assets;
  if (const Node* node = sheet->Child("NetAssets")) net_assets = ClassifyNetAssets(*node, equity);
  for (const StillAccount& account : accounts) {
    if (seen_.count(account.account) || account.closing == 0) continue;
    seen_.insert(account.account);
    const Node* item = nullptr;
    bool treasury = false;
    for (const NetAssetsAccount& placed : net_assets)
      if (placed.label == account.account && !placed.equity_item.empty() && equity != nullptr) {
        treasury = placed.equity_class == EquityClass::kTreasuryShares;
        for (const Node* candidate : equity->Children("ChangesNetAssetsItem"))
          if (candidate->ChildText("AccountList") == placed.equity_item) item = candidate;
      }
    LedgerBlock block;
    block.account = account.account;
    block.category = account.category;
    block.closing = account.closing;
    const Node* opening = item ? item->Child("BalanceEndPreviousPeriod") : nullptr;
    block.opening = opening ? opening->amount.value_or(0) : account.closing;
    const Node* changes = item ? item->Child("ChangesItemsDuringPeriod") : nullptr;
    BeginBlock(block);
    months_ = false; // the equity statement's changes carry no dates
    if (treasury) category_ = "資産の部"; // 自己株式 stands on the debit side
    if (changes != nullptr) {
      std::int64_t balance = block.opening;
      for (const Node* change : changes->Children("ChangesItem")) {
        LedgerRow row;
        row.description = change->ChildText("Reason") + "（株主資本等変動計算書）";
        const Node* amount = change->Child("Amount");
        row.amount = amount ? amount->amount.value_or(0) : 0;
        balance = Plus(balance, row.amount);
        row.balance = balance;
        Row(row);
      }
    }
    EndBlock();
  }
}

} // namespace stmtlink::report
