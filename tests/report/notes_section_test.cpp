// The notes section over note records made in the test.
#include <gtest/gtest.h>

#include "report/note_table.h"
#include "report/notes_section.h"
#include "tests/report/section_output.h"

namespace stmtlink {
namespace {

using testing::SectionOutput;
using testing::WriteSection;

// One note record as the notes reader delivers it.
void AddRecord(std::vector<std::string>* lines, long number, char disp,
               const std::vector<std::string>& text, bool with_value = true) {
  lines->push_back("<ID>" + std::to_string(number) + "</ID>");
  lines->push_back("<Name>x</Name>");
  lines->push_back("<Group>0</Group>");
  lines->push_back(std::string("<Disp>") + disp + "</Disp>");
  lines->push_back(with_value ? "<Value>" : "<Other>");
  for (const std::string& t : text) lines->push_back(t);
  lines->push_back("</Value>");
}

SectionOutput Notes(const std::vector<std::string>& lines, std::vector<unsigned char> groups) {
  groups.resize(50);
  NotesInput input{&lines, groups.data()};
  return WriteSection([&](XmlWriter& xml) { return WriteNotesSection(xml, input); });
}

const char kEmptySection[] = "\t\t<ListNotesNonConsolidated>\r\n\t\t</ListNotesNonConsolidated>\r\n";

TEST(NoteTableTest, HoldsTheReceiversTreeInOrder) {
  int rows = 0;
  for (; kNoteTable[rows].number > 0; ++rows) {
    EXPECT_GE(kNoteTable[rows].level, 3);
    EXPECT_LE(kNoteTable[rows].level, 8);
    EXPECT_LE(kNoteTable[rows].group, 10);
    if (rows > 0) {
      EXPECT_LT(kNoteTable[rows - 1].number, kNoteTable[rows].number);
      // A child is one level deeper than the row before it at most.
      EXPECT_LE(kNoteTable[rows].level, kNoteTable[rows - 1].level + 1);
    }
  }
  EXPECT_EQ(kNoteCount, rows);
  EXPECT_STREQ("NotesGoingConcernAssumption", kNoteTable[0].name);
  EXPECT_STREQ("ItemDescriptionOtherNotes", kNoteTable[kNoteCount - 1].name);
}

TEST(NotesSectionTest, DisabledGroupsGiveAnEmptySection) {
  std::vector<std::string> lines;
  AddRecord(&lines, 1000010, '1', {"<Line>abc</Line>"});
  SectionOutput out = Notes(lines, {});
  EXPECT_EQ(1, out.result);
  EXPECT_EQ(kEmptySection, out.text);
}

TEST(NotesSectionTest, ShownNoteIsWrittenWithItsEscapedLines) {
  std::vector<std::string> lines;
  AddRecord(&lines, 1000010, '1', {"<Line>abc</Line>", "<Line>A&B<C>", "<Line>継続企業</Line>"});
  SectionOutput out = Notes(lines, {1});
  EXPECT_EQ(1, out.result);
  EXPECT_EQ("\t\t<ListNotesNonConsolidated>\r\n"
            "\t\t\t<NotesGoingConcernAssumption>\r\n"
            "\t\t\t\t<Line>abc</Line>\r\n"
            "\t\t\t\t<Line>A&amp;B&lt;C&gt;</Line>\r\n"
            "\t\t\t\t<Line>継続企業</Line>\r\n"
            "\t\t\t</NotesGoingConcernAssumption>\r\n"
            "\t\t</ListNotesNonConsolidated>\r\n",
            out.text);
}

TEST(NotesSectionTest, NoteMarkedZeroOrWithoutRecordIsLeftOut) {
  std::vector<std::string> lines;
  AddRecord(&lines, 1000010, '0', {"<Line>abc</Line>"});
  EXPECT_EQ(kEmptySection, Notes(lines, {1}).text);
  EXPECT_EQ(kEmptySection, Notes({}, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}).text);
  // A record cut short before its display line counts as not shown.
  EXPECT_EQ(kEmptySection, Notes({"<ID>1000010</ID>", "x", "y"}, {1}).text);
}

TEST(NotesSectionTest, ShownNoteWithoutTextLinesIsAnEmptyPairOfTags) {
  std::vector<std::string> lines;
  AddRecord(&lines, 1150010, '1', {});
  std::vector<unsigned char> groups(11, 0);
  groups[9] = 1;
  EXPECT_EQ("\t\t<ListNotesNonConsolidated>\r\n"
            "\t\t\t<NotesMaterialSubsequentEvents>\r\n"
            "\t\t\t</NotesMaterialSubsequentEvents>\r\n"
            "\t\t</ListNotesNonConsolidated>\r\n",
            Notes(lines, groups).text);
  // Without a <Value> line the text is not read either.
  lines.clear();
  AddRecord(&lines, 1150010, '1', {"<Line>x</Line>"}, /*with_value=*/false);
  EXPECT_EQ(std::string::npos, Notes(lines, groups).text.find("<Line>"));
}

TEST(NotesSectionTest, NestedNotesAreIndentedByTheirLevel) {
  std::vector<std::string> lines;
  AddRecord(&lines, 1010010, '1', {});
  AddRecord(&lines, 1010020, '1', {});
  AddRecord(&lines, 1010030, '1', {"<Line>level six</Line>"});
  SectionOutput out = Notes(lines, {0, 1});
  EXPECT_EQ("\t\t<ListNotesNonConsolidated>\r\n"
            "\t\t\t<NotesSignificantAccountingPolicy>\r\n"
            "\t\t\t\t<ValuationBasisValuationMethodAssets>\r\n"
            "\t\t\t\t\t<ValuationBasisValuationMethodMarketableSecurities>\r\n"
            "\t\t\t\t\t\t<Line>level six</Line>\r\n"
            "\t\t\t\t\t</ValuationBasisValuationMethodMarketableSecurities>\r\n"
            "\t\t\t\t</ValuationBasisValuationMethodAssets>\r\n"
            "\t\t\t</NotesSignificantAccountingPolicy>\r\n"
            "\t\t</ListNotesNonConsolidated>\r\n",
            out.text);
}

TEST(NotesSectionTest, HiddenNoteLeavesItsShownDescendantsInPlaceOnce) {
  std::vector<std::string> lines;
  AddRecord(&lines, 1010010, '0', {});
  AddRecord(&lines, 1010030, '1', {"<Line>kept</Line>"});
  AddRecord(&lines, 1010040, '1', {});
  SectionOutput out = Notes(lines, {0, 1});
  EXPECT_EQ("\t\t<ListNotesNonConsolidated>\r\n"
            "\t\t\t\t\t<ValuationBasisValuationMethodMarketableSecurities>\r\n"
            "\t\t\t\t\t\t<Line>kept</Line>\r\n"
            "\t\t\t\t\t</ValuationBasisValuationMethodMarketableSecurities>\r\n"
            "\t\t\t\t\t<ValuationBasisValuationMethodInventories>\r\n"
            "\t\t\t\t\t</ValuationBasisValuationMethodInventories>\r\n"
            "\t\t</ListNotesNonConsolidated>\r\n",
            out.text);
  EXPECT_EQ(1, testing::CountOf(out.text, "<ValuationBasisValuationMethodMarketableSecurities>"));
}

TEST(NotesSectionTest, DisplayMarkIsTheFirstRecordWithADisplayLine) {
  std::vector<std::string> lines = {"<ID>1000010</ID>", "a"}; // too short to carry a mark
  AddRecord(&lines, 1000010, '1', {});
  EXPECT_TRUE(IsNoteShown(lines, 1000010));
  EXPECT_FALSE(IsNoteShown(lines, 1000020));
}

} // namespace
} // namespace stmtlink
