// The custom editor link driven by real keys, the fixed-cell editors, the form that never takes
// activation, and the balloon of a refused value.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "grid/AdvGridEditing.h"
#include "grid/AdvGridInplaceEdit.h"
#include "grid/tests/GridTestSupport.h"
#include "platform/ui/BalloonTip.h"
#include "platform/ui/StdCtrls.h"

namespace {

// An application's link: a plain edit in the cell or on the pop-up form.
class TEditLinkEdit : public TEditLink {
public:
  using TEditLink::TEditLink;
  TEdit* Edit = nullptr;
  std::vector<Word> Keys;  // the keys the edit's handler saw
  void CreateEditor(TWinControl* AParent) override {
    if (Edit == nullptr) {
      Edit = new TEdit(AParent);
      Edit->OnKeyDown = [this](TObject* Sender, Word& Key, TShiftState Shift) {
        Keys.push_back(Key);
        EditKeyDown(Sender, Key, Shift);
      };
    }
    Edit->SetParent(AParent);
  }
  void DestroyEditor() override {}
  TWinControl* GetEditControl() override { return Edit; }
  String GetEditorValue() override { return Edit->Text(); }
  void SetEditorValue(const String& Value) override { Edit->SetText(Value); }
};

struct TLinkGrid : TGridForm {
  TEditLinkEdit Link{nullptr};
  TLinkGrid() {
    grid->SetColCount(5);
    grid->SetRowCount(5);
    grid->SetOptions(grid->Options() + goEditing);
    grid->SetEditLink(&Link);
    grid->OnGetEditorType = [](TObject*, int, int, TEditorType& E) { E = edCustom; };
    grid->SetCells(1, 1, u"old");
    grid->SetCells(1, 2, u"below");
    grid->SetFocus();
    ProcessPendingEvents();
  }
  void Open() {
    SimulateKeyStroke(grid, VK_F2);
    ProcessPendingEvents();
  }
  // A key that ends the edit goes down in the link's edit and up in the grid.
  void Key(Word K) {
    SimulateKeyDown(Link.Edit, K);
    SimulateKeyUp(Link.Edit->Showing() ? static_cast<TWinControl*>(Link.Edit) : grid, K);
    ProcessPendingEvents();
  }
};

}  // namespace

TEST(GridEditLink, KeysLeaveTheEditorUnlessTheLinkWantsThem) {
  struct Case {
    Word Key;
    bool Wanted;
    String Stored;  // cell (1, 1) afterwards
    int Row;        // current row afterwards
    bool Open;      // the editor is still open
  } cases[] = {
      {VK_DOWN, false, u"new", 2, false},  {VK_DOWN, true, u"old", 1, true},
      {VK_ESCAPE, false, u"old", 1, false}, {VK_HOME, false, u"old", 1, true},
      {VK_END, false, u"new", 1, false},    {VK_END, true, u"old", 1, true},
      {VK_RETURN, false, u"new", 1, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Key);
    TLinkGrid f;
    f.Link.WantKeyUpDown = c.Wanted;
    f.Link.WantKeyHomeEnd = c.Wanted;
    f.grid->SetCol(1);
    f.grid->SetRow(1);
    f.Open();
    ASSERT_NE(f.Link.Edit, nullptr);
    ASSERT_TRUE(f.Link.Edit->Showing());
    EXPECT_EQ(f.Link.Edit->Text(), u"old");
    EXPECT_EQ(f.Link.Grid(), f.grid);
    EXPECT_EQ(f.Link.EditCell(), TPoint(1, 1));
    f.Link.Edit->SetText(u"new");
    f.Key(c.Key);
    EXPECT_EQ(f.Link.Edit->Showing(), c.Open);
    if (!c.Open) {
      EXPECT_EQ(f.grid->Cells(1, 1), c.Stored);
    }
    EXPECT_EQ(f.grid->Row(), c.Row);
  }
}

TEST(GridEditLink, ARefusedValueReopensTheLinkOnTheSameCell) {
  TLinkGrid f;
  int calls = 0;
  f.grid->OnCellValidate = [&](TObject*, int, int, String&, bool& Valid) { Valid = ++calls > 1; };
  f.grid->SetCol(1);
  f.grid->SetRow(1);
  f.Open();
  f.Link.Edit->SetText(u"bad");
  f.Key(VK_DOWN);
  EXPECT_EQ(calls, 1);
  EXPECT_TRUE(f.Link.Edit->Showing());
  EXPECT_EQ(f.Link.Edit->Text(), u"old");
  EXPECT_EQ(f.grid->Row(), 1);
  f.Link.Edit->SetText(u"good");
  f.Key(VK_RETURN);
  EXPECT_FALSE(f.Link.Edit->Showing());
  EXPECT_EQ(f.grid->Cells(1, 1), u"good");
}

TEST(GridEditLink, PopupOpensAtTheCellOrTheGivenPoint) {
  for (bool placed : {false, true}) {
    TLinkGrid f;
    f.Link.EditStyle = esPopup;
    f.Link.PopupWidth = 120;
    f.Link.PopupHeight = 40;
    if (placed) {
      f.Link.PopupLeft = 300;
      f.Link.PopupTop = 200;
    }
    f.grid->SetCol(1);
    f.grid->SetRow(1);
    f.Open();
    ASSERT_NE(f.Link.Edit, nullptr);
    auto* form = dynamic_cast<TForm*>(f.Link.Edit->Parent());
    ASSERT_NE(form, nullptr);
    EXPECT_NE(form, &f.form);
    const TRect r = f.grid->CellRect(1, 1);
    const TPoint expected = placed ? TPoint(300, 200) : f.grid->ClientToScreen(TPoint(r.Left, r.Top));
    EXPECT_EQ(TPoint(form->Left(), form->Top()), expected) << placed;
    EXPECT_EQ(form->Width(), 120);
    f.Link.Edit->SetText(u"popped");
    f.Key(VK_RETURN);
    EXPECT_EQ(f.grid->Cells(1, 1), u"popped");
  }
}

TEST(GridFixedCellEditors, EditAndComboWriteTheHeaderAndARefusalKeepsTheFocus) {
  TGridForm f;
  DEreDuzeroVaro* g = f.grid;
  g->SetColCount(4);
  g->SetRowCount(4);
  g->SetCells(2, 0, u"Head");
  std::vector<String> log;
  g->OnEditChange = [&](TObject*, int ACol, int ARow, const String& Value) {
    log.push_back(IntToStr(ACol) + u"," + IntToStr(ARow) + u" " + Value);
  };
  g->StartFixedCellEdit(2, 0);
  TGridTransEdit* edit = g->EditTrans();
  ASSERT_TRUE(edit->Showing());
  EXPECT_TRUE(edit->Focused());
  EXPECT_EQ(edit->Text(), u"Head");
  SimulateKeyStroke(edit, VK_END);
  SimulateTyping(edit, u"er\r");
  ProcessPendingEvents();
  // Enter is swallowed: the edit stays and holds no line break.
  EXPECT_TRUE(edit->Showing());
  EXPECT_EQ(edit->Text(), u"Header");
  EXPECT_EQ(log.back(), u"2,0 Header");
  // A refusal keeps the editor open; acceptance writes the cell and hides it.
  bool valid = false;
  int done = 0;
  std::vector<TPoint> validated;
  g->OnCellValidate = [&](TObject*, int ACol, int ARow, String&, bool& Valid) {
    validated.push_back(TPoint(ACol, ARow));
    Valid = valid;
  };
  g->OnEditingDone = [&](TObject*) { ++done; };
  EXPECT_FALSE(edit->StopEdit());
  EXPECT_TRUE(edit->Showing());
  EXPECT_EQ(g->Col(), 2);
  EXPECT_EQ(g->Cells(2, 0), u"Head");
  valid = true;
  // Leaving by a click into the grid ends the edit.
  const TRect cell = g->CellRect(1, 2);
  SimulateClick(g, cell.Left + 4, cell.Top + 4);
  ProcessPendingEvents();
  EXPECT_FALSE(edit->Showing());
  EXPECT_EQ(done, 1);
  EXPECT_EQ(g->Cells(2, 0), u"Header");
  EXPECT_EQ(validated, (std::vector<TPoint>{TPoint(2, 0), TPoint(2, 0)}));

  // The combo: the values come from FixedComboValues, OnFixedEdit may change kind and items.
  g->MouseActions()->FixedComboValues()->Add(u"A");
  g->MouseActions()->FixedComboValues()->Add(u"B");
  g->OnFixedEdit = [](TObject*, int, int, TGridFixedCellEditor& AEditor, TStrings* Values) {
    AEditor = fceComboList;
    Values->Add(u"C");
  };
  g->StartFixedCellEdit(3, 0);
  TGridTransCombo* combo = g->ComboTrans();
  ASSERT_TRUE(combo->Showing());
  EXPECT_EQ(combo->Style(), csDropDownList);
  EXPECT_EQ(combo->Items()->Count(), 3);
  combo->SetItemIndex(2);
  EXPECT_TRUE(combo->StopEdit());
  EXPECT_EQ(g->Cells(3, 0), u"C");
  EXPECT_FALSE(combo->Showing());
}

TEST(GridNoActiveForm, ClickingItNeverTakesTheFocus) {
  TGridForm f;
  f.grid->SetFocus();
  ProcessPendingEvents();
  TNoActiveForm* pic = new TNoActiveForm(f.grid);
  pic->SetBorderStyle(bsNone);
  pic->SetBounds(f.form.Left() + 20, f.form.Top() + 20, 80, 60);
  pic->Show();
  ProcessPendingEvents();
  EXPECT_TRUE(pic->Visible());
  EXPECT_TRUE(f.grid->Focused());
  SimulateClick(pic, 10, 10);
  ProcessPendingEvents();
  EXPECT_TRUE(f.grid->Focused());
  EXPECT_FALSE(pic->Active());
  EXPECT_EQ(pic->Perform(WM_MOUSEACTIVATE, 0, 0), 3);
}

TEST(GridEditing, ARefusedValueShowsTheInvalidEntryBalloonAtTheEditor) {
  TGridForm f;
  DEreDuzeroVaro* g = f.grid;
  g->SetColCount(4);
  g->SetRowCount(4);
  g->SetOptions(g->Options() + goEditing);
  g->SetInvalidEntryTitle(u"Wrong value");
  g->SetInvalidEntryText(u"Type a number");
  g->SetInvalidEntryIcon(ieError);
  g->OnCellValidate = [](TObject*, int, int, String& Value, bool& Valid) { Valid = !Value.empty() && Value[0] >= u'0' && Value[0] <= u'9'; };
  g->SetFocus();
  ProcessPendingEvents();
  SimulateKeyStroke(g, VK_F2);
  TInplaceEdit* edit = g->InplaceEditor();
  SimulateTyping(edit, u"x");
  SimulateKeyDown(edit, VK_RETURN);
  SimulateKeyUp(edit, VK_RETURN);
  ProcessPendingEvents();
  ASSERT_TRUE(edit->Visible());
  TBalloonTip* balloon = nullptr;
  for (int i = 0; i < g->ComponentCount(); ++i)
    if (auto* b = dynamic_cast<TBalloonTip*>(g->Components(i))) balloon = b;
  ASSERT_NE(balloon, nullptr);
  EXPECT_TRUE(balloon->Visible());
  EXPECT_EQ(balloon->Title(), u"Wrong value");
  EXPECT_EQ(balloon->TipText(), u"Type a number");
  EXPECT_EQ(balloon->TipIcon(), btiError);
  // It points at the editor's bottom edge.
  const TPoint editorBottom = edit->ClientToScreen(TPoint(0, edit->Height()));
  EXPECT_NEAR(balloon->Top(), editorBottom.Y, 12);
}

// With goTabs the link's in-place control keeps Tab for its key handler: Tab stores the value
// and the next cell's editor opens, Shift+Tab goes back. Without goTabs Tab leaves the control
// the usual way and its handler never sees it.
TEST(GridEditLink, WithGoTabsTheLinksControlTakesTabAndShiftTab) {
  for (bool tabs : {true, false}) {
    SCOPED_TRACE(tabs);
    TLinkGrid f;
    if (tabs) f.grid->SetOptions(f.grid->Options() + goTabs);
    f.Link.WantKeyHomeEnd = true;
    f.grid->SetCol(1);
    f.grid->SetRow(1);
    f.Open();
    ASSERT_TRUE(f.Link.Edit->Showing());
    SimulateKeyStroke(f.Link.Edit, VK_END);
    SimulateTyping(f.Link.Edit, u"x");
    f.Link.Keys.clear();
    f.Key(VK_TAB);
    const bool tabSeen = std::find(f.Link.Keys.begin(), f.Link.Keys.end(), VK_TAB) != f.Link.Keys.end();
    EXPECT_EQ(tabSeen, tabs);
    if (!tabs) {
      EXPECT_FALSE(f.Link.Edit->Focused());
      continue;
    }
    EXPECT_EQ(f.grid->Cells(1, 1), u"oldx");
    EXPECT_EQ(TPoint(f.grid->Col(), f.grid->Row()), TPoint(2, 1));
    ASSERT_TRUE(f.Link.Edit->Showing());
    EXPECT_EQ(f.Link.EditCell(), TPoint(2, 1));
    EXPECT_TRUE(f.Link.Edit->Focused());
    SimulateTyping(f.Link.Edit, u"y");
    SimulateKeyDown(f.Link.Edit, VK_TAB, TShiftState{ssShift});
    SimulateKeyUp(f.grid, VK_TAB, TShiftState{ssShift});
    ProcessPendingEvents();
    EXPECT_EQ(f.grid->Cells(2, 1), u"y");
    EXPECT_EQ(TPoint(f.grid->Col(), f.grid->Row()), TPoint(1, 1));
    ASSERT_TRUE(f.Link.Edit->Showing());
    EXPECT_EQ(f.Link.EditCell(), TPoint(1, 1));
    EXPECT_EQ(f.Link.Edit->Text(), u"oldx");
  }
}
