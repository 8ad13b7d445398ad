// DEreDuzeroVaro: the colours, font, alignment and draw state of a cell, decided in one place
// for painting, printing and measuring.

#include "dropdowns/AdvDropDown.h"
#include "grid/AdvGrid.h"

namespace {

bool IsControlKind(TCellType Kind) {
  return Kind == ctCheckBox || Kind == ctDataCheckBox || Kind == ctRadio || Kind == ctButton || Kind == ctRadioButton;
}

}  // namespace

TColor DEreDuzeroVaro::BlendColors(TColor Color1, TColor Color2, int Percent) {
  if (Percent >= 100) return Color1;
  if (Percent <= 0 || Color1 == clNone) return Color2;
  if (Color2 == clNone) return Color1;
  return BlendColor(Color1, Color2, Percent);
}

TColor DEreDuzeroVaro::BlendColorsIf(TColor Color1, TColor Color2, bool Blend, int Percent) {
  return Blend ? BlendColors(Color1, Color2, Percent) : Color1;
}

int DEreDuzeroVaro::VisualSelectionRow(int ARow) {
  const bool persistent = FMouseActions->DisjunctRowSelect() && FMouseActions->RowSelectPersistent();
  return persistent || FUseEnabledRows ? RealRowIndex(ARow) : ARow;
}

void DEreDuzeroVaro::GetVisualProperties(int ACol, int ARow, TGridDrawState& AState, bool Print, bool Select,
                                         bool Remap, TBrush* ABrush, TColor& AColorTo, TColor& AMirrorColor,
                                         TColor& AMirrorColorTo, TFont* AFont, TAlignment& HA, TVAlignment& VA,
                                         bool& WW, TCellGradientDirection& GD) {
  const int fixedCols = FixedCols(), fixedRows = TCustomGrid::FixedRows();
  const bool inFixedBand = ACol < fixedCols || ARow < fixedRows;

  // 1. The font of fixed and normal cells, on paper the print fonts unless the display's.
  if (Print && !FPrintSettings->UseDisplayFont())
    AFont->Assign(inFixedBand ? FPrintSettings->FixedFont() : FPrintSettings->Font());
  else
    AFont->Assign(inFixedBand ? FFixedFont.get() : Font());

  // 2. The cell's data lives in the real column; marks and enabled rows may follow real rows.
  const int RC = Remap ? RealColIndex(ACol) : ACol;
  const int selRow = VisualSelectionRow(ARow);

  // 3.
  ABrush->SetColor(clNone);
  AColorTo = clNone;
  AMirrorColor = clNone;
  AMirrorColorTo = clNone;

  // 4. The cell's own properties. Kinds without a control take the brush only when it is set
  // (and then keep it over fixed colours); the others take it as it is.
  bool ownColor = false, coloredControl = false;
  const TCellType kind = GetCellType(RC, ARow);
  if (HasCellProperties(RC, ARow)) {
    TCellProperties* p = GetCellProperties(RC, ARow);
    if (kind == ctNone || kind == ctRotated || kind == ctEmpty) {
      if (p->BrushColor() != clNone) {
        ABrush->SetColor(p->BrushColor());
        ownColor = true;
      }
    } else {
      ABrush->SetColor(p->BrushColor());
      coloredControl = IsControlKind(kind) && p->BrushColor() != clNone;
    }
    if (p->FontColor() != clNone) AFont->SetColor(p->FontColor());
    if (!p->FontStyle().Empty()) AFont->SetStyle(p->FontStyle());
    if (p->FontSize() != 0) AFont->SetSize(p->FontSize());
    if (!p->FontName().empty()) AFont->SetName(p->FontName());
    WW = p->WordWrap();
    AColorTo = p->BrushColorTo();
    GD = p->GradientDirection();
  }

  // 5. A selection gradient always runs top to bottom.
  if (AState.Contains(gdSelected)) GD = GradientVertical;

  // 6. Background defaults: the grid colour, the bands over the normal cells, the fixed colour
  // over fixed columns and rows, fixed right columns and footer rows.
  const int rightFixedFrom = ColCount() - FFixedRightCols;
  const int footerFrom = RowCount() - FFixedFooters;
  if (ABrush->Color() == clNone || (IsControlKind(kind) && !coloredControl)) {
    if (ABrush->Color() == clNone) ABrush->SetColor(Color());
    if (FBands->Active() && (!Print || FBands->Print()) && ACol >= fixedCols &&
        ACol < rightFixedFrom + FNumHidden && ARow >= fixedRows && ARow < footerFrom) {
      const int total = FBands->PrimaryLength() + FBands->SecondaryLength();
      if (total >= 1)
        ABrush->SetColor((ARow - fixedRows) % total < FBands->PrimaryLength() ? FBands->PrimaryColor()
                                                                              : FBands->SecondaryColor());
    }
    if (inFixedBand || ACol >= rightFixedFrom || ARow >= footerFrom) ABrush->SetColor(FixedColor());
  }

  // 7. Fixed cells without a colour of their own: fixed colour and font, and the look's header
  // gradient beyond the classic looks (also on paper).
  const bool fixedCell = IsFixed(ACol, ARow) || inFixedBand;
  if (fixedCell && !ownColor) {
    if (!Print) {
      ABrush->SetColor(FixedColor());
      AFont->Assign(FFixedFont.get());
      AState.Include(gdFixed);
    }
    if (FLook > glClassic) {
      ABrush->SetColor(FZOLGradientFrom);
      AColorTo = FZOLGradientTo;
      AMirrorColor = FZOLGradientMirrorFrom;
      AMirrorColorTo = FZOLGradientMirrorTo;
    }
  }

  // 8., 9. The application's colours.
  if (Print) GetCellPrintColor(RC, ARow, AState, ABrush, AFont);
  else GetCellColor(RC, ARow, AState, ABrush, AFont);
  if (OnGetCellGradient) {
    TColor color = ABrush->Color();
    OnGetCellGradient(this, ARow, RC, color, AColorTo, AMirrorColor, AMirrorColorTo, GD);
    ABrush->SetColor(color);
  }

  // 10. The colours a current cell outside the disjunct cell list falls back to.
  const TColor plainBrush = ABrush->Color(), plainFont = AFont->Color();

  // 11., 12. Selection.
  auto selectionColors = [&]() {
    AColorTo = FSelectionColorTo;
    AMirrorColor = FSelectionMirrorColor;
    AMirrorColorTo = FSelectionMirrorColorTo;
    if (FSelectionTextColor != clNone) AFont->SetColor(FSelectionTextColor);
  };
  auto showSelected = [&]() {
    AState = TGridDrawState{gdSelected};
    ABrush->SetColor(FSelectionColor);
    selectionColors();
  };
  const bool mouseDown = MouseSelecting();
  const bool ruleScope = !fixedCell && Select && !Print && FShowSelection;
  const bool inNormalCells = ACol >= fixedCols && ARow >= fixedRows;
  if (ruleScope && inNormalCells && FMouseActions->DisjunctRowSelect()) {
    // a. Marked rows; while the mouse is down the rows dragged over show selected as well.
    const bool marked = RowMarked(selRow);
    if ((marked && !(mouseDown && ARow == Row())) || (mouseDown && !marked && AState.Contains(gdSelected)))
      showSelected();
    else
      AState.Exclude(gdSelected);
  }
  if (ruleScope && inNormalCells && FMouseActions->DisjunctColSelect()) {
    // b. Marked columns.
    const bool marked = ColMarked(ACol);
    if ((marked && (!mouseDown || ACol != Col())) || (mouseDown && !marked && AState.Contains(gdSelected)))
      showSelected();
  }
  // c. The range selection, with the selection colour mixed into a coloured cell.
  const bool inRange = ruleScope && !FMouseActions->DisjunctRowSelect() && !FMouseActions->DisjunctColSelect() &&
                       IsSelected(ACol, ARow);
  if (inRange || (AState.Contains(gdSelected) && mouseDown && FShowSelection)) {
    ABrush->SetColor(ABrush->Color() == Color()
                         ? FSelectionColor
                         : BlendColorsIf(FSelectionColor, ABrush->Color(), FSelectionColorMixer,
                                         FSelectionColorMixerFactor));
    selectionColors();
    AState.Include(gdSelected);
  }
  // d. The disjunct cell list, fixed cells included; never on paper.
  if (FMouseActions->DisjunctCellSelect() && FShowSelection && !Print) {
    if (SelectedCells(ACol, ARow)) {
      showSelected();
    } else if (ACol == Col() && ARow == Row()) {
      AState.Exclude(gdSelected);
      ABrush->SetColor(plainBrush);
      AFont->SetColor(plainFont);
    }
  }

  // 13. The disabled look: a disabled row of the enabled-rows list, or a disabled grid.
  if (FUseDisabledFont && ((FUseEnabledRows && !RowEnabled(selRow)) || !Enabled()))
    AFont->SetColor(FDisabledFontColor);

  // 14.
  GetCellWordWrap(RC, ARow, WW);
  GetCellAlignment(RC, ARow, HA, VA);
}

void DEreDuzeroVaro::GetFontProperties(int ACol, int RCol, int ARow, TGridDrawState& AState, TFont* AFont,
                                       TBrush* ABrush, bool Remap) {
  (void)Remap;
  const bool fixedCell = IsFixed(ACol, ARow) || ACol < FixedCols() || ARow < TCustomGrid::FixedRows();
  AFont->Assign(fixedCell ? FFixedFont.get() : Font());
  if (HasCellProperties(RCol, ARow)) {
    TCellProperties* p = GetCellProperties(RCol, ARow);
    if (p->FontColor() != clNone) AFont->SetColor(p->FontColor());
    if (!p->FontStyle().Empty()) AFont->SetStyle(p->FontStyle());
    if (p->FontSize() != 0) AFont->SetSize(p->FontSize());
    if (!p->FontName().empty()) AFont->SetName(p->FontName());
  }
  GetCellColor(RCol, ARow, AState, ABrush, AFont);
}
