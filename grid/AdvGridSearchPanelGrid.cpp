// DEreDuzeroVaro: the search panel's side of the grid: the SearchFooter settings carried over
// to the panel, the client area above it, and the find handlers bound to its events.
#include <algorithm>

#include "grid/AdvGrid.h"
#include "grid/AdvGridSearchPanel.h"

namespace {

constexpr int kPanelHeight = 32;
constexpr int kButtonHeight = 23;
constexpr int kMatchCaseHeight = 18;

}  // namespace

// ===========================================================================
// Client area

TRect DEreDuzeroVaro::ClientRect() const {
  TRect r = TBaseGrid::ClientRect();
  if (FSearchPanel && FSearchPanel->Visible()) r.Bottom = std::max(r.Top, r.Bottom - FSearchPanel->Height());
  return r;
}

void DEreDuzeroVaro::AdjustClientRect(TRect& Rect) {
  TBaseGrid::AdjustClientRect(Rect);
  if (FSearchPanel && FSearchPanel->Visible()) Rect.Bottom = TBaseGrid::ClientRect().Bottom;
}

bool DEreDuzeroVaro::LastRowClearOfSearchFooter() {
  if (!FSearchFooter->Visible() || !FSearchPanel) return false;
  if (TopRow() + VisibleRowCount() < RowCount() - 1) return false;
  return CellRect(0, RowCount() - 1).Bottom < TBaseGrid::ClientRect().Bottom - FSearchPanel->Height() + 2;
}

void DEreDuzeroVaro::ScrollClearOfSearchFooter() {
  if (!FSearchFooter->Visible() || !FSearchPanel || RowCount() == 0) return;
  const int limit = TBaseGrid::ClientRect().Bottom - FSearchPanel->Height() + 2;
  if (TBaseGrid::ClientRect().Height() <= DefaultRowHeight() + FSearchPanel->Height()) return;
  while (Row() < RowCount() && TopRow() < RowCount() - 1) {
    const TRect last = CellRect(0, RowCount() - 1);
    if (last.Bottom <= limit) break;
    const int top = TopRow();
    SetTopRow(top + 1);
    if (TopRow() == top) break;  // the grid scrolls no further
  }
}

// ===========================================================================
// Settings

void DEreDuzeroVaro::UpdateSearchPanel(TObject* /*Sender*/) {
  if (IsLoading() || IsDestroying()) return;
  TSearchFooter* sf = FSearchFooter.get();
  if (!FSearchPanel) {
    // Made the first time it is to show.
    if (!sf->Visible()) return;
    FSearchPanel = new TSearchPanel(this);
    FSearchPanel->SetVisible(false);
    FSearchPanel->SetHeight(0);
    FSearchPanel->SetParent(this);
    FSearchPanel->SetAlign(alBottom);
    FSearchPanel->OnEditChange = [this](TObject* s) { SearchEditChange(s); };
    FSearchPanel->OnForwardClick = [this](TObject* s) { SearchForwardClick(s); };
    FSearchPanel->OnBackwardClick = [this](TObject* s) { SearchBackwardClick(s); };
    FSearchPanel->OnExitClick = [this](TObject* s) { SearchExitClick(s); };
    FSearchPanel->OnHighlightClick = [this](TObject* s) { SearchHighlightClick(s); };
  }
  TSearchPanel* p = FSearchPanel;
  const bool wasShown = p->Visible();

  if ((p->FHiliteButton->Down() && p->Visible() && !sf->Visible()) || sf->AlwaysHighLight()) UnHilightInGrid(false);

  p->SetColor(sf->Color());
  p->SetColorTo(sf->ColorTo());
  p->SetVisible(sf->Visible());

  p->FFindNextCaption = sf->FindNextCaption();
  p->FFindPrevCaption = sf->FindPrevCaption();
  p->FMatchCaseCaption = sf->MatchCaseCaption();
  p->FHighLightCaption = sf->HighLightCaption();
  p->FForwardButton->SetCaption(sf->FindNextCaption());
  p->FBackwardButton->SetCaption(sf->FindPrevCaption());
  p->FMatchCase->SetCaption(sf->MatchCaseCaption());
  p->FHiliteButton->SetCaption(sf->HighLightCaption());

  p->FHintFindNext = sf->HintFindNext();
  p->FHintFindPrev = sf->HintFindPrev();
  p->FHintClose = sf->HintClose();
  p->FHintHighlight = sf->HintHighlight();

  p->Font()->Assign(sf->Font());

  TAdvGridButton* const look[] = {p->FForwardButton, p->FBackwardButton, p->FHiliteButton};
  const TCellControlStyle style = FControlLook->ControlStyle();
  for (TAdvGridButton* b : look) {
    if (style == csFlat) b->SetFlat(true);
    if ((style == csWinXP || style == csTheme) && !AutoThemeAdapt()) {
      b->SetAutoXPStyle(true);
      b->SetFlat(false);
    }
    if (style == csClassic) {
      b->SetAutoXPStyle(false);
      b->SetFlat(false);
    }
    if (AutoThemeAdapt()) {
      b->SetAutoThemeAdapt(true);
      b->SetFlat(true);
    }
  }

  p->FHiliteButton->SetVisible(sf->ShowHighLight());
  p->FExitButton->SetVisible(sf->ShowClose());
  p->FMatchCase->SetVisible(sf->ShowMatchCase());
  p->FMatchCase->SetTransparent(true);
  p->FBackwardButton->SetVisible(sf->ShowFindPrev());
  p->FForwardButton->SetVisible(sf->ShowFindNext());

  p->ApplyHints();

  p->FMatchCase->SetLeft(p->FHiliteButton->Visible() ? 425 : 330);
  for (TAdvGridButton* b : look) b->SetHeight(b->Visible() ? kButtonHeight : 0);
  p->FMatchCase->SetHeight(p->FMatchCase->Visible() ? kMatchCaseHeight : 0);
  p->SetHeight(sf->Visible() ? kPanelHeight : 0);

  // The client area changed with the panel: the scroll range follows.
  if (wasShown != p->Visible()) {
    ScrollBarsRestyled();
    SetTopRow(TopRow());
  }
  if (sf->Visible()) ScrollClearOfSearchFooter();
}

// ===========================================================================
// Searching

int DEreDuzeroVaro::SearchPanelColumn() {
  const int c = FSearchFooter->SearchColumn();
  return c >= 0 && c < ColCount() ? c : -1;
}

bool DEreDuzeroVaro::SearchPanelHighlights() {
  return (FSearchPanel && FSearchPanel->FHiliteButton->Down()) || FSearchFooter->AlwaysHighLight();
}

void DEreDuzeroVaro::SearchPanelHighlight(const String& Text) {
  const bool matchCase = FSearchPanel->FMatchCase->Checked();
  const int col = SearchPanelColumn();
  if (col == -1) HilightInGrid(false, matchCase, Text);
  else HilightInCol(false, matchCase, col, Text);
}

void DEreDuzeroVaro::SearchPanelUnHighlight() {
  const int col = SearchPanelColumn();
  if (col == -1) UnHilightInGrid(false);
  else UnHilightInCol(false, col);
}

DEreDuzeroVaro::TFindParams DEreDuzeroVaro::SearchPanelParams() {
  TSearchFooter* sf = FSearchFooter.get();
  TFindParams params{fnAutoGoto};
  // Highlighted cells carry tags: the search reads through them.
  if (SearchPanelHighlights()) params.Include(fnIgnoreHTMLTags);
  if (FSearchPanel->FMatchCase->Checked()) params.Include(fnMatchCase);
  if (sf->SearchActiveColumnOnly()) params.Include(fnFindInCurrentCol);
  if (sf->SearchMatchStart()) params.Include(fnMatchStart);
  if (SearchPanelColumn() >= 0) {
    SetFindCol(SearchPanelColumn());
    params.Include(fnFindInPresetCol);
  }
  return params;
}

void DEreDuzeroVaro::SearchEditChange(TObject* /*Sender*/) {
  if (!FSearchPanel) return;
  TSearchFooter* sf = FSearchFooter.get();
  const String text = FSearchPanel->FEdit->Text();
  bool defaultSearch = true;
  if (OnSearchEditChange) OnSearchEditChange(this, text, defaultSearch);
  if (!defaultSearch || !sf->AutoSearch()) return;

  TFindParams params = SearchPanelParams();
  if (sf->SearchFixedCells()) params.Include(fnIncludeFixed);
  if (sf->SearchHiddenRows()) params.Include(fnIncludeHiddenRows);
  if (sf->SearchDirection() == sdLeftRight) params.Include(fnDirectionLeftRight);

  const bool highlights = SearchPanelHighlights();
  if (text.empty()) {
    FSearchPanel->Feedback(TSearchPanel::fbEmpty);
    if (highlights) SearchPanelUnHighlight();
    return;
  }
  if (highlights) SearchPanelUnHighlight();
  SearchCell = Find(TPoint(-1, -1), text, params);
  SearchFooterAction(text, SearchCell.X, SearchCell.Y, saFindFirst);
  if (SearchCell.X == -1) {
    FSearchPanel->Feedback(TSearchPanel::fbNotFound);
    return;
  }
  FSearchPanel->Feedback(TSearchPanel::fbFound);
  ScrollInView(Col(), Row());
  if (highlights) SearchPanelHighlight(text);
}

void DEreDuzeroVaro::SearchStep(bool Forward) {
  if (!FSearchPanel) return;
  TSearchFooter* sf = FSearchFooter.get();
  const String text = FSearchPanel->FEdit->Text();
  if (!sf->AutoSearch()) {
    if (sf->LastSearch() != text) SearchCell = TPoint(-1, -1);
    sf->SetLastSearch(text);
  }
  TFindParams params = SearchPanelParams();
  if (Forward) {
    if (sf->SearchDirection() == sdLeftRight) params.Include(fnDirectionLeftRight);
  } else {
    params.Include(fnBackward);
  }
  SearchCell = Find(SearchCell, text, params);
  const bool found = SearchCell.X != -1;
  if (Forward && found) ScrollInView(Col(), Row());
  // Keeps the hit clear of the bottom.
  const int f = FloatingFooter()->Visible() ? 1 : 0;
  if (TopRow() + VisibleRowCount() - f - 2 < Row() && VisibleRowCount() + FixedRows() + f < RowCount())
    SetTopRow(TopRow() + 2);
  if (!Forward && found) ScrollInView(Col(), Row());
  SearchFooterAction(text, SearchCell.X, SearchCell.Y, Forward ? saFindNext : saFindPrevious);
  FSearchPanel->Invalidate();
}

void DEreDuzeroVaro::SearchForwardClick(TObject* /*Sender*/) { SearchStep(true); }

void DEreDuzeroVaro::SearchBackwardClick(TObject* /*Sender*/) { SearchStep(false); }

void DEreDuzeroVaro::SearchExitClick(TObject* /*Sender*/) {
  if (OnSearchFooterClose) OnSearchFooterClose(this);
  FSearchFooter->SetVisible(false);
}

void DEreDuzeroVaro::SearchHighlightClick(TObject* /*Sender*/) {
  if (!FSearchPanel) return;
  if (FSearchPanel->FHiliteButton->Down()) SearchPanelHighlight(FSearchPanel->FEdit->Text());
  else SearchPanelUnHighlight();
}
