// The grid as a drag source: its settings, the drag start from the mouse, the floating
// pictures of a drag (the cell snapshot and the header button) and the drop source.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "controls/HtmlText.h"
#include "grid/AdvGrid.h"
#include "grid/ArrowWindow.h"
#include "grid/asgdd.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/StdCtrls.h"
#include "platform/win/Modules.h"
#include "platform/win/WinUser.h"

// ---------------------------------------------------------------------------
// Settings

void DEreDuzeroVaro::TDragDropSettings::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TDragDropSettings*>(Source);
  if (s == nullptr) return TPersistent::Assign(Source);
  FOleDropRTF = s->FOleDropRTF;
  FOleDropTarget = s->FOleDropTarget;
  FSwitches = s->FSwitches;
}

void DEreDuzeroVaro::TDragDropSettings::SetOleDropRTF(bool Value) {
  asgdd::SetRichTextDragDrop(Value);
  FOleDropRTF = Value;
}

void DEreDuzeroVaro::TDragDropSettings::SetOleDropTarget(bool Value) {
  FOleDropTarget = Value;
  if (FGrid != nullptr && !FGrid->ComponentState().Contains(csDesigning)) FGrid->RegisterDropTarget(Value);
}

DEreDuzeroVaro::TDragDropSettings* DEreDuzeroVaro::DragDropSettings() {
  if (!FDragDropSettings) FDragDropSettings = std::make_unique<TDragDropSettings>(this);
  return FDragDropSettings.get();
}

// ---------------------------------------------------------------------------
// The header button

DEreDuzeroVaro::THeaderDragButton::THeaderDragButton(TComponent* AOwner, DEreDuzeroVaro* AGrid)
    : TCustomControl(AOwner), FGrid(AGrid) {
  SetColor(clBtnFace);
}

void DEreDuzeroVaro::THeaderDragButton::SetCaption(const String& Value) {
  FCaption = Value;
  Invalidate();
}

void DEreDuzeroVaro::THeaderDragButton::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style = WS_POPUP | WS_BORDER;
}

void DEreDuzeroVaro::THeaderDragButton::Paint() {
  TRect r = ClientRect();
  if (FGrid != nullptr) FGrid->PaintCellExt(Canvas(), 0, 0, r, TGridDrawState());
  SetBkMode(Canvas()->Handle(), TRANSPARENT);
  if (FCaption.find(u"</") == String::npos) {
    String text = FCaption;
    DrawTextEx(Canvas()->Handle(), text.data(), int(FCaption.size()), &r,
               DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_END_ELLIPSIS, nullptr);
    return;
  }
  String href, plain, focused, title, id, value, type;
  int32_t w = 0, h = 0, anchors = 0, hit = 0;
  TRect hitRect, controlRect;
  DrawHtmlText(Canvas(), FCaption, r, FGrid != nullptr ? FGrid->GridImages() : nullptr, 2, 2, -1, -1, 2, false, false,
               false, false, true, false, false, false, 1.0, TColor(0xFF0000), clNone, clNone, TColor(0x808080), href,
               plain, focused, title, w, h, anchors, hit, hitRect, controlRect, id, value, type, nullptr, nullptr,
               Handle(), 0);
}

DEreDuzeroVaro::THeaderDragButton* DEreDuzeroVaro::MoveButton() {
  if (FMoveButton == nullptr) {
    FMoveButton = new THeaderDragButton(this, this);
    FMoveButton->SetVisible(false);
  }
  return FMoveButton;
}

// ---------------------------------------------------------------------------
// The cell snapshot

TForm* DEreDuzeroVaro::SelectionToForm(TGridRect ARect) {
  TBitmap whole;
  whole.SetWidth(Width());
  whole.SetHeight(Height());
  PaintWindow(whole.Canvas()->Handle());

  TRect r1 = CalcCellRect(ARect.Left, ARect.Top), r2 = CalcCellRect(ARect.Right, ARect.Bottom);
  if (r2.Left < r1.Left) std::swap(r1, r2);
  if (r2.Bottom < r1.Bottom) {
    std::swap(r1.Bottom, r2.Bottom);
    std::swap(r1.Top, r2.Top);
  }
  TBitmap part;
  part.SetWidth(r2.Right - r1.Left + 1);
  part.SetHeight(r2.Bottom - r1.Top + 1);
  part.Canvas()->CopyRect(Rect(0, 0, part.Width(), part.Height()), whole.Canvas(),
                          Rect(r1.Left + 1, r1.Top + 1, r2.Right + 2, r2.Bottom + 2));
  TCanvas* c = part.Canvas();
  c->Pen()->SetColor(GridFixedLineColor());
  const TGridOptions opts = Options();
  // The left edge goes with the horizontal fixed lines, the top edge with the vertical ones.
  if (ARect.Left == 0 && FixedCols() > 0 && opts.Contains(goFixedHorzLine)) {
    c->MoveTo(0, 0);
    c->LineTo(0, part.Height());
  }
  if (ARect.Top == 0 && FixedRows() > 0 && opts.Contains(goFixedVertLine)) {
    c->MoveTo(0, 0);
    c->LineTo(part.Width(), 0);
  }

  auto* form = new TForm(this);
  form->SetBorderStyle(bsNone);
  form->SetBounds(0, 0, part.Width(), part.Height());
  form->SetFormStyle(fsStayOnTop);
  auto* image = new TImage(form);
  image->SetParent(form);
  image->SetAlign(alClient);
  image->Picture()->Bitmap()->Assign(&part);
  // Translucent: alpha 192 of 255.
  SetLayeredWindowAttributes(form->Handle(), 0, 192, LWA_ALPHA);
  return form;
}

// ---------------------------------------------------------------------------
// Markers

void DEreDuzeroVaro::HideDropArrows(bool Left, bool Down, bool Up) {
  if (Left && Arrow(2) != nullptr) Arrow(2)->SetVisible(false);
  if (Down && Arrow(1) != nullptr) Arrow(1)->SetVisible(false);
  if (Up && Arrow(0) != nullptr) Arrow(0)->SetVisible(false);
}

void DEreDuzeroVaro::ShowDropArrow(int Index, int X, int Y) {
  TArrowWindow* a = Arrow(Index);
  if (a == nullptr) return;
  int w = 0, h = 0;
  for (const TPoint& p : a->Arrow()) {
    w = std::max(w, p.X + 1);
    h = std::max(h, p.Y + 1);
  }
  a->SetBounds(X, Y, w, h);
  if (!a->Visible()) {
    a->SetVisible(true);
    SetWindowPos(a->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
  }
}

// ---------------------------------------------------------------------------
// The drop source

class DEreDuzeroVaro::TGridDropSource : public asgdd::TASGDropSource {
public:
  explicit TGridDropSource(DEreDuzeroVaro* AGrid) : FGrid(AGrid) {}
  void DragEnded() override {
    if (FGrid->DragDropSettings()->ShowCells() && FGrid->FMoveForm != nullptr) {
      delete FGrid->FMoveForm;
      FGrid->FMoveForm = nullptr;
    }
  }
  void CurrentEffect(DWORD Effect) override {
    if (Effect == DROPEFFECT_COPY || Effect == DROPEFFECT_MOVE) FLastEffect = Effect;
  }
  void QueryDrag() override {
    TPoint pt;
    GetCursorPos(&pt);
    if (FGrid->DragDropSettings()->ShowCells()) {
      if (FGrid->FMoveForm != nullptr) FGrid->FMoveForm->SetBounds(pt.X + 4, pt.Y + 4, FGrid->FMoveForm->Width(), FGrid->FMoveForm->Height());
    } else if (FGrid->FMoveButton != nullptr && FGrid->FMoveButton->Visible()) {
      FGrid->FMoveButton->SetBounds(pt.X, pt.Y - FGrid->FMoveButton->Height(), FGrid->FMoveButton->Width(),
                                    FGrid->FMoveButton->Height());
    }
  }
  DWORD LastEffect() const { return FLastEffect; }

private:
  DEreDuzeroVaro* FGrid;
  DWORD FLastEffect = DROPEFFECT_NONE;
};

namespace {

void ShowWithoutActivating(TWinControl* W) {
  W->SetVisible(true);
  SetWindowPos(W->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
}

}  // namespace

// ---------------------------------------------------------------------------
// The enhanced move's picture

void DEreDuzeroVaro::FloatMovePicture(int X, int Y, int ACol, int ARow) {
  const bool showCells = DragDropSettings()->ShowCells();
  THeaderDragButton* button = MoveButton();
  if (GridState() == gsColMoving && Movecell >= FixedCols() && Movecell < ColCount() && ARow >= 0) {
    if (FMoveForm == nullptr && showCells) {
      const int last = std::clamp(TopRow() + VisibleRowCount() - FixedRows(), 0, RowCount() - 1);
      FMoveForm = SelectionToForm(TGridRect{Movecell, 0, Movecell, last});
      ShowWithoutActivating(FMoveForm);
    }
    button->SetCaption(Cells(DisplToRealCol(Movecell), 0));
    button->SetBounds(button->Left(), button->Top(), ColWidths(Movecell), RowHeights(ARow));
    button->Invalidate();
  } else if (GridState() == gsRowMoving && Movecell >= FixedRows() && Movecell < RowCount() && ACol >= 0) {
    if (FMoveForm == nullptr && showCells) {
      const int last = std::clamp(LeftCol() + VisibleColCount() - FixedCols(), 0, ColCount() - 1);
      FMoveForm = SelectionToForm(TGridRect{0, Movecell, last, Movecell});
      ShowWithoutActivating(FMoveForm);
    }
    button->SetCaption(Cells(0, Movecell));
    button->SetBounds(button->Left(), button->Top(), ColWidths(ACol), RowHeights(Movecell));
    button->Invalidate();
  }
  // The picture keeps the spot of the press under the mouse.
  const TPoint p = ClientToScreen(TPoint(X - MoveOfsX, Y - MoveOfsY));
  if (showCells) {
    if (FMoveForm != nullptr) PlaceMoveForm(p);
    return;
  }
  button->SetBounds(p.X, p.Y, button->Width(), button->Height());
  if (!button->Visible()) ShowWithoutActivating(button);
  button->SetEnabled(true);
}

// The moved cells' picture at a screen point: its left edge there, or under right-to-left
// alignment its right edge, less the first column (the picture reads from the right).
void DEreDuzeroVaro::PlaceMoveForm(TPoint P) {
  const int left = UseRightToLeftAlignment() ? P.X - FMoveForm->Width() + ColWidths(0) : P.X;
  FMoveForm->SetBounds(left, P.Y, FMoveForm->Width(), FMoveForm->Height());
}

void DEreDuzeroVaro::EndMovePicture() {
  if (FMoveButton != nullptr) {
    FMoveButton->SetEnabled(false);
    FMoveButton->SetVisible(false);
  }
  delete FMoveForm;
  FMoveForm = nullptr;
}

bool DEreDuzeroVaro::OleDragFromMouse(TPoint Down, int X, int Y) {
  if (std::abs(X - Down.X) <= 3 && std::abs(Y - Down.Y) < 4) return false;
  TDragDropSettings* dd = DragDropSettings();
  if (!dd->OleDropSource() || FGridState == gsColSizing) return false;
  // A press on the selection's resize handle sizes the selection.
  if (SelectionResizer()) {
    const TGridRect s = Selection();
    const TRect h = CellRect(std::max(s.Left, s.Right), std::max(s.Top, s.Bottom));
    if (Down.X >= h.Right - 4 && Down.X <= h.Right && Down.Y >= h.Bottom - 4 && Down.Y <= h.Bottom) return false;
  }
  int dcol = -1, row = -1;
  MouseToCell(Down.X, Down.Y, dcol, row);
  if (dcol < 0 || row < 0) return false;
  const int col = RealColIndex(dcol);

  bool allow = true;
  if (dd->OleColumnsOnly() && row >= FixedRows()) allow = false;
  else if (OnOleDrag) OnOleDrag(this, row, col, Cells(col, row), allow);
  if (!allow) {
    if (FGridState == gsNormal) FGridState = gsSelecting;
    return true;
  }

  // The drag holds its own reference; ours is dropped when the drag is over.
  auto* source = new TGridDropSource(this);
  struct TRelease {
    TGridDropSource* S;
    ~TRelease() { S->Release(); }
  } release{source};
  if (OnOleDragStart) OnOleDragStart(this, row, col);
  const TPoint p = ClientToScreen(TPoint(X, Y));
  StartBlockFocus();

  const bool columnDrag = row < FixedRows() && col >= 0 && dd->OleColumnDragDrop();
  if (dd->ShowCells()) {
    if (FMoveForm == nullptr) {
      SetShowSelection(false);
      TGridRect r;
      if (dd->OleColumnDragDrop()) {
        r = TGridRect{dcol, 0, dcol, std::min(RowCount() - 1, VisibleRowCount())};
      } else {
        r = Selection();
        const int lastRow = std::min(RowCount() - 1, TopRow() + VisibleRowCount());
        const int lastCol = std::min(ColCount() - 1, LeftCol() + VisibleColCount());
        if (r.Top >= FixedRows()) r.Top = std::max(r.Top, TopRow());
        if (r.Left >= FixedCols()) r.Left = std::max(r.Left, LeftCol());
        r.Bottom = std::max(r.Top, std::min(r.Bottom, lastRow));
        r.Right = std::max(r.Left, std::min(r.Right, lastCol));
      }
      FMoveForm = SelectionToForm(r);
      SetShowSelection(true);
      ShowWithoutActivating(FMoveForm);
    }
    PlaceMoveForm(p);
  }

  DWORD effect = DROPEFFECT_NONE;
  if (columnDrag) {
    if (!dd->ShowCells()) {
      THeaderDragButton* b = MoveButton();
      b->SetCaption(Cells(col, row));
      b->SetBounds(p.X, p.Y, ColWidths(dcol), RowHeights(0));
      ShowWithoutActivating(b);
    }
    const HRESULT r = asgdd::BeginColumnDrag(source, col, DROPEFFECT_COPY | DROPEFFECT_MOVE, effect);
    if (r != DRAGDROP_S_CANCEL && OnOleDragStop) OnOleDragStop(this, int(effect));
    if (FMoveButton != nullptr) FMoveButton->SetVisible(false);
    HideDropArrows(false, true, true);
  } else {
    FDropSelection = Selection();
    FDroppedInto = TGridRect{-1, -1, -1, -1};
    std::unique_ptr<TMemoryStream> stream;
    if (FNavigation->AllowFmtClipboard()) {
      stream = std::make_unique<TMemoryStream>();
      const TGridRect s = FDropSelection;
      SaveRectToBinStream(Rect(std::min(s.Left, s.Right), std::min(s.Top, s.Bottom), std::max(s.Left, s.Right),
                               std::max(s.Top, s.Bottom)),
                          stream.get());
    }
    const String rtf = Cells(col, row);
    const HRESULT r = asgdd::BeginTextDrag(source, SelectedText(), rtf, stream.get(), DROPEFFECT_COPY | DROPEFFECT_MOVE, effect);
    if (r != DRAGDROP_S_CANCEL) {
      if (!dd->OleCopyAlways() && effect == DROPEFFECT_MOVE) {
        const TGridRect s = FDropSelection;
        if (dd->OleRemoveRows() && Options().Contains(goRowSelect)) {
          if (FMouseActions->DisjunctRowSelect()) RemoveSelectedRows();
          else RemoveRowRange(std::min(s.Top, s.Bottom), std::abs(s.Bottom - s.Top) + 1);
        } else if (FMouseActions->DisjunctRowSelect()) {
          ClearSelection();
        } else {
          ClearDraggedCells(s);
        }
      }
      if (OnOleDragStop) OnOleDragStop(this, int(effect));
    }
  }
  // A drag ended without the drop loop's own end (no drag ran) frees the picture too.
  if (FMoveForm != nullptr) {
    delete FMoveForm;
    FMoveForm = nullptr;
  }
  return true;
}

void DEreDuzeroVaro::ClearDraggedCells(const TGridRect& S) {
  const int l = std::min(S.Left, S.Right), t = std::min(S.Top, S.Bottom), r = std::max(S.Left, S.Right),
            b = std::max(S.Top, S.Bottom);
  const TGridRect& d = FDroppedInto;
  if (d.Left < 0 || d.Left > r || d.Right < l || d.Top > b || d.Bottom < t) return ClearRect(l, t, r, b);
  // Moved within the grid onto itself: the cells just dropped stay.
  for (int row = t; row <= b; ++row) {
    if (row < d.Top || row > d.Bottom) {
      ClearRect(l, row, r, row);
      continue;
    }
    if (l < d.Left) ClearRect(l, row, d.Left - 1, row);
    if (r > d.Right) ClearRect(d.Right + 1, row, r, row);
  }
}

void DEreDuzeroVaro::OleColumnDragStart(int ACol, int AIndex, TCustomListBox* AList) {
  FOleDragCol = ACol;
  FOleDragIndex = AIndex;
  FOleDragList = AList;
}
