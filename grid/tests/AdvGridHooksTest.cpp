// The string grid's hooks: the grid's own decision first, then the event.
#include <gtest/gtest.h>

#include "controls/VevAzez.h"
#include "grid/AdvGrid.h"
#include "platform/rtl/SysUtils.h"
#include "testing/TestSupport.h"

TEST(AdvGridHooks, EditorQuestionsWithoutEventsFollowTheControlLook) {
  DEreDuzeroVaro g(nullptr);
  EXPECT_FALSE(g.HasNoEditor(1, 1));
  EXPECT_FALSE(g.HasComboBox(1, 1));
  EXPECT_FALSE(g.HasSpinEdit(1, 1));
  g.ControlLook()->SetDropDownAlwaysVisible(true);
  EXPECT_FALSE(g.HasComboBox(1, 1));
  g.SetDefaultEditor(edComboList);
  EXPECT_TRUE(g.HasComboBox(1, 1));
  g.ControlLook()->SetSpinButtonsAlwaysVisible(true);
  g.SetDefaultEditor(edFloatSpinEdit);
  EXPECT_TRUE(g.HasSpinEdit(1, 1));
  EXPECT_FALSE(g.HasSpinEdit(0, 1));  // never in a fixed column
  // The editor event decides the kind, also for HasNoEditor.
  g.OnGetEditorType = [](TObject*, int ACol, int, TEditorType& E) {
    if (ACol == 2) E = edNone;
  };
  EXPECT_TRUE(g.HasNoEditor(2, 1));
  EXPECT_FALSE(g.HasNoEditor(3, 1));
  g.OnHasComboBox = [](TObject*, int, int ARow, bool& Has) { Has = ARow == 5; };
  EXPECT_TRUE(g.HasComboBox(1, 5));
  EXPECT_FALSE(g.HasComboBox(1, 4));
}

TEST(AdvGridHooks, FixedCellsIncludeTheKeptFixedRowWhenNoDataRowIsLeft) {
  DEreDuzeroVaro g(nullptr);
  g.SetFixedRowAlways(true);
  g.SetFixedRows(1);
  bool fixed = false;
  g.IsFixedCell(2, 1, fixed);
  EXPECT_FALSE(fixed);
  g.SetRowCount(1);
  for (int c = 0; c < g.ColCount(); ++c) {
    fixed = false;
    g.IsFixedCell(c, 0, fixed);
    EXPECT_TRUE(fixed) << c;
  }
  // The event is asked only while the cell is not fixed already.
  int asked = 0;
  g.OnIsFixedCell = [&](TObject*, int, int, bool& F) {
    ++asked;
    F = true;
  };
  fixed = false;
  g.IsFixedCell(0, 0, fixed);
  EXPECT_EQ(asked, 0);
}

TEST(AdvGridHooks, ReadOnlyCellIsRefusedButTheEventHasTheLastWord) {
  DEreDuzeroVaro g(nullptr);
  TGridOptions o = g.Options();
  o.Include(goEditing);
  g.SetOptions(o);
  g.CellProperties(2, 2)->SetReadOnly(true);
  bool seen = true;
  bool overrule = false;
  g.OnCanEditCell = [&](TObject*, int, int, bool& CanEdit) {
    seen = CanEdit;
    if (overrule) CanEdit = true;
  };
  bool allow = true;
  g.CellEditAllowed(2, 2, allow);
  EXPECT_FALSE(seen);
  EXPECT_FALSE(allow);
  overrule = true;
  allow = true;
  g.CellEditAllowed(2, 2, allow);
  EXPECT_TRUE(allow);
  // Merged cells ask about their base cell.
  g.MergeCells(1, 4, 2, 1);
  g.CellProperties(1, 4)->SetReadOnly(true);
  overrule = false;
  allow = true;
  g.CellEditAllowed(2, 4, allow);
  EXPECT_FALSE(allow);
}

TEST(AdvGridHooks, FilterListHoldsEachValueOnceAfterTheClearEntry) {
  DEreDuzeroVaro g(nullptr);
  g.SetRowCount(5);
  g.SetFilterDropDownAuto(true);
  g.SetCells(1, 1, u"a b");
  g.SetCells(1, 2, u"c");
  g.SetCells(1, 3, u"c");
  g.SetCells(1, 4, u"");
  ASSERT_TRUE(g.BuildFilterList(1));
  TStringList* l = g.FilterList();
  ASSERT_EQ(l->Count(), 4);
  EXPECT_EQ(l->Strings(0), u"(All)");
  EXPECT_EQ(l->Strings(1), u"");
  EXPECT_EQ(l->Strings(2), u"a b=\"a b\"");
  EXPECT_EQ(l->Strings(3), u"c");
  // A fixed column gives no list of its own; the event may still fill it.
  EXPECT_FALSE(g.BuildFilterList(0));
  g.OnGetColumnFilter = [](TObject*, int, TStrings* F) { F->Add(u"x"); };
  EXPECT_TRUE(g.BuildFilterList(0));
}

TEST(AdvGridHooks, CellColourTakesTheRecordThenTheEvent) {
  DEreDuzeroVaro g(nullptr);
  TBrush brush;
  TFont font;
  brush.SetColor(clWindow);
  TCellProperties* p = g.CellProperties(2, 3);
  p->SetBrushColor(clRed);
  p->SetFontColor(clBlue);
  p->SetFontSize(15);
  g.GetCellColor(2, 3, TGridDrawState{}, &brush, &font);
  EXPECT_EQ(brush.Color(), clRed);
  EXPECT_EQ(font.Color(), clBlue);
  EXPECT_EQ(font.Size(), 15);
  // Cells of other kinds keep the brush.
  g.SetGraphicObjects(2, 3, nullptr);
  auto* graphic = new TCellGraphic;
  graphic->SetCellType(ctProgress);
  g.SetGraphicObjects(2, 3, graphic);
  brush.SetColor(clWindow);
  g.GetCellColor(2, 3, TGridDrawState{}, &brush, &font);
  EXPECT_EQ(brush.Color(), clWindow);
  g.OnGetCellColor = [](TObject*, int, int, TGridDrawState, TBrush* B, TFont*) { B->SetColor(clLime); };
  g.GetCellColor(2, 3, TGridDrawState{}, &brush, &font);
  EXPECT_EQ(brush.Color(), clLime);
  // The headers of the current cell take the active-cell look.
  g.SetActiveCellShow(true);
  g.OnGetCellColor = nullptr;
  brush.SetColor(clWindow);
  g.GetCellColor(g.Col(), 0, TGridDrawState{}, &brush, &font);
  EXPECT_EQ(brush.Color(), g.ActiveCellColor());
  EXPECT_TRUE(font.Style().Contains(fsBold));
}

TEST(AdvGridHooks, CheckTextsAndSavedCheckBoxes) {
  DEreDuzeroVaro g(nullptr);
  String v;
  g.GetCheckTrue(1, 1, v);
  EXPECT_EQ(v, u"Y");
  g.OnGetCheckFalse = [](TObject*, int, int, String& V) { V = u"no"; };
  g.GetCheckFalse(1, 1, v);
  EXPECT_EQ(v, u"no");
  auto* box = new TCellGraphic;
  box->SetCheckBox(true, false, false, haLeft, vaTop);
  g.SetGraphicObjects(1, 1, box);
  EXPECT_EQ(g.GetSaveCellText(1, 1), u"Y");
  box->SetCellBoolean(false);
  EXPECT_EQ(g.GetSaveCellText(1, 1), u"no");
}

TEST(AdvGridHooks, NodeRowsGetTheGroupingUnderline) {
  DEreDuzeroVaro g(nullptr);
  auto* node = new TCellGraphic;
  node->SetCellType(ctNode);
  g.SetGraphicObjects(0, 2, node);
  g.Grouping()->SetHeaderUnderline(true);
  TPen pen;
  TCellBorders borders;
  g.GetCellBorder(1, 2, &pen, borders);
  EXPECT_TRUE(borders.Contains(cbBottom));
  EXPECT_EQ(pen.Color(), g.Grouping()->HeaderLineColor());
  EXPECT_EQ(pen.Width(), 2);
  borders = TCellBorders{};
  g.GetCellBorder(0, 2, &pen, borders);
  EXPECT_TRUE(borders.Empty());
}

TEST(AdvGridHooks, ChangedCellsReachTheEventThenEveryNotifier) {
  DEreDuzeroVaro g(nullptr);
  std::vector<int> order;
  struct TNotifier : TGridChangeNotifier {
    std::vector<int>* Order;
    int Id;
    TNotifier(std::vector<int>* O, int I) : TGridChangeNotifier(nullptr), Order(O), Id(I) {}
    void CellsChanged(TRect) override { Order->push_back(Id); }
  } n1(&order, 1), n2(&order, 2);
  g.OnCellsChanged = [&](TObject*, TRect) { order.push_back(0); };
  g.RegisterNotifier(&n1);
  g.RegisterNotifier(&n2);
  g.CellsChanged(TRect(1, 1, 2, 2));
  EXPECT_EQ(order, (std::vector<int>{0, 1, 2}));
  g.UnRegisterNotifier(&n1);
  order.clear();
  g.CellsChanged(TRect(1, 1, 2, 2));
  EXPECT_EQ(order, (std::vector<int>{0, 2}));
}

TEST(AdvGridHooks, RatingChangeMayBeRefused) {
  DEreDuzeroVaro g(nullptr);
  double rate = 3;
  EXPECT_TRUE(g.RatingChange(1, 1, rate));
  g.OnRatingChange = [](TObject*, int, int, double& R, bool& Allow) {
    R = 4;
    Allow = false;
  };
  EXPECT_FALSE(g.RatingChange(1, 1, rate));
  EXPECT_EQ(rate, 4);
}

TEST(AdvGridHooks, ExpandClickFiresThenSetsTheRowHeight) {
  DEreDuzeroVaro g(nullptr);
  auto* expand = new TCellGraphic;
  expand->SetCellType(ctExpand);
  expand->SetCellIndex(22);
  expand->SetCellAngle(60);
  g.SetGraphicObjects(2, 3, expand);
  int heightSeen = -1;
  g.OnExpandClick = [&](TObject*, int, int ARow, bool) { heightSeen = g.RowHeights(ARow); };
  g.ExpandClick(2, 3, true);
  EXPECT_EQ(heightSeen, g.DefaultRowHeight());
  EXPECT_EQ(g.RowHeights(3), 60);
  g.ExpandClick(2, 3, false);
  EXPECT_EQ(g.RowHeights(3), 22);
  // Without an expand graphic the row takes the default height.
  g.SetRowHeights(4, 40);
  g.ExpandClick(1, 4, true);
  EXPECT_EQ(g.RowHeights(4), g.DefaultRowHeight());
}

TEST(AdvGridHooks, GridHintFillsTheOfficeHintAndPacksAWideHint) {
  DEreDuzeroVaro g(nullptr);
  g.OnGridHint = [](TObject*, int ARow, int ACol, String& H) { H = u"cell " + IntToStr(ACol) + u"," + IntToStr(ARow); };
  TAdvHintInfo* seen = nullptr;
  g.OnOfficeHint = [&](TObject*, int, int, TAdvHintInfo* Info) { seen = Info; };
  String hint, wide;
  g.GridHint(2, 3, hint, wide);
  EXPECT_EQ(hint, u"cell 2,3");
  ASSERT_EQ(seen, g.OfficeHint());
  EXPECT_EQ(Trim(seen->Notes()->Text()), u"cell 2,3");
  g.OnGridWideHint = [](TObject*, int, int, String& W) { W = u"ﾁｬﾝﾈﾙ"; };
  g.GridHint(2, 3, hint, wide);
  EXPECT_EQ(hint.substr(0, 2), u"|\\");
  EXPECT_EQ(UnpackWideText(hint), u"ﾁｬﾝﾈﾙ");
}
