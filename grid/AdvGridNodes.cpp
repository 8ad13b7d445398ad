// DEreDuzeroVaro: node and summary rows, expanding and contracting nodes, child rows and expand
// cells.
//
// A contracted node keeps the rows of its span in the hidden-row store; everything here
// converts between real rows (hidden ones counted) and displayed rows where a routine's
// argument and the store's numbering differ.
#include <algorithm>
#include <vector>

#include "grid/AdvGrid.h"
#include "platform/rtl/ScopeGuard.h"
#include "platform/win/Gdi.h"

bool DEreDuzeroVaro::IsNode(int ARow) { return GetCellType(0, ARow) == ctNode; }

bool DEreDuzeroVaro::IsSummary(int ARow) { return GetCellType(0, ARow) == ctSummary; }

int DEreDuzeroVaro::GetExpandHeight(int ACol, int ARow, bool Expanded) {
  TPoint base = BaseCell(ACol, ARow);
  TCellGraphic* g = GetCellGraphic(base.X, base.Y);
  if (!g) return DefaultRowHeight();
  // An expand cell keeps the contracted height in its index and the expanded one in its angle.
  return Expanded ? g->CellAngle() : g->CellIndex();
}

// ===========================================================================
// Helpers

TCellGraphic* DEreDuzeroVaro::NodeGraphic(int ARow) {
  if (ARow < 0 || ARow >= RowCount()) return nullptr;
  TCellGraphic* g = GetCellGraphic(0, ARow);
  return g && g->CellType() == ctNode ? g : nullptr;
}

int DEreDuzeroVaro::RowNodeLevel(int ARow) {
  if (ARow < 0 || ARow >= RowCount() || !HasCellProperties(0, ARow)) return 0;
  return GetCellProperties(0, ARow)->NodeLevel();
}

void DEreDuzeroVaro::AddRowNodeLevel(int ARow, int Delta) {
  if (ARow < 0 || ARow >= RowCount()) return;
  if (Delta < 0 && !HasCellProperties(0, ARow)) return;
  TCellProperties* p = CellProperties(0, ARow);
  p->SetNodeLevel(std::max(0, p->NodeLevel() + Delta));
}

int DEreDuzeroVaro::ResolvedSpan(int ARow) {
  TCellGraphic* g = NodeGraphic(ARow);
  if (!g) return 0;
  if (g->CellIndex() > 0) return g->CellIndex();
  int n = ARow + 1;
  while (n < RowCount() && !IsNode(n)) ++n;
  return n - ARow;
}

// ===========================================================================
// Making and removing nodes

void DEreDuzeroVaro::AddNode(int ARow, int Span) {
  const int r = RealToDisplRow(ARow);
  if (ARow < 0 || r >= RowCount() || IsHiddenRow(ARow))
    throw VUreReriVorov(u"Invalid node row " + IntToStr(ARow));
  if (Span < 0 || r + Span > RowCount()) throw VUreReriVorov(u"Invalid node span " + IntToStr(Span));
  TCellGraphic* g = CreateCellGraphic(0, r);
  g->SetCellType(ctNode);
  g->SetCellBoolean(false);
  g->SetCellIndex(Span);
  g->SetCellHAlign(haBeforeText);
  g->SetCellVAlign(vaCenter);
  g->SetCellErrFrom(0);
  g->SetCellVar(int32_t(-1));
  for (int i = 0; i < Span; ++i) AddRowNodeLevel(r + i, 1);
  if (FNumNodes == 0) RepaintCol(0);
  ++FNumNodes;
  if (Col() == 0 && ColCount() > 1) SetCol(1);
}

void DEreDuzeroVaro::MarkSummaryRow(int ARow) {
  const int r = RealToDisplRow(ARow);
  if (r < 0 || r >= RowCount()) return;
  CreateCellGraphic(0, r)->SetCellType(ctSummary);
}

void DEreDuzeroVaro::RemoveNode(int ARow) {
  ExpandNodeSteps(ARow);
  const int r = DisplRowIndex(ARow);
  TCellGraphic* g = NodeGraphic(r);
  if (!g) return;
  const int span = g->CellIndex();
  for (int i = 0; i < span; ++i) AddRowNodeLevel(r + i, -1);
  RemoveCellGraphicOfType(0, r, ctNode);
  if (FNumNodes >= 1) --FNumNodes;
}

void DEreDuzeroVaro::RemoveAllNodes() {
  BeginUpdate();
  TScopeGuard end([this] { EndUpdate(); });
  for (int r = 0; r < RowCount(); ++r) {
    if (!IsNode(r)) continue;
    // Displayed row r is turned into its real row for the expansion.
    ExpandNodeSteps(DisplToRealRow(r));
    TCellGraphic* g = NodeGraphic(r);
    const int span = g ? g->CellIndex() : 0;
    for (int i = 0; i < span; ++i) AddRowNodeLevel(r + i, -1);
    RemoveCellGraphicOfType(0, r, ctNode);
    if (FNumNodes > 0) --FNumNodes;
  }
  Invalidate();
}

void DEreDuzeroVaro::RecountNodes() {
  int n = 0;
  for (int r = FixedRows(); r < RowCount(); ++r)
    if (NodeGraphic(r)) ++n;
  FNumNodes = n;
  if (n > 0) RepaintCol(0);
}

// ===========================================================================
// Node properties

bool DEreDuzeroVaro::GetNodeState(int ARow) {
  TCellGraphic* g = NodeGraphic(ARow);
  return g && g->CellBoolean();
}

void DEreDuzeroVaro::SetNodeState(int ARow, bool Value) {
  TCellGraphic* g = NodeGraphic(ARow);
  if (!g || g->CellBoolean() == Value) return;
  if (Value) ContractNode(DisplToRealRow(ARow));
  else ExpandNode(DisplToRealRow(ARow));
}

int DEreDuzeroVaro::GetNodeLevel(int ARow) { return NodeGraphic(ARow) ? RowNodeLevel(ARow) : -1; }

int DEreDuzeroVaro::GetNodeSpan(int ARow) {
  TCellGraphic* g = NodeGraphic(ARow);
  return g ? g->CellIndex() : -1;
}

void DEreDuzeroVaro::SetNodeSpan(int ARow, int Span) {
  if (TCellGraphic* g = NodeGraphic(ARow)) g->SetCellIndex(Span);
}

void DEreDuzeroVaro::UpdateNodeSpan(int ARow, int Delta) {
  if (TCellGraphic* g = NodeGraphic(ARow)) g->SetCellIndex(g->CellIndex() + Delta);
}

int DEreDuzeroVaro::GetSubNodeCount(int ARow) {
  TCellGraphic* g = NodeGraphic(ARow);
  return g ? g->CellErrFrom() : 0;
}

void DEreDuzeroVaro::UpdateSubNodeCount(int ARow, int Delta) {
  if (TCellGraphic* g = NodeGraphic(ARow)) g->SetCellErrFrom(g->CellErrFrom() + Delta);
}

// ===========================================================================
// Expanding and contracting

void DEreDuzeroVaro::ExpandNodeSteps(int ARow) {
  const int r = RealToDisplRow(ARow);
  TCellGraphic* g = NodeGraphic(r);
  if (!g || !g->CellBoolean()) return;
  g->SetCellBoolean(false);
  int n = r + 1;
  if (g->CellIndex() == 0)
    while (n < RowCount() && !IsNode(n)) ++n;
  const int oldTop = TopRow(), oldRow = Row();
  const bool disjunct = FMouseActions->DisjunctRowSelectDirect();
  FMouseActions->SetDisjunctRowSelectDirect(false);
  const bool rowSelect = Options().Contains(goRowSelect);
  if (rowSelect) SetOptions(Options() - goRowSelect);
  const bool locked = FControlList->Count() == 0;
  if (locked) BeginUpdate();
  {
    TScopeGuard restore([&] {
      FMouseActions->SetDisjunctRowSelectDirect(disjunct);
      if (locked) EndUpdate();
    });
    // Displayed row r + 1 is the first row after the folded span, so every hidden real row
    // between the node and it comes back, the rows of folded sub-nodes included.
    UnHideRows(DisplToRealRow(r) + 1, DisplToRealRow(n) - 1);
    if (rowSelect) {
      SetOptions(Options() + goRowSelect);
      if (oldRow >= TCustomGrid::FixedRows() && oldRow < RowCount()) SetRow(oldRow);
      if (oldTop >= TCustomGrid::FixedRows() && oldTop < RowCount()) SetTopRow(oldTop);
    }
  }
  CalcFooter(-1);
}

void DEreDuzeroVaro::ExpandNode(int ARow) {
  if (FCellNode->ExpandOne()) {
    const int count = RowCount();
    for (int row = FixedRows(); row < count && row < RowCount(); ++row) {
      TCellGraphic* g = NodeGraphic(row);
      if (g && !g->CellBoolean()) ContractNode(DisplToRealRow(row));
    }
  }
  ExpandNodeSteps(ARow);
}

void DEreDuzeroVaro::ContractNode(int ARow) {
  HideInplaceEdit();
  FForceSel = true;
  TScopeGuard force([this] { FForceSel = false; });
  const int r = RealToDisplRow(ARow);
  TCellGraphic* g = NodeGraphic(r);
  if (!g || g->CellBoolean()) return;
  g->SetCellBoolean(true);
  int e = r + g->CellIndex();
  if (g->CellIndex() <= 0) {
    e = r + 1;
    while (e < RowCount() && !IsNode(e)) ++e;
  }
  e = std::min(e, RowCount());
  int i = r + 1, s = i;
  while (i < e) {
    TCellGraphic* sub = NodeGraphic(i);
    if (sub && sub->CellBoolean()) {
      // A contracted sub-node: its rows are hidden already; it is folded into this node's
      // hidden range and marked expanded, so that expanding this node shows every row.
      sub->SetCellBoolean(false);
      const int subSpan = sub->CellIndex();
      const int real1 = DisplToRealRow(i + 1);
      for (int k = 0; k < FControlList->Count(); ++k) {
        TControlItem* item = FControlList->Control(k);
        if (item->X() == 1 && item->Y() == real1 && item->Control()) item->Control()->SetVisible(false);
      }
      HideRows(DisplToRealRow(s), DisplToRealRow(i));
      e = e - subSpan - (i - s);
      i = s;
    } else {
      ++i;
    }
  }
  if (s <= i - 1) HideRows(DisplToRealRow(s), DisplToRealRow(i - 1));
  CalcFooter(-1);
}

void DEreDuzeroVaro::ExpandAll() {
  BeginUpdate();
  {
    TScopeGuard end([this] { EndUpdate(); });
    // Every node is expanded on its own (ExpandOne would contract the others again).
    const int count = AllRowCount();
    for (int row = FixedRows(); row < count && row < RowCount(); ++row)
      if (NodeGraphic(row)) {
        ExpandNodeSteps(DisplToRealRow(row));
        NodeGraphic(row)->SetCellBoolean(false);
      }
  }
  CalcFooter(-1);
}

void DEreDuzeroVaro::ContractAll() {
  BeginUpdate();
  TScopeGuard end([this] { EndUpdate(); });
  ExpandAll();
  // The spans of the top nodes, as real row ranges; nodes inside keep their expanded mark.
  std::vector<std::pair<int, int>> ranges;
  int r = FixedRows();
  while (r < RowCount()) {
    TCellGraphic* g = NodeGraphic(r);
    if (!g) {
      ++r;
      continue;
    }
    g->SetCellBoolean(true);
    const int span = ResolvedSpan(r);
    if (span > 1) ranges.emplace_back(DisplToRealRow(r + 1), DisplToRealRow(r + span - 1));
    r += std::max(span, 1);
  }
  // From the bottom up, so that each block moves only the rows behind it.
  for (auto it = ranges.rbegin(); it != ranges.rend(); ++it) HideRows(it->first, it->second);
  CellControlsUpdate(false);
  CalcFooter(-1);
}

// ===========================================================================
// Tree structure

int DEreDuzeroVaro::GetParentRow(int ARow) {
  if (!HasNodes()) return -1;
  int level = 65535, result = -1;
  if (NodeGraphic(ARow)) {
    level = RowNodeLevel(ARow);
    result = ARow;
  }
  int hidden = 0;
  for (int p = std::min(ARow, RowCount() - 1); p >= FixedRows(); --p) {
    TCellGraphic* g = NodeGraphic(p);
    if (!g || RowNodeLevel(p) >= level) continue;
    const int span = g->CellIndex();
    if (g->CellBoolean()) hidden += span - 1;
    if (p + span - hidden > ARow) return p;
  }
  return result;
}

int DEreDuzeroVaro::GetNodeSpanType(int ARow) {
  if (IsNode(ARow)) return 0;
  if (ARow >= RowCount() - FixedFooters() - 1) return 1;
  if (!HasCellProperties(0, ARow + 1)) return 1;
  return RowNodeLevel(ARow + 1) < RowNodeLevel(ARow) ? 1 : 2;
}

bool DEreDuzeroVaro::IsNodeGlyphHit(int ARow, int X) {
  if (!FMouseActions->PreciseNodeClick()) return true;
  const int L = GetNodeLevel(ARow), I = FCellNode->NodeIndent();
  int a = 4, b = 4;
  switch (FCellNode->NodeType()) {
    case cnFlat: a = 4; b = 4; break;
    case cn3D: a = 6; b = 0; break;
    case cnGlyph: {
      TBitmap* glyph = FCellNode->ExpandGlyph();
      const bool empty = !glyph || glyph->Empty();
      a = empty ? 0 : glyph->Width() / 2;
      b = empty ? 0 : 2;
      break;
    }
    case cnLeaf: a = 8; b = 2; break;
    case cnXP: a = 4; b = 4; break;
  }
  // A mirrored grid's point is measured from its right edge.
  X = MirrorX(X);
  return (L - 1) * I + b < X && X < L * I + a;
}

// ===========================================================================
// Rows inside nodes

void DEreDuzeroVaro::InsertNormalRow(int ARow) {
  // The insertion moves the stored hidden rows behind it along.
  InsertRows(DisplRowIndex(ARow), 1);
}

void DEreDuzeroVaro::RemoveNormalRow(int ARow) {
  if (ARow < 0 || ARow >= RowCount()) return;
  RemoveRows(ARow, 1);
  FMaxRowCount = std::max(0, FMaxRowCount - 1);
}

void DEreDuzeroVaro::InsertChildRow(int ARow, int InsertAt) {
  const int r = DisplRowIndex(ARow);
  if (ARow < 0 || r >= RowCount()) return;
  int lvl = 1;
  const int p = GetParentRow(r);
  if (p != -1) {
    UpdateNodeSpan(p, 1);
    UpdateSubNodeCount(p, 1);
    ExpandNode(DisplToRealRow(p));
    lvl = RowNodeLevel(p);
  }
  int m = lvl, q = p;
  while (m > 1 && q != -1 && q >= FixedRows()) {
    const int up = GetParentRow(q);
    if (up == -1 || up == q) break;
    q = up;
    if (RowNodeLevel(q) < m) {
      UpdateNodeSpan(q, 1);
      UpdateSubNodeCount(q, 1);
      ExpandNode(DisplToRealRow(q));
      m = RowNodeLevel(q);
    }
  }
  const bool moveContent = NodeGraphic(r) && InsertAt == 0;
  if (moveContent) InsertAt = 1;
  InsertRows(r + InsertAt, 1);
  if (moveContent) {
    // The node keeps its graphic in column 0; its texts and the other columns' objects go down.
    for (int c = 0; c < ColCount(); ++c) {
      const int rc = RealColIndex(c);
      SetGridCells(rc, r + 1, GridCells(rc, r));
      SetGridCells(rc, r, String());
      if (c > 0) {
        SetGridObjects(rc, r + 1, GridObjects(rc, r));
        SetGridObjects(rc, r, nullptr);
      }
    }
  }
  if (p != -1) CellProperties(0, r + InsertAt)->SetNodeLevel(lvl);
}

void DEreDuzeroVaro::RemoveChildRow(int ARow) {
  const int r = DisplRowIndex(ARow);
  if (ARow < 0 || r >= RowCount()) return;
  int p = GetParentRow(r);
  if (p == r) p = -1;  // a top node row has no enclosing node
  if (p != -1) {
    const int lvl = RowNodeLevel(p);
    auto shrink = [this](int Node) {
      if (GetNodeSpan(Node) > 1) {
        UpdateNodeSpan(Node, -1);
        UpdateSubNodeCount(Node, -1);
      }
      ExpandNode(DisplToRealRow(Node));
    };
    shrink(p);
    while (RowNodeLevel(p) > 1) {
      const int up = GetParentRow(p);
      if (up == -1 || up == p || RowNodeLevel(up) >= lvl) break;
      p = up;
      shrink(p);
    }
  }
  // The row removal moves the embedded controls and hidden rows behind the row along.
  RemoveRowRange(r, 1);
  FMaxRowCount = std::max(0, FMaxRowCount - 1);
}

// ===========================================================================
// Expand cells

void DEreDuzeroVaro::AddExpand(int ACol, int ARow, int ExpandedHeight) {
  TCellGraphic* g = CreateCellGraphic(ACol, ARow);
  g->SetCellType(ctExpand);
  g->SetCellAngle(ExpandedHeight);
  g->SetCellIndex(RowHeights(ARow));
  g->SetCellVar(false);
}

bool DEreDuzeroVaro::ToggleExpand(int ACol, int ARow) {
  TPoint base = BaseCell(ACol, ARow);
  TCellGraphic* g = GetCellGraphic(base.X, base.Y);
  if (!g) return false;
  const bool* state = std::get_if<bool>(&g->CellVar());
  const bool value = !(state && *state);
  g->SetCellVar(value);
  return value;
}

bool DEreDuzeroVaro::GetExpandState(int ACol, int ARow) {
  TPoint base = BaseCell(ACol, ARow);
  TCellGraphic* g = GetCellGraphic(base.X, base.Y);
  if (!g) return false;
  const bool* state = std::get_if<bool>(&g->CellVar());
  return state && *state;
}
