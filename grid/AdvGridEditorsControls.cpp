// The grid's check box, spin, combo, edit-button, date picker and button editors, and the
// editors of form controls inside tagged cells.
#include <algorithm>

#include "grid/AdvGridEditors.h"
#include "platform/rtl/ScopeGuard.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Clipbrd.h"
#include "platform/win/Windows.h"
#include "platform/win/WinUser.h"

namespace {

bool IsArrow(Word Key) { return Key == VK_LEFT || Key == VK_UP || Key == VK_RIGHT || Key == VK_DOWN; }

// The typing rules of the numeric edit buttons: integers (digits, a leading "-") or floats
// (one decimal separator, no thousand separator, a leading "-", other characters only with
// Ctrl). Control characters pass. Beep tells a refused character that is to be heard.
Char NumericEditChar(bool Float, Char Key, const String& Text, int Caret, const String& Sel, bool& Beep) {
  Beep = false;
  if (Key == 8 || Key == 9 || Key == 13 || Key == 27 || (Key >= u'0' && Key <= u'9')) return Key;
  if (Key == u'-') {
    if (Float && Sel.find(u'-') != String::npos) return Key;
    if (Caret == 0 && Text.find(u'-') == String::npos) return Key;
    Beep = true;
    return 0;
  }
  if (!Float) {
    Beep = true;
    return 0;
  }
  const Char dec = FormatSettings.DecimalSeparator;
  if (Key == dec) return Text.find(dec) != String::npos && Sel.find(dec) == String::npos ? Char(0) : Key;
  if (Key == FormatSettings.ThousandSeparator || Key == u',' || Key == u'.') return 0;
  return GetKeyState(VK_CONTROL) < 0 ? Key : Char(0);
}

// Applies the edit buttons' filter of the grid's editor kind to a typed character.
void FilterEditBtnChar(DEreDuzeroVaro* Grid, TCustomEdit* Edit, Char& Key) {
  const TEditorType kind = Grid->EditControl;
  const bool integer = kind == edNumericEditBtn || kind == edNumericUnitEditBtn;
  const bool floating = kind == edFloatEditBtn || kind == edFloatUnitEditBtn;
  if (!integer && !floating) return;
  bool beep = false;
  Key = NumericEditChar(floating, Key, Edit->Text(), Edit->SelStart(), Edit->SelText(), beep);
  if (beep) MessageBeep(0);
}

// The lookup completion of a typed prefix: the first of Lists' strings that starts with it
// (case-insensitive unless CaseSensitive). Answers the list and the index, or -1.
std::pair<int, int> FindLookup(const String& Typed, bool CaseSensitive, std::initializer_list<TStrings*> Lists) {
  if (Typed.empty()) return {-1, -1};
  const String key = CaseSensitive ? Typed : AnsiUpperCase(Typed);
  int l = 0;
  for (TStrings* list : Lists) {
    if (list != nullptr)
      for (int i = 0; i < list->Count(); ++i) {
        String s = list->Strings(i).substr(0, key.size());
        if (!CaseSensitive) s = AnsiUpperCase(s);
        if (s == key) return {l, i};
      }
    ++l;
  }
  return {-1, -1};
}

// The text a completion makes: the typed part as typed, then the rest of the item, at most
// 255 characters.
String Completed(const String& Text, size_t TypedLength, const String& Item) {
  String t = Text.substr(0, TypedLength) + (Item.size() > TypedLength ? Item.substr(TypedLength) : String());
  if (t.size() > 255) t.resize(255);
  return t;
}

}  // namespace

// ---------------------------------------------------------------------------
// TGridCheckBox

TGridCheckBox::TGridCheckBox(TComponent* AOwner) : TCheckBox(AOwner), FGrid(TGridEditorLink::GridOf(AOwner)) {}

void TGridCheckBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) SetChecked(!Checked());
  TCheckBox::MouseDown(Button, Shift, X, Y);
}

void TGridCheckBox::WMLButtonDown(TWMMouse& Message) {
  // The press toggles here; the box itself does not toggle again on the release.
  if (CanFocus()) SetFocus();
  MouseDown(mbLeft, KeyDataToShiftState(0), Message.XPos(), Message.YPos());
}

void TGridCheckBox::KeyDown(Word& Key, TShiftState Shift) {
  if (Key == VK_ESCAPE) SetCaption(FGrid->GetCurrentCell());
  if (Key == VK_RETURN || Key == VK_ESCAPE || Key == VK_PRIOR || Key == VK_NEXT || Key == VK_END || IsArrow(Key)) {
    FGrid->HideInplaceEdit();
    TGridEditorLink::GiveGridFocus(FGrid);
    if (Key == VK_RETURN) TGridEditorLink::AdvanceCell(FGrid, true, false);
    if (Key == VK_UP || Key == VK_DOWN) TGridEditorLink::GridKeyDown(FGrid, Key, Shift);
    Key = 0;
    return;
  }
  TCheckBox::KeyDown(Key, Shift);
}

void TGridCheckBox::KeyPress(Char& Key) {
  TGridEditorLink::GridKeyPress(FGrid, this, Key);
  if (Key == 27 || Key == 13 || Key == 9) Key = 0;
  TCheckBox::KeyPress(Key);
}

void TGridCheckBox::DoExit() {
  FGrid->HideInplaceEdit();
  TCheckBox::DoExit();
}

void TGridCheckBox::CMWantSpecialKey(TWMKey& Message) {
  if (TGridEditorLink::WantsKey(FGrid, Message.CharCode(), true) || IsArrow(Message.CharCode())) {
    Message.SetResult(1);
    return;
  }
  TCheckBox::CMWantSpecialKey(Message);
}

void TGridCheckBox::WMGetDlgCode(TWMGetDlgCode& Message) {
  TCheckBox::WMGetDlgCode(Message);
  Message.SetResult(Message.Result() | DLGC_WANTARROWS);
}

// ---------------------------------------------------------------------------
// TGridSpin

TGridSpin::TGridSpin(TComponent* AOwner) : TAsgSpinEdit(AOwner), FGrid(TGridEditorLink::GridOf(AOwner)) {
  SetMaxValue(100);
  SetMinValue(0);
  SetIncrement(1);
}

void TGridSpin::WMKeyDown(TWMKey& Message) {
  Word key = Message.CharCode();
  const TShiftState shift = KeyDataToShiftState(Message.KeyData());
  if (!GridKey(key, shift)) return;
  Message.SetCharCode(key);
  TAsgSpinEdit::WMKeyDown(Message);
}

bool TGridSpin::GridKey(Word& Key, TShiftState Shift) {
  // The value keys: a page step within the limits, End the lower and Home the upper limit.
  if (Key == VK_PRIOR || Key == VK_NEXT || Key == VK_HOME || Key == VK_END) {
    const bool up = Key == VK_PRIOR || Key == VK_HOME;
    if (SpinType() == sptNormal) {
      const int64_t v = Value();
      if (Key == VK_PRIOR && v + Increment() <= MaxValue()) SetValue(int32_t(v + Increment()));
      if (Key == VK_NEXT && v - Increment() >= MinValue()) SetValue(int32_t(v - Increment()));
      if (Key == VK_END) SetValue(MinValue());
      if (Key == VK_HOME) SetValue(MaxValue());
    } else if (SpinType() == sptFloat) {
      const double v = FloatValue();
      if (Key == VK_PRIOR && v + IncrementFloat() <= MaxFloatValue()) SetFloatValue(v + IncrementFloat());
      if (Key == VK_NEXT && v - IncrementFloat() >= MinFloatValue()) SetFloatValue(v - IncrementFloat());
      if (Key == VK_END) SetFloatValue(MinFloatValue());
      if (Key == VK_HOME) SetFloatValue(MaxFloatValue());
    }
    if (FGrid->OnSpinClick) FGrid->OnSpinClick(FGrid, FGrid->Col(), FGrid->Row(), Value(), up);
    // The page keys step here only; Home and End also move the caret.
    return Key == VK_HOME || Key == VK_END;
  }
  if (Key != VK_TAB && Key != VK_RETURN && Key != VK_ESCAPE && Key != VK_UP && Key != VK_DOWN) return true;
  if (Key == VK_ESCAPE) {
    SetText(TGridEditorLink::CellCache(FGrid));
    if (SpinType() == sptFloat) SetFloatValue(FloatValue());
    else if (SpinType() == sptNormal) SetValue(Value());
  } else {
    if (!TGridEditorLink::StoreAndValidate(FGrid, Text())) {
      SetText(FGrid->GetCurrentCell());
      SetSelStart(static_cast<int>(Text().size()));
      TGridEditorLink::NoAutoAdvance(FGrid, true);
      Invalidate();
      return false;
    }
    SetText(FGrid->GetCurrentCell());
    if (Key == VK_TAB && FGrid->Options().Contains(goTabs)) {
      FGrid->HideInplaceEdit();
      TGridEditorLink::GiveGridFocus(FGrid);
      TGridEditorLink::TabAdvance(FGrid, Shift.Contains(ssShift));
      return false;
    }
    if (Key == VK_RETURN && TGridEditorLink::EnterAdvanced(FGrid)) return false;
  }
  TGridEditorLink::DoneInplaceEdit(FGrid, Key, Shift);
  return false;
}

void TGridSpin::KeyPress(Char& Key) {
  TGridEditorLink::GridKeyPress(FGrid, FGrid, Key);
  if (Key == 9 || Key == 13 || Key == 27) Key = 0;
  TAsgSpinEdit::KeyPress(Key);
}

void TGridSpin::Change() {
  TCustomMaskEdit::Change();
  TGridEditorLink::TextChanged(FGrid, Text());
}

void TGridSpin::DoExit() {
  FGrid->HideInplaceEdit();
  TAsgSpinEdit::DoExit();
}

void TGridSpin::CMWantSpecialKey(TWMKey& Message) {
  if (TGridEditorLink::WantsKey(FGrid, Message.CharCode(), true, true)) {
    Message.SetResult(1);
    return;
  }
  TAsgSpinEdit::CMWantSpecialKey(Message);
}

void TGridSpin::UpClick(TObject* Sender) {
  TAsgSpinEdit::UpClick(Sender);
  SpinClicked(true);
}

void TGridSpin::DownClick(TObject* Sender) {
  TAsgSpinEdit::DownClick(Sender);
  SpinClicked(false);
}

void TGridSpin::SpinClicked(bool Up) {
  const int c = FGrid->Col(), r = FGrid->Row();
  switch (SpinType()) {
    case sptNormal:
      if (FGrid->OnSpinClick) FGrid->OnSpinClick(FGrid, c, r, Value(), Up);
      break;
    case sptFloat:
      if (FGrid->OnFloatSpinClick) FGrid->OnFloatSpinClick(FGrid, c, r, FloatValue(), Up);
      break;
    case sptDate:
      if (FGrid->OnDateSpinClick) FGrid->OnDateSpinClick(FGrid, c, r, DateValue(), Up);
      break;
    case sptTime:
      if (FGrid->OnTimeSpinClick) FGrid->OnTimeSpinClick(FGrid, c, r, TimeValue(), Up);
      break;
    default: break;
  }
}

// ---------------------------------------------------------------------------
// TGridCombo

TGridCombo::TGridCombo(TComponent* AOwner) : DOruDozezOde(AOwner), FGrid(TGridEditorLink::GridOf(AOwner)) {
  SetButtonWidth(16);
}

void TGridCombo::KeyDown(Word& Key, TShiftState Shift) {
  Forced = false;
  const bool list = ListMode();
  bool handled = Key == VK_TAB || Key == VK_RETURN || Key == VK_ESCAPE;
  if (list) handled = handled || Key == VK_LEFT || Key == VK_RIGHT;
  else
    handled = handled || Key == VK_PRIOR || Key == VK_NEXT || Key == VK_END ||
              ((Key == VK_UP || Key == VK_DOWN) && !FGrid->Navigation()->ComboGetUpDown());
  if (Key == VK_DOWN && Shift.Contains(ssAlt)) handled = false;
  WorkMode = !(Key == VK_BACK || Key == VK_DELETE);
  if (!handled) {
    DOruDozezOde::KeyDown(Key, Shift);
    return;
  }
  const bool editable = Style() != csDropDownList;
  if (Key == VK_ESCAPE) {
    const String t = FGrid->GetCurrentCell();
    SetText(t);
    const int i = Items()->IndexOf(t);
    if (i >= 0) SetItemIndex(i);
    FGrid->HideInplaceEdit();
    TGridEditorLink::GiveGridFocus(FGrid);
    Key = 0;
    return;
  }
  // The stored value back into the combo: the equal item of a list, the text of an edit.
  auto takeCell = [&](bool Clear) {
    const String t = FGrid->GetCurrentCell();
    const int i = Items()->IndexOf(t);
    if (editable) SetText(t);
    else if (i >= 0 || Clear) SetItemIndex(i);
  };
  if (Key == VK_RETURN || Key == VK_UP || Key == VK_DOWN) {
    if (!TGridEditorLink::StoreAndValidate(FGrid, Text())) {
      SetText(TGridEditorLink::NewCellText(FGrid));
      if (editable) SelectAll();
      Invalidate();
      Key = 0;
      TGridEditorLink::NoAutoAdvance(FGrid, true);
      return;
    }
    takeCell(false);
  }
  if (Key == VK_TAB && FGrid->EditorWantsTab()) {
    if (!TGridEditorLink::StoreAndValidate(FGrid, Text())) {
      SetText(TGridEditorLink::NewCellText(FGrid));
      if (editable) SetSelStart(static_cast<int>(Text().size()));
      Invalidate();
      Key = 0;
      return;
    }
    takeCell(true);
    if (TGridEditorLink::TabValidated(FGrid, Shift)) {
      Key = 0;
      return;
    }
  }
  if (list) {
    TMouseActions* ma = FGrid->MouseActions();
    const bool directClose = ma->DirectComboClose();
    ma->SetDirectComboClose(false);
    {
      TScopeGuard restore([&] { ma->SetDirectComboClose(directClose); });
      FGrid->HideInplaceEdit();
    }
    if (Key == VK_LEFT || Key == VK_RIGHT) TGridEditorLink::GridKeyDown(FGrid, Key, Shift);
    if (Key == VK_PRIOR || Key == VK_NEXT || IsArrow(Key)) Key = 0;
  } else if (Key == VK_END) {
    DOruDozezOde::KeyDown(Key, Shift);
    return;
  }
  TNavigation* nav = FGrid->Navigation();
  const bool alwaysEdit = nav->AlwaysEdit();
  nav->SetAlwaysEdit(false);
  {
    TScopeGuard restore([&] { nav->SetAlwaysEdit(alwaysEdit); });
    TGridEditorLink::DoneInplaceEdit(FGrid, Key, Shift);
  }
  if (nav->AdvanceOnEnter() && nav->AdvanceAutoEdit()) TGridEditorLink::ShowInplaceEdit(FGrid);
  Key = 0;
}

void TGridCombo::KeyPress(Char& Key) {
  const int old = ItemIndex();
  TGridEditorLink::GridKeyPress(FGrid, this, Key);
  if (Key == 27) Key = 0;
  if (Key == 13 && OnReturnKey) OnReturnKey(this);
  if (Key == 13 || Key == 9) Key = 0;
  DOruDozezOde::KeyPress(Key);
  if (ItemIndex() != old) FireComboChange();
}

void TGridCombo::KeyUp(Word& Key, TShiftState Shift) {
  TGridEditorLink::NoAutoAdvance(FGrid, false);
  if (Key != VK_RETURN) DOruDozezOde::KeyUp(Key, Shift);
  DoChange();
}

void TGridCombo::Change() {
  DOruDozezOde::Change();
  TGridEditorLink::TextChanged(FGrid, Text());
}

void TGridCombo::DoExit() {
  const String t = Text();
  if (FGrid->LookupHistory() && !t.empty() && Items()->IndexOf(t) < 0) Items()->Add(t);
  FGrid->HideInplaceEdit();
  DOruDozezOde::DoExit();
}

void TGridCombo::CMWantSpecialKey(TWMKey& Message) {
  const Word key = Message.CharCode();
  if (TGridEditorLink::WantsKey(FGrid, key, true) || ((key == VK_LEFT || key == VK_RIGHT) && ListMode())) {
    Message.SetResult(1);
    return;
  }
  DOruDozezOde::CMWantSpecialKey(Message);
}

void TGridCombo::WMSetFocus(TWMSetFocus& Message) {
  DOruDozezOde::WMSetFocus(Message);
  if (!FGrid->Navigation()->EditSelectAll() && Style() != csDropDownList) {
    SetSelStart(static_cast<int>(Text().size()));
    SetSelLength(0);
  }
  if (TGridEditorLink::ClickedEditing(FGrid) && Style() != csDropDownList) {
    // The caret to the clicked character of the edit part (its text starts 3 pixels in).
    POINT p{};
    GetCursorPos(&p);
    const TPoint c = ScreenToClient(TPoint(p.X, p.Y));
    if (c.X >= 0 && c.Y >= 0 && c.X < Width() && c.Y < Height()) {
      TBitmap measure;
      measure.Canvas()->Font()->Assign(Font());
      const String t = Text();
      int i = 0;
      while (i < static_cast<int>(t.size()) &&
             measure.Canvas()->TextWidth(t.substr(0, i)) + measure.Canvas()->TextWidth(t.substr(i, 1)) / 2 < c.X - 3)
        ++i;
      SetSelStart(i);
      SetSelLength(0);
    }
  }
  TGridEditorLink::ClearLButFlg(FGrid);
}

bool TGridCombo::DoMouseWheelDown(TShiftState, TPoint) {
  WheelStep(1);
  return true;
}

bool TGridCombo::DoMouseWheelUp(TShiftState, TPoint) {
  WheelStep(-1);
  return true;
}

void TGridCombo::WheelStep(int Delta) {
  const int count = Items()->Count();
  if (count == 0) return;
  // Past the last item the last stays selected; before the first, the first.
  const int i = std::clamp(ItemIndex() + Delta, 0, count - 1);
  if (i == ItemIndex()) return;
  SetItemIndex(i);
  if (FGrid->OnEditChange) FGrid->OnEditChange(FGrid, FGrid->RealCol(), FGrid->Row(), Items()->Strings(i));
  FireComboChange();
}

void TGridCombo::FireComboChange() {
  const int i = ItemIndex();
  const String sel = i >= 0 && i < Items()->Count() ? Items()->Strings(i) : Text();
  const int c = FGrid->RealCol(), r = FGrid->Row();
  if (FGrid->OnComboChange) FGrid->OnComboChange(FGrid, c, r, i, sel);
  if (FGrid->OnComboObjectChange)
    FGrid->OnComboObjectChange(FGrid, c, r, i, sel, i >= 0 && i < Items()->Count() ? Items()->Objects(i) : nullptr);
}

void TGridCombo::DoChange() {
  if (!WorkMode || !FGrid->Lookup() || Style() == csDropDownList) return;
  const String text = Text();
  const size_t typed = std::min<size_t>(std::max(SelStart(), 0), text.size());
  const auto [list, index] = FindLookup(text.substr(0, typed), FGrid->LookupCaseSensitive(), {Items(), FGrid->LookupItems()});
  if (index < 0) return;
  const String item = list == 0 ? Items()->Strings(index) : FGrid->LookupItems()->Strings(index);
  const String t = Completed(text, typed, item);
  if (list == 0) {
    SetItemIndex(index);
    ItemIdx = index;
    ItemChange = true;
  }
  SetText(t);
  SetSelStart(static_cast<int>(typed));
  SetSelLength(static_cast<int>(t.size() - typed));
}

void TGridCombo::SizeDropDownWidth() {
  int w = Width();
  const bool scroll = Items()->Count() > DropDownCount();
  // Measured in the font the grid's canvas has for the cell (outside painting, on a bitmap).
  TBitmap measure;
  measure.Canvas()->Font()->Assign(FGrid->Canvas()->Font());
  for (int i = 0; i < Items()->Count(); ++i) {
    const int t = measure.Canvas()->TextWidth(Items()->Strings(i));
    if (scroll ? w - 25 < t : w - 5 < t) w = t + (scroll ? 25 : 8);
  }
  Perform(CB_SETDROPPEDWIDTH, WPARAM(w), 0);
}

// ---------------------------------------------------------------------------
// TGridEditBtn

TGridEditBtn::TGridEditBtn(TComponent* AOwner) : TAsgEditBtn(AOwner), FGrid(TGridEditorLink::GridOf(AOwner)) {
  OnClickBtn = [this](TObject* Sender) { ClickBtn(Sender); };
}

void TGridEditBtn::KeyDown(Word& Key, TShiftState Shift) {
  const bool handled = Key == VK_TAB || Key == VK_RETURN || Key == VK_ESCAPE || Key == VK_PRIOR || Key == VK_NEXT ||
                       Key == VK_UP || Key == VK_DOWN;
  if (!handled && FGrid->OnKeyDown) FGrid->OnKeyDown(FGrid, Key, Shift);
  Forced = false;
  WorkMode = !(Key == VK_BACK || Key == VK_DELETE);
  FSelKeyDown = SelStart();
  FSelLenKeyDown = SelLength();
  if (Shift.Contains(ssCtrl) || !handled) {
    TAsgEditBtn::KeyDown(Key, Shift);
    return;
  }
  if (OnKeyDown) OnKeyDown(this, Key, Shift);
  if (Key == VK_TAB || Key == VK_RETURN || Key == VK_UP || Key == VK_DOWN) {
    if (!TGridEditorLink::StoreAndValidate(FGrid, Text())) {
      SetText(TGridEditorLink::NewCellText(FGrid));
      SelectAll();
      Invalidate();
      Key = 0;
      return;
    }
  }
  if (Key == VK_RETURN && TGridEditorLink::EnterAdvanced(FGrid)) {
    Key = 0;
    return;
  }
  if (Key == VK_TAB && FGrid->EditorWantsTab() && TGridEditorLink::TabValidated(FGrid, Shift)) {
    Key = 0;
    return;
  }
  if (Key == VK_ESCAPE) SetText(TGridEditorLink::CellCache(FGrid));
  TGridEditorLink::DoneInplaceEdit(FGrid, Key, Shift);
  Key = 0;
}

void TGridEditBtn::KeyPress(Char& Key) {
  TGridEditorLink::GridKeyPress(FGrid, FGrid, Key);
  if (Key == 13 || Key == 9) {
    Key = 0;
    return;
  }
  FilterEditBtnChar(FGrid, this, Key);
  if (Key != 0) TAsgEditBtn::KeyPress(Key);
}

void TGridEditBtn::KeyUp(Word& Key, TShiftState Shift) {
  if (FGrid->OnKeyUp) FGrid->OnKeyUp(FGrid, Key, Shift);
  TNavigation* nav = FGrid->Navigation();
  if (nav->CursorWalkEditor() && !Shift.Contains(ssShift) && FSelLenKeyDown == 0 &&
      ((Key == VK_RIGHT && FSelKeyDown == static_cast<int>(Text().size())) || (Key == VK_LEFT && FSelKeyDown == 0))) {
    const bool forward = Key == VK_RIGHT;
    Key = 0;
    // A neighbour holding a cell control becomes current at once; else the cell advances.
    const int row = FGrid->Row();
    const int target = forward ? FGrid->Col() + FGrid->CellSpan(FGrid->RealCol(), row).X + 1 : FGrid->Col() - 1;
    if (target >= FGrid->FixedCols() && target < FGrid->ColCount() - FGrid->FixedRightCols() &&
        FGrid->HasCellControl(target, row)) {
      if (FGrid->ValidateCell(Text())) {
        FGrid->HideInplaceEdit();
        FGrid->SetCol(target);
      }
    } else {
      TGridEditorLink::GiveGridFocus(FGrid);
      const TAdvanceDirection dir = nav->AdvanceDirection();
      nav->SetAdvanceDirection(adLeftRight);
      {
        TScopeGuard restore([&] { nav->SetAdvanceDirection(dir); });
        TGridEditorLink::AdvanceCell(FGrid, forward, true);
      }
      if (nav->CursorWalkAlwaysEdit()) TGridEditorLink::ShowEditor(FGrid);
    }
  }
  if (Key != VK_RETURN) TAsgEditBtn::KeyUp(Key, Shift);
  DoChange();
}

void TGridEditBtn::DoChange() {
  if (!WorkMode || !FGrid->Lookup() || SelLength() != 0) return;
  const String text = Text();
  const size_t typed = std::min<size_t>(std::max(SelStart(), 0), text.size());
  const auto [list, index] = FindLookup(text.substr(0, typed), FGrid->LookupCaseSensitive(), {FGrid->LookupItems()});
  if (index < 0) return;
  const String t = Completed(text, typed, FGrid->LookupItems()->Strings(index));
  SetText(t);
  Select(static_cast<int>(typed), static_cast<int>(t.size() - typed));
}

void TGridEditBtn::Change() {
  TAsgEditBtn::Change();
  TGridEditorLink::TextChanged(FGrid, Text());
}

void TGridEditBtn::DoExit() {
  FGrid->HideInplaceEdit();
  TAsgEditBtn::DoExit();
}

void TGridEditBtn::DblClick() {
  TAsgEditBtn::DblClick();
  if (FGrid->OnDblClickCell) FGrid->OnDblClickCell(FGrid, FGrid->Row(), FGrid->Col());
}

void TGridEditBtn::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_PASTE) {
    Paste();
    return;
  }
  TAsgEditBtn::Dispatch(Message);
}

void TGridEditBtn::Paste() {
  bool allow = Clipboard()->HasFormat(CF_TEXT);
  String value = allow ? Clipboard()->AsText() : String();
  if (FGrid->OnClipboardPaste) FGrid->OnClipboardPaste(this, value, allow);
  if (FGrid->OnClipboardBeforePasteCell) FGrid->OnClipboardBeforePasteCell(this, FGrid->Col(), FGrid->Row(), value, allow);
  if (!allow) return;
  // A line break ending the pasted text goes when it is its only one.
  const size_t lb = value.find(u"\r\n");
  if (lb != String::npos && lb + 2 == value.size()) value.resize(lb);
  else if (!value.empty() && value.back() == u'\n' && value.find(u'\n') == value.size() - 1) value.pop_back();
  const String text = Text();
  const int start = std::clamp(SelStart(), 0, static_cast<int>(text.size()));
  const int len = std::clamp(SelLength(), 0, static_cast<int>(text.size()) - start);
  const String t = text.substr(0, start) + value + text.substr(start + len);
  SetText(t);
  FGrid->SetCurrentCellText(t);
  if (len > 0) Select(start, static_cast<int>(value.size()));
  else Select(start + static_cast<int>(value.size()), 0);
}

void TGridEditBtn::CMWantSpecialKey(TWMKey& Message) {
  if (TGridEditorLink::WantsKey(FGrid, Message.CharCode(), true)) {
    Message.SetResult(1);
    return;
  }
  TAsgEditBtn::CMWantSpecialKey(Message);
}

void TGridEditBtn::ClickBtn(TObject*) {
  SetText(FGrid->EllipsClick(Text()));
  SelectAll();
  Invalidate();
  if (FStopEditAfterClick) {
    FGrid->HideInplaceEdit();
    TGridEditorLink::GiveGridFocus(FGrid);
  }
}

// ---------------------------------------------------------------------------
// TGridUnitEditBtn

TGridUnitEditBtn::TGridUnitEditBtn(TComponent* AOwner) : TAsgUnitEditBtn(AOwner), FGrid(TGridEditorLink::GridOf(AOwner)) {
  OnClickBtn = [this](TObject* Sender) { ClickBtn(Sender); };
}

void TGridUnitEditBtn::KeyDown(Word& Key, TShiftState Shift) {
  const bool handled = Key == VK_TAB || Key == VK_RETURN || Key == VK_ESCAPE || Key == VK_PRIOR || Key == VK_NEXT ||
                       Key == VK_UP || Key == VK_DOWN;
  if (!handled) {
    TAsgUnitEditBtn::KeyDown(Key, Shift);
    return;
  }
  if (Key == VK_TAB || Key == VK_RETURN || Key == VK_UP || Key == VK_DOWN) {
    const String value = TextAndUnit();
    FGrid->SetCurrentCell(value);
    if (!FGrid->ValidateCell(value)) {
      SetText(FGrid->GetCurrentCell());
      return;
    }
    SetTextAndUnit(FGrid->GetCurrentCell());
  }
  if (Key == VK_RETURN && TGridEditorLink::EnterAdvanced(FGrid)) {
    Key = 0;
    return;
  }
  if (Key == VK_TAB && FGrid->Options().Contains(goTabs)) {
    FGrid->HideInplaceEdit();
    TGridEditorLink::GiveGridFocus(FGrid);
    TGridEditorLink::TabAdvance(FGrid, Shift.Contains(ssShift));
    Key = 0;
    return;
  }
  if (Key == VK_ESCAPE) {
    SetUnitID(String());
    SetText(FGrid->GetCurrentCell());
  }
  TGridEditorLink::DoneInplaceEdit(FGrid, Key, Shift);
  Key = 0;
}

void TGridUnitEditBtn::KeyPress(Char& Key) {
  TGridEditorLink::GridKeyPress(FGrid, FGrid, Key);
  if (Key == 13) {
    Key = 0;
    return;
  }
  FilterEditBtnChar(FGrid, this, Key);
  if (Key != 0) TAsgUnitEditBtn::KeyPress(Key);
}

void TGridUnitEditBtn::Change() {
  TAsgUnitEditBtn::Change();
  TGridEditorLink::TextChanged(FGrid, Text());
}

void TGridUnitEditBtn::DoExit() {
  FGrid->HideInplaceEdit();
  TAsgUnitEditBtn::DoExit();
}

void TGridUnitEditBtn::CMWantSpecialKey(TWMKey& Message) {
  if (TGridEditorLink::WantsKey(FGrid, Message.CharCode(), true, true)) {
    Message.SetResult(1);
    return;
  }
  TAsgUnitEditBtn::CMWantSpecialKey(Message);
}

void TGridUnitEditBtn::ClickBtn(TObject*) {
  SetText(FGrid->EllipsClick(Text()));
  SelectAll();
  Invalidate();
}

// ---------------------------------------------------------------------------
// TGridDatePicker

TGridDatePicker::TGridDatePicker(TComponent* AOwner)
    : TAsgDateTimePicker(AOwner), FGrid(TGridEditorLink::GridOf(AOwner)) {}

void TGridDatePicker::KeyDown(Word& Key, TShiftState Shift) {
  if (Key != VK_TAB && Key != VK_RETURN && Key != VK_ESCAPE && Key != VK_PRIOR && Key != VK_NEXT && Key != VK_END) {
    TAsgDateTimePicker::KeyDown(Key, Shift);
    return;
  }
  if (Key == VK_ESCAPE) {
    const String t = FGrid->GetCurrentCell();
    try {
      if (Kind() == dtkTime) SetTime(StrToTime(t));
      else SetDate(StrToDate(t));
    } catch (const Exception&) {
      SetDate(Now());
    }
  }
  // A refused value shows the text the grid keeps: the picker shows what of it parses.
  auto showText = [this](const String& T) {
    try {
      if (Kind() == dtkTime) SetTime(StrToTime(T));
      else SetDate(StrToDate(T));
    } catch (const Exception&) {
    }
  };
  if (Key == VK_RETURN) {
    if (!TGridEditorLink::StoreAndValidate(FGrid, Text())) {
      showText(TGridEditorLink::NewCellText(FGrid));
      Invalidate();
      Key = 0;
      TGridEditorLink::NoAutoAdvance(FGrid, true);
      return;
    }
    showText(FGrid->GetCurrentCell());
  }
  if (Key == VK_TAB && FGrid->EditorWantsTab()) {
    if (!TGridEditorLink::StoreAndValidate(FGrid, Text())) {
      showText(TGridEditorLink::NewCellText(FGrid));
      Invalidate();
      Key = 0;
      return;
    }
    if (TGridEditorLink::TabValidated(FGrid, Shift)) {
      Key = 0;
      return;
    }
  }
  if (Key == VK_RETURN && TGridEditorLink::EnterAdvanced(FGrid)) {
    Key = 0;
    return;
  }
  if (!FOldDropped) {
    TGridEditorLink::DoneInplaceEdit(FGrid, Key, Shift);
    Key = 0;
  }
}

void TGridDatePicker::KeyPress(Char& Key) {
  if (Key >= u'0' && Key <= u'9') {
    const TDateTime v = DateTime();
    DecodeDate(v, Fy, Fm, Fd);
    DecodeTime(v, Fth, Ftm, Fts, Fms);
    TDateTimePicker::KeyPress(Key);
    if (HandleAllocated()) PostMessage(Handle(), DTPShiftFocusMessage(), 0, 0);
  } else {
    TDateTimePicker::KeyPress(Key);
  }
  TGridEditorLink::GridKeyPress(FGrid, FGrid, Key);
}

void TGridDatePicker::DoShiftFocus() {
  const TDateTime v = DateTime();
  uint16_t y, m, d, h, mi, s, ms;
  DecodeDate(v, y, m, d);
  DecodeTime(v, h, mi, s, ms);
  bool next;
  if (Kind() == dtkTime) {
    next = h != Fth || mi != Ftm || s != Fts;
  } else if (!Format().empty()) {
    const Char l = Format().back();
    const bool lastTyped = (d != Fd && (l == u'd' || l == u'D')) || (m != Fm && (l == u'M' || l == u'm')) ||
                           (y != Fy && (l == u'Y' || l == u'y'));
    next = !lastTyped && (d != Fd || m != Fm || y != Fy);
  } else {
    next = d != Fd || m != Fm;
  }
  if (next && HandleAllocated()) PostMessage(Handle(), WM_KEYDOWN, VK_RIGHT, 0);
}

void TGridDatePicker::Change() {
  TAsgDateTimePicker::Change();
  TGridEditorLink::TextChanged(FGrid, Text());
}

void TGridDatePicker::DoExit() {
  FGrid->HideInplaceEdit();
  TAsgDateTimePicker::DoExit();
}

void TGridDatePicker::CNNotify(TWMNotify& Message) {
  const UINT code = Message.NMHdr()->code;
  if (code == DTN_DROPDOWN) FOldDropped = true;
  if (code == DTN_CLOSEUP) FOldDropped = false;
  TAsgDateTimePicker::CNNotify(Message);
}

void TGridDatePicker::Dispatch(TMessage& Message) {
  TAsgDateTimePicker::Dispatch(Message);
  if (Message.Msg == WM_NCPAINT) FrameBorder();
}

void TGridDatePicker::FrameBorder() {
  // The window's edge and the ring inside it in the window colour: no border shows.
  HDC dc = GetWindowDC(Handle());
  if (dc == nullptr) return;
  HBRUSH brush = CreateSolidBrush(ColorToRGB(clWindow));
  RECT r{0, 0, Width(), Height()};
  FrameRect(dc, &r, brush);
  InflateRect(&r, -1, -1);
  FrameRect(dc, &r, brush);
  DeleteObject(brush);
  ReleaseDC(Handle(), dc);
}

void TGridDatePicker::CMWantSpecialKey(TWMKey& Message) {
  if (TGridEditorLink::WantsKey(FGrid, Message.CharCode(), true)) {
    Message.SetResult(1);
    return;
  }
  TAsgDateTimePicker::CMWantSpecialKey(Message);
}

// ---------------------------------------------------------------------------
// TGridDateTimePicker

TGridDateTimePicker::TGridDateTimePicker(TComponent* AOwner)
    : TAdvDateTimePicker(AOwner), FGrid(dynamic_cast<DEreDuzeroVaro*>(AOwner)) {}

void TGridDateTimePicker::KeyDown(Word& Key, TShiftState Shift) {
  if (FGrid == nullptr || (Key != VK_RETURN && Key != VK_ESCAPE && !(Key == VK_TAB && FGrid->EditorWantsTab()))) {
    TAdvDateTimePicker::KeyDown(Key, Shift);
    return;
  }
  if (Key == VK_ESCAPE) {
    TDateTime original;
    if (TGridEditorLink::OriginalDateTime(FGrid, original)) SetDate(original);
    TGridEditorLink::GiveGridFocus(FGrid);
  } else if (Key == VK_RETURN) {
    TGridEditorLink::GiveGridFocus(FGrid);
    if (FGrid->Navigation()->AdvanceOnEnter()) TGridEditorLink::AdvanceCell(FGrid, true, false);
  } else {
    TGridEditorLink::GiveGridFocus(FGrid);
    FGrid->SetCurrentCell(Text());
    TGridEditorLink::TabAdvance(FGrid, Shift.Contains(ssShift));
  }
  Key = 0;
}

void TGridDateTimePicker::CMWantSpecialKey(TWMKey& Message) {
  if (FGrid != nullptr && TGridEditorLink::WantsKey(FGrid, Message.CharCode(), true)) {
    Message.SetResult(1);
    return;
  }
  TAdvDateTimePicker::CMWantSpecialKey(Message);
}

// ---------------------------------------------------------------------------
// TGridButton

TGridButton::TGridButton(TComponent* AOwner) : TButton(AOwner), FGrid(TGridEditorLink::GridOf(AOwner)) {}

void TGridButton::CloseButton() {
  SetVisible(false);
  SetEnabled(false);
  TGridEditorLink::EndEditMode(FGrid);
  TGridEditorLink::GiveGridFocus(FGrid);
}

void TGridButton::KeyDown(Word& Key, TShiftState Shift) {
  if (IsArrow(Key)) {
    const Word key = Key;
    FGrid->Perform(WM_KEYDOWN, key, 0);
    CloseButton();
    FGrid->Perform(WM_KEYUP, key, 0);
    Key = 0;
    return;
  }
  if (Key == VK_ESCAPE) {
    CloseButton();
    TGridEditorLink::RestoreCellText(FGrid);
    FGrid->Perform(WM_KEYDOWN, VK_ESCAPE, 0);
    Key = 0;
    return;
  }
  TButton::KeyDown(Key, Shift);
}

void TGridButton::KeyUp(Word& Key, TShiftState Shift) {
  TButton::KeyUp(Key, Shift);
  if (Key == VK_SPACE) {
    ClickText();
    if (CanFocus()) SetFocus();
    Invalidate();
  }
}

void TGridButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TButton::MouseUp(Button, Shift, X, Y);
  if (Button == mbLeft && X >= 0 && Y >= 0 && X < Width() && Y < Height()) ClickText();
}

void TGridButton::ClickText() {
  SetCaption(FGrid->EllipsClick(Caption()));
  FGrid->SetCurrentCell(Caption());
}

void TGridButton::CMWantSpecialKey(TWMKey& Message) {
  if (Message.CharCode() == VK_ESCAPE || IsArrow(Message.CharCode())) {
    Message.SetResult(1);
    return;
  }
  TButton::CMWantSpecialKey(Message);
}

void TGridButton::WMGetDlgCode(TWMGetDlgCode& Message) {
  TButton::WMGetDlgCode(Message);
  Message.SetResult(Message.Result() | DLGC_WANTARROWS);
}

// ---------------------------------------------------------------------------
// Editors of the form controls inside tagged cells

void TControlEdit::KeyPress(Char& Key) {
  auto* grid = dynamic_cast<DEreDuzeroVaro*>(Parent());
  if (grid == nullptr || (Key != 13 && Key != 9)) {
    TMaskEdit::KeyPress(Key);
    return;
  }
  const Char key = Key;
  Key = 0;
  TGridEditorLink::ControlEditorKey(grid, this, key);
}

void TControlEdit::CMWantSpecialKey(TWMKey& Message) {
  if (Message.CharCode() == VK_RETURN) {
    Message.SetResult(0);
    return;
  }
  if (Message.CharCode() == VK_TAB) {
    Message.SetResult(1);
    return;
  }
  TMaskEdit::CMWantSpecialKey(Message);
}

void TControlCombo::KeyPress(Char& Key) {
  auto* grid = dynamic_cast<DEreDuzeroVaro*>(Parent());
  if (grid == nullptr || (Key != 13 && Key != 9)) {
    DOruDozezOde::KeyPress(Key);
    return;
  }
  const Char key = Key;
  Key = 0;
  TGridEditorLink::ControlEditorKey(grid, this, key);
}

void TControlCombo::CMWantSpecialKey(TWMKey& Message) {
  if (Message.CharCode() == VK_TAB) {
    Message.SetResult(1);
    return;
  }
  DefaultHandler(Message.M);
}
