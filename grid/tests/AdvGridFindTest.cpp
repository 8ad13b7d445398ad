// Highlighting and marking of cell texts, find with its parameters, replace and the key search.

#include <gtest/gtest.h>

#include "grid/AdvGrid.h"
#include "platform/ui/Forms.h"
#include "testing/TestSupport.h"

namespace {

using TFP = DEreDuzeroVaro::TFindParameters;

struct FindFixture {
  TForm form{nullptr};
  DEreDuzeroVaro* grid;
  // Column 1 holds A, B, b in rows 1 to 3; column 2 is empty.
  FindFixture() {
    grid = new DEreDuzeroVaro(&form);
    grid->SetParent(&form);
    grid->SetBounds(0, 0, 300, 200);
    grid->SetColCount(3);
    grid->SetRowCount(4);
    grid->SetCells(1, 1, u"A");
    grid->SetCells(1, 2, u"B");
    grid->SetCells(1, 3, u"b");
    form.Show();
    ProcessPendingEvents();
  }
};

TPoint P(int X, int Y) { return TPoint(X, Y); }

TEST(AdvGridFind, HilightAndMarkTextEncloseEveryOccurrenceAndComeOut) {
  EXPECT_EQ(DEreDuzeroVaro::HilightText(false, u"Abc abc", u"ab"), u"<hi>Ab</hi>c <hi>ab</hi>c");
  EXPECT_EQ(DEreDuzeroVaro::HilightText(true, u"Abc abc", u"ab"), u"Abc <hi>ab</hi>c");
  EXPECT_EQ(DEreDuzeroVaro::HilightText(false, u"xyz", u"ab"), u"xyz");
  EXPECT_EQ(DEreDuzeroVaro::UnHilightText(DEreDuzeroVaro::HilightText(false, u"Abc abc", u"ab")), u"Abc abc");
  EXPECT_EQ(DEreDuzeroVaro::MarkText(false, u"Abc", u"b"), u"A<e>b</e>c");
  EXPECT_EQ(DEreDuzeroVaro::UnMarkText(u"A<e>b</e>c"), u"Abc");
}

TEST(AdvGridFind, ColumnHighlightLeavesFixedAndFooterRowsUnlessAsked) {
  FindFixture f;
  f.grid->SetCells(1, 0, u"b head");
  f.grid->HilightInCol(false, false, 1, u"b");
  EXPECT_EQ(f.grid->Cells(1, 0), u"b head");
  EXPECT_EQ(f.grid->Cells(1, 2), u"<hi>B</hi>");
  EXPECT_EQ(f.grid->Cells(1, 3), u"<hi>b</hi>");
  // Twice highlighted, once removed: every tag goes.
  f.grid->HilightInCol(false, false, 1, u"b");
  f.grid->UnHilightInGrid(false);
  EXPECT_EQ(f.grid->Cells(1, 3), u"b");
  f.grid->HilightInCol(true, true, 1, u"b");
  EXPECT_EQ(f.grid->Cells(1, 0), u"<hi>b</hi> head");
  f.grid->MarkInGrid(false, false, u"a");
  EXPECT_EQ(f.grid->Cells(1, 1), u"<e>A</e>");
  f.grid->UnMarkInCell(1, 1);
  EXPECT_EQ(f.grid->Cells(1, 1), u"A");
}

TEST(AdvGridFind, FindWalksColumnsFirstIgnoringCaseAndFindNextContinues) {
  FindFixture f;
  EXPECT_EQ(f.grid->FindFirst(u"b", {}), P(1, 2));
  EXPECT_EQ(f.grid->FindNext(), P(1, 3));
  EXPECT_EQ(f.grid->FindNext(), P(-1, -1));
  EXPECT_FALSE(f.grid->FindBusy());
}

TEST(AdvGridFind, FindParametersTable) {
  struct Case {
    const char16_t* text;
    DEreDuzeroVaro::TFindParams params;
    TPoint hit;
  };
  const Case cases[] = {
      {u"b", {TFP::fnMatchCase}, P(1, 3)},
      {u"b", {TFP::fnBackward}, P(2, 4)},                   // from the bottom right
      {u"\"\"", {}, P(1, 4)},                               // the first empty cell (row 4 of column 1)
      {u"ello", {}, P(2, 1)},                               // inside a longer text
      {u"ello", {TFP::fnMatchStart}, P(-1, -1)},
      {u"ello", {TFP::fnMatchFull}, P(-1, -1)},
      {u"hello", {TFP::fnMatchFull}, P(2, 1)},
      {u"h*o", {TFP::fnMatchRegular}, P(2, 1)},
      {u"x", {TFP::fnDirectionLeftRight}, P(2, 2)},        // row 2 before row 3
      {u"bold", {TFP::fnIgnoreHTMLTags}, P(2, 4)},
      {u"b", {TFP::fnFindInPresetRow}, P(-1, -1)},         // FindRow 0: the header row is outside
  };
  for (const Case& c : cases) {
    FindFixture f;
    f.grid->SetRowCount(5);
    f.grid->SetCells(2, 1, u"Hello");
    f.grid->SetCells(2, 2, u"x");
    f.grid->SetCells(1, 3, u"b x");
    f.grid->SetCells(2, 4, u"<b>bo</b>ld");
    const TPoint hit = f.grid->FindFirst(c.text, c.params);
    EXPECT_EQ(hit, c.hit) << c.params.Bits();
  }
}

TEST(AdvGridFind, AutoGotoMakesTheHitCurrent) {
  FindFixture f;
  f.grid->FindFirst(u"b", {TFP::fnAutoGoto, TFP::fnMatchCase});
  EXPECT_EQ(f.grid->Row(), 3);
  EXPECT_EQ(f.grid->Col(), 1);
}

// A hit in a row hidden under a contracted node opens the node and becomes current; Find
// walks on from the cell it is given.
TEST(AdvGridFind, AutoGotoOpensTheContractedNodeHidingTheHit) {
  FindFixture f;
  f.grid->AddNode(1, 3);
  f.grid->SetNodeState(1, true);
  ASSERT_EQ(f.grid->RowCount(), 2);
  const TPoint hit = f.grid->FindFirst(u"b", {TFP::fnAutoGoto, TFP::fnMatchCase, TFP::fnIncludeHiddenRows});
  EXPECT_EQ(hit, P(1, 3));
  EXPECT_FALSE(f.grid->GetNodeState(1));
  EXPECT_EQ(f.grid->RowCount(), 4);
  EXPECT_EQ(f.grid->Row(), 3);
  EXPECT_EQ(f.grid->Find(P(1, 1), u"B", {TFP::fnMatchCase}), P(1, 2));
}

TEST(AdvGridFind, ReplaceChangesEveryHitCellAndFollowsTheCaseRule) {
  FindFixture f;
  f.grid->SetCells(2, 1, u"bob");
  EXPECT_EQ(f.grid->Replace(u"b", u"p", {}), 3);
  EXPECT_EQ(f.grid->Cells(1, 2), u"p");
  EXPECT_EQ(f.grid->Cells(2, 1), u"pop");
  // With match case only the exact case is found and replaced.
  f.grid->SetCells(1, 1, u"Aa");
  EXPECT_EQ(f.grid->Replace(u"a", u"z", {TFP::fnMatchCase}), 1);
  EXPECT_EQ(f.grid->Cells(1, 1), u"Az");
  // A replacement holding the searched text changes each cell once.
  EXPECT_EQ(f.grid->Replace(u"z", u"zz", {}), 1);
  EXPECT_EQ(f.grid->Cells(1, 1), u"Azz");
}

TEST(AdvGridFind, KeySearchFindsTheRowByItsStart) {
  FindFixture f;
  f.grid->SetCells(0, 1, u"<b>Alpha</b>");
  f.grid->SetCells(0, 2, u"Beta");
  f.grid->SetFixedCols(0);
  EXPECT_EQ(f.grid->Search(u"BE"), 2);
  EXPECT_EQ(f.grid->Search(u"AL"), 1);
  EXPECT_EQ(f.grid->Search(u"Q"), -1);
  f.grid->SetRowCount(1);
  EXPECT_EQ(f.grid->Search(u"AL"), -1);
}

}  // namespace
