// The sample company's notes to the financial statements, as the host keeps
// them in its financial-statement settings (statement_setting):
//   kind 100   the input switch and one "[Note_N]" section per note group
//              with its display switch (group 7 is switched off),
//   kind 0     the output switch,
//   kind 1000  the note records, CR LF lines, five characters as entities.
#include <string>
#include <vector>

#include "tools/books/sample_tables.h"
#include "tools/books/utf8_literal.h"

namespace stmtlink {
namespace {


struct SampleNote {
  long number;
  bool shown;
  std::vector<const char8_t*> lines; // UTF-8, already with entities
};

// A good share of the receiver's notes: headings with their text, nested
// notes, a hidden note with shown children, notes without text, entities.
const std::vector<SampleNote>& Notes() {
  static const std::vector<SampleNote> kNotes = {
      {1000010, true, {}},
      {1010010, true, {}},
      {1010020, true, {u8"資産の評価基準及び評価方法"}},
      {1010030, true, {u8"その他有価証券：時価のないものは移動平均法による原価法"}},
      {1010040, true, {u8"商品：最終仕入原価法による原価法（収益性の低下による簿価切下げの方法）"}},
      {1010050, true, {u8"有形固定資産：定率法（建物及び平成28年4月1日以降取得の建物附属設備",
                       u8"並びに構築物は定額法）", u8"無形固定資産：定額法"}},
      {1010060, true, {u8"貸倒引当金：債権の貸倒れによる損失に備えるため、法人税法の規定による",
                       u8"繰入限度額を計上しております。"}},
      {1010070, false, {u8"（表示しない注記）"}},
      {1010080, true, {}},
      {1010100, true, {u8"消費税等の会計処理：税抜方式"}},
      {1020010, false, {}},
      {1060010, true, {}},
      {1060020, true, {u8"担保に供している資産　建物 12,000,000円 &amp; 土地 30,000,000円"}},
      {1060060, true, {u8"有形固定資産の減価償却累計額　8,450,000円"}},
      {1060070, true, {u8"保証債務　取引先の借入金 5,000,000円"}},
      {1060130, true, {u8"関係会社に対する短期金銭債権　1,200,000円"}},
      {1070010, false, {}},
      {1070020, true, {u8"関係会社との取引高"}},
      {1070030, true, {u8"売上高　3,600,000円"}},
      {1070040, true, {u8"仕入高　1,800,000円"}},
      {1080010, true, {}},
      {1080020, true, {u8"当事業年度末の発行済株式の種類及び総数　普通株式 200株"}},
      {1080030, true, {}},
      {1090010, true, {}},
      {1090020, true, {u8"繰延税金資産の発生の主な原因は、未払事業税 &lt;少額&gt; です。"}},
      {1100010, true, {u8"リース取引の注記（所有権移転外ファイナンス・リース）"}},
      {1130010, true, {u8"関連当事者との取引（このグループは出力しない設定）"}},
      {1140010, true, {}},
      {1140020, true, {u8"1株当たり純資産額　&quot;250,000円&quot;"}},
      {1140030, true, {u8"1株当たり当期純利益　48,500円"}},
      {1150010, true, {u8"重要な後発事象はありません。"}},
      {1170010, true, {}},
      {1170020, true, {u8"その他の注記"}},
      {1170030, true, {u8"特記すべき事項はありません。"}},
  };
  return kNotes;
}

std::string NoteRecords() {
  std::string text;
  for (const SampleNote& note : Notes()) {
    const std::string number = std::to_string(note.number);
    text += "<ID>" + number + "</ID>\r\n";
    text += "<Name>" + number + "</Name>\r\n";
    text += "<Group>" + number.substr(1, 2) + "</Group>\r\n";
    text += std::string("<Disp>") + (note.shown ? "1" : "0") + "</Disp>\r\n";
    text += "<Value>\r\n";
    for (const char8_t* line : note.lines) text += std::string("<Line>") + U(line) + "</Line>\r\n";
    text += "</Value>\r\n";
  }
  return text;
}

std::string DisplaySettings() {
  std::string text = "[Kessansho]\r\nInputMode=1\r\n";
  for (int group = 0; group <= 10; ++group) {
    text += "[Note_" + std::to_string(group + 1) + "]\r\n";
    text += std::string("Disp=") + (group == 7 ? "0" : "1") + "\r\n";
  }
  return text;
}

} // namespace

bool WriteSampleNotes(SampleContext& context, std::string* error) {
  BooksStatement insert;
  if (!context.db.Prepare("INSERT INTO statement_setting (data_no, kind, text) VALUES (1, ?1, ?2)",
                          &insert, error))
    return false;
  const std::pair<int, std::string> rows[] = {
      {100, DisplaySettings()},
      {0, "[Output]\r\nNote=1\r\n"},
      {1000, NoteRecords()},
  };
  for (const auto& [kind, text] : rows) {
    if (!insert.BindInt64(1, kind, error) || !insert.BindText(2, text, error)) return false;
    if (insert.Next(error) != BooksStatement::Step::kDone || !insert.Reset(error)) return false;
  }
  return true;
}

} // namespace stmtlink
