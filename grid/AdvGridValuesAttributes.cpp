// Per-cell attributes kept in the cell records, and the row-wide colour writes.
#include "controls/VevAzez.h"
#include "grid/AdvGrid.h"

namespace {
// The record of a cell inside the grid, nullptr without one (never makes one).
TCellProperties* RecordOf(TBaseGrid& G, int ACol, int ARow) {
  return G.HasCellProperties(ACol, ARow) ? G.CellProperties(ACol, ARow) : nullptr;
}
}  // namespace

void DEreDuzeroVaro::RepaintRealCell(int ACol, int ARow) { RepaintCell(DisplColIndex(ACol), ARow); }

TColor DEreDuzeroVaro::Colors(int ACol, int ARow) {
  TCellProperties* p = RecordOf(*this, ACol, ARow);
  return p ? p->BrushColor() : clNone;
}

void DEreDuzeroVaro::SetColors(int ACol, int ARow, TColor Value) {
  CellProperties(ACol, ARow)->SetBrushColor(Value);
  if (FUpdateCount == 0) RepaintRealCell(ACol, ARow);
}

TColor DEreDuzeroVaro::ColorsTo(int ACol, int ARow) {
  TCellProperties* p = RecordOf(*this, ACol, ARow);
  return p ? p->BrushColorTo() : clNone;
}

void DEreDuzeroVaro::SetColorsTo(int ACol, int ARow, TColor Value) {
  CellProperties(ACol, ARow)->SetBrushColorTo(Value);
  RepaintRealCell(ACol, ARow);
}

TCellGradientDirection DEreDuzeroVaro::Gradients(int ACol, int ARow) {
  TCellProperties* p = RecordOf(*this, ACol, ARow);
  return p ? p->GradientDirection() : GradientVertical;
}

void DEreDuzeroVaro::SetGradients(int ACol, int ARow, TCellGradientDirection Value) {
  CellProperties(ACol, ARow)->SetGradientDirection(Value);
  RepaintRealCell(ACol, ARow);
}

TColor DEreDuzeroVaro::FontColors(int ACol, int ARow) {
  TCellProperties* p = RecordOf(*this, ACol, ARow);
  return p ? p->FontColor() : clNone;
}

void DEreDuzeroVaro::SetFontColors(int ACol, int ARow, TColor Value) {
  CellProperties(ACol, ARow)->SetFontColor(Value);
  RepaintRealCell(ACol, ARow);
}

TFontStyles DEreDuzeroVaro::FontStyles(int ACol, int ARow) {
  TCellProperties* p = RecordOf(*this, ACol, ARow);
  return p ? p->FontStyle() : TFontStyles();
}

void DEreDuzeroVaro::SetFontStyles(int ACol, int ARow, const TFontStyles& Value) {
  CellProperties(ACol, ARow)->SetFontStyle(Value);
  RepaintRealCell(ACol, ARow);
}

String DEreDuzeroVaro::FontNames(int ACol, int ARow) {
  TCellProperties* p = RecordOf(*this, ACol, ARow);
  return p ? p->FontName() : String();
}

void DEreDuzeroVaro::SetFontNames(int ACol, int ARow, const String& Value) {
  CellProperties(ACol, ARow)->SetFontName(Value);
  RepaintRealCell(ACol, ARow);
}

int DEreDuzeroVaro::FontSizes(int ACol, int ARow) {
  TCellProperties* p = RecordOf(*this, ACol, ARow);
  return p ? p->FontSize() : 0;
}

void DEreDuzeroVaro::SetFontSizes(int ACol, int ARow, int Value) {
  CellProperties(ACol, ARow)->SetFontSize(Value);
  RepaintRealCell(ACol, ARow);
}

TAlignment DEreDuzeroVaro::Alignments(int ACol, int ARow) {
  TCellProperties* p = RecordOf(*this, ACol, ARow);
  return p ? p->Alignment() : taLeftJustify;
}

void DEreDuzeroVaro::SetAlignments(int ACol, int ARow, TAlignment Value) {
  CellProperties(ACol, ARow)->SetAlignment(Value);
  RepaintRealCell(ACol, ARow);
}

bool DEreDuzeroVaro::WordWraps(int ACol, int ARow) { return CellProperties(ACol, ARow)->WordWrap(); }

void DEreDuzeroVaro::SetWordWraps(int ACol, int ARow, bool Value) {
  CellProperties(ACol, ARow)->SetWordWrap(Value);
  RepaintRealCell(ACol, ARow);
}

bool DEreDuzeroVaro::ReadOnly(int ACol, int ARow) { return CellProperties(ACol, ARow)->ReadOnly(); }

void DEreDuzeroVaro::SetReadOnly(int ACol, int ARow, bool Value) {
  CellProperties(ACol, ARow)->SetReadOnly(Value);
  RepaintRealCell(ACol, ARow);
}

void DEreDuzeroVaro::SetCellFont(int ACol, int ARow, TFont* Value) {
  TCellProperties* p = CellProperties(ACol, ARow);
  p->SetFontName(Value->Name());
  p->SetFontSize(Value->Size());
  p->SetFontStyle(Value->Style());
  p->SetFontColor(Value->Color());
  if (FUpdateCount == 0) RepaintRealCell(ACol, ARow);
}

int DEreDuzeroVaro::LinesInCell(int ACol, int ARow) { return LineCount(Cells(ACol, ARow), true); }

bool DEreDuzeroVaro::IsPlainRecord(int ACol, int ARow, TCellProperties* P) {
  // What a new record of the cell holds; a cleared attribute may also read clNone or empty.
  TFont font;
  font.Assign(Font());
  TBrush brush;
  TColor colorTo = clNone, mirror = clNone, mirrorTo = clNone;
  TAlignment ha = taLeftJustify;
  TVAlignment va = vtaTop;
  bool ww = TBaseGrid::WordWrap();
  TCellGradientDirection gd = GradientVertical;
  GetCellDefaults(ACol, ARow, &font, &brush, colorTo, mirror, mirrorTo, ha, va, ww, gd);
  auto either = [](auto v, auto a, auto b) { return v == a || v == b; };
  return either(P->BrushColor(), clNone, brush.Color()) && either(P->BrushColorTo(), clNone, colorTo) &&
         either(P->FontColor(), clNone, font.Color()) && either(P->FontName(), String(), font.Name()) &&
         either(P->FontSize(), 0, font.Size()) && either(P->FontStyle(), TFontStyles(), font.Style()) &&
         P->CellObject() == nullptr && P->GraphicObject() == nullptr && P->Control() == nullptr &&
         P->CalcObject() == nullptr && P->CalcType() == acNONE && P->IsBaseCell() && P->CellSpanX() == -1 &&
         P->CellSpanY() == -1 && !P->ReadOnly() && P->Editor() == edNormal && P->NodeLevel() == 0 &&
         P->BorderWidth() == 0 && P->Alignment() == ha && P->VAlignment() == va && P->WordWrap() == ww &&
         P->GradientDirection() == gd;
}

void DEreDuzeroVaro::DropPlainRecord(int ACol, int ARow) {
  if (HasCellProperties(ACol, ARow) && IsPlainRecord(ACol, ARow, CellProperties(ACol, ARow)))
    FreeCellProperties(ACol, ARow);
}

void DEreDuzeroVaro::SetRowColor(int ARow, TColor AColor) {
  for (int c = FixedCols(); c < AllColCount(); ++c) {
    if (AColor == clNone) {
      if (!HasCellProperties(c, ARow)) continue;
      CellProperties(c, ARow)->SetBrushColor(clNone);
      DropPlainRecord(c, ARow);
    } else {
      CellProperties(c, ARow)->SetBrushColor(AColor);
    }
  }
  RepaintRow(ARow);
}

void DEreDuzeroVaro::SetRowColorTo(int ARow, TColor AColor) {
  for (int c = FixedCols(); c < AllColCount(); ++c) {
    if (AColor == clNone) {
      if (!HasCellProperties(c, ARow)) continue;
      CellProperties(c, ARow)->SetBrushColorTo(clNone);
      DropPlainRecord(c, ARow);
    } else {
      CellProperties(c, ARow)->SetBrushColorTo(AColor);
    }
  }
  RepaintRow(ARow);
}

void DEreDuzeroVaro::SetRowFontColor(int ARow, TColor AColor) {
  for (int c = FixedCols(); c < AllColCount(); ++c) {
    if (AColor == clNone) {
      // A cell with a background colour keeps its font colour.
      if (!HasCellProperties(c, ARow) || Colors(c, ARow) != clNone) continue;
      CellProperties(c, ARow)->SetFontColor(clNone);
      DropPlainRecord(c, ARow);
    } else {
      CellProperties(c, ARow)->SetFontColor(AColor);
    }
  }
  RepaintRow(ARow);
}
