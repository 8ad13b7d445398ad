// The string grid's in-place text editor, driven by real keys through the grid.
#include <gtest/gtest.h>

#include "controls/VevAzez.h"
#include "grid/AdvGridInplaceEdit.h"
#include "grid/tests/GridTestSupport.h"
#include "platform/ui/Clipbrd.h"

namespace {

// A 5 x 5 grid that edits, every cell of editor kind Kind.
struct TEditGrid : TGridForm {
  TEditorType Kind = edNormal;
  TEditGrid() {
    grid->SetColCount(5);
    grid->SetRowCount(5);
    grid->SetOptions(grid->Options() + goEditing);
    grid->OnGetEditorType = [this](TObject*, int, int, TEditorType& E) { E = Kind; };
    grid->SetFocus();
    ProcessPendingEvents();
  }
  TAdvInplaceEdit* Edit() const { return grid->NormalEdit(); }
  bool Editing() const { return Edit() != nullptr && Edit()->Visible(); }
  // Types on the grid: the first character opens the editor, the rest go into it.
  void Type(const String& Text) {
    SimulateChar(grid, Text[0]);
    ASSERT_TRUE(Editing());
    if (Text.size() > 1) SimulateTyping(Edit(), Text.substr(1));
  }
  // A key that ends editing: its release reaches the grid.
  void Leave(Word Key, TShiftState Shift = {}) {
    SimulateKeyDown(Edit(), Key, Shift);
    SimulateKeyUp(Editing() ? static_cast<TWinControl*>(Edit()) : grid, Key, Shift);
  }
  // Opens the editor on the current cell with F2.
  void OpenF2() {
    SimulateKeyStroke(grid, VK_F2);
    ASSERT_TRUE(Editing());
  }
};

TEST(AdvInplaceEdit, GridCreatesItsOwnEditor) {
  TEditGrid g;
  g.OpenF2();
  EXPECT_EQ(g.grid->InplaceEditor()->ClassName(), u"TAdvInplaceEdit");
  EXPECT_TRUE(g.grid->EditMode());
}

TEST(AdvInplaceEdit, TypedCharactersAreFilteredByEditorKind) {
  struct TCase {
    TEditorType Kind;
    const char16_t* Typed;
    const char16_t* Expected;
  };
  const TCase cases[] = {
      {edNormal, u"x-Y 1", u"x-Y 1"},
      {edNumeric, u"12-", u"12"},           // "-" after the digits is refused
      {edNumeric, u"-12-", u"-12"},         // at position 0 it is taken, once
      {edPositiveNumeric, u"-1a2", u"12"},
      {edFloat, u"-1.5.3", u"-1.53"},       // a second decimal separator is ignored
      {edFloat, u"1,5x", u"15"},            // thousand separator and letters ignored
      {edPositiveFloat, u"-2.5", u"2.5"},
      {edCapital, u"abc d", u"ABC D"},
      {edUpperCase, u"xY", u"XY"},
      {edLowerCase, u"AbC", u"abc"},
      {edPassword, u"Secret", u"Secret"},
  };
  for (const TCase& c : cases) {
    TEditGrid g;
    g.Kind = c.Kind;
    // The first character opens the editor and lands in it, filtered like the rest.
    g.Type(c.Typed);
    ASSERT_TRUE(g.Editing()) << int(c.Kind);
    EXPECT_EQ(g.Edit()->Text(), String(c.Expected)) << int(c.Kind);
    EXPECT_EQ(g.grid->Cells(1, 1), String(c.Expected)) << int(c.Kind);
  }
}

TEST(AdvInplaceEdit, MixedCaseRecasesTheWholeTextAsTyped) {
  TEditGrid g;
  g.Kind = edMixedCase;
  g.Type(u"hello WORLD");
  EXPECT_EQ(g.Edit()->Text(), ToMixedCase(u"hello WORLD"));
  EXPECT_EQ(g.Edit()->SelStart(), 11);
}

TEST(AdvInplaceEdit, ValidCharsTakesOnlyListedCharacters) {
  TEditGrid g;
  g.Kind = edValidChars;
  g.grid->SetValidChars(u"ab");
  g.Type(u"abcxba");
  EXPECT_EQ(g.Edit()->Text(), u"abba");
}

TEST(AdvInplaceEdit, PasswordCellsHideTheirText) {
  TEditGrid g;
  g.Kind = edPassword;
  g.grid->SetPasswordChar(u'#');
  g.OpenF2();
  EXPECT_EQ(g.Edit()->PasswordChar(), u'#');
  g.Leave(VK_ESCAPE);
  g.Kind = edNormal;
  SimulateKeyStroke(g.grid, VK_RIGHT);
  g.OpenF2();
  EXPECT_EQ(g.Edit()->PasswordChar(), Char(0));
}

TEST(AdvInplaceEdit, LengthLimitDropsCharactersButNotBackspace) {
  TEditGrid g;
  g.grid->SetMaxEditLength(3);
  g.Type(u"abcd");
  EXPECT_EQ(g.Edit()->Text(), u"abc");
  EXPECT_EQ(g.Edit()->LengthLimit(), 3);
  SimulateKeyStroke(g.Edit(), VK_BACK);
  EXPECT_EQ(g.Edit()->Text(), u"ab");
}

TEST(AdvInplaceEdit, LengthLimitBeyond16BitsStillLimits) {
  TEditGrid g;
  g.grid->SetMaxEditLength(70000);
  g.OpenF2();
  EXPECT_EQ(g.Edit()->LengthLimit(), 70000);
  EXPECT_EQ(g.Edit()->MaxLength(), 70000);
}

TEST(AdvInplaceEdit, EscapePutsBackTheCachedTextAndEndsEditing) {
  TEditGrid g;
  g.grid->SetCells(1, 1, u"old");
  g.OpenF2();
  SimulateTyping(g.Edit(), u"new");
  EXPECT_EQ(g.grid->Cells(1, 1), u"new");
  g.Leave(VK_ESCAPE);
  EXPECT_FALSE(g.Editing());
  EXPECT_EQ(g.grid->Cells(1, 1), u"old");
}

TEST(AdvInplaceEdit, EnterValidatesThroughTheGrid) {
  TEditGrid g;
  g.grid->SetCells(1, 1, u"old");
  std::vector<String> asked;
  g.grid->OnCellValidate = [&](TObject*, int, int, String& Value, bool& Valid) {
    asked.push_back(Value);
    Valid = Value != u"bad";
  };
  g.OpenF2();
  SimulateTyping(g.Edit(), u"bad");
  g.Leave(VK_RETURN);
  // Refused: the editor stays on the cell, which keeps its old text.
  ASSERT_TRUE(g.Editing());
  EXPECT_EQ(g.grid->Cells(1, 1), u"old");
  SimulateTyping(g.Edit(), u"good");
  g.Leave(VK_RETURN);
  EXPECT_FALSE(g.Editing());
  EXPECT_EQ(g.grid->Cells(1, 1), u"good");
  ASSERT_GE(asked.size(), 2u);
  EXPECT_EQ(asked.front(), u"bad");
  EXPECT_EQ(asked.back(), u"good");
}

TEST(AdvInplaceEdit, UpOnTheFirstLineValidatesAndLeavesTheCell) {
  TEditGrid g;
  g.grid->SetRow(2);
  bool validated = false;
  g.grid->OnCellValidate = [&](TObject*, int, int, String&, bool&) { validated = true; };
  g.OpenF2();
  SimulateTyping(g.Edit(), u"v");
  g.Leave(VK_UP);
  EXPECT_TRUE(validated);
  EXPECT_FALSE(g.Editing());
  EXPECT_EQ(g.grid->Row(), 1);
  EXPECT_EQ(g.grid->Cells(1, 2), u"v");
}

TEST(AdvInplaceEdit, ShiftRightAtTheEndWalksOutWithCursorWalkEditor) {
  TEditGrid g;
  g.grid->Navigation()->SetCursorWalkEditor(true);
  g.OpenF2();
  SimulateTyping(g.Edit(), u"ab");
  SimulateKeyStroke(g.Edit(), VK_LEFT, {ssShift});  // caret not at 0: stays
  EXPECT_TRUE(g.Editing());
  SimulateKeyStroke(g.Edit(), VK_END);
  g.Leave(VK_RIGHT, {ssShift});
  EXPECT_FALSE(g.Editing());
  EXPECT_EQ(g.grid->Cells(1, 1), u"ab");
}

TEST(AdvInplaceEdit, PasteIsFilteredByKind) {
  TEditGrid g;
  g.Kind = edNumeric;
  std::vector<String> after;
  g.grid->OnClipboardAfterPasteCell = [&](TObject*, int, int, const String& V) { after.push_back(V); };
  g.OpenF2();
  Clipboard()->SetAsText(u"12\r\n");
  SimulateKeyStroke(g.Edit(), 'V', {ssCtrl});
  EXPECT_EQ(g.Edit()->Text(), u"12");
  EXPECT_EQ(g.grid->Cells(1, 1), u"12");
  Clipboard()->SetAsText(u"1\r\n2");
  SimulateKeyStroke(g.Edit(), 'V', {ssCtrl});
  EXPECT_EQ(g.Edit()->Text(), u"12");
  ASSERT_EQ(after.size(), 2u);  // also after the refused paste
  EXPECT_EQ(after[1], u"12");
}

TEST(AdvInplaceEdit, PasteEventsMayChangeOrRefuseTheText) {
  TEditGrid g;
  g.Kind = edUpperCase;
  g.grid->OnClipboardBeforePasteCell = [](TObject*, int, int, String& V, bool& Allow) {
    Allow = V != u"no";
    V += u"!";
  };
  g.OpenF2();
  Clipboard()->SetAsText(u"abc");
  SimulateKeyStroke(g.Edit(), 'V', {ssCtrl});
  EXPECT_EQ(g.Edit()->Text(), u"ABC!");
  Clipboard()->SetAsText(u"no");
  SimulateKeyStroke(g.Edit(), 'V', {ssCtrl});
  EXPECT_EQ(g.Edit()->Text(), u"ABC!");
}

TEST(AdvInplaceEdit, LookupCompletesFromTheItems) {
  TEditGrid g;
  g.grid->SetLookup(true);
  g.grid->LookupItems()->Add(u"Apple");
  g.grid->LookupItems()->Add(u"Banana");
  g.Type(u"ba");
  EXPECT_EQ(g.Edit()->Text(), u"banana");
  EXPECT_EQ(g.Edit()->SelStart(), 2);
  EXPECT_EQ(g.Edit()->SelLength(), 4);
  // Backspace does not complete again.
  SimulateKeyStroke(g.Edit(), VK_BACK);
  EXPECT_EQ(g.Edit()->Text(), u"ba");
}

TEST(AdvInplaceEdit, EditChangeFiresForTypingNotForLoading) {
  TEditGrid g;
  g.grid->SetCells(1, 1, u"x");
  std::vector<String> changes;
  g.grid->OnEditChange = [&](TObject*, int, int, const String& V) { changes.push_back(V); };
  g.OpenF2();
  EXPECT_TRUE(changes.empty());
  SimulateKeyStroke(g.Edit(), VK_END);
  SimulateTyping(g.Edit(), u"y");
  ASSERT_FALSE(changes.empty());
  EXPECT_EQ(changes.back(), u"xy");
}

TEST(AdvInplaceEdit, LeavingTheEditorEndsEditingOnce) {
  TEditGrid g;
  int done = 0;
  g.grid->OnEditingDone = [&](TObject*) { ++done; };
  g.OpenF2();
  SimulateTyping(g.Edit(), u"q");
  g.Leave(VK_RETURN);
  ProcessPendingEvents();
  EXPECT_FALSE(g.Editing());
  EXPECT_FALSE(g.grid->EditMode());
  EXPECT_EQ(done, 1);
  EXPECT_EQ(g.grid->Cells(1, 1), u"q");
}

}  // namespace

namespace {
TEST(AdvInplaceEdit, FocusLossWhileAltBackspaceIsHeldKeepsEditing) {
  TEditGrid g;
  auto* other = new TEdit(&g.form);
  other->SetParent(&g.form);
  other->SetBounds(510, 10, 80, 24);
  ProcessPendingEvents();
  g.OpenF2();
  SimulateTyping(g.Edit(), u"ab");
  SimulateKeyDown(g.Edit(), VK_BACK, {ssAlt});
  other->SetFocus();
  ProcessPendingEvents();
  EXPECT_TRUE(g.Editing());
  EXPECT_TRUE(g.grid->EditMode());
  SimulateKeyUp(other, VK_BACK, {ssAlt});
  // Without Alt+Backspace held a focus loss validates and ends editing.
  g.Edit()->SetFocus();
  ProcessPendingEvents();
  other->SetFocus();
  ProcessPendingEvents();
  EXPECT_FALSE(g.Editing());
  EXPECT_FALSE(g.grid->EditMode());
}

TEST(AdvInplaceEdit, CtrlASelectsAllWithoutTypingACharacter) {
  TEditGrid g;
  g.Type(u"abc");
  SimulateKeyStroke(g.Edit(), 'A', {ssCtrl});
  EXPECT_EQ(g.Edit()->Text(), u"abc");
  EXPECT_EQ(g.Edit()->SelLength(), 3);
}
}  // namespace

TEST(AdvInplaceEdit, CtrlOrShiftEnterGivesAMultiLineRowRoomForTheNewLine) {
  struct TCase {
    const char* Name;
    bool GrowHeight;
    TShiftState Shift;
    int Lines;  // the row's height in lines afterwards; 0: unchanged
  } cases[] = {
      {"Ctrl+Enter twice", true, TShiftState{ssCtrl}, 3},
      {"Shift+Enter", true, TShiftState{ssShift}, 2},
      {"without SizeWhileTyping.Height", false, TShiftState{ssCtrl}, 0},
  };
  for (const TCase& c : cases) {
    TEditGrid g;
    g.grid->SetMultilinecells(true);
    g.grid->SetWordWrap(false);  // no sizing to the wrapped text at each key release
    g.grid->SizeWhileTyping()->SetHeight(c.GrowHeight);
    // The height of N lines in the row's font, as row 3 gets it.
    auto linesHigh = [&](int N) {
      g.grid->SizeRowToLines(3, N, g.grid->GetVertMargin());
      return g.grid->RowHeights(3);
    };
    const int before = g.grid->RowHeights(1);
    std::vector<int> sized;
    g.grid->OnEndRowSize = [&](TObject*, int ARow) { sized.push_back(ARow); };
    g.grid->SetRow(1);
    g.Type(u"a");
    const int presses = c.Lines == 3 ? 2 : 1;
    for (int i = 0; i < presses; ++i) {
      if (c.Shift.Contains(ssCtrl)) SimulateKeyStroke(g.Edit(), VK_RETURN, c.Shift);
      else g.Leave(VK_RETURN, c.Shift);
      ProcessPendingEvents();
    }
    if (c.Lines == 0) {
      EXPECT_EQ(g.grid->RowHeights(1), before) << c.Name;
      EXPECT_TRUE(sized.empty()) << c.Name;
    } else {
      EXPECT_EQ(g.grid->RowHeights(1), linesHigh(c.Lines)) << c.Name;
      EXPECT_EQ(sized, std::vector<int>(size_t(presses), 1)) << c.Name;
    }
    if (c.Shift.Contains(ssCtrl)) {
      // Ctrl+Enter breaks the line and goes on editing, the editor over the grown cell.
      ASSERT_TRUE(g.Editing()) << c.Name;
      EXPECT_EQ(g.Edit()->Text(), presses == 2 ? u"a\r\n\r\n" : u"a\r\n") << c.Name;
      EXPECT_EQ(g.Edit()->Height(), g.grid->RowHeights(1) - 1) << c.Name;
    }
  }
}
