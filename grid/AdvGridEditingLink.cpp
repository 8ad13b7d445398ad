// The custom editor link: how the grid drives an application's editor control in the cell or on
// the grid's pop-up form, and how the link's keys end the edit.
#include "grid/AdvGrid.h"
#include "grid/AdvGridEditing.h"
#include "platform/rtl/ScopeGuard.h"
#include "platform/ui/WindowWatch.h"
#include "platform/win/WinUser.h"

TEditLink::TEditLink(TComponent* AOwner) : TComponent(AOwner) {}

TEditLink::~TEditLink() = default;

TWinControl* TEditLink::GetParent() {
  if (EditStyle == esPopup && FPopupForm != nullptr) return FPopupForm;
  return FOwner;
}

String TEditLink::GetCellValue() {
  if (FOwner == nullptr) return String();
  return FOwner->Cells(FOwner->RealCol(), FOwner->Row());
}

void TEditLink::SetCellValue(const String& Value) {
  if (FOwner != nullptr) FOwner->SetEditCellText(FOwner->RealCol(), FOwner->Row(), Value);
}

void TEditLink::SetRect(TRect R) {
  TWinControl* c = GetEditControl();
  if (c == nullptr || FOwner == nullptr) return;
  const int line = FOwner->GridLineWidth();
  c->SetBounds(R.Left, R.Top, R.Right - R.Left - line, R.Bottom - R.Top - line);
}

void TEditLink::SetVisible(bool Value) {
  if (TWinControl* c = GetEditControl()) c->SetVisible(Value);
}

void TEditLink::SetFocus(bool Value) {
  TWinControl* c = GetEditControl();
  if (Value) {
    if (c == nullptr) return;
    if (!c->Visible()) c->SetVisible(true);
    if (!c->Enabled()) c->SetEnabled(true);
    if (EditStyle == esInplace && !FSubClassed) {
      // With goTabs the control keeps Tab and the arrows (its form would move the focus).
      FKeysWatch = std::make_unique<TDialogKeysWatch>(
          c, [this] { return FOwner != nullptr && FOwner->Options().Contains(goTabs); });
      FSubClassed = true;
    }
    if (c->CanFocus()) c->SetFocus();
  } else if (FOwner != nullptr && FOwner->CanFocus()) {
    FOwner->SetFocus();
  }
}

void TEditLink::RestoreWinProc() {
  if (EditStyle != esInplace) return;
  FKeysWatch.reset();
  FSubClassed = false;
  TWinControl* c = GetEditControl();
  if (c == nullptr) return;
  if (c->HandleAllocated()) c->SetVisible(false);
}

void TEditLink::HideEditor() {
  SetCellValue(GetEditorValue());
  if (FOwner != nullptr) FOwner->HideInplaceEdit();
  RestoreWinProc();
}

void TEditLink::EditExit(TObject* Sender) {
  (void)Sender;
  HideEditor();
  if (EditStyle == esPopup && FPopupForm != nullptr) {
    DestroyEditor();
    FPopupForm->Hide();
  }
}

void TEditLink::FormExit(TObject* Sender) {
  if (FOwner == nullptr) return;
  if (TInplaceEdit* e = FOwner->InplaceEditor()) e->SetText(GetEditorValue());
  if (FForcedExit) {
    SetCellValue(GetEditorValue());
  } else {
    EditExit(Sender);
  }
}

void TEditLink::EditKeyDown(TObject* Sender, Word& Key, TShiftState Shift) {
  (void)Sender;
  DEreDuzeroVaro* g = FOwner;
  if (g == nullptr) return;
  bool leave = Key == VK_TAB || Key == VK_RETURN || Key == VK_ESCAPE || Key == VK_PRIOR || Key == VK_NEXT ||
               Key == VK_END || Key == VK_LEFT || Key == VK_UP || Key == VK_RIGHT || Key == VK_DOWN;
  if ((Key == VK_UP || Key == VK_DOWN) && WantKeyUpDown) leave = false;
  if ((Key == VK_LEFT || Key == VK_RIGHT) && WantKeyLeftRight) leave = false;
  if ((Key == VK_END || Key == VK_HOME) && WantKeyHomeEnd) leave = false;
  if ((Key == VK_PRIOR || Key == VK_NEXT) && WantKeyPriorNext) leave = false;
  if (Key == VK_RETURN && WantKeyReturn) leave = false;
  if (Key == VK_ESCAPE && WantKeyEscape) leave = false;
  if (!leave) return;
  String value = GetEditorValue();
  if (Key == VK_ESCAPE) {
    SetEditorValue(g->FCellCache);
    value = g->FCellCache;
  }
  {
    FForcedExit = true;
    TScopeGuard forced([this] { FForcedExit = false; });
    if (g->CanFocus()) g->SetFocus();
  }
  g->HideSpecialEditor(g->Col(), g->Row());
  if (EditStyle == esPopup) {
    EditExit(this);
    SetCellValue(value);
  }
  g->FEditMode = false;
  g->SelectCell(g->Col(), g->Row());
  if (!g->FLastValidation) {
    // Refused: the editor opens again on the same cell.
    g->FLastValidation = true;
    g->EditControl = edCustom;
    g->FEditMode = true;
    const TPoint b = g->BaseCell(g->Col(), g->Row());
    g->ShowSpecialEditor(b.X, b.Y);
    return;
  }
  if (Key == VK_RETURN || Key == VK_ESCAPE) {
    Key = 0;
  } else {
    Word k = Key;
    g->KeyDown(k, Shift);
    if (TWinControl* c = GetEditControl()) c->SetEnabled(false);
    FForcedExit = true;
    TScopeGuard forced([this] { FForcedExit = false; });
    if (g->CanFocus()) g->SetFocus();
    if (g->Options().Contains(goTabs) && Key == VK_TAB && g->HandleAllocated())
      PostMessage(g->Handle(), WM_KEYDOWN, VK_F2, 0);
  }
  g->FLastValidation = true;
}

// ---- The grid's side

void DEreDuzeroVaro::ShowEditLink(int ACol, int ARow, int RC, const TRect& R, TColor Colour) {
  (void)ACol;
  TEditLink* link = FEditLink;
  if (link == nullptr) return;
  FEditMode = true;
  link->FOwner = this;
  link->FEditCell = TPoint(RC, ARow);
  if (link->EditStyle == esPopup) {
    if (link->AutoPopupWidth) link->PopupWidth = R.Right - R.Left;
    // The grid's own pop-up form: made once, owned by the grid, never looked up by name.
    if (FEditLinkForm == nullptr) {
      FEditLinkForm = new TForm(this);
      FEditLinkForm->SetBorderStyle(bsNone);
      FEditLinkForm->SetFormStyle(fsStayOnTop);
    }
    link->FPopupForm = FEditLinkForm;
    TPoint at(link->PopupLeft, link->PopupTop);
    if (at.X == -1 || at.Y == -1) at = ClientToScreen(TPoint(R.Left, R.Top));
    FEditLinkForm->OnDeactivate = [link](TObject* Sender) { link->FormExit(Sender); };
    FEditLinkForm->SetBounds(at.X, at.Y, 0, 0);
    FEditLinkForm->Show();
    FEditLinkForm->SetBounds(at.X, at.Y, link->PopupWidth, link->PopupHeight);
    link->CreateEditor(FEditLinkForm);
    link->SetRect(TRect(0, 0, link->PopupWidth, link->PopupHeight));
  } else {
    link->CreateEditor(this);
    link->SetRect(R);
  }
  link->SetVisible(true);
  link->SetCellProps(Colour, Canvas()->Font());
  link->SetProperties();
  GetEditorProp(RC, ARow, link);
  link->SetEditorValue(GetEditText(ACol, ARow));
  const Char start = FStartEditChar;
  link->SetFocus(true);
  FEditActive = true;
  EditCtrl = link->GetEditControl();
  if (start != 0 && EditCtrl != nullptr && EditCtrl->HandleAllocated())
    PostMessage(EditCtrl->Handle(), WM_CHAR, WPARAM(start), 0);
}

void DEreDuzeroVaro::HideEditLink(int RC, int ARow) {
  if (ControlLook()->DropDownAlwaysVisible()) {
    EditControl = DefaultEditor();
    GetEditorType(RC, ARow, EditControl);
  }
  if (TEditLink* link = FEditLink) {
    SetEditCellText(RC, ARow, link->GetEditorValue());
    if (link->EditStyle != esPopup) link->SetVisible(false);
    link->RestoreWinProc();
  }
  FEditMode = false;
}
