// The string grid's editing protocol: opening and leaving editors, the order of the editing
// events, validation with its refusal flow, and the custom editor link.
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "controls/VevAzez.h"
#include "grid/AdvGridEditing.h"
#include "grid/AdvGridFloatingFooter.h"
#include "grid/AdvGridInplaceEdit.h"
#include "grid/tests/GridTestSupport.h"

namespace {

// A 5 x 5 grid that edits, every cell of kind Kind; the editing events are logged by name.
struct TEventGrid : TGridForm {
  TEditorType Kind = edNormal;
  std::vector<std::string> Log;
  TEventGrid() {
    grid->SetColCount(5);
    grid->SetRowCount(5);
    grid->SetOptions(grid->Options() + goEditing);
    grid->OnGetEditorType = [this](TObject*, int, int, TEditorType& E) {
      E = Kind;
      Log.push_back("GetEditorType");
    };
    grid->OnGetEditorProp = [this](TObject*, int, int, TEditLink*) { Log.push_back("GetEditorProp"); };
    grid->OnCellsChanged = [this](TObject*, TRect) { Log.push_back("CellsChanged"); };
    grid->OnEditingDone = [this](TObject*) { Log.push_back("EditingDone"); };
    grid->SetFocus();
    ProcessPendingEvents();
  }
  TInplaceEdit* Edit() const { return grid->InplaceEditor(); }
  bool TextEditing() const { return Edit() != nullptr && Edit()->Visible(); }
  // Where the keyboard is: the open text editor, else the grid.
  TWinControl* Keyboard() const { return TextEditing() ? static_cast<TWinControl*>(Edit()) : grid; }
  void Key(Word K, TShiftState Shift = {}) {
    SimulateKeyDown(Keyboard(), K, Shift);
    SimulateKeyUp(Keyboard(), K, Shift);
    ProcessPendingEvents();
  }
  void ValidateWith(std::function<void(String&, bool&)> Handler) {
    grid->OnCellValidate = [this, Handler](TObject*, int, int, String& Value, bool& Valid) {
      Log.push_back("CellValidate");
      Handler(Value, Valid);
    };
  }
  // The middle of a display cell.
  TPoint Mid(int C, int R) const {
    TRect r = grid->CellRect(C, R);
    return TPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  }
};

using Events = std::vector<std::string>;

TEST(GridEditing, TextEditorOpensByF2CharacterOrClickAndLeavesByEnterTabOrEscape) {
  enum TOpen { oF2, oChar, oClick };
  struct TCase {
    TOpen Open;
    Word LeaveKey;
    const char16_t* Cell;  // the cell's text afterwards
  };
  const TCase cases[] = {
      {oF2, VK_RETURN, u"oldx"}, {oChar, VK_RETURN, u"xx"}, {oClick, VK_RETURN, u"oldx"},
      {oF2, VK_TAB, u"oldx"},    {oChar, VK_TAB, u"xx"},    {oF2, VK_ESCAPE, u"old"},
      {oChar, VK_ESCAPE, u"old"},
  };
  for (const TCase& c : cases) {
    TEventGrid g;
    g.grid->SetOptions(g.grid->Options() + goTabs);
    g.grid->SetCells(1, 1, u"old");
    g.grid->Navigation()->SetEditSelectAll(false);
    switch (c.Open) {
      case oF2: SimulateKeyStroke(g.grid, VK_F2); break;
      case oChar: SimulateChar(g.grid, u'x'); break;
      case oClick: {
        TPoint p = g.Mid(1, 1);
        SimulateClick(g.grid, p.X, p.Y);
        ProcessPendingEvents();
        break;
      }
    }
    ASSERT_TRUE(g.TextEditing()) << c.Open;
    EXPECT_TRUE(g.grid->EditMode());
    SimulateTyping(g.Edit(), u"x");
    g.Key(c.LeaveKey);
    EXPECT_FALSE(g.TextEditing()) << c.Open << " " << c.LeaveKey;
    EXPECT_FALSE(g.grid->EditMode());
    EXPECT_EQ(g.grid->Cells(1, 1), String(c.Cell)) << c.Open << " " << c.LeaveKey;
    EXPECT_EQ(g.grid->Col(), c.LeaveKey == VK_TAB ? 2 : 1);
    // Each edit ends with one OnEditingDone.
    EXPECT_EQ(std::count(g.Log.begin(), g.Log.end(), "EditingDone"), 1) << c.Open << " " << c.LeaveKey;
  }
}

TEST(GridEditing, EventsOfOneTextEditInOrder) {
  TEventGrid g;
  g.grid->SetCells(1, 1, u"a");
  g.ValidateWith([](String&, bool&) {});
  SimulateKeyStroke(g.grid, VK_F2);
  SimulateTyping(g.Edit(), u"b");
  g.Key(VK_RETURN);
  EXPECT_EQ(g.Log, (Events{"GetEditorType", "GetEditorProp", "CellValidate", "CellsChanged", "EditingDone"}));
  EXPECT_EQ(g.grid->Cells(1, 1), u"b");
  EXPECT_TRUE(g.grid->Modified());
}

TEST(GridEditing, NoEditorForEdNoneOrCellControls) {
  TEventGrid g;
  g.Kind = edNone;
  SimulateKeyStroke(g.grid, VK_F2);
  SimulateChar(g.grid, u'q');
  EXPECT_FALSE(g.TextEditing());
  EXPECT_FALSE(g.grid->EditMode());
  EXPECT_EQ(g.grid->Cells(1, 1), u"");
  // A check box cell is toggled, never edited, whatever kind the event gives.
  g.Kind = edNormal;
  g.grid->AddCheckBox(1, 1, false, false);
  g.grid->ShowCellEdit();
  SimulateKeyStroke(g.grid, VK_F2);
  EXPECT_FALSE(g.TextEditing());
  EXPECT_FALSE(g.grid->EditMode());
}

TEST(GridEditing, AnUnchangedValueIsNotValidated) {
  TEventGrid g;
  g.grid->SetCells(1, 1, u"same");
  g.ValidateWith([](String&, bool&) {});
  SimulateKeyStroke(g.grid, VK_F2);
  g.Key(VK_RETURN);
  EXPECT_EQ(std::count(g.Log.begin(), g.Log.end(), "CellValidate"), 0);
  g.grid->SetAlwaysValidate(true);
  SimulateKeyStroke(g.grid, VK_F2);
  g.Key(VK_RETURN);
  EXPECT_EQ(std::count(g.Log.begin(), g.Log.end(), "CellValidate"), 1);
  EXPECT_FALSE(g.grid->Modified());
}

// A refusal writes the handler's or the old text back and keeps editing that cell; nothing is
// marked modified and no change is announced.
TEST(GridEditing, RefusedValueReopensTheEditorWithTheHandlersOrTheOldText) {
  struct TCase {
    bool Correct;
    const char16_t* Expected;
  };
  for (TCase c : {TCase{true, u"0"}, TCase{false, u"old"}}) {
    TEventGrid g;
    g.grid->SetCells(1, 1, u"old");
    g.grid->Navigation()->SetEditSelectAll(false);
    g.ValidateWith([&](String& Value, bool& Valid) {
      Valid = false;
      if (c.Correct) Value.assign(1, u'0');
    });
    SimulateKeyStroke(g.grid, VK_F2);
    SimulateTyping(g.Edit(), u"bad");
    g.Log.clear();
    g.Key(VK_RETURN);
    EXPECT_EQ(g.Log, Events{"CellValidate"}) << c.Correct;
    ASSERT_TRUE(g.TextEditing()) << c.Correct;
    EXPECT_EQ(g.Edit()->Text(), String(c.Expected));
    EXPECT_EQ(g.grid->Cells(1, 1), String(c.Expected));
    EXPECT_EQ(g.grid->Col(), 1);
    EXPECT_EQ(g.grid->Row(), 1);
    EXPECT_FALSE(g.grid->Modified());
    // Going on in the reopened editor: an accepted value then ends the edit.
    g.ValidateWith([](String&, bool&) {});
    SimulateTyping(g.Edit(), u"9");
    g.Key(VK_RETURN);
    EXPECT_FALSE(g.TextEditing());
    EXPECT_EQ(g.grid->Cells(1, 1), String(c.Expected) + u"9");
    EXPECT_TRUE(g.grid->Modified());
  }
}

TEST(GridEditing, ARaisingHandlerLeavesAdvanceOnEnterAndValidationAsTheyWere) {
  TEventGrid g;
  g.grid->Navigation()->SetAdvanceOnEnter(true);
  bool raise = true;
  g.ValidateWith([&](String&, bool&) {
    if (raise) throw std::runtime_error("handler failed");
  });
  SimulateKeyStroke(g.grid, VK_F2);
  SimulateTyping(g.Edit(), u"v");
  EXPECT_THROW(g.grid->ValidateCell(u"v"), std::runtime_error);
  EXPECT_TRUE(g.grid->Navigation()->AdvanceOnEnter());
  EXPECT_FALSE(g.grid->Modified());
  // Validation runs again afterwards (nothing stays blocked).
  raise = false;
  g.Log.clear();
  g.grid->HideInplaceEdit();
  SimulateKeyStroke(g.grid, VK_F2);
  SimulateTyping(g.Edit(), u"w");
  g.Key(VK_RETURN);
  EXPECT_EQ(std::count(g.Log.begin(), g.Log.end(), "CellValidate"), 1);
}

TEST(GridEditing, FocusGlowShowsWhileEditingWithFocusHelper) {
  TEventGrid g;
  g.grid->FocusHelper()->SetEnabled(true);
  SimulateKeyStroke(g.grid, VK_F2);
  EXPECT_EQ(FocusFrameGrid, g.grid);
  SimulateTyping(g.Edit(), u"z");
  g.Key(VK_RETURN);
  EXPECT_EQ(FocusFrameGrid, nullptr);
}

}  // namespace

TEST(GridEditing, TabStaysWithTheEditorToBeValidatedWhenAHandlerIsAssigned) {
  TEventGrid g;
  ASSERT_FALSE(g.grid->Options().Contains(goTabs));
  EXPECT_FALSE(g.grid->EditorWantsTab());
  g.ValidateWith([](String& Value, bool& Valid) { Valid = Value != u"bad"; });
  EXPECT_TRUE(g.grid->EditorWantsTab());
  SimulateKeyStroke(g.grid, VK_F2);
  SimulateTyping(g.Edit(), u"bad");
  g.Log.clear();
  g.Key(VK_TAB);
  // The editor took Tab and validated: the refused value keeps it open on its cell.
  EXPECT_EQ(g.Log, Events{"CellValidate"});
  EXPECT_TRUE(g.TextEditing());
  EXPECT_TRUE(g.grid->Focused() || g.Edit()->Focused());
}

TEST(GridEditing, SizeWhileTypingWidensTheColumnToTheText) {
  for (bool grow : {false, true}) {
    TEventGrid g;
    g.grid->SizeWhileTyping()->SetWidth(grow);
    const int before = g.grid->ColWidths(1);
    SimulateKeyStroke(g.grid, VK_F2);
    SimulateTyping(g.Edit(), u"a text much wider than the column");
    ProcessPendingEvents();
    if (grow) {
      EXPECT_GT(g.grid->ColWidths(1), before);
      EXPECT_GE(g.Edit()->Width(), g.grid->ColWidths(1) - 2);
    } else {
      EXPECT_EQ(g.grid->ColWidths(1), before);
    }
  }
}

TEST(GridEditing, AnAcceptedEditRecalculatesTheFooterColumn) {
  TEventGrid g;
  for (int r = 1; r < 4; ++r) g.grid->SetCells(1, r, u"2");
  TFloatingFooter* footer = g.grid->FloatingFooter();
  footer->SetVisible(true);
  footer->SetColumnCalc(1, acSUM);
  g.grid->CalcFooter(-1);
  g.grid->Navigation()->SetEditSelectAll(false);
  const int last = g.grid->RowCount() - 1;
  const String before = g.grid->Cells(1, last);
  SimulateKeyStroke(g.grid, VK_F2);
  SimulateTyping(g.Edit(), u"0");
  g.Key(VK_RETURN);
  ASSERT_FALSE(g.TextEditing());
  EXPECT_EQ(g.grid->Cells(1, 1), u"20");
  EXPECT_NE(g.grid->Cells(1, last), before);
  EXPECT_EQ(g.grid->Cells(1, last), FormatFloat(u"0.00", 24));
}

TEST(GridEditing, EnterInASpecialEditorAdvancesOneCellOrStaysAfterARefusal) {
  for (bool refuse : {false, true}) {
    TEventGrid g;
    g.Kind = edComboEdit;
    g.grid->Navigation()->SetAdvanceOnEnter(true);
    g.grid->Navigation()->SetAdvanceAutoEdit(false);
    g.ValidateWith([refuse](String&, bool& Valid) { Valid = !refuse; });
    SimulateKeyStroke(g.grid, VK_F2);
    ProcessPendingEvents();
    TWinControl* combo = g.grid->EditCtrl;
    ASSERT_NE(combo, nullptr);
    SimulateTyping(combo, u"x");
    SimulateKeyDown(combo, VK_RETURN);
    SimulateKeyUp(combo->Showing() ? combo : static_cast<TWinControl*>(g.grid), VK_RETURN);
    ProcessPendingEvents();
    EXPECT_EQ(combo->Showing(), refuse) << refuse;
    EXPECT_EQ(g.grid->Col() + g.grid->Row(), refuse ? 2 : 3) << refuse;
  }
}

// A cell of packed wide text left by a click on another cell is validated by OnCellValidateWide
// (not OnCellValidate), against its wide text.
TEST(GridEditing, WideTextCellIsValidatedByTheWideHandlerWhenTheCellIsLeft) {
  const String wide = PackWideText(u"\uFF21");  // "|\" and two characters per wide one
  struct TCase {
    const char* Name;
    bool Valid;
    const char16_t* Correction;  // the handler's value; nullptr leaves the typed one
    String Cell;                 // the cell afterwards
  } cases[] = {
      {"accepted", true, nullptr, wide + u"x"},
      {"refused", false, nullptr, wide},
      {"refused and corrected", false, u"|\\fix", u"|\\fix"},
  };
  for (const TCase& c : cases) {
    TEventGrid g;
    g.Kind = edComboEdit;
    g.grid->SetFixedCols(1);
    g.grid->ShowModified()->SetEnabled(true);
    g.grid->SetCells(1, 1, wide);
    g.ValidateWith([](String&, bool&) {});
    std::vector<String> seen;
    g.grid->OnCellValidateWide = [&](TObject*, int ACol, int ARow, String& Value, bool& Valid) {
      g.Log.push_back("CellValidateWide");
      EXPECT_EQ(TPoint(ACol, ARow), TPoint(1, 1));
      seen.push_back(Value);
      Valid = c.Valid;
      if (c.Correction != nullptr) Value = c.Correction;
    };
    SimulateKeyStroke(g.grid, VK_F2);
    ProcessPendingEvents();
    TWinControl* combo = g.grid->EditCtrl;
    ASSERT_NE(combo, nullptr) << c.Name;
    SimulateKeyStroke(combo, VK_END);
    SimulateTyping(combo, u"x");
    g.Log.clear();
    const TPoint other = g.Mid(3, 3);
    SimulateClick(g.grid, other.X, other.Y);
    ProcessPendingEvents();
    EXPECT_EQ(std::count(g.Log.begin(), g.Log.end(), "CellValidate"), 0) << c.Name;
    EXPECT_EQ(seen, std::vector<String>{wide + u"x"}) << c.Name;
    // A refused value never reaches the cell: the old text or the handler's correction does.
    EXPECT_EQ(g.grid->Cells(1, 1), c.Cell) << c.Name;
    EXPECT_EQ(g.grid->Modified(), c.Valid) << c.Name;
    EXPECT_EQ(g.grid->RowModified(1), c.Valid) << c.Name;
  }
}

// A value refused when the user clicks another cell keeps the edited cell current, whatever the
// editor: the plain editor stays on it, a special editor (closed by the click) opens there again.
// Once a value is accepted, the next click moves on.
TEST(GridEditing, ARefusedValueKeepsTheCellWhenAnotherCellIsClicked) {
  for (TEditorType kind : {edNormal, edComboEdit, edComboList, edSpinEdit, edMemoDropDown, edCalculatorDropDown}) {
    TEventGrid g;
    g.Kind = kind;
    g.grid->SetCells(1, 1, u"1");
    g.ValidateWith([](String&, bool& Valid) { Valid = false; });
    SimulateKeyStroke(g.grid, VK_F2);
    ProcessPendingEvents();
    TWinControl* editor = kind == edNormal ? g.Edit() : g.grid->EditCtrl;
    ASSERT_NE(editor, nullptr) << int(kind);
    SimulateKeyStroke(editor, VK_END);
    SimulateTyping(editor, u"2");
    g.Log.clear();
    const TPoint other = g.Mid(3, 3);
    SimulateClick(g.grid, other.X, other.Y);
    ProcessPendingEvents();
    EXPECT_EQ(std::count(g.Log.begin(), g.Log.end(), "CellValidate"), 1) << int(kind);
    EXPECT_EQ(TPoint(g.grid->Col(), g.grid->Row()), TPoint(1, 1)) << int(kind);
    EXPECT_EQ(g.grid->Cells(1, 1), u"1") << int(kind);
    TWinControl* shown = kind == edNormal ? g.Edit() : g.grid->EditCtrl;
    ASSERT_NE(shown, nullptr) << int(kind);
    EXPECT_TRUE(shown->Showing()) << int(kind);
    EXPECT_EQ(shown->BoundsRect().TopLeft(), g.grid->CellRect(1, 1).TopLeft()) << int(kind);
    // Accepted now: the next click moves on.
    g.ValidateWith([](String&, bool&) {});
    SimulateClick(g.grid, other.X, other.Y);
    ProcessPendingEvents();
    EXPECT_EQ(TPoint(g.grid->Col(), g.grid->Row()), TPoint(3, 3)) << int(kind);
  }
}
