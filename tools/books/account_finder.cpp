#include "tools/books/account_finder.h"

#include "tools/books/books_language.h"

#include <algorithm>
#include <cstdlib>

#include "tools/books/nearest_names.h"
#include "tools/books/user_text.h"

namespace stmtlink {
namespace {

// "1120" or "1120-1": the stored code; false when text is not of that form.
bool ParseCodeForm(std::string_view text, std::int64_t* code) {
  const std::size_t dash = text.find('-');
  const std::string_view main = text.substr(0, dash);
  const std::string_view sub = dash == std::string_view::npos ? "" : text.substr(dash + 1);
  auto digits = [](std::string_view t, std::size_t most) {
    return !t.empty() && t.size() <= most &&
           t.find_first_not_of("0123456789") == std::string_view::npos;
  };
  if (!digits(main, 6) || (dash != std::string_view::npos && !digits(sub, 4))) return false;
  auto value = [](std::string_view t) {
    std::int64_t n = 0;
    for (char c : t) n = n * 10 + (c - '0');
    return n;
  };
  *code = value(main) * 10000 + value(sub);
  return true;
}

} // namespace

AccountFinder::AccountFinder(const std::vector<ChartAccount>& accounts) {
  auto add = [&](const std::string& name, std::int64_t code) {
    auto [it, fresh] = by_name_.emplace(name, code);
    if (!fresh && it->second != code) it->second = kAmbiguous;
  };
  for (const ChartAccount& a : accounts) by_code_[a.code] = &a;
  for (const ChartAccount& a : accounts) {
    add(a.formal_name, a.code);
    names_.push_back(a.formal_name);
    if (a.code % 10000 != 0)
      if (auto main = by_code_.find(a.code / 10000 * 10000); main != by_code_.end()) {
        add(main->second->formal_name + "/" + a.formal_name, a.code);
        sub_names_[main->first].push_back(a.formal_name);
      }
    const std::int64_t main_code = a.code / 10000 * 10000;
    last_sub_[main_code] = std::max(last_sub_[main_code], a.code % 10000);
  }
}

bool AccountFinder::Find(std::string_view text, std::int64_t* code, std::string* why) const {
  text = WithoutOuterSpaces(text);
  std::int64_t found = 0;
  if (!ParseCodeForm(text, &found)) {
    auto named = by_name_.find(std::string(text));
    if (named == by_name_.end()) {
      const std::vector<std::string> near = ClosestNames(text);
      *why = near.empty()
                 ? Say("unknown account '{0}'", u8"勘定科目 '{0}' がありません",
                       {TextForMessage(text)})
                 : Say("unknown account '{0}' (closest known: {1})",
                       u8"勘定科目 '{0}' がありません (近いもの: {1})",
                       {TextForMessage(text), TextForMessage(NearestNamesText(near))});
      return false;
    }
    if (named->second == kAmbiguous) {
      *why = Say("account name '{0}' belongs to several accounts; give its code or main/sub names",
                 u8"勘定科目名 '{0}' は複数の科目にあります。コードか「科目/補助科目」で"
                 u8"書いてください",
                 {TextForMessage(text)});
      return false;
    }
    found = named->second;
  }
  auto account = by_code_.find(found);
  if (account == by_code_.end()) {
    *why = Say("no account has the code '{0}'", u8"コード '{0}' の勘定科目がありません",
               {TextForMessage(text)});
    return false;
  }
  if (account->second->line_type == 1 || account->second->line_type == 2) {
    *why = Say("'{0}' is a heading or a total, which takes no postings",
               u8"'{0}' は見出しか合計で、仕訳を計上できません", {TextForMessage(text)});
    return false;
  }
  *code = found;
  return true;
}

bool AccountFinder::FindSub(std::int64_t main_code, std::string_view name, std::int64_t* code,
                            std::string* why) const {
  name = WithoutOuterSpaces(name);
  auto main = by_code_.find(main_code);
  if (main == by_code_.end()) return false; // the main account was refused already
  if (main_code % 10000 != 0) {
    *why = Say("'{0}' is a sub-account already and has no sub-accounts of its own",
               u8"'{0}' は補助科目で、その下に補助科目はありません",
               {TextForMessage(main->second->formal_name)});
    return false;
  }
  auto named = by_name_.find(main->second->formal_name + "/" + std::string(name));
  if (named != by_name_.end() && named->second != kAmbiguous) {
    *code = named->second;
    return true;
  }
  const std::string main_name = TextForMessage(main->second->formal_name);
  auto subs = sub_names_.find(main_code);
  const std::vector<std::string> near =
      subs == sub_names_.end() ? std::vector<std::string>() : ClosestNames(name, subs->second);
  *why = near.empty()
             ? Say("unknown sub-account '{0}' of {1} (give --create-sub-accounts to add it)",
                   u8"{1} に補助科目 '{0}' がありません (追加するには --create-sub-accounts)",
                   {TextForMessage(name), main_name})
             : Say("unknown sub-account '{0}' of {1} (closest known: {2}; give "
                   "--create-sub-accounts to add it)",
                   u8"{1} に補助科目 '{0}' がありません (近いもの: {2}。追加するには"
                   u8" --create-sub-accounts)",
                   {TextForMessage(name), main_name, TextForMessage(NearestNamesText(near))});
  return false;
}

bool AccountFinder::AddSub(std::int64_t main_code, std::string_view name, std::int64_t* code,
                           std::string* why) {
  auto main = by_code_.find(main_code);
  if (main == by_code_.end() || main_code % 10000 != 0) return FindSub(main_code, name, code, why);
  std::int64_t& last = last_sub_[main_code];
  if (last >= 9999) {
    *why = Say("{0} has no free sub-account number for '{1}'",
               u8"{0} には補助科目 '{1}' に使える番号が残っていません",
               {TextForMessage(main->second->formal_name), TextForMessage(name)});
    return false;
  }
  ChartAccount sub = *main->second;
  sub.code = main_code + ++last;
  sub.formal_name = std::string(name);
  sub.statement_name.clear();
  added_.push_back(sub);
  by_code_[sub.code] = &added_.back();
  by_name_[main->second->formal_name + "/" + sub.formal_name] = sub.code;
  sub_names_[main_code].push_back(sub.formal_name);
  *code = sub.code;
  return true;
}

std::vector<std::string> AccountFinder::ClosestNames(std::string_view text) const {
  return ClosestNames(text, names_);
}

std::vector<std::string> AccountFinder::ClosestNames(std::string_view text,
                                                     const std::vector<std::string>& names) const {
  return NearestNames(text, names);
}

std::string AccountFinder::NameOf(std::int64_t code) const {
  auto account = by_code_.find(code);
  return account == by_code_.end() ? std::string() : account->second->formal_name;
}

} // namespace stmtlink
