// The string grid's hooks: each makes the grid's own decision, then fires its event so the
// application can change it; a descendant may override any of them.
#include <algorithm>

#include "controls/HtmlText.h"
#include "controls/VevAzez.h"
#include "grid/AdvGrid.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/WinUser.h"

// ===========================================================================
// Cell graphics and texts

TCellGraphic* DEreDuzeroVaro::GetCellGraphic(int ACol, int ARow) {
  if (ACol < 0 || ARow < 0) return nullptr;
  TObject* object = GetGraphicObjectEx(ACol, ARow);
  auto* g = dynamic_cast<TCellGraphic*>(object);
  if (object && !g) return nullptr;  // an application's object is no graphic
  if (ACol != 0 || !FMouseActions->HotmailRowSelect()) return g;
  // The row check boxes of the row selection: the header's is checked when every normal row is
  // selected and partial when only some are.
  TCellGraphic* box = FCellGraphic.get();
  box->SetCellType(ctRowCheckBox);
  const int normalRows = RowCount() - TCustomGrid::FixedRows();
  if (ARow == 0) {
    const int selected = RowSelectCount();
    box->SetCellAngle(selected > 0 && selected < normalRows ? 1 : 0);
    box->SetCellBoolean(selected >= normalRows);
  } else {
    const int real = RealRowIndex(ARow);
    box->SetCellAngle(0);
    box->SetCellBoolean(real < AllRowCount() && RowSelect(real));
  }
  box->SetCellTransparent(FControlLook->ControlStyle() == csFlat);
  return box;
}

TCellType DEreDuzeroVaro::GetCellType(int ACol, int ARow) {
  if (ACol < 0 || ARow < 0) return ctEmpty;
  if (ACol == 0 && FMouseActions->HotmailRowSelect()) return ctRowCheckBox;
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  return g ? g->CellType() : ctEmpty;
}

String DEreDuzeroVaro::GetCellsEx(int ACol, int ARow) {
  if (ACol < 0 || ARow < 0) return String();
  // A hidden row is read from its stored cells; the others from their display row.
  if (const TGridItem* h = HiddenRowOf(ARow)) {
    String s = h->Text(ACol);
    GetDisplText(ACol, ARow, s);
    return s;
  }
  return Cells(ACol, DisplRowIndex(ARow));
}

String DEreDuzeroVaro::GetFormattedCell(int ACol, int ARow) {
  const String s = Cells(ACol, ARow);
  if (!OnGetFloatFormat) return s;
  const uint8_t kind = NumberTextKind(Trim(s));
  if (kind != 0 && kind != 1 && kind != 5) return s;
  bool isFloat = true;
  String fmt = FFloatFormat;
  OnGetFloatFormat(this, ACol, ARow, isFloat, fmt);
  if (!isFloat || fmt.empty()) return s;
  // The format is the application's: a conversion or a format that does not fit the value
  // leaves the cell text as it is.
  try {
    if (fmt.find(u'd') != String::npos) return Format(fmt, {Ints(ACol, ARow)});
    return Format(fmt, {Floats(ACol, ARow)});
  } catch (const Exception&) {
    return s;
  }
}

String DEreDuzeroVaro::GetSaveCellText(int ACol, int ARow) {
  String s = FSaveVirtCells ? GetFormattedCell(ACol, ARow) : GridCells(ACol, ARow);
  const TCellType kind = GetCellType(ACol, ARow);
  if (s.empty() && kind == ctCheckBox) {
    bool checked = false;
    GetCheckBoxState(ACol, ARow, checked);
    if (checked) GetCheckTrue(ACol, ARow, s);
    else GetCheckFalse(ACol, ARow, s);
  } else if (s.empty() && kind == ctTriStateCheckBox) {
    TCheckBoxState state = cbUnchecked;
    GetCheckBoxState(ACol, ARow, state);
    if (state == cbChecked) GetCheckTrue(ACol, ARow, s);
    else GetCheckFalse(ACol, ARow, s);
  }
  switch (ClassifyCellText(s, true)) {
    case 1:
      if (!FSaveWithHTML) s = HtmlToPlainText(s);
      break;
    case 2:
      if (FSaveWithRTF) {
        s.erase(std::remove_if(s.begin(), s.end(), [](Char c) { return c == u'\r' || c == u'\n'; }), s.end());
      } else {
        s = RichTextToPlain(s);
      }
      break;
    default:
      break;
  }
  if (OnSaveCell) OnSaveCell(this, ACol, ARow, s);
  return s;
}

void DEreDuzeroVaro::LoadCell(int ACol, int ARow, const String& Value) {
  String v = Value;
  if (OnLoadCell) OnLoadCell(this, ACol, ARow, v);
  SetGridCells(ACol, ARow, v);
}

void DEreDuzeroVaro::CellsChanged(TRect R) {
  if (OnCellsChanged) OnCellsChanged(this, R);
  // A notifier may unregister itself while it is told.
  std::vector<TGridChangeNotifier*> notifiers = FNotifierList;
  for (TGridChangeNotifier* n : notifiers)
    if (std::find(FNotifierList.begin(), FNotifierList.end(), n) != FNotifierList.end()) n->CellsChanged(R);
  CalcFooter(-1);
}

// ===========================================================================
// Hooks

void DEreDuzeroVaro::CanEditCell(int ACol, int ARow, bool& CanEdit) {
  if (OnCanEditCell) OnCanEditCell(this, ARow, ACol, CanEdit);
}

void DEreDuzeroVaro::SearchFooterAction(const String& Value, int ACol, int ARow, TSearchAction Action) {
  if (OnSearchFooterAction) OnSearchFooterAction(this, Value, ACol, ARow, Action);
}

void DEreDuzeroVaro::ButtonClick(int ACol, int ARow) {
  if (OnButtonClick) OnButtonClick(this, ACol, ARow);
}

void DEreDuzeroVaro::ExpandClick(int ACol, int ARow, bool Expanded) {
  if (OnExpandClick) OnExpandClick(this, ACol, ARow, Expanded);
  SetRowHeights(ARow, GetExpandHeight(ACol, ARow, Expanded));
}

void DEreDuzeroVaro::ComboCloseUp(int ARow, int ACol) {
  if (OnComboCloseUp) OnComboCloseUp(this, ARow, ACol);
}

void DEreDuzeroVaro::ComboDropDown(int ARow, int ACol) {
  if (OnComboDropDown) OnComboDropDown(this, ARow, ACol);
}

void DEreDuzeroVaro::GetCellCursor(int ACol, int ARow, int X, int Y) {
  if (!OnGetCellCursor) return;
  TCursor cursor = Cursor();
  OnGetCellCursor(this, ACol, ARow, X, Y, cursor);
  ::SetCursor(Screen->Cursors(cursor));
}

void DEreDuzeroVaro::GridHint(int ACol, int ARow, String& Hint, String& WideHint) {
  if (OnGridHint) OnGridHint(this, ARow, ACol, Hint);
  FOfficeHint->Notes()->SetText(Hint);
  if (OnGridWideHint) OnGridWideHint(this, ARow, ACol, WideHint);
  if (!WideHint.empty()) Hint = PackWideText(WideHint);
  if (OnOfficeHint) OnOfficeHint(this, ACol, ARow, FOfficeHint.get());
}

void DEreDuzeroVaro::GetCellColor(int ACol, int ARow, TGridDrawState AState, TBrush* ABrush, TFont* AFont) {
  if (FActiveCellShow) {
    int dcol = DisplColIndex(ACol);
    bool rowHeader = FixedCols() > 0 && dcol == FixedCols() - 1 && ARow == Row();
    bool colHeader = TCustomGrid::FixedRows() > 0 && ARow == TCustomGrid::FixedRows() - 1 && dcol == Col();
    if (rowHeader || colHeader) {
      AFont->Assign(FActiveCellFont.get());
      ABrush->SetColor(FActiveCellColor);
    }
  }
  if (HasCellProperties(ACol, ARow)) {
    TCellProperties* p = GetCellProperties(ACol, ARow);
    TCellType kind = GetCellType(ACol, ARow);
    static const TCellTypes brushKinds{ctEmpty, ctIcon, ctNone, ctImageList, ctImages, ctComment};
    if (brushKinds.Contains(kind) && p->BrushColor() != clNone) ABrush->SetColor(p->BrushColor());
    if (p->FontColor() != clNone) AFont->SetColor(p->FontColor());
    if (!p->FontStyle().Empty()) AFont->SetStyle(p->FontStyle());
    if (p->FontSize() != 0) AFont->SetSize(p->FontSize());
    if (!p->FontName().empty()) AFont->SetName(p->FontName());
  }
  if (OnGetCellColor) OnGetCellColor(this, ARow, ACol, AState, ABrush, AFont);
}

void DEreDuzeroVaro::GetCellPrintColor(int ACol, int ARow, TGridDrawState AState, TBrush* ABrush, TFont* AFont) {
  if (OnGetCellPrintColor) OnGetCellPrintColor(this, ARow, ACol, AState, ABrush, AFont);
}

void DEreDuzeroVaro::GetCellBorder(int ACol, int ARow, TPen* APen, TCellBorders& Borders) {
  if (ACol > 0 && FGrouping->HeaderUnderline() && IsNode(ARow)) {
    Borders = TCellBorders{cbBottom};
    APen->SetColor(FGrouping->HeaderLineColor());
    APen->SetWidth(FGrouping->HeaderLineWidth());
  }
  if (ACol > 0 && FGrouping->SummaryLine() && IsSummary(ARow)) {
    Borders = TCellBorders{cbTop};
    APen->SetColor(FGrouping->SummaryLineColor());
    APen->SetWidth(FGrouping->SummaryLineWidth());
  }
  if (OnGetCellBorder) OnGetCellBorder(this, ARow, ACol, APen, Borders);
}

void DEreDuzeroVaro::GetCellPrintBorder(int ACol, int ARow, TPen* APen, TCellBorders& Borders) {
  if (OnGetCellPrintBorder) OnGetCellPrintBorder(this, ARow, ACol, APen, Borders);
}

void DEreDuzeroVaro::GetAlignment(int ACol, int ARow, TAlignment& HAlign, TVAlignment& VAlign) {
  if (ACol == 0 && FMouseActions->HotmailRowSelect()) HAlign = taCenter;
  if (OnGetAlignment) OnGetAlignment(this, ARow, ACol, HAlign, VAlign);
}

void DEreDuzeroVaro::GetFormat(int ACol, TSortStyle& AStyle, String& APrefix, String& ASuffix) {
  if (OnGetFormat) OnGetFormat(this, ACol, AStyle, APrefix, ASuffix);
}

void DEreDuzeroVaro::QueryEditorType(int ACol, int ARow, TEditorType& AEditor) {
  if (OnGetEditorType) OnGetEditorType(this, ACol, ARow, AEditor);
}

void DEreDuzeroVaro::GetEditorType(int ACol, int ARow, TEditorType& AEditor) {
  if (OnGetEditorType) OnGetEditorType(this, ACol, ARow, AEditor);
}

bool DEreDuzeroVaro::HasNoEditor(int ACol, int ARow) {
  if (!OnGetEditorType) return false;
  TEditorType editor = edNormal;
  OnGetEditorType(this, ACol, ARow, editor);
  return editor == edNone;
}

void DEreDuzeroVaro::IsFixedCell(int ACol, int ARow, bool& IsFixed) {
  IsFixed = IsFixed || (FFixedRowAlways && ARow <= FFixedRowsMin && RowCount() == FFixedRowsMin) ||
            (FFixedColAlways && ACol < FFixedColsMin && ColCount() == FFixedColsMin) || ACol < FixedCols() ||
            ARow < TCustomGrid::FixedRows();
  if (!IsFixed && OnIsFixedCell) OnIsFixedCell(this, ARow, ACol, IsFixed);
}

bool DEreDuzeroVaro::IsFixed(int ACol, int ARow) {
  // The footer rows and the fixed right columns are fixed as well.
  bool fixed = (FFixedFooters > 0 && ARow >= RowCount() - FFixedFooters) ||
               (FFixedRightCols > 0 && ACol >= ColCount() - FFixedRightCols);
  IsFixedCell(ACol, ARow, fixed);
  return fixed;
}

void DEreDuzeroVaro::CellEditAllowed(int ACol, int ARow, bool& Allow) {
  TPoint base = BaseCell(ACol, ARow);
  if (HasCellProperties(base.X, base.Y) && Allow) {
    Allow = !GetCellProperties(base.X, base.Y)->ReadOnly();
    if (!Options().Contains(goEditing) && !FMouseActions->RangeSelectAndEdit()) Allow = false;
  }
  if (base.X < ColCount() + FNumHidden) CanEditCell(base.X, base.Y, Allow);
  else Allow = true;
}

void DEreDuzeroVaro::IsPasswordCell(int ACol, int ARow, bool& IsPassword) {
  if (OnIsPasswordCell) OnIsPasswordCell(this, ARow, ACol, IsPassword);
}

void DEreDuzeroVaro::GetCellWordWrap(int ACol, int ARow, bool& WordWrap) {
  if (OnGetWordWrap) OnGetWordWrap(this, ACol, ARow, WordWrap);
}

bool DEreDuzeroVaro::HasComboBox(int ACol, int ARow) {
  if (OnHasComboBox) {
    bool has = false;
    OnHasComboBox(this, ACol, ARow, has);
    return has;
  }
  if (!FControlLook->DropDownAlwaysVisible()) return false;
  TEditorType editor = FDefaultEditor;
  GetEditorType(ACol, ARow, editor);
  return editor == edComboEdit || editor == edComboList;
}

bool DEreDuzeroVaro::HasSpinEdit(int ACol, int ARow) {
  if (ACol < FixedCols() || ARow < TCustomGrid::FixedRows()) return false;
  if (OnHasSpinEdit) {
    bool has = false;
    OnHasSpinEdit(this, ACol, ARow, has);
    return has;
  }
  if (!FControlLook->SpinButtonsAlwaysVisible()) return false;
  TEditorType editor = FDefaultEditor;
  QueryEditorType(ACol, ARow, editor);
  return editor == edSpinEdit || editor == edFloatSpinEdit || editor == edTimeSpinEdit || editor == edDateSpinEdit;
}

void DEreDuzeroVaro::GetCheckTrue(int ACol, int ARow, String& Value) {
  Value = FCheckTrue;
  if (OnGetCheckTrue) OnGetCheckTrue(this, ACol, ARow, Value);
}

void DEreDuzeroVaro::GetCheckFalse(int ACol, int ARow, String& Value) {
  Value = FCheckFalse;
  if (OnGetCheckFalse) OnGetCheckFalse(this, ACol, ARow, Value);
}

bool DEreDuzeroVaro::BuildFilterList(int ACol) {
  FFilterList->Clear();
  if (FFilterDropDownAuto && ACol >= FixedCols()) {
    FFilterList->SetSorted(true);
    FFilterList->SetDuplicates(dupIgnore);
    // A value with a space shows as itself and filters on its quoted form.
    auto add = [this](const String& Value) {
      if (Value.find(u' ') != String::npos) FFilterList->Add(Value + u"=\"" + Value + u"\"");
      else FFilterList->Add(Value);
    };
    for (int r = TCustomGrid::FixedRows(); r <= RowCount() - FFixedFooters - 1; ++r) add(Trim(Cells(ACol, r)));
    if (!FFilterIncremental) {
      for (const TGridItem& h : HiddenRows())
        if (ACol < h.Width()) add(Trim(h.Text(ACol)));
    }
    FFilterList->SetSorted(false);
    if (!FFilterDropDownClear.empty()) FFilterList->Insert(0, FFilterDropDownClear);
  }
  if (OnGetColumnFilter) OnGetColumnFilter(this, ACol, FFilterList.get());
  return FFilterList->Count() > 0;
}

void DEreDuzeroVaro::CanAddRow(bool& CanAdd) {
  if (OnCanAddRow) OnCanAddRow(this, CanAdd);
}

void DEreDuzeroVaro::CanInsertRow(int ARow, bool& CanInsert) {
  if (OnCanInsertRow) OnCanInsertRow(this, ARow, CanInsert);
}

void DEreDuzeroVaro::CheckBoxChange(int ACol, int ARow, bool State) {
  if (OnCheckBoxChange) OnCheckBoxChange(this, ACol, ARow, State);
}

void DEreDuzeroVaro::CheckBoxClick(int ACol, int ARow, bool State) {
  if (OnCheckBoxClick) OnCheckBoxClick(this, ACol, ARow, State);
}

bool DEreDuzeroVaro::RatingChange(int ACol, int ARow, double& NewRate) {
  bool allow = true;
  if (OnRatingChange) OnRatingChange(this, ACol, ARow, NewRate, allow);
  return allow;
}

void DEreDuzeroVaro::UpdateColumnSize(int ACol, int& AWidth) {
  if (OnUpdateColumnSize) OnUpdateColumnSize(this, ACol, AWidth);
}

void DEreDuzeroVaro::UpdateAutoColumnSize(int ACol, int& AWidth) {
  if (OnUpdateColumnSize) OnUpdateColumnSize(this, ACol, AWidth);
}

void DEreDuzeroVaro::FixedEdit(int ACol, int ARow, TGridFixedCellEditor AEditor, TStrings* Values) {
  if (OnFixedEdit) OnFixedEdit(this, ACol, ARow, AEditor, Values);
}

void DEreDuzeroVaro::SelectionChanged(int ALeft, int ATop, int ARight, int ABottom) {
  // These looks draw the selection with gradients that span several cells.
  if (FLook == glVista || FLook == glWin7 || FLook == glOffice2007) {
    const TGridRect s = Selection();
    RepaintRect(TRect(s.Left, s.Top, s.Right, s.Bottom));
  }
  if (OnSelectionChanged) OnSelectionChanged(this, ALeft, ATop, ARight, ABottom);
}

void DEreDuzeroVaro::AutoInsertRow(int ARow) { InsertRows(ARow, 1); }

void DEreDuzeroVaro::AutoDeleteRow(int ARow) {
  // The grid keeps one normal row: the last one left is emptied rather than removed.
  const bool lastNormalRow = RowCount() - TCustomGrid::FixedRows() - FFixedFooters == 1;
  if (lastNormalRow && !FFixedRowAlways) ClearRows(ARow, 1);
  else RemoveRowRange(ARow, 1);
  if (OnAutoDeleteRow) OnAutoDeleteRow(this, ARow);
}

void DEreDuzeroVaro::FilterDone() {
  if (OnFilterDone) OnFilterDone(this);
}

void DEreDuzeroVaro::PrintGetPageNum(int PageNum, int PageColNum, String& PageNumString) {
  if (OnPrintGetPageNum) OnPrintGetPageNum(this, PageNum, PageColNum, PageNumString);
}

void DEreDuzeroVaro::StartBlockFocus() {
  if (OnStartBlockFocus) OnStartBlockFocus(this);
}

void DEreDuzeroVaro::EndBlockFocus() {
  if (OnEndBlockFocus) OnEndBlockFocus(this);
}

void DEreDuzeroVaro::MouseActionsIsDesigning(TObject*, bool& IsDesigning) {
  IsDesigning = ComponentState().Contains(csDesigning);
}

void DEreDuzeroVaro::MouseActionsInvalidate(TObject*) { Invalidate(); }

void DEreDuzeroVaro::DisableEditing(TObject*) {
  TGridOptions opts = Options();
  opts.Exclude(goEditing);
  SetOptions(opts);
}

// A new cell record starts from the grid's font (the fixed font in fixed cells) and colour, and
// stores no background of its own where the grid's look decides it: fixed cells, bands and a
// gradient background. It takes nothing from the colour events or from a record the cell has:
// what they decide is asked again at every paint.
void DEreDuzeroVaro::GetCellDefaults(int ACol, int ARow, TFont* AFont, TBrush* ABrush, TColor& ColorTo,
                                     TColor& MirrorColor, TColor& MirrorColorTo, TAlignment& HAlign,
                                     TVAlignment& VAlign, bool& WordWrap, TCellGradientDirection& GradientDirection) {
  TBaseGrid::GetCellDefaults(ACol, ARow, AFont, ABrush, ColorTo, MirrorColor, MirrorColorTo, HAlign, VAlign, WordWrap,
                             GradientDirection);
  const bool fixed = IsFixed(ACol, ARow);
  if (fixed) AFont->Assign(FFixedFont.get());
  if (fixed || FBands->Active() || FBackGround->Display() == bdGradientHorz ||
      FBackGround->Display() == bdGradientVert) {
    ABrush->SetColor(clNone);
    ColorTo = clNone;
  }
}
