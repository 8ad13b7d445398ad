// The string grid's cell objects: adding, reading, changing and removing them, their
// ownership, check box states, toggles with undo, radio buttons and groups, balloons, markers.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "grid/AdvGrid.h"
#include "grid/AdvGridUndoRedo.h"
#include "grid/tests/GridTestSupport.h"
#include "platform/rtl/SysUtils.h"

// Every family's Add makes its kind, another family's Remove leaves it, its own Remove takes it
// out and leaves the cell without graphic.
TEST(AdvGridCellObjects, EachFamilyAddsItsKindAndOnlyItsRemoveTakesItOut) {
  TGridForm f;
  DEreDuzeroVaro& g = *f.grid;
  TBitmap bmp;
  TPicture pic;
  TFilePicture filePic;
  TIcon icon;
  TStringList captions;
  TPersistent app;
  using Op = std::function<void(DEreDuzeroVaro&)>;
  struct Case {
    const char* name;
    Op add;
    TCellType kind;
    Op remove;
  };
  const std::vector<Case> cases = {
      {"interface", [&](DEreDuzeroVaro& x) { x.AddInterfacedCell(1, 1, &app); }, ctInterface,
       [](DEreDuzeroVaro& x) { x.RemoveInterfacedCell(1, 1); }},
      {"bitmap", [&](DEreDuzeroVaro& x) { x.AddBitmap(1, 1, &bmp, true, haLeft, vaTop); }, ctBitmap,
       [](DEreDuzeroVaro& x) { x.RemoveBitmap(1, 1); }},
      {"picture", [&](DEreDuzeroVaro& x) { x.AddPicture(1, 1, &pic, false, Stretch, 2, haCenter, vaCenter); },
       ctPicture, [](DEreDuzeroVaro& x) { x.RemovePicture(1, 1); }},
      {"file picture",
       [&](DEreDuzeroVaro& x) { x.AddFilePicture(1, 1, &filePic, false, noStretch, 0, haLeft, vaTop); },
       ctFilePicture, [](DEreDuzeroVaro& x) { x.RemoveFilePicture(1, 1); }},
      {"icon", [&](DEreDuzeroVaro& x) { x.AddIcon(1, 1, &icon, haLeft, vaTop); }, ctIcon,
       [](DEreDuzeroVaro& x) { x.RemoveIcon(1, 1); }},
      {"rotated", [](DEreDuzeroVaro& x) { x.AddRotated(1, 1, 45, u"r"); }, ctRotated,
       [](DEreDuzeroVaro& x) { x.RemoveRotated(1, 1); }},
      {"progress", [](DEreDuzeroVaro& x) { x.AddProgress(1, 1, clRed, clWhite); }, ctProgress,
       [](DEreDuzeroVaro& x) { x.RemoveProgress(1, 1); }},
      {"adv progress", [](DEreDuzeroVaro& x) { x.AddAdvProgress(1, 1, 0, 10); }, ctXPProgress,
       [](DEreDuzeroVaro& x) { x.RemoveAdvProgress(1, 1); }},
      {"pie", [](DEreDuzeroVaro& x) { x.AddProgressPie(1, 1, clGreen, 30); }, ctProgressPie,
       [](DEreDuzeroVaro& x) { x.RemoveProgressPie(1, 1); }},
      {"range", [](DEreDuzeroVaro& x) { x.AddRangeIndicator(1, 1, 50, clRed, clGreen, true); }, ctRangeIndicator,
       [](DEreDuzeroVaro& x) { x.RemoveRangeIndicator(1, 1); }},
      {"shape", [](DEreDuzeroVaro& x) { x.AddShape(1, 1, csCircle, clRed, clBlack, haCenter, vaCenter); }, ctShape,
       [](DEreDuzeroVaro& x) { x.RemoveShape(1, 1); }},
      {"rating", [](DEreDuzeroVaro& x) { x.AddRating(1, 1, 5, clYellow, clGray); }, ctRating,
       [](DEreDuzeroVaro& x) { x.RemoveRating(1, 1); }},
      {"comment", [](DEreDuzeroVaro& x) { x.AddComment(1, 1, u"note"); }, ctComment,
       [](DEreDuzeroVaro& x) { x.RemoveComment(1, 1); }},
      {"balloon", [](DEreDuzeroVaro& x) { x.AddBalloon(1, 1, u"T", u"B", biInfo); }, ctBalloon,
       [](DEreDuzeroVaro& x) { x.RemoveBalloon(1, 1); }},
      {"scroll bar", [](DEreDuzeroVaro& x) { x.AddScrollBar(1, 1, false); }, ctScrollbar,
       [](DEreDuzeroVaro& x) { x.RemoveScrollBar(1, 1); }},
      {"button", [](DEreDuzeroVaro& x) { x.AddButton(1, 1, 40, 16, u"Go", haLeft, vaTop); }, ctButton,
       [](DEreDuzeroVaro& x) { x.RemoveButton(1, 1); }},
      {"bit button", [&](DEreDuzeroVaro& x) { x.AddBitButton(1, 1, 40, 16, u"Go", &bmp, haLeft, vaTop); },
       ctBitButton, [](DEreDuzeroVaro& x) { x.RemoveButton(1, 1); }},
      {"radio group", [&](DEreDuzeroVaro& x) { x.AddRadio(1, 1, 0, -1, &captions); }, ctRadio,
       [](DEreDuzeroVaro& x) { x.RemoveRadio(1, 1); }},
      {"check box", [](DEreDuzeroVaro& x) { x.AddCheckBox(1, 1, true, false); }, ctCheckBox,
       [](DEreDuzeroVaro& x) { x.RemoveCheckBox(1, 1); }},
      {"data check box", [](DEreDuzeroVaro& x) { x.AddCheckBox(1, 1, true, true); }, ctDataCheckBox,
       [](DEreDuzeroVaro& x) { x.RemoveCheckBox(1, 1); }},
      {"tri-state", [](DEreDuzeroVaro& x) { x.AddCheckBox(1, 1, cbGrayed); }, ctTriStateCheckBox,
       [](DEreDuzeroVaro& x) { x.RemoveCheckBox(1, 1); }},
      {"radio button", [](DEreDuzeroVaro& x) { x.AddRadioButton(1, 1, true); }, ctRadioButton,
       [](DEreDuzeroVaro& x) { x.RemoveRadioButton(1, 1); }},
  };
  for (size_t i = 0; i < cases.size(); ++i) {
    const Case& c = cases[i];
    const Case& other = cases[(i + cases.size() / 2) % cases.size()];  // another family
    c.add(g);
    EXPECT_EQ(g.GetCellType(1, 1), c.kind) << c.name;
    other.remove(g);
    EXPECT_EQ(g.GetCellType(1, 1), c.kind) << c.name << " after removing " << other.name;
    c.remove(g);
    EXPECT_EQ(g.GetCellType(1, 1), ctEmpty) << c.name;
    EXPECT_EQ(g.GetCellGraphic(1, 1), nullptr) << c.name;
  }
}

TEST(AdvGridCellObjects, ObjectsGivenToAddStayTheCallersAndOutliveTheGrid) {
  bool bmpFreed = false, glyphFreed = false, appFreed = false, slotFreed = false;
  auto bmp = std::make_unique<TFreeWatch<TBitmap>>(&bmpFreed);
  auto glyph = std::make_unique<TFreeWatch<TBitmap>>(&glyphFreed);
  auto app = std::make_unique<TFreeWatch<TPersistent>>(&appFreed);
  auto slot = std::make_unique<TFreeWatch<TPersistent>>(&slotFreed);
  {
    TGridForm f;
    DEreDuzeroVaro& g = *f.grid;
    g.AddBitmap(1, 1, bmp.get(), false, haLeft, vaTop);
    g.AddCheckBox(1, 1, true, false);  // replaces the bitmap's graphic
    g.AddBitButton(2, 1, 20, 20, u"b", glyph.get(), haLeft, vaTop);
    g.RemoveButton(2, 1);
    g.AddInterfacedCell(3, 1, app.get());
    // An application's own object in a cell's graphic slot is replaced, not freed.
    g.SetGraphicObjects(4, 1, slot.get());
    g.AddComment(4, 1, u"c");
    EXPECT_EQ(g.GetInterfacedCell(3, 1), app.get());
    g.AddBitmap(1, 2, bmp.get(), false, haLeft, vaTop);  // still held when the grid goes
  }
  EXPECT_FALSE(bmpFreed);
  EXPECT_FALSE(glyphFreed);
  EXPECT_FALSE(appFreed);
  EXPECT_FALSE(slotFreed);
}

TEST(AdvGridCellObjects, CreateFormsHandOutObjectsThatBelongToTheCell) {
  TGridForm f;
  DEreDuzeroVaro& g = *f.grid;
  TBitmap* bmp = g.CreateBitmap(1, 1, true, haCenter, vaCenter);
  ASSERT_NE(bmp, nullptr);
  EXPECT_EQ(g.GetBitmap(1, 1), bmp);
  EXPECT_TRUE(g.HasBitmap(1, 1));
  EXPECT_TRUE(g.GetCellGraphic(1, 1)->OwnsObject());
  TPicture* pic = g.CreatePicture(2, 1, false, ShrinkWithAspectRatio, 3, haLeft, vaTop);
  EXPECT_EQ(g.GetPicture(2, 1), pic);
  EXPECT_EQ(g.GetCellGraphic(2, 1)->CellAngle(), ShrinkWithAspectRatio);
  EXPECT_EQ(g.GetCellGraphic(2, 1)->CellIndex(), 3);
  TFilePicture* fp = g.CreateFilePicture(3, 1, false, noStretch, 0, haLeft, vaTop);
  EXPECT_EQ(g.GetFilePicture(3, 1), fp);
  TIcon* icon = g.CreateIcon(4, 1, haLeft, vaTop);
  EXPECT_EQ(g.GetCellGraphic(4, 1)->CellIcon(), icon);
  EXPECT_TRUE(g.GetCellGraphic(4, 1)->OwnsIcon());
  TBitmap* glyph = g.CreateBitButton(1, 2, 30, 18, u"OK", haLeft, vaTop);
  EXPECT_EQ(g.GetCellGraphic(1, 2)->CellBitmap(), glyph);
  EXPECT_EQ(g.GetButtonText(1, 2), u"OK");
  TStrings* items = g.CreateRadio(2, 2, 1, 0);
  items->Add(u"a");
  EXPECT_EQ(g.GetRadioStrings(2, 2), items);
  EXPECT_TRUE(g.GetCellGraphic(2, 2)->OwnsObject());
  // A kind's getter answers nothing for another kind.
  EXPECT_EQ(g.GetBitmap(2, 1), nullptr);
  EXPECT_EQ(g.GetPicture(1, 1), nullptr);
  // An empty cell keeps its empty text through the attach.
  EXPECT_EQ(g.Cells(1, 1), u"");
}

TEST(AdvGridCellObjects, KindTestsLookAtTheBaseCellOfAMergedArea) {
  TGridForm f;
  DEreDuzeroVaro& g = *f.grid;
  g.AddButton(1, 1, 20, 10, u"x", haLeft, vaTop);
  g.MergeCells(1, 1, 2, 2);
  EXPECT_TRUE(g.HasButton(2, 2));
  EXPECT_TRUE(g.HasCellControl(2, 1));
  EXPECT_FALSE(g.HasCheckBox(2, 2));
  EXPECT_FALSE(g.HasButton(-1, 1));
  // Scroll bars are base-cell operations.
  g.AddScrollBar(3, 3, false);
  g.MergeCells(3, 3, 2, 1);
  EXPECT_EQ(g.GetScrollPosition(4, 3), 0);
  g.SetScrollPosition(4, 3, 7);
  EXPECT_EQ(g.GetScrollPosition(3, 3), 7);
  TScrollProp p = g.GetScrollProp(4, 3);
  EXPECT_EQ(p.PageSize, 0);
  EXPECT_EQ(p.Range, 100);
  g.SetScrollProp(4, 3, TScrollProp{5, 40});
  EXPECT_EQ(g.GetScrollProp(3, 3).Range, 40);
  EXPECT_FALSE(g.HasAutoRangeScrollBar(3, 3));
  g.RemoveScrollBar(4, 3);
  EXPECT_FALSE(g.HasScrollBar(3, 3));
  EXPECT_EQ(g.GetScrollPosition(3, 3), -1);
  EXPECT_EQ(g.GetScrollProp(3, 3).PageSize, -1);
  EXPECT_EQ(g.GetShapeColor(3, 3), clNone);
  g.AddShape(3, 3, csSquare, clRed, clBlack, haLeft, vaTop);
  g.SetShapeColor(3, 3, clBlue);
  EXPECT_EQ(g.GetShapeColor(3, 3), clBlue);
  EXPECT_TRUE(g.IsDataCell(1, 1) == false);
}

TEST(AdvGridCellObjects, DataCheckBoxTakesItsTextFromTheStateOnlyWhenTheTextIsNoState) {
  TGridForm f;
  DEreDuzeroVaro& g = *f.grid;
  struct Case {
    String text;
    bool state;
    String expectText;
    bool expectChecked;
  } cases[] = {
      {u"abc", true, u"Y", true},
      {u"N", true, u"N", false},
      {u"", false, u"N", false},
      {u"Y", false, u"Y", true},
  };
  int r = 1;
  for (const Case& c : cases) {
    g.SetCells(1, r, c.text);
    g.AddCheckBox(1, r, c.state, true);
    EXPECT_EQ(g.Cells(1, r), c.expectText) << r;
    EXPECT_EQ(g.IsChecked(1, r), c.expectChecked) << r;
    EXPECT_TRUE(g.HasDataCheckBox(1, r));
    EXPECT_TRUE(g.IsDataCell(1, r));
    ++r;
  }
  // A plain box leaves its text alone.
  g.SetCells(2, 1, u"abc");
  g.AddCheckBox(2, 1, true, false);
  EXPECT_EQ(g.Cells(2, 1), u"abc");
  EXPECT_TRUE(g.IsChecked(2, 1));
}

TEST(AdvGridCellObjects, AddingOutsideTheGridRaisesInvalidCellAndChangesNothing) {
  TGridForm f;
  DEreDuzeroVaro& g = *f.grid;
  g.HideColumn(2);
  const int cols = g.ColCount() + g.NumHiddenColumns();
  const int rows = g.RowCount() + g.NumHiddenRows();
  using Op = std::function<void(int, int)>;
  const std::vector<Op> adds = {
      [&](int c, int r) { g.AddCheckBox(c, r, true, false); },
      [&](int c, int r) { g.AddCheckBox(c, r, cbChecked); },
      [&](int c, int r) { g.AddRadioButton(c, r, true); },
  };
  for (const Op& add : adds) {
    for (TPoint cell : {TPoint(cols, 0), TPoint(0, rows), TPoint(-1, 0)}) {
      try {
        add(cell.X, cell.Y);
        ADD_FAILURE() << cell.X << "," << cell.Y;
      } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), u"Invalid cell");
      }
    }
    add(cols - 1, rows - 1);  // the last cell, hidden column counted, is inside
    EXPECT_NE(g.GetCellGraphic(cols - 1, rows - 1), nullptr);
  }
  EXPECT_EQ(g.GetCellGraphic(cols, 0), nullptr);
}

TEST(AdvGridCellObjects, ToggleStepsEachKindAndTellsCheckBoxChange) {
  TGridForm f;
  DEreDuzeroVaro& g = *f.grid;
  std::vector<bool> told;
  g.OnCheckBoxChange = [&](TObject*, int, int, bool State) { told.push_back(State); };

  // A tri-state box goes unchecked, grayed, checked, unchecked; only checked reports True.
  g.AddCheckBox(1, 1, cbUnchecked);
  std::vector<TCheckBoxState> seen;
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(g.ToggleCheckBox(1, 1));
    TCheckBoxState s;
    ASSERT_TRUE(g.GetCheckBoxState(1, 1, s));
    seen.push_back(s);
  }
  EXPECT_EQ(seen, (std::vector<TCheckBoxState>{cbGrayed, cbChecked, cbUnchecked}));
  EXPECT_EQ(told, (std::vector<bool>{false, true, false}));

  // A data box whose text is no state becomes checked.
  told.clear();
  g.SetCells(2, 1, u"x");
  g.AddCheckBox(2, 1, false, true);
  g.SetCells(2, 1, u"x");
  EXPECT_TRUE(g.ToggleCheck(2, 1, false));
  EXPECT_EQ(g.Cells(2, 1), u"Y");
  EXPECT_TRUE(g.ToggleCheck(2, 1, false));
  EXPECT_EQ(g.Cells(2, 1), u"N");
  EXPECT_EQ(told, (std::vector<bool>{true, false}));

  // A plain box inverts its state; other kinds are not toggled.
  g.AddCheckBox(3, 1, false, false);
  EXPECT_TRUE(g.ToggleCheck(3, 1, false));
  EXPECT_TRUE(g.IsChecked(3, 1));
  g.AddButton(3, 2, 10, 10, u"b", haLeft, vaTop);
  EXPECT_FALSE(g.ToggleCheck(3, 2, false));
  EXPECT_FALSE(g.ToggleCheck(4, 4, false));
}

TEST(AdvGridCellObjects, ToggleAsksWhetherTheCellMayBeEditedUnlessChecksAreAlwaysActive) {
  TGridForm f;
  DEreDuzeroVaro& g = *f.grid;
  g.AddCheckBox(1, 1, false, false);
  g.OnCanEditCell = [](TObject*, int, int, bool& CanEdit) { CanEdit = false; };
  EXPECT_FALSE(g.ToggleCheck(1, 1, true));
  EXPECT_FALSE(g.IsChecked(1, 1));
  EXPECT_TRUE(g.ToggleCheck(1, 1, false));  // the program's own toggle asks nothing
  EXPECT_TRUE(g.IsChecked(1, 1));
  g.ControlLook()->SetCheckAlwaysActive(true);
  EXPECT_TRUE(g.ToggleCheck(1, 1, true));
  EXPECT_FALSE(g.IsChecked(1, 1));
}

// Undo writes back cell texts, so only boxes kept in the text are recorded, with the texts
// they really had.
TEST(AdvGridCellObjects, UndoRecordsTogglesOnlyOfBoxesKeptInTheText) {
  TGridForm f;
  DEreDuzeroVaro& g = *f.grid;
  TAdvGridUndoRedo undo(&f.form);
  g.SetUndoRedo(&undo);
  g.SetCells(1, 1, u"keep");
  g.AddCheckBox(1, 1, false, false);
  g.ToggleCheck(1, 1, false);
  g.AddCheckBox(2, 1, cbUnchecked);
  g.ToggleCheck(2, 1, false);
  EXPECT_EQ(undo.Items()->Count(), 0);

  g.SetCells(3, 1, u"N");
  g.AddCheckBox(3, 1, false, true);
  g.ToggleCheck(3, 1, false);
  ASSERT_EQ(undo.Items()->Count(), 1);
  EXPECT_EQ(undo.Items()->Items(0)->OrigValue(), u"N");
  EXPECT_EQ(undo.Items()->Items(0)->Value(), u"Y");
  undo.Undo();
  EXPECT_EQ(g.Cells(3, 1), u"N");
  EXPECT_FALSE(g.IsChecked(3, 1));
  EXPECT_EQ(g.Cells(1, 1), u"keep");  // the plain box's text was never touched
}

TEST(AdvGridCellObjects, SetAndChangeStateDifferInTheHookTheyFire) {
  TGridForm f;
  DEreDuzeroVaro& g = *f.grid;
  int told = 0;
  g.OnCheckBoxChange = [&](TObject*, int, int, bool) { ++told; };
  g.AddCheckBoxColumn(1, false, false);
  g.AddCheckBoxColumn(2, false, true);
  EXPECT_FALSE(g.HasCheckBox(1, 0));  // fixed row left out
  EXPECT_TRUE(g.SetCheckBoxState(1, 1, true));
  EXPECT_TRUE(g.SetCheckBoxState(2, 1, true));
  EXPECT_EQ(g.Cells(2, 1), u"Y");
  EXPECT_EQ(told, 0);
  g.CheckAll(1);
  EXPECT_EQ(told, g.RowCount() - 2);  // row 1 was checked already
  told = 0;
  g.UnCheckAll(2);
  EXPECT_EQ(told, 1);
  for (int r = 1; r < g.RowCount(); ++r) {
    EXPECT_TRUE(g.IsChecked(1, r));
    EXPECT_EQ(g.Cells(2, r), u"N");
  }
  // Tri-state boxes take tri-state writes only.
  g.AddTriStateCheckBoxColumn(3, cbGrayed);
  EXPECT_TRUE(g.SetCheckBoxState(3, 2, cbChecked));
  EXPECT_FALSE(g.SetCheckBoxState(1, 2, cbChecked));
  EXPECT_TRUE(g.IsChecked(3, 2));
  EXPECT_FALSE(g.IsChecked(3, 3));  // grayed
  g.RemoveCheckBoxColumn(1);
  EXPECT_FALSE(g.HasCheckBox(1, 3));
  EXPECT_FALSE(g.SetCheckBoxState(1, 3, true));
}

TEST(AdvGridCellObjects, StatesWithHiddenRowsAreAddressedByRealRow) {
  TGridForm f;
  DEreDuzeroVaro& g = *f.grid;
  for (int r = 1; r < g.RowCount(); ++r) {
    g.AddCheckBox(1, r, r == 4, false);
    g.AddCheckBox(2, r, r == 4, true);
  }
  g.HideRow(2);
  bool state = false;
  // Real row 4 is display row 3 now; real row 2 is stored away.
  ASSERT_TRUE(g.GetCheckBoxState(1, 4, state));
  EXPECT_TRUE(state);
  ASSERT_TRUE(g.GetCheckBoxState(2, 4, state));
  EXPECT_TRUE(state);
  ASSERT_TRUE(g.GetCheckBoxState(2, 3, state));
  EXPECT_FALSE(state);
  EXPECT_TRUE(g.SetCheckBoxState(2, 2, true));  // the hidden row
  EXPECT_TRUE(g.SetCheckBoxState(1, 2, true));
  g.UnHideRow(2);
  EXPECT_EQ(g.Cells(2, 2), u"Y");
  EXPECT_TRUE(g.IsChecked(1, 2));
  EXPECT_FALSE(g.IsChecked(1, 3));
}

TEST(AdvGridCellObjects, PreciseHitTestFindsTheBoxByAlignment) {
  TGridForm f;
  DEreDuzeroVaro& g = *f.grid;
  g.AddCheckBox(1, 1, false, false);
  g.AddButton(2, 1, 10, 10, u"b", haLeft, vaTop);
  const TRect r = g.CellRect(1, 1);
  EXPECT_TRUE(g.IsInCheckBox(1, 1, r.Right - 1, r.Bottom - 1));  // whole cell without precision
  EXPECT_FALSE(g.IsInCheckBox(2, 1, r.Left, r.Top));
  g.MouseActions()->SetPreciseCheckBoxCheck(true);
  const int size = g.ControlLook()->CheckSize();
  struct Case {
    TAlignment ha;
    TCellVAlign va;
    int left, top;
  } cases[] = {
      {taLeftJustify, vaTop, r.Left + 1, r.Top + 1},
      {taCenter, vaCenter, r.Left + (r.Width() - size) / 2, r.Top + (r.Height() - size) / 2},
      {taRightJustify, vaBottom, r.Right - size - 2, r.Bottom - size - 2},
  };
  for (const Case& c : cases) {
    g.CellProperties(1, 1)->SetAlignment(c.ha);
    g.GetCellGraphic(1, 1)->SetCellVAlign(c.va);
    EXPECT_TRUE(g.IsInCheckBox(1, 1, c.left, c.top)) << c.ha;
    EXPECT_TRUE(g.IsInCheckBox(1, 1, c.left + size - 1, c.top + size - 1)) << c.ha;
    EXPECT_FALSE(g.IsInCheckBox(1, 1, c.left + size, c.top)) << c.ha;
    EXPECT_FALSE(g.IsInCheckBox(1, 1, c.left, c.top + size)) << c.ha;
    EXPECT_FALSE(g.IsInCheckBox(1, 1, c.left - 1, c.top)) << c.ha;
  }
}

TEST(AdvGridCellObjects, RadioButtonsOfAColumnAreExclusiveUnderToggle) {
  TGridForm f;
  DEreDuzeroVaro& g = *f.grid;
  g.AddRadioButtonColumn(1);
  EXPECT_EQ(g.GetRadioButtonColumnIndex(1), -1);
  g.SetRadioButtonColumnIndex(1, 3);
  EXPECT_EQ(g.GetRadioButtonColumnIndex(1), 3);
  // Setting leaves the others alone; toggling unchecks them.
  EXPECT_TRUE(g.SetRadioButtonState(1, 5, true));
  EXPECT_TRUE(g.IsRadioButtonChecked(1, 3));
  EXPECT_TRUE(g.ToggleRadioButton(1, 4, false));
  for (int r = 1; r < g.RowCount(); ++r) EXPECT_EQ(g.IsRadioButtonChecked(1, r), r == 4) << r;
  EXPECT_TRUE(g.ToggleRadioButton(1, 4, false));  // already checked: stays
  EXPECT_TRUE(g.IsRadioButtonChecked(1, 4));
  EXPECT_FALSE(g.ToggleRadioButton(2, 4, false));
  EXPECT_FALSE(g.SetRadioButtonState(2, 4, true));
  g.RemoveRadioButtonColumn(1);
  EXPECT_FALSE(g.HasRadioButton(1, 4));
}

TEST(AdvGridCellObjects, RadioGroupStepsFromTheKeyboardAndWraps) {
  TGridForm f;
  DEreDuzeroVaro& g = *f.grid;
  TStringList items;
  items.Add(u"red");
  items.Add(u"green");
  items.Add(u"blue");
  g.SetCells(1, 1, u"green");
  g.AddRadio(1, 1, 1, -1, &items);
  EXPECT_TRUE(g.IsRadio(1, 1));
  EXPECT_EQ(g.GetCellGraphic(1, 1)->CellAngle(), 3);
  EXPECT_TRUE(g.GetCellGraphic(1, 1)->CellBoolean());
  // With no item selected the caption in the text tells where to go on.
  std::vector<String> texts;
  for (int i = 0; i < 3; ++i) {
    EXPECT_FALSE(g.SelectNextRadio(1, 1, false));
    texts.push_back(g.Cells(1, 1));
  }
  EXPECT_EQ(texts, (std::vector<String>{u"blue", u"red", u"green"}));
  int idx = -5;
  EXPECT_TRUE(g.GetRadioIdx(1, 1, idx));
  EXPECT_EQ(idx, 1);
  EXPECT_TRUE(g.SetRadioIdx(1, 1, -1));
  EXPECT_EQ(g.Cells(1, 1), u"");
  // Another kind's index slot is not a radio index to write.
  g.AddButton(2, 1, 30, 10, u"b", haLeft, vaTop);
  EXPECT_FALSE(g.SetRadioIdx(2, 1, 4));
  EXPECT_EQ(g.GetCellGraphic(2, 1)->CellIndex(), (10 << 16) | 30);
  EXPECT_EQ(g.GetRadioStrings(2, 1), nullptr);
}

TEST(AdvGridCellObjects, BalloonsAttachToBoxesAndGoWithThem) {
  TGridForm f;
  DEreDuzeroVaro& g = *f.grid;
  g.AddCheckBox(1, 1, true, false);
  g.AddBalloon(1, 1, u"Title", u"Text", biWarning);
  g.AddBalloon(1, 1, u"T2", u"X2", biError);  // replaces the first
  String title, text;
  TBalloonIcon icon = biNone;
  ASSERT_TRUE(g.IsBalloon(1, 1, title, text, icon));
  EXPECT_EQ(title, u"T2");
  EXPECT_EQ(text, u"X2");
  EXPECT_EQ(icon, biError);
  EXPECT_FALSE(g.HasBalloon(1, 1));
  EXPECT_TRUE(g.GetCellGraphic(1, 1)->OwnsObject());
  g.RemoveBalloon(1, 1);
  EXPECT_FALSE(g.IsBalloon(1, 1, title, text, icon));
  EXPECT_EQ(g.GetCellType(1, 1), ctCheckBox);
  EXPECT_TRUE(g.IsChecked(1, 1));
  // Another kind takes no balloon; a cell without graphic gets one of its own.
  g.AddProgress(2, 1, clRed, clWhite);
  g.AddBalloon(2, 1, u"a", u"b", biInfo);
  EXPECT_FALSE(g.IsBalloon(2, 1, title, text, icon));
  g.AddBalloon(3, 1, u"a", u"b", biInfo);
  EXPECT_TRUE(g.HasBalloon(3, 1));
  // A radio button with a balloon is removed with it.
  g.AddRadioButton(4, 1, false);
  g.AddBalloon(4, 1, u"r", u"s", biInfo);
  EXPECT_TRUE(g.IsBalloon(4, 1, title, text, icon));
  g.RemoveRadioButton(4, 1);
  EXPECT_EQ(g.GetCellGraphic(4, 1), nullptr);
}

TEST(AdvGridCellObjects, MarkersSitOnAnyGraphicAndCommentsOnlyOnTheirOwn) {
  TGridForm f;
  DEreDuzeroVaro& g = *f.grid;
  int pos = -1, len = -1;
  g.AddMarker(1, 1, 2, 3);
  g.GetMarker(1, 1, pos, len);
  EXPECT_EQ(pos, 2);
  EXPECT_EQ(len, 3);
  g.RemoveMarker(1, 1);
  EXPECT_EQ(g.GetCellGraphic(1, 1), nullptr);
  g.GetMarker(1, 1, pos, len);
  EXPECT_EQ(pos + len, 0);

  g.AddCheckBox(2, 1, true, false);
  g.AddMarker(2, 1, 1, 1);
  g.AddMarker(3, 1, 4, 4);
  g.RemoveAllMarkers();
  EXPECT_EQ(g.GetCellType(2, 1), ctCheckBox);
  g.GetMarker(2, 1, pos, len);
  EXPECT_EQ(pos + len, 0);
  EXPECT_EQ(g.GetCellGraphic(3, 1), nullptr);

  TBitmap bmp;
  g.AddBitmap(1, 2, &bmp, false, haLeft, vaTop);
  g.RemoveComment(1, 2);
  EXPECT_EQ(g.GetBitmap(1, 2), &bmp);
  g.SetCellComment(1, 2, u"ignored");
  EXPECT_EQ(g.CellComment(1, 2), u"");
  g.SetCellComment(2, 2, u"first");
  g.SetCellComment(2, 2, u"second");
  String c;
  ASSERT_TRUE(g.IsComment(2, 2, c));
  EXPECT_EQ(c, u"second");
  EXPECT_EQ(g.GetCellGraphic(2, 2)->CellIndex(), g.ControlLook()->CommentColor());
  g.AddColorComment(3, 2, u"blue", clBlue);
  EXPECT_EQ(g.GetCellGraphic(3, 2)->CellIndex(), clBlue);
  g.RemoveAllComments();
  EXPECT_FALSE(g.IsComment(2, 2, c));
  EXPECT_FALSE(g.IsComment(3, 2, c));
  EXPECT_EQ(g.GetBitmap(1, 2), &bmp);
}

TEST(AdvGridCellObjects, ImagesNeedTheGridImagesAndRotationIsBroughtIntoRange) {
  TGridForm f;
  DEreDuzeroVaro& g = *f.grid;
  g.SetCells(1, 1, u"t");
  g.AddImageIdx(1, 1, 3, haLeft, vaTop);
  g.AddDataImage(1, 1, 3, haLeft, vaTop);
  g.AddMultiImage(1, 1, 0, haLeft, vaTop);
  EXPECT_EQ(g.GetCellGraphic(1, 1), nullptr);
  EXPECT_EQ(g.Cells(1, 1), u"t");
  int idx = -1;
  EXPECT_FALSE(g.GetImageIdx(1, 1, idx));

  TImageList images(&f.form);
  g.SetGridImages(&images);
  g.AddImageIdx(1, 1, 3, haLeft, vaTop);
  g.SetImageIdx(1, 1, 4);
  ASSERT_TRUE(g.GetImageIdx(1, 1, idx));
  EXPECT_EQ(idx, 4);
  g.AddDataImage(2, 1, 6, haLeft, vaTop);
  EXPECT_EQ(g.Cells(2, 1), u"6");
  EXPECT_TRUE(g.HasDataImage(2, 1));
  g.SetCells(3, 1, u"2");
  g.AddDataImage(3, 1, 6, haLeft, vaTop);
  EXPECT_EQ(g.Cells(3, 1), u"2");
  g.AddMultiImage(4, 1, 0, haLeft, vaTop);
  ASSERT_NE(g.CellImages(4, 1), nullptr);
  g.CellImages(4, 1)->Add(1);
  EXPECT_TRUE(g.GetCellGraphic(4, 1)->CellBoolean());
  g.RemoveMultiImage(4, 1);
  EXPECT_EQ(g.CellImages(4, 1), nullptr);

  struct Case {
    int16_t angle;
    int stored;
  } cases[] = {{-90, 270}, {720, 360}, {360, 360}, {45, 45}};
  for (const Case& c : cases) {
    g.AddRotated(1, 2, c.angle, u"x");
    int a = -1;
    ASSERT_TRUE(g.IsRotated(1, 2, a));
    EXPECT_EQ(a, c.stored) << c.angle;
    EXPECT_EQ(g.Cells(1, 2), u"x");
  }
  // SetRotated makes a graphic when there is none, and turns another kind into rotated text.
  g.SetRotated(2, 2, -10);
  int a = 0;
  EXPECT_TRUE(g.IsRotated(2, 2, a));
  EXPECT_EQ(a, 350);
}

TEST(AdvGridCellObjects, ProgressDisplaysKeepTheirColoursRangeAndFormat) {
  TGridForm f;
  DEreDuzeroVaro& g = *f.grid;
  g.SetAutoNumAlign(true);
  g.AddProgressFormatted(1, 1, clRed, clWhite, clSilver, clBlack, u"%d%%", 10, 20);
  TCellGraphic* p = g.GetCellGraphic(1, 1);
  EXPECT_EQ(p->CellBitmapColor(), clRed);
  EXPECT_EQ(p->CellIconColor(), clSilver);
  EXPECT_EQ(p->CellIndex(), clWhite);
  EXPECT_EQ(p->CellAngle(), clBlack);
  EXPECT_EQ(p->CellErrFrom(), 10);
  EXPECT_EQ(p->CellErrLen(), 20);
  EXPECT_EQ(p->CellText(), u"%d%%");
  EXPECT_TRUE(p->CellBoolean());
  EXPECT_TRUE(g.HasProgress(1, 1));
  EXPECT_EQ(g.CellProperties(1, 1)->Alignment(), taRightJustify);
  g.AddProgress(2, 1, clRed, clWhite);
  EXPECT_FALSE(g.GetCellGraphic(2, 1)->CellBoolean());
  EXPECT_EQ(g.GetCellGraphic(2, 1)->CellErrLen(), 100);
  g.AddProgressPie(3, 1, clGreen, 10);
  g.SetProgressPie(3, 1, 60);
  EXPECT_EQ(g.GetCellGraphic(3, 1)->CellAngle(), 60);
  g.SetProgressPie(2, 1, 99);  // not a pie
  EXPECT_EQ(g.GetCellGraphic(2, 1)->CellAngle(), clNone);
  g.AddRating(4, 1, 5, clYellow, clGray);
  EXPECT_TRUE(g.HasRating(4, 1));
  EXPECT_EQ(g.GetCellGraphic(4, 1)->CellHAlign(), haFull);
}

TEST(AdvGridCellObjects, ButtonsAreAddressedByDisplayColumnAndPlacedInTheCell) {
  TGridForm f;
  DEreDuzeroVaro& g = *f.grid;
  g.AddButton(3, 1, 40, 16, u"Go", haLeft, vaTop);
  g.GetCellGraphic(3, 1)->SetCellValue((4 << 16) | 5);  // offset x 5, y 4
  g.HideColumn(2);
  // Real column 3 shows as display column 2.
  EXPECT_EQ(g.GetButtonText(2, 1), u"Go");
  g.SetButtonText(2, 1, u"Stop");
  EXPECT_EQ(g.GetButtonText(2, 1), u"Stop");
  g.PushButton(2, 1, true);
  EXPECT_TRUE(g.GetCellGraphic(3, 1)->CellBoolean());
  const TRect cell = g.CellRect(2, 1);
  EXPECT_EQ(g.GetCellButtonRect(2, 1), TRect(cell.Left + 5, cell.Top + 4, cell.Left + 45, cell.Top + 20));
  g.GetCellGraphic(3, 1)->SetCellHAlign(haFull);
  g.GetCellGraphic(3, 1)->SetCellVAlign(vaFull);
  EXPECT_EQ(g.GetCellButtonRect(2, 1), cell);
  EXPECT_EQ(g.GetCellButtonRect(3, 1), TRect());
  g.UnHideColumn(2);
  g.AddButton(1, 2, 10, 10, u"a", haLeft, vaTop);
  g.AddButton(2, 3, 10, 10, u"b", haLeft, vaTop);
  g.AddCheckBox(2, 2, true, false);
  g.RemoveAllButtons();
  EXPECT_FALSE(g.HasButton(1, 2));
  EXPECT_FALSE(g.HasButton(3, 1));
  EXPECT_TRUE(g.HasCheckBox(2, 2));
}
