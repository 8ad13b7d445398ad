// The drop-down framework: construction, opening and closing the pop-up, its size and place,
// the keys and mouse shared between the edit and the pop-up, and the edit's layout.

#include "dropdowns/AdvDropDown.h"

#include <algorithm>

#include "dropdowns/AdvDropDownBars.h"
#include "platform/rtl/ScopeGuard.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/Gdi.h"

namespace {
bool IsDesigning(const TComponent* C) { return C->ComponentState().Contains(csDesigning); }
}  // namespace

TAdvCustomDropDown::TAdvCustomDropDown(TComponent* AOwner) : TCustomMaskEdit(AOwner) {
  // Sizes first; the pop-up and the button follow.
  FPaintOver = true;  // the border and the pick-only value paint over the native edit
  FInputAsChars = true;  // composed text passes the edit type's character filter too
  TCustomMaskEdit::SetBounds(Left(), Top(), 200, 21);
  FButtonWidth = 17;
  if (!IsDesigning(this)) CreateDropDownForm();
  CreateButton();
  FControlStyle.Exclude(csSetCaption);
  TCustomMaskEdit::SetReadOnly(false);
  FDropPosition = dpAuto;
  TControl::SetText(String());
  FOldText.clear();
  FUserDropDownWidth = FUserDropDownHeight = -1;
  FDropDownEnabled = false;

  FDropDownHeader = std::make_unique<THeaderAppearance>(this);
  FDropDownHeader->OnChange = [this](TObject* S) { HeaderFooterChanged(S); };
  FDropDownHeader->OnButtonsChanged = [this](TObject* S) { HeaderFooterChanged(S); };
  FDropDownFooter = std::make_unique<TFooterAppearance>(this);
  FDropDownFooter->OnChange = [this](TObject* S) { HeaderFooterChanged(S); };
  FDropDownFooter->OnButtonsChanged = [this](TObject* S) { HeaderFooterChanged(S); };
  FButtonAppearance = std::make_unique<TAdvButtonAppearance>();

  FDefaultHandling = true;
  FIsWinXP = IsWinXPOrLater();
  FIsThemed = HasThemedComCtl();
  FCanUndo = true;
  FAutoThousandSeparator = true;
  SetSelectionColorStyle(scOffice2007);
  FFocusDraw = true;
  SetComponentStyle(tsOffice2007Luna);

  FLabelFont = std::make_unique<TFont>();
  FLabelFont->OnChange = [this](TObject* S) { LabelFontChanged(S); };
  if (!IsDesigning(this)) CreateEditMenu();
}

TAdvCustomDropDown::~TAdvCustomDropDown() {
  Destroying();
  if (FDropDownForm != nullptr) {
    TDropDownForm* form = FDropDownForm;
    FDropDownForm = nullptr;
    form->SetAdvDropDown(nullptr);
    if (form->Visible()) form->Hide();
    delete form;
  }
}

// ---------------------------------------------------------------------------
// Properties

void TAdvCustomDropDown::SetControl(TControl* Value) {
  if (Value == FControl) return;
  FControl = Value;
  if (FControl != nullptr) FControl->FreeNotification(this);
  if (!IsDesigning(this)) PlaceDropDownControl();
}

void TAdvCustomDropDown::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomMaskEdit::Notification(AComponent, Operation);
  if (Operation != opRemove || IsDestroying()) return;
  if (AComponent == FImages) {
    SetImages(nullptr);
    Invalidate();
  }
  if (AComponent == FControl) SetControl(nullptr);
  if (AComponent == FFocusControl) FFocusControl = nullptr;
  if (AComponent == FLabel) FLabel = nullptr;
  if (AComponent == FDropDownForm) FDropDownForm = nullptr;
}

void TAdvCustomDropDown::SetImages(TCustomImageList* Value) {
  FImages = Value;
  if (FImages != nullptr) FImages->FreeNotification(this);
}

void TAdvCustomDropDown::SetDropDownWidth(int Value) {
  if (Value == FDropDownWidth) return;
  FDropDownWidth = Value;
  FUserDropDownWidth = -1;
}

void TAdvCustomDropDown::SetDropDownHeight(int Value) {
  if (Value == FDropDownHeight) return;
  FDropDownHeight = Value;
  FUserDropDownHeight = -1;
}

void TAdvCustomDropDown::SetDropDownButtonWidth(int Value) {
  if (FButton == nullptr || Value == FButtonWidth) return;
  FButtonWidth = Value;
  FButton->FBWidth = Value;
  if (FButton->HandleAllocated() || HandleAllocated()) ResizeControl();
}

void TAdvCustomDropDown::SetDropDownButtonHint(const String& Value) {
  if (Value == FButtonHint) return;
  FButtonHint = Value;
  if (FButton == nullptr) return;
  FButton->SetHint(Value);
  FButton->SetShowHint(!Value.empty());
}

TBitmap* TAdvCustomDropDown::DropDownButtonGlyph() const { return FButton != nullptr ? FButton->Glyph() : nullptr; }

void TAdvCustomDropDown::SetDropDownButtonGlyph(TBitmap* Value) {
  if (FButton != nullptr) FButton->SetGlyph(Value);
}

void TAdvCustomDropDown::SetEditorEnabled(bool Value) {
  if (Value && !FEditorEnabled && HandleAllocated()) ShowCaret(Handle());
  FEditorEnabled = Value;
  // On a pick-only edit a second quick click is another click.
  if (Value) FControlStyle.Include(csDoubleClicks);
  else FControlStyle.Exclude(csDoubleClicks);
}

void TAdvCustomDropDown::SetReadOnly(bool v) {
  TCustomMaskEdit::SetReadOnly(v);
  // The arrow shows a read-only edit as disabled.
  if (FButton != nullptr) FButton->FButton->Invalidate();
}

int TAdvCustomDropDown::GetVersionNr() { return 0x01020101; }

String TAdvCustomDropDown::Version() const {
  const uint32_t v = static_cast<uint32_t>(const_cast<TAdvCustomDropDown*>(this)->GetVersionNr());
  return IntToStr(int(v >> 24)) + u"." + IntToStr(int((v >> 16) & 0xFF)) + u"." + IntToStr(int((v >> 8) & 0xFF)) +
         u"." + IntToStr(int(v & 0xFF));
}

void TAdvCustomDropDown::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TAdvCustomDropDown*>(Source);
  if (src == nullptr) return;
  FFocusDraw = src->FFocusDraw;
  FForceShadow = src->FForceShadow;
  FDropDownEnabled = src->FDropDownEnabled;
  FDropDownColor = src->FDropDownColor;
  FDropDownColorTo = src->FDropDownColorTo;
  FDropDownGradient = src->FDropDownGradient;
  FDropDownBorderColor = src->FDropDownBorderColor;
  FDropDownBorderWidth = src->FDropDownBorderWidth;
  FDropDownShadow = src->FDropDownShadow;
  FDropDownWidth = src->FDropDownWidth;
  FDropDownHeight = src->FDropDownHeight;
  FDropDownSizeable = src->FDropDownSizeable;
  FEditType = src->FEditType;
  FReturnIsTab = src->FReturnIsTab;
  FLengthLimit = src->FLengthLimit;
  FPrecision = src->FPrecision;
  FPrefix = src->FPrefix;
  FSuffix = src->FSuffix;
  FDefaultHandling = src->FDefaultHandling;
  FCanUndo = src->FCanUndo;
  FExcelStyleDecimalSeparator = src->FExcelStyleDecimalSeparator;
  FValidChars = src->FValidChars;
  FSigned = src->FSigned;
  FAutoThousandSeparator = src->FAutoThousandSeparator;
  FButtonAppearance->Assign(src->FButtonAppearance.get());
  FDropDownHeader->Assign(src->FDropDownHeader.get());
  FDropDownFooter->Assign(src->FDropDownFooter.get());
  FDropPosition = src->FDropPosition;
  FFlat = src->FFlat;
  SetDropDownButtonWidth(src->FButtonWidth);
  SetDropDownButtonHint(src->FButtonHint);
  FEditorEnabled = src->FEditorEnabled;
  if (FButton != nullptr && src->FButton != nullptr) {
    FButton->SetGlyph(src->FButton->Glyph());
    FButton->SetButtonCaption(src->FButton->ButtonCaption());
  }
  FEtched = src->FEtched;
  SetImages(src->FImages);
  FSelectionColorStyle = src->FSelectionColorStyle;
  FSelectionColor = src->FSelectionColor;
  FSelectionColorTo = src->FSelectionColorTo;
}

// ---------------------------------------------------------------------------
// The pop-up window and the button

void TAdvCustomDropDown::CreateDropDownForm() {
  if (FDropDownForm != nullptr) return;
  FDropDownForm = new TDropDownForm(this);
  FDropDownForm->SetAdvDropDown(this);
  FDropDownForm->SetBorderStyle(bsNone);
  FDropDownForm->SetVisible(false);
  FDropDownForm->SetBounds(FDropDownForm->Left(), FDropDownForm->Top(), FDropDownWidth, FDropDownHeight);
  FDropDownForm->OnClose = [](TObject*, TCloseAction&) {};
  FDropDownForm->OnHide = [this](TObject*) { DropDownFormHidden(); };
  FDropDownForm->OnKeyPress = [this](TObject*, Char& Key) {
    if (FAccessKeyTaken) Key = 0;
    else DropDownFormKeyPress(Key);
  };
  FDropDownForm->OnKeyDown = [this](TObject*, Word& Key, TShiftState Shift) {
    if (BarAccessKey(Key, Shift)) Key = 0;
    else DropDownFormKeyDown(Key, Shift);
  };
  FDropDownForm->OnKeyUp = [this](TObject*, Word& Key, TShiftState Shift) { DropDownFormKeyUp(Key, Shift); };
  FDropDownForm->OnMouseWheelDown = [this](TObject*, TShiftState Shift, TPoint P, bool& Handled) {
    DropDownFormMouseWheelDown(Shift, P, Handled);
  };
  FDropDownForm->OnMouseWheelUp = [this](TObject*, TShiftState Shift, TPoint P, bool& Handled) {
    DropDownFormMouseWheelUp(Shift, P, Handled);
  };
  FDropDownForm->OnDestroy = [this](TObject*) { DropDownFormDestroyed(); };
  FDropDownForm->OnSizing = [this](TObject*) { DropDownFormSizing(); };
}

void TAdvCustomDropDown::CreateButton() {
  if (FButton != nullptr) return;
  FButton = new TDropDownEditButton(this);
  FButton->SetParent(this);
  FButton->OnClick = [this](TObject* S) { ButtonClick(S); };
  ResizeButton();
}

void TAdvCustomDropDown::ResizeButton() {
  if (FButton == nullptr) return;
  FButton->FBWidth = FButtonWidth;
  FButton->SetBounds(FButton->Left(), FButton->Top(), FButtonWidth, 17);
  FButton->SetVisible(true);
  FButton->FFocusControl = this;
}

void TAdvCustomDropDown::HeaderFooterChanged(TObject*) {
  if (FDropDownForm != nullptr && FDroppedDown) FDropDownForm->InitializeAndUpdate();
}

void TAdvCustomDropDown::BeforeDropDown() {
  if (OnBeforeDropDown) OnBeforeDropDown(this);
}

void TAdvCustomDropDown::FocusDropDownControl() {
  if (FFocusControl != nullptr && FFocusControl->TabStop() && FFocusControl->CanFocus() && !FFocusControl->Focused())
    FFocusControl->SetFocus();
}

void TAdvCustomDropDown::UpdateDropDownSize() {
  if (FDropDownForm == nullptr) return;
  const bool control = FControl != nullptr && FControl->Visible();
  int w;
  if (FDropDownWidth > 0) w = FDropDownWidth;
  else if (control) w = FControl->Width();
  else w = Width();
  int h;
  if (FDropDownHeight > 0) {
    h = FDropDownHeight;
  } else {
    h = 2 * FDropDownBorderWidth;
    if (FDropDownForm->Header() != nullptr && FDropDownForm->Header()->Visible()) h += FDropDownForm->Header()->Height();
    if (FDropDownForm->Footer() != nullptr && FDropDownForm->Footer()->Visible()) h += FDropDownForm->Footer()->Height();
    if (control) h += FControl->Height();
  }
  FDropDownForm->SetBounds(FDropDownForm->Left(), FDropDownForm->Top(), w, h);
}

void TAdvCustomDropDown::PlaceDropDownControl() {
  if (FDropDownForm == nullptr || FControl == nullptr || FDropDownHeader == nullptr) return;
  FControl->SetParent(FDropDownForm);
  TCustomControl* header = FDropDownForm->Header();
  FControl->SetTop(header != nullptr && header->Visible() ? header->Height() + 2 : FDropDownBorderWidth);
  FControl->SetAlign(alClient);
}

void TAdvCustomDropDown::DoShowDropDown() {
  // 1. Refusals.
  if (IsDesigning(this) || FDropDownForm == nullptr || FDropDownForm->Visible() || !Enabled() || ReadOnly()) return;
  CreateDropDownForm();
  // 2-3. The value goes into the control; the bars follow their appearances.
  BeforeDropDown();
  if (FDropDownForm == nullptr) return;
  FDropDownForm->FShadow = FDropDownShadow;
  FDropDownForm->InitializeAndUpdate();
  // 5-7. Provisional place, size, control, minimum size.
  FDropDownForm->SetBounds(Left(), Top(), FDropDownForm->Width(), FDropDownForm->Height());
  UpdateDropDownSize();
  PlaceDropDownControl();
  FDropDownForm->Constraints()->SetMinWidth(80);
  FDropDownForm->Constraints()->SetMinHeight(50);
  // 8. The control's keys go to the edit, set again at every opening.
  if (auto* control = dynamic_cast<TWinControl*>(FControl)) {
    control->OnKeyDown = [this](TObject*, Word& Key, TShiftState Shift) {
      if (BarAccessKey(Key, Shift)) Key = 0;
      else DropDownControlKeyDown(Key, Shift);
    };
    control->OnKeyPress = [this](TObject*, Char& Key) {
      if (FAccessKeyTaken) Key = 0;
      else DropDownControlKeyPress(Key);
    };
    control->OnKeyUp = [this](TObject*, Word& Key, TShiftState Shift) { DropDownControlKeyUp(Key, Shift); };
  }
  // 9-10. Below or above the edit; the automatic test uses the edit's top edge.
  const TPoint P = Parent() != nullptr ? Parent()->ClientToScreen(TPoint(Left(), Top())) : ClientOrigin();
  const int formHeight = FDropDownForm->Height();
  const int below = P.Y + Height() - 1, above = P.Y - formHeight;
  int top = below;
  if (FDropPosition == dpUp || (FDropPosition == dpAuto && P.Y + formHeight >= GetSystemMetrics(SM_CYSCREEN)))
    top = above;
  FDropDownForm->SetBounds(P.X, top, FDropDownForm->Width(), formHeight);
  // 11. The handler may veto.
  bool allow = true;
  if (OnDropDown) OnDropDown(this, allow);
  if (!allow) return;
  // 12. Horizontal fit to the work area of the nearest monitor, wherever that monitor lies.
  TRect work;
  bool found = false;
  if (Screen != nullptr) {
    if (TMonitor* m = Screen->MonitorFromPoint(P, mdNearest)) {
      work = m->WorkareaRect();
      found = true;
    } else {
      work = Screen->WorkAreaRect();
      found = true;
    }
  }
  int x = FDropDownForm->Left();
  const int right = x + FDropDownForm->Width();
  if (found && right > work.Right && x < work.Right) x = work.Right - FDropDownForm->Width();
  // 13-14. The size the user left the window at wins.
  const int y = FDropDownForm->Top();
  int w = FDropDownForm->Width(), h = FDropDownForm->Height();
  if (FUserDropDownWidth != -1) w = FUserDropDownWidth;
  if (FUserDropDownHeight != -1) h = FUserDropDownHeight;
  // 15-18. Place and size in one step, then show.
  FDroppedDown = true;
  FDropDownForm->SetBounds(x, y, w, h);
  FDropDownForm->Show();
  FDropDownForm->Invalidate();  // its colours may have changed while it was hidden
  // 19.
  FocusDropDownControl();
}

void TAdvCustomDropDown::DoHideDropDown(bool Cancel) {
  // 1. Nothing to close (unless the window system has just hidden the window itself).
  if (IsDesigning(this) || FDropDownForm == nullptr || (!FDropDownForm->Visible() && !FSystemClose)) return;
  if (OnBeforeDropUp) OnBeforeDropUp(this);
  // 3. The size the user left the window at wins next time.
  FUserDropDownWidth = FDropDownForm->Width();
  FUserDropDownHeight = FDropDownForm->Height();
  // 4. Its OnHide runs DropDownFormHidden.
  {
    TScopeGuard hiding([this] { FHiding = false; });
    FHiding = true;
    FDropDownForm->Hide();
  }
  if (FDroppedDown) DropDownFormHidden();
  if (Application != nullptr) Application->CancelHint();
  // 6. Cancel puts back the text last written by SetText.
  if (Cancel) SetText(FOldText);
  if (OnDropUp) OnDropUp(this, Cancel);
}

void TAdvCustomDropDown::CloseBySystem(bool Cancel) {
  TScopeGuard reset([this] { FSystemClose = false; });
  FSystemClose = true;
  DoHideDropDown(Cancel);
}

void TAdvCustomDropDown::DropDownFormHidden() {
  FDroppedDown = false;
  const bool otherProgram = FDropDownForm != nullptr && FDropDownForm->FLostToOtherProgram;
  if (TabStop() && CanFocus() && !Focused() && !IsDestroying() && !otherProgram) SetFocus();
}

void TAdvCustomDropDown::ButtonClick(TObject*) {
  if (IsDesigning(this) || FDropDownForm == nullptr || FDropDownForm->Visible()) return;
  // The click that closed the window (by deactivating it) does not open it again.
  if (GetTickCount() - FDropDownForm->FDeActivate > 250u) DoShowDropDown();
}

bool TAdvCustomDropDown::BarAccessKey(Word Key, TShiftState Shift) {
  FAccessKeyTaken = false;
  // Letters and digits only: their key codes are their upper-case characters.
  const bool character = (Key >= 'A' && Key <= 'Z') || (Key >= '0' && Key <= '9');
  if (!character || !Shift.Contains(ssAlt) || !FDroppedDown || FDropDownForm == nullptr) return false;
  for (TCustomControl* c : {FDropDownForm->Header(), FDropDownForm->Footer()}) {
    auto* bar = dynamic_cast<TAdvDropDownBar*>(c);
    if (bar == nullptr || !bar->Showing()) continue;
    for (int i = 0; i < bar->ButtonCount(); ++i) {
      if (bar->ButtonControl(i)->Perform(CM_DIALOGCHAR, Key, 0) != 0) {
        FAccessKeyTaken = true;
        return true;
      }
    }
  }
  return false;
}

void TAdvCustomDropDown::ToggleDropDown() {
  if (FDroppedDown) DoHideDropDown(false);
  else DoShowDropDown();
}

// ---------------------------------------------------------------------------
// Keys and wheel forwarded from the pop-up

void TAdvCustomDropDown::DropDownFormMouseWheelDown(TShiftState, TPoint, bool&) { MouseWheelDownAction(); }
void TAdvCustomDropDown::DropDownFormMouseWheelUp(TShiftState, TPoint, bool&) { MouseWheelUpAction(); }

void TAdvCustomDropDown::DropDownFormKeyPress(Char& Key) { SendMessage(Handle(), WM_CHAR, Key, 0); }
void TAdvCustomDropDown::DropDownFormKeyDown(Word& Key, TShiftState) { SendMessage(Handle(), WM_KEYDOWN, Key, 0); }
void TAdvCustomDropDown::DropDownFormKeyUp(Word& Key, TShiftState) { SendMessage(Handle(), WM_KEYUP, Key, 0); }
void TAdvCustomDropDown::DropDownControlKeyDown(Word& Key, TShiftState) { SendMessage(Handle(), WM_KEYDOWN, Key, 0); }
void TAdvCustomDropDown::DropDownControlKeyUp(Word& Key, TShiftState) { SendMessage(Handle(), WM_KEYUP, Key, 0); }
void TAdvCustomDropDown::DropDownControlKeyPress(Char& Key) { SendMessage(Handle(), WM_CHAR, Key, 0); }

bool TAdvCustomDropDown::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
  const bool r = TCustomMaskEdit::DoMouseWheelDown(Shift, MousePos);
  MouseWheelDownAction();
  return r;
}

bool TAdvCustomDropDown::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
  const bool r = TCustomMaskEdit::DoMouseWheelUp(Shift, MousePos);
  MouseWheelUpAction();
  return r;
}

// ---------------------------------------------------------------------------
// The edit's keys

void TAdvCustomDropDown::WMSysKeyDown(TWMKey& Message) {
  if (IsDesigning(this)) return;
  const Word key = Message.CharCode();
  if (GetKeyState(VK_MENU) < 0 && (key == VK_UP || key == VK_DOWN)) ToggleDropDown();
  TCustomMaskEdit::WMSysKeyDown(Message);
}

void TAdvCustomDropDown::WMKeyDown(TWMKey& Message) {
  // 1.
  if (IsDesigning(this)) return;
  Word key = Message.CharCode();
  const TShiftState shift = KeyDataToShiftState(Message.KeyData());
  // 2. Alt+Up and Alt+Down toggle (forwarded keys come as key-downs with Alt still held).
  if (GetKeyState(VK_MENU) < 0 && (key == VK_UP || key == VK_DOWN)) ToggleDropDown();
  // An Escape typed in the edit itself (not forwarded from the pop-up) is asked about next.
  if (key == VK_ESCAPE && FDroppedDown && Focused()) FEscapeClaimed = true;
  auto keyAction = [this](Word k) {
    switch (k) {
      case VK_RETURN: DoHideDropDown(false); break;
      case VK_ESCAPE: DoHideDropDown(true); break;
      case VK_F4:
        if (FDropDownForm != nullptr && FDropDownForm->Visible()) DoHideDropDown(false);
        else DoShowDropDown();
        break;
      default: break;
    }
  };
  // 3. A pick-only edit swallows every key but Enter and Escape.
  if (!FEditorEnabled && Enabled()) {
    if (!ReadOnly()) keyAction(key);
    if (key == VK_RETURN || key == VK_ESCAPE) TCustomMaskEdit::WMKeyDown(Message);
    return;
  }
  // 4.
  if (GetKeyState(VK_CONTROL) < 0 && (key == VK_TAB || key == VK_RETURN)) {
    TCustomMaskEdit::WMKeyDown(Message);
    return;
  }
  // 5. Enter moves on like Tab.
  if (key == VK_RETURN && FReturnIsTab) {
    key = VK_TAB;
    Message.SetCharCode(key);
    if (HandleAllocated() && Visible()) {
      if (TCustomForm* form = GetParentForm(this)) PostMessage(form->Handle(), CM_DIALOGKEY, VK_TAB, 0);
    }
  }
  // 6. Prefix and suffix, the inherited handling, then money and prefix.
  if (!ProtectKey(key, shift)) {
    Message.SetCharCode(0);
    Message.SetResult(0);
    return;
  }
  Message.SetCharCode(key);
  TCustomMaskEdit::WMKeyDown(Message);
  key = Message.CharCode();
  if (key == VK_DELETE && FEditType == etMoney) ApplyThousandSeparators();
  if (!FPrefix.empty() && SelStart() < static_cast<int>(FPrefix.size())) {
    Select(static_cast<int>(FPrefix.size()), 0);
  }
  // 7. The key action.
  keyAction(key);
}

void TAdvCustomDropDown::KeyDown(Word& Key, TShiftState Shift) {
  // Alt+Up/Down toggles in the key-down message handlers only, so a key toggles once.
  TCustomMaskEdit::KeyDown(Key, Shift);
}

void TAdvCustomDropDown::KeyPress(Char& Key) {
  TCustomMaskEdit::KeyPress(Key);
  if (Key == u'\r') Key = 0;
}

void TAdvCustomDropDown::CMWantSpecialKey(TWMKey& Message) {
  TCustomForm* form = GetParentForm(this);
  if (form == nullptr) return;
  const bool preview = form->KeyPreview();
  const Word key = Message.CharCode();
  if (key == VK_ESCAPE && FCanUndo && !preview) {
    SelectAll();
    SetModified(false);
    Message.SetCharCode(0);
    Message.SetResult(0);
    if (Parent() != nullptr && FDefaultHandling) {
      PostMessage(Parent()->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
      PostMessage(Parent()->Handle(), WM_KEYUP, VK_ESCAPE, 0);
    }
  } else if (key == VK_RETURN && FDefaultHandling && !preview && Parent() != nullptr) {
    if (Parent()->Focused()) {
      PostMessage(Parent()->Handle(), WM_KEYDOWN, VK_RETURN, 0);
      PostMessage(Parent()->Handle(), WM_KEYUP, VK_RETURN, 0);
    }
  }
  TCustomMaskEdit::CMWantSpecialKey(Message);
  // While open (or closed by this very Escape) the edit claims Escape from the form's Cancel button.
  if (key == VK_ESCAPE && (FDroppedDown || FEscapeClaimed)) Message.SetResult(1);
  FEscapeClaimed = false;
}

// ---------------------------------------------------------------------------
// The edit's mouse

void TAdvCustomDropDown::WMLButtonDown(TWMMouse& Message) {
  if (FEditorEnabled) {
    const int pos = LOWORD(static_cast<uintptr_t>(Perform(EM_CHARFROMPOS, 0, Message.M.LParam)));
    const int s = SelStart(), l = SelLength();
    if (l > 0 && pos >= s && pos <= s + l && Focused()) {
      // A press inside the selection keeps it (it may start a drag).
      FButtonDown = true;
      return;
    }
    TCustomMaskEdit::WMLButtonDown(Message);
    return;
  }
  TCustomMaskEdit::WMLButtonDown(Message);
  if (IsDesigning(this) || FDropDownForm == nullptr || FDropDownForm->Visible()) return;
  if (GetTickCount() - FDropDownForm->FDeActivate > 250u) DoShowDropDown();
}

void TAdvCustomDropDown::WMLButtonUp(TWMMouse& Message) {
  if (!FEditorEnabled || ReadOnly()) PaintNonEditable();
  if (FButtonDown) {
    const int pos = LOWORD(static_cast<uintptr_t>(Perform(EM_CHARFROMPOS, 0, Message.M.LParam)));
    Select(pos, 0);
  }
  FButtonDown = false;
  TCustomMaskEdit::WMLButtonUp(Message);
  // The caret stays out of the prefix and the suffix.
  const int pre = static_cast<int>(FPrefix.size());
  const int n = static_cast<int>(Text().size());
  if (!FPrefix.empty() && SelStart() < pre) {
    Select(pre, n);
  } else if (!FSuffix.empty()) {
    const int end = pre + n;
    const int s = SelStart(), l = SelLength();
    if (s > end) Select(end, 0);
    else if (s + l > end) Select(s, end - s);
  }
}

// ---------------------------------------------------------------------------
// The edit's layout

void TAdvCustomDropDown::CreateParams(TCreateParams& Params) {
  TCustomMaskEdit::CreateParams(Params);
  Params.Style |= ES_MULTILINE | 0x02000000;  // WS_CLIPCHILDREN
}

void TAdvCustomDropDown::CreateWnd() {
  TCustomMaskEdit::CreateWnd();
  SetEditRect();
  RegisterDropTarget();
}

void TAdvCustomDropDown::SetEditRect() {
  RECT r{};
  Perform(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
  TRect rect = r;
  if (BorderStyle() == bsNone) {
    rect.Left = 2;
    rect.Top = 3;
  } else {
    rect.Left = 1;
    rect.Top = 1;
  }
  rect.Right = ClientWidth() - FButtonWidth - 3;
  rect.Bottom = ClientHeight() + 1;
  FEditRect = rect;
  RECT sent = rect;
  Perform(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&sent));
}

int TAdvCustomDropDown::MinimumHeight() {
  HDC dc = GetDC(nullptr);
  TEXTMETRICW sys{}, own{};
  GetTextMetrics(dc, &sys);
  HGDIOBJ old = SelectObject(dc, Font()->Handle());
  GetTextMetrics(dc, &own);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return own.tmHeight + std::min(own.tmHeight, sys.tmHeight) / 4;
}

void TAdvCustomDropDown::WMSize(TWMSize& Message) {
  TCustomMaskEdit::WMSize(Message);
  ResizeControl();
}

void TAdvCustomDropDown::ResizeControl() {
  const int minHeight = MinimumHeight();
  if (Height() < minHeight) {
    SetHeight(minHeight);
  } else if (FButton != nullptr) {
    const int a = 0;  // the edit is always drawn in 3-D here
    if (BorderStyle() == bsSingle) {
      const int b = FFlat ? 3 : 4;
      FButton->SetBounds(Width() - FButtonWidth - b - a, FFlat ? 2 : 0, FButtonWidth, Height() - b);
    } else {
      FButton->SetBounds(Width() - FButtonWidth - a, 1, FButtonWidth, Height() - 2);
    }
    SetEditRect();
  }
  Invalidate();
}

void TAdvCustomDropDown::CMFontChanged(TMessage& Message) {
  TCustomMaskEdit::CMFontChanged(Message);
  if (HandleAllocated()) SetEditRect();
}

void TAdvCustomDropDown::DoEnter() {
  TCustomMaskEdit::DoEnter();
  SetEditRect();
}

void TAdvCustomDropDown::Loaded() {
  TCustomMaskEdit::Loaded();
  FParentFnt = ParentFont();
  SetEditRect();
  ResizeControl();
  if (FButton != nullptr) FButton->SetEnabled(Enabled());
  if (FLabel != nullptr) {
    if (!FLabelAlwaysEnabled) FLabel->SetEnabled(Enabled());
    LayoutLabel();
    if (ParentFont()) FLabel->Font()->Assign(Font());
  }
}

void TAdvCustomDropDown::CMEnabledChanged(TMessage& Message) {
  TCustomMaskEdit::CMEnabledChanged(Message);
  if (FButton != nullptr) FButton->SetEnabled(Enabled());
  if (FLabel != nullptr && !FLabelAlwaysEnabled) FLabel->SetEnabled(Enabled());
  Invalidate();
}

void TAdvCustomDropDown::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TCustomMaskEdit::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (FLabel != nullptr && FLabel->Parent() != nullptr) LayoutLabel();
}

void TAdvCustomDropDown::CMVisibleChanged(TMessage& Message) {
  TCustomMaskEdit::CMVisibleChanged(Message);
  if (FLabel != nullptr && !FLabel->Caption().empty()) FLabel->SetVisible(Visible());
}

