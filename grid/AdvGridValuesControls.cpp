// Controls kept in cells, and rich text cells with the grid's rich edit.
#include "grid/AdvGrid.h"
#include "grid/AdvGridValuesRich.h"
#include "platform/rtl/Classes.h"

// ===========================================================================
// Cell controls

TControl* DEreDuzeroVaro::CellControls(int ACol, int ARow) {
  return HasCellProperties(ACol, ARow) ? CellProperties(ACol, ARow)->Control() : nullptr;
}

void DEreDuzeroVaro::SetCellControls(int ACol, int ARow, TControl* AControl) {
  int realRow = RealRowIndex(ARow);
  if (AControl != nullptr) {
    int i = FControlList->ControlIndex(ACol, realRow);
    if (i >= 0) FControlList->RemoveControl(i);
    TCellProperties* p = CellProperties(ACol, ARow);
    if (p->Control() == nullptr) ++FNumCellControls;
    FControlList->AddControl(ACol, realRow, AControl);
    p->SetControl(AControl);
    AControl->SetParent(this);
    TRect r = CellRect(DisplColIndex(ACol), ARow);
    AControl->SetBounds(r.Left - 1, r.Top - 1, r.Width() + 1, r.Height() + 1);
    return;
  }
  if (CellControls(ACol, ARow) == nullptr) return;
  int i = FControlList->ControlIndex(ACol, realRow);
  if (i >= 0) FControlList->RemoveControl(i);
  if (FNumCellControls > 0) --FNumCellControls;
  CellProperties(ACol, ARow)->SetControl(nullptr);
}

void DEreDuzeroVaro::CellControlsUpdate(bool RebuildList) {
  if (!HandleAllocated()) return;
  if (RebuildList) {
    while (FControlList->Count() > 0) FControlList->RemoveControl(FControlList->Count() - 1);
    for (int c = 0; c < ColCount(); ++c)
      for (int r = 0; r < RowCount(); ++r)
        if (TControl* ctl = CellControls(c, r)) FControlList->AddControl(c, RealRowIndex(r), ctl);
  }
  if (FNumCellControls == 0) return;
  int lastCol = LeftCol() + VisibleColCount(), lastRow = TopRow() + VisibleRowCount();
  std::unique_ptr<TIntList> hidden;
  for (int i = 0; i < FControlList->Count(); ++i) {
    TControlItem* item = FControlList->Control(i);
    TControl* ctl = item->Control();
    if (IsHiddenRow(item->Y(), hidden) || IsHiddenColumn(item->X())) {
      ctl->Hide();
      continue;
    }
    int c = RealToDisplCol(item->X()), r = RealToDisplRow(item->Y());
    bool fixed = c < FixedCols() || r < TCustomGrid::FixedRows();
    if (fixed) continue;  // controls of fixed cells stay where the application put them
    if (c >= LeftCol() && c <= lastCol && r >= TopRow() && r <= lastRow) {
      TRect rc = CellRect(c, r);
      ctl->SetBounds(rc.Left - 1, rc.Top - 1, rc.Width() + 1, rc.Height() + 1);
      ctl->Show();
      // Realign and repaint the control at its place.
      ctl->Invalidate();
      ctl->SetWidth(ctl->Width() + 1);
      ctl->SetWidth(ctl->Width() - 1);
    } else {
      ctl->Hide();
    }
  }
}

// ===========================================================================
// Rich text cells

namespace {
// One byte per character: the cell text's low bytes.
std::string BytesOf(const String& S) {
  std::string bytes(S.size(), '\0');
  for (size_t i = 0; i < S.size(); ++i) bytes[i] = static_cast<char>(S[i] & 0xFF);
  return bytes;
}
}  // namespace

TAdvRichEdit* DEreDuzeroVaro::RichEdit() {
  if (FRichEdit == nullptr) FRichEdit = CreateAdvRichEdit(this);
  return FRichEdit;
}

void DEreDuzeroVaro::CellToRich(int ACol, int ARow, TCustomRichEdit* RichEditor) {
  RichLoadBytes(RichEditor, BytesOf(Cells(ACol, ARow)));
}

String DEreDuzeroVaro::RichToString(TCustomRichEdit* RichEditor) {
  if (IsDestroying()) return String();
  std::string bytes = RichSaveBytes(RichEditor);
  String s(bytes.size(), u'\0');
  for (size_t i = 0; i < bytes.size(); ++i) s[i] = static_cast<Char>(static_cast<unsigned char>(bytes[i]));
  return s;
}

void DEreDuzeroVaro::RichToCell(int ACol, int ARow, TCustomRichEdit* RichEditor) {
  SetCells(ACol, ARow, RichToString(RichEditor));
}

String DEreDuzeroVaro::RichTextToPlain(const String& Rtf) {
  TCustomRichEdit* re = AsRichEdit(RichEdit());
  RichLoadBytes(re, BytesOf(Rtf));
  return RichPlainText(re);
}

DEreDuzeroVaro* GridOfOwner(TComponent* Owner) { return dynamic_cast<DEreDuzeroVaro*>(Owner); }

bool IsGridRenderer(DEreDuzeroVaro* Grid, TAdvRichEdit* Edit) { return Grid->FRichEdit == Edit; }

bool GridTakesVerticalKeys(DEreDuzeroVaro* Grid) { return !Grid->WordWrap() && !Grid->Multilinecells(); }

void GridHandleKey(DEreDuzeroVaro* Grid, Word& Key, TShiftState Shift) {
  Grid->SetFocus();
  Grid->KeyDown(Key, Shift);
}
