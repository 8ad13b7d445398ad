// Column widths kept in an ini file and read back by the next grid.
#include <gtest/gtest.h>

#include "grid/AdvGrid.h"
#include "platform/ui/Forms.h"
#include "testing/TempFolder.h"
#include "testing/TestSupport.h"

namespace {

void UseIniFile(DEreDuzeroVaro* Grid, const String& File) {
  Grid->ColumnSize()->SetLocation(clIniFile);
  Grid->ColumnSize()->SetKey(File);
  Grid->ColumnSize()->SetSection(u"Channels");
  Grid->ColumnSize()->SetSave(true);
}

}  // namespace

TEST(AdvGridColumnStates, WidthsSavedWhenTheGridGoesComeBackWithTheNextWindow) {
  TempFolder dir;
  TForm form(nullptr);
  form.Show();
  auto* first = new DEreDuzeroVaro(&form);
  UseIniFile(first, dir.FileS("cols.ini"));
  first->SetColWidths(1, 80);
  first->SetColWidths(4, 33);
  delete first;
  std::string text = dir.Read("cols.ini");
  EXPECT_NE(text.find("[Channels]"), std::string::npos);
  EXPECT_NE(text.find("Col1=80"), std::string::npos);

  auto* second = new DEreDuzeroVaro(&form);
  UseIniFile(second, dir.FileS("cols.ini"));
  EXPECT_EQ(second->ColWidths(1), second->DefaultColWidth());
  second->SetParent(&form);
  second->HandleNeeded();
  EXPECT_EQ(second->ColWidths(1), 80);
  EXPECT_EQ(second->ColWidths(4), 33);
  second->ColumnSize()->SetSave(false);
  delete second;
}

TEST(AdvGridColumnStates, NoStoredValuesOrNoKeyLeaveTheWidths) {
  TempFolder dir;
  DEreDuzeroVaro g(nullptr);
  g.SetColWidths(2, 50);
  g.ColumnSize()->SetLocation(clIniFile);
  g.ColumnSize()->SetKey(dir.FileS("empty.ini"));
  g.LoadColSizes();
  EXPECT_EQ(g.ColWidths(2), 50);  // no section: nothing read
  g.ColumnSize()->SetSection(u"Grid");
  g.LoadColSizes();
  EXPECT_EQ(g.ColWidths(2), 50);
}

TEST(AdvGridColumnStates, AStoreThatCannotBeWrittenIsReportedWhenTheGridGoes) {
  TempFolder dir;
  String reported;
  TExceptionReport previous = SetExceptionReport([&](const String& Message) { reported = Message; });
  auto* g = new DEreDuzeroVaro(nullptr);
  UseIniFile(g, dir.FileS("no-such-folder/cols.ini"));
  delete g;
  SetExceptionReport(previous);
  EXPECT_FALSE(reported.empty());
}

namespace {

// Row 0 of the displayed columns (cells are addressed by their stored column), "c2 c0 c1".
std::string HeaderRow(DEreDuzeroVaro& G) {
  std::string s;
  for (int c = 0; c < G.ColCount(); ++c) s += (c ? " " : "") + StringToUTF8(G.Cells(G.RealColIndex(c), 0));
  return s;
}

void NamedColumns(DEreDuzeroVaro& G, int Cols) {
  G.SetFixedCols(0);
  G.SetColCount(Cols);
  for (int c = 0; c < Cols; ++c) G.SetCells(c, 0, u"c" + IntToStr(c));
}

}  // namespace

TEST(AdvGridColumnStates, StateTextRestoresOrderHiddenColumnsAndWidths) {
  DEreDuzeroVaro fresh(nullptr);
  fresh.SetColCount(3);
  EXPECT_EQ(fresh.ColumnStatesToString(), u"3#64,64,64#0,1,2#1,1,1");

  DEreDuzeroVaro g(nullptr);
  NamedColumns(g, 5);
  g.StringToColumnStates(u"5#10,20,30,40,50#2,0,1,3,4#1,1,1,0,1");
  EXPECT_EQ(HeaderRow(g), "c2 c0 c1 c4");
  EXPECT_EQ(g.NumHiddenColumns(), 1);
  EXPECT_EQ(g.ColWidths(0), 10);
  EXPECT_EQ(g.ColWidths(3), 40);
  const String saved = g.ColumnStatesToString();
  EXPECT_EQ(saved, u"5#10,20,30,40,64#2,0,1,3,4#1,1,1,0,1");

  // Read back into the same grid (already arranged) and into a new one: the same layout.
  g.StringToColumnStates(saved);
  EXPECT_EQ(HeaderRow(g), "c2 c0 c1 c4");
  EXPECT_EQ(g.ColumnStatesToString(), saved);
  DEreDuzeroVaro other(nullptr);
  NamedColumns(other, 5);
  other.StringToColumnStates(saved);
  EXPECT_EQ(HeaderRow(other), "c2 c0 c1 c4");
  EXPECT_EQ(other.ColWidths(1), 20);
}

TEST(AdvGridColumnStates, BadStateTextsChangeNothingOrRaise) {
  DEreDuzeroVaro g(nullptr);
  NamedColumns(g, 4);
  g.StringToColumnStates(u"no states here");
  EXPECT_EQ(HeaderRow(g), "c0 c1 c2 c3");
  struct Case {
    const char16_t* Text;
  } bad[] = {{u"x#1,2#0,1#1,1"}, {u"2000000000#1,2#0,1#1,1"}, {u"-3#1#0#1"}, {u"2#1,y#0,1#1,1"}, {u"2#1,2#0,z#1,1"}};
  for (const Case& k : bad) {
    EXPECT_THROW(g.StringToColumnStates(k.Text), Exception) << StringToUTF8(k.Text);
    EXPECT_LE(g.ColCount(), 4);
  }
  EXPECT_THROW(g.StringToColumnStates(u"3#5,6,7#0,1,2#1"), Exception);  // flags missing
}

TEST(AdvGridColumnStates, PositionsSavedAndLoadedThroughTheIniFile) {
  TempFolder dir;
  DEreDuzeroVaro a(nullptr);
  NamedColumns(a, 4);
  a.StringToColumnStates(u"4#64,64,64,64#3,1,0,2#1,1,1,1");
  a.ColumnSize()->SetLocation(clIniFile);
  a.ColumnSize()->SetKey(dir.FileS("pos.ini"));
  a.ColumnSize()->SetSection(u"Order");
  a.SaveColPositions();
  std::string text = dir.Read("pos.ini");
  EXPECT_NE(text.find("Pos0=3"), std::string::npos);
  EXPECT_NE(text.find("Pos3=2"), std::string::npos);

  DEreDuzeroVaro b(nullptr);
  NamedColumns(b, 4);
  b.HideColumn(1);
  b.ColumnSize()->SetLocation(clIniFile);
  b.ColumnSize()->SetKey(dir.FileS("pos.ini"));
  b.ColumnSize()->SetSection(u"Order");
  b.LoadColPositions();
  EXPECT_EQ(b.NumHiddenColumns(), 1);  // hidden columns stay hidden
  b.UnHideColumnsAll();
  EXPECT_EQ(HeaderRow(b), "c3 c1 c0 c2");

  // No stored positions: nothing moves.
  DEreDuzeroVaro c(nullptr);
  NamedColumns(c, 3);
  c.ColumnSize()->SetLocation(clIniFile);
  c.ColumnSize()->SetKey(dir.FileS("pos.ini"));
  c.ColumnSize()->SetSection(u"Other");
  c.LoadColPositions();
  EXPECT_EQ(HeaderRow(c), "c0 c1 c2");
}
