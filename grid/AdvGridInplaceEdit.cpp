// The string grid's in-place text editor: character filter, keys, lookup, paste and focus.
#include "grid/AdvGridInplaceEdit.h"

#include <vector>

#include "controls/VevAzez.h"
#include "grid/AdvGrid.h"
#include "platform/rtl/ScopeGuard.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Clipbrd.h"
#include "platform/win/WinUser.h"

namespace {
constexpr DWORD ES_WANTRETURN = 0x1000;

bool CtrlHeld() { return GetKeyState(VK_CONTROL) < 0; }
bool ShiftHeld() { return GetKeyState(VK_SHIFT) < 0; }

// Whether every character of S is one of Chars, in one pass over each.
bool AllCharsIn(const String& S, const String& Chars) {
  std::vector<bool> valid(0x10000, false);
  for (Char c : Chars) valid[c] = true;
  for (Char c : S)
    if (!valid[c]) return false;
  return true;
}
}  // namespace

TAdvInplaceEdit::TAdvInplaceEdit(TComponent* AOwner) : TInplaceEdit(AOwner) {
  FGrid = dynamic_cast<DEreDuzeroVaro*>(AOwner);
  FAltBack = false;
}

TEditorType TAdvInplaceEdit::Kind() const { return FGrid != nullptr ? FGrid->EditControl : edNormal; }

void TAdvInplaceEdit::SetVAlign(bool Value) {
  FValign = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TAdvInplaceEdit::SetWordWrap(bool Value) {
  FWordWrap = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TAdvInplaceEdit::CreateParams(TCreateParams& Params) {
  TInplaceEdit::CreateParams(Params);
  if (auto* g = dynamic_cast<DEreDuzeroVaro*>(Parent())) FGrid = g;
  if (FGrid != nullptr) FWordWrap = FGrid->WordWrap();
  if (FValign) Params.Style |= ES_RIGHT;
  if (Kind() == edPassword) {
    Params.Style |= ES_PASSWORD;
    Params.Style &= ~ES_MULTILINE;
  }
  if (FWordWrap) Params.Style &= ~ES_AUTOHSCROLL;
  Params.Style |= ES_WANTRETURN;
  GotKey = false;
  Workmode = true;
}

void TAdvInplaceEdit::CreateWnd() {
  TInplaceEdit::CreateWnd();
  if (FGrid == nullptr) return;
  SetPasswordChar(Kind() == edPassword ? FGrid->PasswordChar() : Char(0));
  FLengthLimit = FGrid->MaxEditLength();
}

void TAdvInplaceEdit::WndProc(TMessage& Message) {
  if (Message.Msg == WM_SYSKEYDOWN && Message.WParam == VK_BACK) FAltBack = true;
  if (Message.Msg == WM_SYSKEYUP && Message.WParam == VK_BACK) FAltBack = false;
  TInplaceEdit::WndProc(Message);
}

void TAdvInplaceEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_COPY:
    case WM_CUT: {
      bool allow = true;
      auto& event = Message.Msg == WM_COPY ? FGrid->OnClipboardCopy : FGrid->OnClipboardCut;
      if (FGrid != nullptr && event) event(this, SelText(), allow);
      if (allow) TInplaceEdit::Dispatch(Message);
      return;
    }
    case WM_PASTE:
      if (FGrid != nullptr) DoPaste();
      else TInplaceEdit::Dispatch(Message);
      return;
    case WM_LBUTTONDBLCLK:
      TInplaceEdit::Dispatch(Message);
      if (FGrid != nullptr && FGrid->OnDblClickCell) FGrid->OnDblClickCell(FGrid, FGrid->Row(), FGrid->Col());
      return;
    default: TInplaceEdit::Dispatch(Message);
  }
}

void TAdvInplaceEdit::UpdateContents() {
  if (FGrid == nullptr) {
    TInplaceEdit::UpdateContents();
    return;
  }
  const int c = FGrid->Col(), r = FGrid->Row();
  {
    bool old = FGrid->FNoEditChange;
    FGrid->FNoEditChange = true;
    TScopeGuard restore([&] { FGrid->FNoEditChange = old; });
    // The password style follows the cell's editor kind.
    SetPasswordChar(Kind() == edPassword ? FGrid->PasswordChar() : Char(0));
    TInplaceEdit::UpdateContents();
  }
  TCanvas* canvas = FGrid->Canvas();
  TGridDrawState state;
  TColor colorTo = clNone, mirror = clNone, mirrorTo = clNone;
  TAlignment ha = taLeftJustify;
  TVAlignment va = vtaTop;
  bool ww = false;
  TCellGradientDirection gd{};
  canvas->Font()->Assign(FGrid->Font());
  canvas->Brush()->SetColor(FGrid->Color());
  FGrid->GetCellDefaults(c, r, canvas->Font(), canvas->Brush(), colorTo, mirror, mirrorTo, ha, va, ww, gd);
  FGrid->GetVisualProperties(c, r, state, false, false, true, canvas->Brush(), colorTo, mirror, mirrorTo,
                             canvas->Font(), ha, va, ww, gd);
  SetColor(canvas->Brush()->Color());
  Font()->Assign(canvas->Font());
  FColE = c;
  FRowE = r;
  SetAlignment(ha);
  SelectAll();
  FGrid->GetEditorProp(FGrid->RealColIndex(c), r, nullptr);
}

void TAdvInplaceEdit::BoundsChanged() {
  if (FGrid == nullptr) {
    TInplaceEdit::BoundsChanged();
    return;
  }
  TRect r = FGrid->CellRect(FGrid->Col(), FGrid->Row());
  // The grid line is the cell's left pixel in a mirrored grid: the editor leaves it free there.
  const int left = FGrid->UseRightToLeftAlignment() ? r.Left + 1 : r.Left;
  SetBounds(left, r.Top, std::max(0, r.Width() - 1), std::max(0, r.Height() - 1));
  RECT fmt{3, 3, Width() - 2, Height()};
  Perform(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&fmt));
}

void TAdvInplaceEdit::Change() {
  TInplaceEdit::Change();
  if (FGrid != nullptr && !FGrid->FNoEditChange && FGrid->OnEditChange)
    FGrid->OnEditChange(FGrid, FGrid->Col(), FGrid->Row(), Text());
}

// ---- Characters

Char TAdvInplaceEdit::FilterChar(Char Key, uint32_t KeyData, bool& Beep, bool& Default) {
  Beep = false;
  Default = false;
  if (FGrid == nullptr) return Key;
  TNavigation* nav = FGrid->Navigation();
  const Char dec = FormatSettings.DecimalSeparator, thousand = FormatSettings.ThousandSeparator;
  // The numeric keypad's decimal key (its scan code has bit 22 of the key data set).
  if (FGrid->ExcelStyleDecimalSeparator() && Key == u'.' && (KeyData & 0x00400000u)) Key = dec;
  if (Key == 1) return 0;  // Ctrl+A: the key handler selected all
  if (Key == 3 || Key == 22 || Key == 24) return Key;  // copy, paste, cut: filtered as they arrive
  if (Key == 10 && !(nav->AllowCtrlEnter() && (FGrid->WordWrap() || FGrid->Multilinecells()))) return 0;
  const String text = Text();
  if (FLengthLimit > 0 && int(text.size()) >= FLengthLimit && SelLength() == 0 && Key != 8 && Key != 27 && Key != 13)
    return 0;
  const TEditorType kind = Kind();
  const bool textKind = kind == edNormal || kind == edCapital || kind == edMixedCase || kind == edLowerCase ||
                        kind == edUpperCase || kind == edValidChars;
  if (textKind && Key == 13 && nav->LineFeedOnEnter()) {
    Default = true;
    return Key;
  }
  const bool control = Key == 8 || Key == 9 || Key == 13 || Key == 27;
  const int caret = SelStart();
  const String sel = SelText();
  switch (kind) {
    case edNumeric:
    case edPositiveNumeric:
      if (control || (Key >= u'0' && Key <= u'9')) return Key;
      if (kind == edNumeric && Key == u'-' && text.find(u'-') == String::npos && caret == 0) return Key;
      Beep = true;
      return 0;
    case edFloat:
    case edPositiveFloat:
      if (control || (Key >= u'0' && Key <= u'9')) return Key;
      if (Key == dec) return (text.find(dec) != String::npos && sel.find(dec) == String::npos) ? Char(0) : Key;
      if (Key == thousand) return 0;
      if (Key == u'-' && kind == edFloat) {
        if (sel.find(u'-') != String::npos) return Key;
        if (caret != 0 || text.find(u'-') != String::npos) {
          Beep = true;
          return 0;
        }
        return Key;
      }
      if (Key == u',' || Key == u'.') return 0;  // the other separator of the two
      return CtrlHeld() ? Key : Char(0);
    case edCapital:
    case edUpperCase: return AnsiUpperCase(String(1, Key))[0];
    case edLowerCase: return AnsiLowerCase(String(1, Key))[0];
    case edValidChars: {
      if (Key == 8 || Key == 13) return Key;
      const String& valid = FGrid->ValidChars();
      if (!valid.empty() ? valid.find(Key) != String::npos : false) return Key;
      Beep = true;
      return 0;
    }
    default: return Key;
  }
}

void TAdvInplaceEdit::InsertAccepted(Char Key) {
  if (ReadOnly()) return;
  if (Kind() == edMixedCase && Key >= 32) {
    const int caret = SelStart();
    SetSelText(String(1, Key));
    SetText(ToMixedCase(Text()));
    SetSelStart(caret + 1);
    return;
  }
  SetSelText(String(1, Key));
}

void TAdvInplaceEdit::WMChar(TWMKey& Message) {
  const bool refused = FEnterRefused;
  FEnterRefused = false;
  if (refused && Message.CharCode() == 13) {
    Message.SetCharCode(0);
    return;
  }
  bool beep, deflt;
  Char c = FilterChar(static_cast<Char>(Message.CharCode()), uint32_t(Message.KeyData()), beep, deflt);
  if (c == 0) {
    if (beep) MessageBeep(0);
    Message.SetCharCode(0);
    return;
  }
  Message.SetCharCode(c);
  if (deflt || c < 32) {
    TInplaceEdit::WMChar(Message);
  } else {
    // Printable characters are inserted here, so that the text is complete for the checks below.
    if (DoKeyPress(Message)) return;
    c = static_cast<Char>(Message.CharCode());
    Message.SetCharCode(0);
    if (c == 0) return;
    InsertAccepted(c);
  }
  if (FGrid == nullptr || !Visible()) return;
  TNavigation* nav = FGrid->Navigation();
  const int limit = FGrid->MaxEditLength();
  if (nav->AdvanceAuto() && nav->AdvanceOnEnter() && limit > 0 && int(Text().size()) == limit && SelLength() == 0 &&
      SelStart() == limit) {
    Char enter = 13;
    FGrid->KeyPress(enter);
  }
}

void TAdvInplaceEdit::TypeFirstChar(Char Key) {
  bool beep, deflt;
  SetText(String());
  Char c = FilterChar(Key, 0, beep, deflt);
  if (c == 0) {
    if (beep) MessageBeep(0);
    return;
  }
  InsertAccepted(c);
}

// ---- Keys

int TAdvInplaceEdit::CaretLine() const {
  const String t = Text();
  const int caret = std::min<int>(SelStart(), int(t.size()));
  int line = 0;
  for (int i = 0; i < caret; ++i)
    if (t[i] == u'\n') ++line;
  return line;
}

int TAdvInplaceEdit::LineCount() const {
  int lines = 1;
  for (Char ch : Text())
    if (ch == u'\n') ++lines;
  return lines;
}

void TAdvInplaceEdit::RestoreAfterRefusal(const String& Saved, int TextLength) {
  SetText(FGrid->FNewCellText);
  if (FGrid->Navigation()->EditSelectAll()) SelectAll();
  else SetSelStart(TextLength);
  Invalidate();
  FGrid->FOldCellText = Saved;
}

void TAdvInplaceEdit::WMKeyDown(TWMKey& Message) {
  if (FGrid == nullptr) {
    TInplaceEdit::WMKeyDown(Message);
    return;
  }
  FGrid->InplaceEditWMKeyDown(Message);
  FOldSelStart = SelStart();
  const Word key = Message.CharCode();
  const bool ctrl = CtrlHeld(), shift = ShiftHeld();
  TNavigation* nav = FGrid->Navigation();
  const bool multiline = FGrid->WordWrap() || FGrid->Multilinecells();
  if (key == VK_ESCAPE) {
    SetText(FGrid->FCellCache);
    FGrid->HideInplaceEdit();
  }
  if (key == 'A' && ctrl && GetKeyState(VK_RMENU) >= 0) {
    SelectAll();
    return;
  }
  if (key == VK_RETURN && ctrl && !(nav->AllowCtrlEnter() && multiline)) return;
  const String saved = FGrid->FOldCellText;
  const String t = Text();
  const int len = int(t.size());
  bool rowChange = false;
  if (key == VK_TAB && FGrid->EditorWantsTab()) {
    if (FGrid->ValidateCell(t)) {
      SetText(FGrid->FNewCellText);
      FGrid->HideInplaceEdit();
      // The grid's own Tab navigation moves on (backwards with Shift).
      Word k = VK_TAB;
      FGrid->KeyDown(k, shift ? TShiftState{ssShift} : TShiftState{});
    } else {
      RestoreAfterRefusal(saved, len);
    }
    return;
  }
  if (nav->CursorWalkEditor() && shift && SelLength() == 0 &&
      ((key == VK_LEFT && SelStart() == 0) || (key == VK_RIGHT && SelStart() == len))) {
    {
      TScopeGuard v([&] { FGrid->FValidating = false; });
      FGrid->FValidating = true;
      FGrid->SetCurrentCell(t);
    }
    if (FGrid->ValidateCell(t)) {
      SetText(FGrid->FNewCellText);
      FGrid->HideInplaceEdit();
      if (FGrid->CanFocus()) FGrid->SetFocus();
    } else {
      RestoreAfterRefusal(saved, len);
    }
    return;
  }
  if ((key == VK_UP && CaretLine() == 0) || (key == VK_DOWN && CaretLine() == LineCount() - 1)) {
    {
      TScopeGuard v([&] { FGrid->FValidating = false; });
      FGrid->FValidating = true;
      FGrid->SetCurrentCell(t);
    }
    if (!FGrid->ValidateCell(t)) {
      RestoreAfterRefusal(saved, len);
      return;
    }
    SetText(FGrid->FNewCellText);
    rowChange = true;
  }
  if (key == VK_RETURN && !ctrl && !nav->LineFeedOnEnter()) {
    if (!FGrid->ValidateCell(t)) {
      RestoreAfterRefusal(saved, len);
      FEnterRefused = true;  // its character must not close the editor
      return;
    }
    SetText(FGrid->FNewCellText);
  }
  if (!ctrl && !shift && key == VK_HOME) SetSelStart(0);
  if (!ctrl && !shift && key == VK_END) SetSelStart(int(Text().size()));
  (void)rowChange;
  TInplaceEdit::WMKeyDown(Message);
}

void TAdvInplaceEdit::KeyDown(Word& Key, TShiftState Shift) {
  FSelKeyDown = SelStart();
  if (FGrid == nullptr) {
    TInplaceEdit::KeyDown(Key, Shift);
    return;
  }
  Workmode = !(Key == VK_BACK || Key == VK_DELETE);
  if (Key == VK_RETURN && !FGrid->Navigation()->AllowCtrlEnter() && (FGrid->WordWrap() || FGrid->Multilinecells()))
    FGrid->FEditing = false;
  if (Key == VK_RETURN && (Shift.Contains(ssCtrl) || Shift.Contains(ssShift))) GrowByLineBreak();
  // Between lines of a multi-line text the arrows move the caret; the grid does not see them.
  if ((Key == VK_UP && CaretLine() > 0) || (Key == VK_DOWN && CaretLine() < LineCount() - 1)) return;
  FGrid->InplaceEditKeyDown(Key, Shift);
  TInplaceEdit::KeyDown(Key, Shift);
}

void TAdvInplaceEdit::KeyUp(Word& Key, TShiftState Shift) {
  if (FGrid == nullptr) {
    TInplaceEdit::KeyUp(Key, Shift);
    return;
  }
  TNavigation* nav = FGrid->Navigation();
  const bool walk = nav->CursorWalkEditor() && SelLength() == 0 && !Shift.Contains(ssShift);
  if (walk && Key == VK_LEFT && FSelKeyDown == 0 && SelStart() == 0) {
    const int c = FGrid->Col(), r = FGrid->Row();
    Key = 0;
    if (c > FGrid->FixedCols() && FGrid->HasCellControl(FGrid->RealColIndex(c - 1), r)) {
      if (FGrid->ValidateCell(Text())) {
        FGrid->HideInplaceEdit();
        FGrid->SetCol(c - 1);
      }
      return;
    }
    if (FGrid->ValidateCell(Text())) FGrid->HideInplaceEdit();
    return;
  }
  if (walk && Key == VK_RIGHT && int(Text().size()) == FOldSelStart) {
    const int c = FGrid->Col(), r = FGrid->Row();
    const int span = FGrid->CellSpan(FGrid->RealColIndex(c), r).X + 1;
    Key = 0;
    if (c < FGrid->ColCount() - FGrid->FixedRightCols() - 1 && c + span < FGrid->ColCount() &&
        FGrid->HasCellControl(FGrid->RealColIndex(c + span), r)) {
      if (FGrid->ValidateCell(Text())) {
        FGrid->HideInplaceEdit();
        FGrid->SetCol(c + span);
      }
      return;
    }
    FGrid->HideInplaceEdit();
    return;
  }
  TInplaceEdit::KeyUp(Key, Shift);
  DoChange();
  GrowWithText();
}

void TAdvInplaceEdit::GrowWithText() {
  TSizeWhileTyping* grow = FGrid->SizeWhileTyping();
  const bool height = grow->Height() && FGrid->WordWrap();
  if (!grow->Width() && !height) return;
  // The cell holds the typed text already (the grid takes each change): its column and
  // word-wrapped row grow to it, and the editor follows its cell.
  const int c = FGrid->Col(), r = FGrid->Row();
  const int width = FGrid->ColWidths(c), rowHeight = FGrid->RowHeights(r);
  if (grow->Width()) FGrid->SizeColumnToContent(FGrid->RealColIndex(c), true);
  if (height) {
    TColumnSize* sizing = FGrid->ColumnSize();
    const bool synch = sizing->SynchWithGrid();
    sizing->SetSynchWithGrid(false);
    {
      TScopeGuard restore([sizing, synch] { sizing->SetSynchWithGrid(synch); });
      FGrid->AutoSizeRow(r);
    }
    if (FGrid->OnEndRowSize) FGrid->OnEndRowSize(FGrid, r);
  }
  if (FGrid->ColWidths(c) != width || FGrid->RowHeights(r) != rowHeight) BoundsChanged();
}

void TAdvInplaceEdit::GrowByLineBreak() {
  if (!FGrid->SizeWhileTyping()->Height() || !FGrid->Multilinecells()) return;
  // The row makes room for the line the key is about to start (the text with one more line).
  const int r = FGrid->Row(), rowHeight = FGrid->RowHeights(r);
  TColumnSize* sizing = FGrid->ColumnSize();
  const bool synch = sizing->SynchWithGrid();
  sizing->SetSynchWithGrid(false);
  {
    TScopeGuard restore([sizing, synch] { sizing->SetSynchWithGrid(synch); });
    const int lines = ::LineCount(Text() + u"\r\n ", true);
    if (lines < FGrid->MaxLinesInRow(r)) FGrid->AutoSizeRow(r);
    else FGrid->SizeRowToLines(r, lines, FGrid->GetVertMargin());
  }
  if (FGrid->OnEndRowSize) FGrid->OnEndRowSize(FGrid, r);
  if (FGrid->RowHeights(r) != rowHeight) BoundsChanged();
}

void TAdvInplaceEdit::KeyPress(Char& Key) {
  if (FGrid != nullptr && Key == 13 && !FGrid->Navigation()->LineFeedOnEnter() && !FGrid->ValidateCell(Text())) {
    SetText(FGrid->GetCurrentCell());
    Key = 0;
    return;
  }
  TInplaceEdit::KeyPress(Key);
}

void TAdvInplaceEdit::WMKeyUp(TWMKey& Message) {
  TInplaceEdit::WMKeyUp(Message);
  if (FGrid == nullptr || !Visible()) return;
  const String t = Text();
  const int caret = SelStart();
  if (caret > 0) {
    LRESULT pos = Perform(EM_POSFROMCHAR, WPARAM(caret - 1), 0);
    TPoint pt(int16_t(LOWORD(pos)), int16_t(HIWORD(pos)));
    FGrid->InplaceEditChanged(t, pt, caret);
  }
  FGrid->EditFormulaMode(!t.empty() && t[0] == u'=');
}

void TAdvInplaceEdit::DoChange() {
  if (FGrid == nullptr || !Workmode || SelLength() != 0) return;
  TStringList* items = FGrid->LookupItems();
  if (!FGrid->Lookup() || items == nullptr || items->Count() == 0) return;
  const bool cs = FGrid->LookupCaseSensitive();
  const String text = Text();
  String typed = text.substr(0, std::min<size_t>(SelStart(), text.size()));
  if (typed.empty()) return;
  if (!cs) typed = AnsiUpperCase(typed);
  for (int i = 0; i < items->Count(); ++i) {
    const String item = items->Strings(i);
    const String probe = cs ? item : AnsiUpperCase(item);
    if (probe.compare(0, typed.size(), typed) != 0 || probe.size() < typed.size()) continue;
    String completed = text.substr(0, typed.size()) + item.substr(typed.size(), 255);
    SetText(completed);
    Select(int(typed.size()), int(completed.size() - typed.size()));
    GotKey = false;
    return;
  }
}

// ---- Focus

void TAdvInplaceEdit::WMSetFocus(TWMSetFocus& Message) {
  TInplaceEdit::WMSetFocus(Message);
  FGotFocus = true;
  if (FGrid == nullptr) return;
  FGrid->FNoEditChange = false;
  FLengthLimit = FGrid->MaxEditLength();
  if (MaxLength() != std::max(0, FLengthLimit)) {
    // A new limit makes the window take its text again: keep the selection.
    const int start = SelStart(), length = SelLength();
    SetMaxLength(std::max(0, FLengthLimit));
    Select(start, length);
  }
  TNavigation* nav = FGrid->Navigation();
  if (!EditMask().empty() && !FGrid->LButFlg && nav->ImproveMaskSel()) {
    Select(0, 1);
    return;
  }
  if (!nav->EditSelectAll()) SetSelStart(int(Text().size()));
  if (FGrid->LButFlg) {
    POINT cursor{};
    GetCursorPos(&cursor);
    TPoint pt = ScreenToClient(cursor);
    if (pt.X >= 0 && pt.Y >= 0 && pt.X < Width() && pt.Y < Height()) {
      LRESULT at = Perform(EM_CHARFROMPOS, 0, MAKELPARAM(pt.X, pt.Y));
      SetSelStart(LOWORD(at));
      SetSelLength(0);
      FGrid->LButFlg = false;
    }
  }
}

void TAdvInplaceEdit::WMKillFocus(TWMKillFocus& Message) {
  if (FGrid == nullptr) {
    TInplaceEdit::WMKillFocus(Message);
    return;
  }
  FGrid->FStartEditChar = 0;
  if (FGrid->LookupHistory() && FGrid->LookupItems()->IndexOf(Text()) < 0) FGrid->LookupItems()->Add(Text());
  FGrid->EditFormulaMode(false);
  TInplaceEdit::WMKillFocus(Message);
  // The release of Backspace may have gone to another window: the hold ends with the key.
  if (FAltBack && GetKeyState(VK_BACK) >= 0) FAltBack = false;
  if (FAltBack) return;
  const bool toGrid = FGrid->HandleAllocated() && Message.FocusedWnd() == FGrid->Handle();
  if (!toGrid) {
    TScopeGuard end([this] {
      FGrid->HideInplaceEdit();
      FGrid->FEditing = false;
      FGrid->FEditMode = false;
      FGrid->SelectCell(FColE, FRowE);
    });
    FGrid->ValidateCell(Text());
    SetText(FGrid->GetCurrentCell());
  }
  {
    bool old = FGrid->FNoEditChange;
    FGrid->FNoEditChange = true;
    TScopeGuard restore([&] { FGrid->FNoEditChange = old; });
    SetText(FGrid->GetCurrentCell());
  }
  TPoint none(-1, -1);
  FGrid->InplaceEditChanged(Text(), none, -1);
  if (FGotFocus) {
    FGotFocus = false;
    FGrid->EditingDone(FGrid->RealColIndex(FColE), FRowE);
  }
}

void TAdvInplaceEdit::CMWantSpecialKey(TWMKey& Message) {
  TInplaceEdit::CMWantSpecialKey(Message);
  if (Message.CharCode() == VK_TAB && FGrid != nullptr && FGrid->EditorWantsTab()) Message.M.Result = 1;
}

// ---- Paste

void TAdvInplaceEdit::DoPaste() {
  String p = Clipboard()->AsText();
  bool allow = !p.empty();
  if (FGrid->OnClipboardPaste) FGrid->OnClipboardPaste(this, p, allow);
  const int c = FGrid->Col(), r = FGrid->Row();
  if (allow && FGrid->OnClipboardBeforePasteCell) FGrid->OnClipboardBeforePasteCell(this, c, r, p, allow);
  const bool unlimited = FLengthLimit < 1;
  if (allow && !ReadOnly() && (unlimited || FLengthLimit >= int(p.size()))) {
    // A single line break ending the text (as copied cells end) is not pasted.
    size_t br = p.find(u'\n');
    if (br != String::npos && br == p.size() - 1) p.erase(br - (br > 0 && p[br - 1] == u'\r' ? 1 : 0));
    const String text = Text();
    const int start = SelStart(), selLen = SelLength();
    String next = text.substr(0, start) + p + text.substr(std::min<size_t>(text.size(), size_t(start + selLen)));
    bool take = unlimited || FLengthLimit >= int(next.size());
    if (take) {
      switch (Kind()) {
        case edNumeric: take = NumberTextKind(next) == 0; break;
        case edPositiveNumeric: take = NumberTextKind(next) == 0 && next.find(u'-') == String::npos; break;
        case edFloat: take = NumberTextKind(next) <= 1; break;
        case edPositiveFloat: take = NumberTextKind(next) <= 1 && next.find(u'-') == String::npos; break;
        case edMixedCase: next = ToMixedCase(next); break;
        case edLowerCase: next = AnsiLowerCase(next); break;
        case edUpperCase: next = AnsiUpperCase(next); break;
        case edValidChars: take = AllCharsIn(next, FGrid->ValidChars()); break;
        default: break;
      }
    }
    if (take) SetText(next);
    FGrid->SetCurrentCellText(Text());
    if (take) {
      if (selLen > 0) Select(start, int(p.size()));
      else SetSelStart(start + int(p.size()));
    }
  } else {
    FGrid->SetCurrentCellText(Text());
  }
  if (FGrid->OnClipboardAfterPasteCell) FGrid->OnClipboardAfterPasteCell(this, c, r, Text());
}
