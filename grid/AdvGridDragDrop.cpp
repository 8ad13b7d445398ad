// The grid as a drop target: the place markers and scrolling while something is dragged over
// it, and what each dropped format does.
#include <algorithm>

#include "grid/AdvGrid.h"
#include "grid/ArrowWindow.h"
#include "grid/asgdd.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"

class DEreDuzeroVaro::TGridDropTarget : public asgdd::TASGDropTarget {
public:
  explicit TGridDropTarget(DEreDuzeroVaro* AGrid) : FGrid(AGrid) {}

  void DragMouseMove(TPoint Pt, bool& Allow, asgdd::TDropFormats DropFormats) override;
  void DragMouseLeave() override { FGrid->HideDropArrows(true, true, true); }
  void DropText(TPoint Pt, const String& Text) override;
  void DropStream(TPoint Pt, TMemoryStream* Stream) override;
  void DropRTF(TPoint Pt, const String& RTF) override;
  void DropURL(TPoint Pt, const String& URL) override;
  void DropFiles(TPoint Pt, TStrings* Files) override;
  void DropCol(TPoint Pt, int Col) override;

private:
  using TDropEvent = std::function<void(TObject*, int, int, const String&, bool&)>;
  // The text goes into the cell under the point unless the event refuses it.
  void DropIntoCell(TPoint Pt, const String& Text, const TDropEvent& Event);
  // The cell under the screen point; a point at or below the last row's bottom gives the
  // last row with Append when whole rows are appended.
  void DropCell(TPoint Pt, int& ACol, int& ARow, bool& Append);
  DEreDuzeroVaro* FGrid;
};

void DEreDuzeroVaro::TComRelease::operator()(TGridDropTarget* P) const {
  if (P != nullptr) P->Release();
}

void DEreDuzeroVaro::RegisterDropTarget(bool Value) {
  if (Value) {
    if (!FGridDropTarget) FGridDropTarget.reset(new TGridDropTarget(this));
    TDragDropSettings* dd = DragDropSettings();
    FGridDropTarget->SetAcceptText(dd->OleAcceptText());
    FGridDropTarget->SetAcceptFiles(dd->OleAcceptFiles());
    FGridDropTarget->SetAcceptURLs(dd->OleAcceptURLs());
    FGridDropTarget->SetAcceptCols(true);
    if (!FOleDropTargetAssigned) FOleDropTargetAssigned = RegisterDragDrop(Handle(), FGridDropTarget.get()) == S_OK;
  } else if (FOleDropTargetAssigned) {
    RevokeDragDrop(Handle());
    FOleDropTargetAssigned = false;
  }
}

void DEreDuzeroVaro::TGridDropTarget::DropCell(TPoint Pt, int& ACol, int& ARow, bool& Append) {
  DEreDuzeroVaro& g = *FGrid;
  Append = false;
  g.ScreenToCell(Pt, ACol, ARow);
  TDragDropSettings* dd = g.DragDropSettings();
  if (ARow == -1 && !DropFormats().Contains(asgdd::dfCol) && dd->OleEntireRows() && dd->OleAppendRows()) {
    const TPoint c = g.ScreenToClient(Pt);
    const TRect last = g.CellRect(g.LeftCol(), g.RowCount() - 1);
    if (last.Bottom > 0 && c.Y >= last.Bottom) {
      Append = true;
      ACol = g.FixedCols();
      ARow = g.RowCount() - 1;
    }
  }
}

void DEreDuzeroVaro::TGridDropTarget::DragMouseMove(TPoint Pt, bool& Allow, asgdd::TDropFormats DropFormats) {
  DEreDuzeroVaro& g = *FGrid;
  TDragDropSettings* dd = g.DragDropSettings();
  int col = -1, row = -1;
  bool append = false;
  DropCell(Pt, col, row, append);
  const TPoint client = g.ScreenToClient(Pt);
  const bool isCol = DropFormats.Contains(asgdd::dfCol);
  Allow = col >= 0 && row >= 0;

  // Scrolling when the mouse reaches the edges of the view.
  if (Allow && !isCol) {
    if (row == 0 && g.TopRow() > g.FixedRows()) g.SetTopRow(g.TopRow() - 1);
    else if (client.Y < 8 && g.FixedRows() == 0 && g.TopRow() >= 1) g.SetTopRow(g.TopRow() - 1);
    else if (row == g.TopRow() + g.VisibleRowCount() && g.TopRow() + g.VisibleRowCount() < g.RowCount())
      g.SetTopRow(g.TopRow() + 1);
    // At most one column step per tick of the grid timer.
    if (g.FTimerTicks % 2 == 0) {
      if (col == 0 && g.LeftCol() > g.FixedCols()) {
        g.SetLeftCol(g.LeftCol() - 1);
        ++g.FTimerTicks;
      } else if (col == g.LeftCol() + g.VisibleColCount() && col < g.ColCount()) {
        g.SetLeftCol(g.LeftCol() + 1);
        ++g.FTimerTicks;
      }
    }
  }

  if (!isCol) {
    const bool onlyFixedRow = g.RowCount() == 1 && g.FixedRowAlways();
    if (row < g.FixedRows() && !onlyFixedRow) Allow = false;
  } else if (col == -1) {
    // Right of the last column: the column goes last.
    col = g.ColCount();
    row = 0;
    Allow = true;
  } else {
    Allow = Allow && row < g.FixedRows() && col >= g.FixedCols();
  }
  const bool validCell = (col >= 0 && row >= 0) || (isCol && col == g.ColCount());
  Allow = Allow || DropFormats.Contains(asgdd::dfFile) || DropFormats.Contains(asgdd::dfGridCells);
  if (g.OnOleDragOver) g.OnOleDragOver(&g, row, col, Allow);
  Allow = Allow && (validCell || DropFormats.Contains(asgdd::dfFile));

  if (Allow && isCol) {
    const TRect r = col < g.ColCount() ? g.CellRect(col, row) : g.CellRect(g.ColCount() - 1, 0);
    const int x = col < g.ColCount() ? r.Left : r.Right;
    const TPoint top = g.ClientToScreen(TPoint(x, r.Top - 8)), bottom = g.ClientToScreen(TPoint(x, r.Bottom));
    g.ShowDropArrow(1, top.X, top.Y);
    g.ShowDropArrow(0, bottom.X, bottom.Y);
  } else if (Allow && col >= 0 && row >= 0) {
    if (row == 0 && g.FixedRowAlways()) {
      row = 1;
      append = true;
    }
    const TRect r = g.CellRect(dd->OleEntireRows() ? g.FixedCols() : col, row);
    const int y = append ? r.Top + g.RowHeights(std::min(row, g.RowCount() - 1)) : r.Top;
    const TPoint at = g.ClientToScreen(TPoint(r.Left - 10, y));
    g.ShowDropArrow(2, at.X, at.Y);
  } else {
    g.HideDropArrows(true, true, true);
  }
}

void DEreDuzeroVaro::TGridDropTarget::DropText(TPoint Pt, const String& Text) {
  DEreDuzeroVaro& g = *FGrid;
  TDragDropSettings* dd = g.DragDropSettings();
  int col = -1, row = -1;
  bool append = false;
  DropCell(Pt, col, row, append);
  int cols = 0, lines = 0;
  g.ClipboardTextSize(Text, cols, lines);
  if (g.Options().Contains(goRowSelect)) col = dd->OleEntireRows() ? 0 : g.FixedCols();
  // As over the drag's path: no text goes into the fixed rows (but for a grid that has only
  // its always-fixed row).
  bool allow = col >= 0 && row >= 0 && (row >= g.FixedRows() || (g.RowCount() == 1 && g.FixedRowAlways()));
  if (allow && g.OnOleDrop) g.OnOleDrop(&g, row, col, Text, allow);
  g.HideDropArrows(true, true, false);
  if (g.FMoveButton != nullptr) g.FMoveButton->SetVisible(false);
  // A refused drop changes nothing and reports nothing dropped; the source keeps its cells.
  if (!allow) {
    RefuseDrop();
    return;
  }

  // Rows inserted above a selection dragged within this grid move it down.
  if (g.FDropSelection.Top >= row && dd->OleRemoveRows() && dd->OleInsertRows()) {
    g.FDropSelection.Top += lines + 1;
    g.FDropSelection.Bottom += lines + 1;
  }
  if (g.FMouseActions->DisjunctRowSelect() && dd->OleInsertRows() && row <= int(g.FRowSelect.size()))
    g.FRowSelect.insert(g.FRowSelect.begin() + row, size_t(lines + 1), false);
  if (row == 0 && g.RowCount() == 1 && g.FixedRowAlways()) row = 1;
  if (dd->OleInsertRows()) {
    int t = g.TopRow() > g.FixedRows() ? g.TopRow() + 1 : g.TopRow();
    if (append) {
      g.SetRowCount(g.RowCount() + lines + 1);
      ++row;
    } else {
      g.InsertRows(row, lines + 1);
    }
    if (t > 0) g.SetTopRow(std::min(t, g.RowCount() - 1));
  } else if (append) {
    g.SetRowCount(g.RowCount() + lines + 1);
    ++row;
  }
  int pastedRows = 0, pastedCols = 0;
  g.PasteText(col, row, pastedRows, pastedCols, Text);
  const int right = g.Options().Contains(goRowSelect) ? col + cols - g.FixedCols() : col + cols - 1;
  TGridRect block{std::max(col, g.FixedCols()), row, std::min(std::max(right, col), g.ColCount() - 1),
                  std::min(row + lines, g.RowCount() - 1)};
  g.SetSelection(block);
  g.FDroppedInto = block;
  if (g.OnOleDropped) g.OnOleDropped(&g, block);
}

void DEreDuzeroVaro::TGridDropTarget::DropStream(TPoint Pt, TMemoryStream* Stream) {
  DEreDuzeroVaro& g = *FGrid;
  int col = -1, row = -1;
  g.ScreenToCell(Pt, col, row);
  g.HideDropArrows(true, true, false);
  if (g.FMoveButton != nullptr) g.FMoveButton->SetVisible(false);
  if (col < 0 || row < 0) {
    RefuseDrop();
    return;
  }
  Stream->Seek(0, soBeginning);
  g.LoadAtPointFromBinStream(TPoint(col, row), Stream);
  g.FDroppedInto = g.Selection();
  if (g.OnOleDropped) g.OnOleDropped(&g, g.Selection());
}

void DEreDuzeroVaro::TGridDropTarget::DropRTF(TPoint Pt, const String& RTF) { DropIntoCell(Pt, RTF, FGrid->OnOleDrop); }

void DEreDuzeroVaro::TGridDropTarget::DropURL(TPoint Pt, const String& URL) { DropIntoCell(Pt, URL, FGrid->OnOleDropURL); }

void DEreDuzeroVaro::TGridDropTarget::DropIntoCell(TPoint Pt, const String& Text, const TDropEvent& Event) {
  DEreDuzeroVaro& g = *FGrid;
  int col = -1, row = -1;
  g.ScreenToCell(Pt, col, row);
  bool allow = col >= 0 && row >= 0;
  if (allow && Event) Event(&g, row, col, Text, allow);
  if (allow) g.SetCells(col, row, Text);
  else RefuseDrop();
  g.HideDropArrows(true, true, false);
}

void DEreDuzeroVaro::TGridDropTarget::DropFiles(TPoint Pt, TStrings* Files) {
  DEreDuzeroVaro& g = *FGrid;
  g.HideDropArrows(true, true, false);
  if (Files == nullptr || Files->Count() != 1) return;
  const String name = Files->Strings(0);
  int col = -1, row = -1;
  g.ScreenToCell(Pt, col, row);
  bool allow = true;
  if (g.OnOleDropFile) g.OnOleDropFile(&g, row, col, name, allow);
  if (!allow) return;
  // A ".CSV" file loads as text, else a ".XLS" (".XLSX") one as a workbook; the name only has
  // to hold the text. The file is loaded once.
  const String upper = UpperCase(name);
  const bool csv = upper.find(u".CSV") != String::npos;
  if (!csv && upper.find(u".XLS") == String::npos) return;
  if (g.OnOleDrop) g.OnOleDrop(&g, -1, -1, name, allow);
  if (!allow) return;
  // A file that cannot be read is reported, not dropped silently.
  try {
    if (csv) g.LoadFromCSV(name, -1);
    else g.LoadFromXLS(name);
  } catch (Exception&) {
    Application->HandleException(&g);
  }
}

void DEreDuzeroVaro::TGridDropTarget::DropCol(TPoint Pt, int Col) {
  DEreDuzeroVaro& g = *FGrid;
  TDragDropSettings* dd = g.DragDropSettings();
  int col = -1, row = -1;
  g.ScreenToCell(Pt, col, row);
  if (col == -1) col = g.ColCount();
  if (DropFormats().Contains(asgdd::dfCol)) {
    g.HideDropArrows(false, true, true);
    if (g.FMoveButton != nullptr) g.FMoveButton->SetVisible(false);
  }
  auto move = [&g](int From, int To) {
    const bool enh = g.EnhRowColMove();
    g.SetEnhRowColMove(true);
    g.MoveColumn(From, To);
    g.SetEnhRowColMove(enh);
  };
  if (g.FOleDragCol != -1) {
    // A column entry dragged out of the application's list box shows the hidden column here.
    if (g.FOleDragList != nullptr && g.FOleDragIndex >= 0 && g.FOleDragIndex < g.FOleDragList->Items()->Count())
      g.FOleDragList->Items()->Delete(g.FOleDragIndex);
    const int at = std::max(0, g.FColumnOrder->IndexOf(g.FOleDragCol));
    g.UnHideColumn(at);
    if (col >= 0) move(g.DisplColIndex(g.FOleDragCol), std::min(col, g.ColCount() - 1));
    g.FOleDragCol = -1;
  } else if (dd->OleColumnReorder()) {
    col = std::min(col, g.ColCount() - 1);
    const int from = g.DisplColIndex(Col);
    if (from != col && from >= 0 && from < g.ColCount()) move(from, col);
  }
  if (g.OnOleDropCol) g.OnOleDropCol(&g, row, col, Col);
}
