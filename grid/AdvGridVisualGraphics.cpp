// DEreDuzeroVaro: what a cell's graphic needs on screen, for autosizing and on paper, and the
// text a cell displays (links made of addresses, group counts appended).

#include <cmath>

#include "controls/VevAzez.h"
#include "grid/AdvGrid.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/WinUser.h"

namespace {

bool Beside(TCellHAlign A) { return A == haBeforeText || A == haAfterText; }
bool Stacked(TCellVAlign A) { return A == vaUnderText || A == vaAboveText; }

int ButtonWidth(const TCellGraphic* G) { return G->CellIndex() & 0xFFFF; }
int ButtonHeight(const TCellGraphic* G) { return static_cast<int>(static_cast<uint32_t>(G->CellIndex()) >> 16); }

// The grid's canvas while it paints, else a canvas on the screen's device: captions are
// measured outside painting too.
class TMeasureCanvas {
public:
  explicit TMeasureCanvas(TCanvas* GridCanvas) : FCanvas(GridCanvas) {
    if (FCanvas->HandleAllocated()) return;
    FScreenDC = GetDC(nullptr);
    FScreen.SetHandle(FScreenDC);
    FCanvas = &FScreen;
  }
  ~TMeasureCanvas() {
    if (!FScreenDC) return;
    FScreen.SetHandle(nullptr);
    ReleaseDC(nullptr, FScreenDC);
  }
  TMeasureCanvas(const TMeasureCanvas&) = delete;
  TMeasureCanvas& operator=(const TMeasureCanvas&) = delete;
  TCanvas* operator->() const { return FCanvas; }

private:
  TCanvas* FCanvas;
  TCanvas FScreen;
  HDC FScreenDC = nullptr;
};

// The prefixes a link is looked for in the text with, in this order.
constexpr const char16_t* UrlPrefixes[] = {u"HTTP://", u"WWW.", u"MAILTO:", u"HTTPS://",
                                           u"NNTP://", u"FILE://", u"FTP://"};

}  // namespace

TCustomImageList* DEreDuzeroVaro::GetImageList(int ACol, int ARow) {
  (void)ACol;
  (void)ARow;
  return FGridImages;
}

intptr_t DEreDuzeroVaro::GetCellImageValue(int ACol, int ARow) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  if (!g) return -1;
  switch (g->CellType()) {
    case ctBitmap: return reinterpret_cast<intptr_t>(g->CellBitmap());
    case ctIcon: return reinterpret_cast<intptr_t>(g->CellIcon());
    case ctImageList: return g->CellIndex();
    default: return -1;
  }
}

TCellGraphic* DEreDuzeroVaro::GetCellGraphicExtent(int ACol, int ARow, int& Width, int& Height, bool& ShowText,
                                                   TCellHAlign& HAlign, TCellVAlign& VAlign) {
  Width = Height = 0;
  ShowText = true;
  HAlign = haLeft;
  VAlign = vaTop;
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  if (!g) return nullptr;
  HAlign = g->CellHAlign();
  VAlign = g->CellVAlign();
  TCustomImageList* images = GetImageList(ACol, ARow);
  const int check = FControlLook->CheckSize();
  switch (g->CellType()) {
    case ctBitmap:
      if (TBitmap* b = g->CellBitmap()) {
        Width = b->Width();
        Height = b->Height();
      }
      break;
    case ctIcon:
      if (TIcon* i = g->CellIcon()) {
        Width = i->Width();
        Height = i->Height();
      }
      break;
    case ctImageList:
    case ctDataImage:
      if (images) {
        Width = images->Width();
        Height = images->Height();
        ShowText = g->CellType() == ctImageList;
      }
      break;
    case ctCheckBox:
    case ctTriStateCheckBox:
      Width = Height = check;
      break;
    case ctDataCheckBox:
    case ctVirtCheckBox:
    case ctRowCheckBox:
      Width = Height = check;
      ShowText = false;
      break;
    case ctRotated:
    case ctRadio:
    case ctProgress:
    case ctRangeIndicator:
    case ctXPProgress:
      ShowText = false;
      break;
    case ctImages:
      if (images) {
        const int n = g->CellIntList() ? g->CellIntList()->Count() : 0;
        Width = g->CellBoolean() ? n * images->Width() : images->Width();
        Height = g->CellBoolean() ? images->Height() : n * images->Height();
      }
      break;
    case ctPicture:
    case ctFilePicture: {
      const TPoint cell = CellSize(DisplColIndex(ACol), ARow);
      const TPoint p = g->GetPictureSize(cell.X, cell.Y, false);
      Width = p.X;
      Height = p.Y;
      break;
    }
    case ctButton:
    case ctBitButton:
      Width = ButtonWidth(g);
      Height = ButtonHeight(g);
      break;
    case ctProgressPie:
      Width = Height = 20;
      break;
    case ctRadioButton:
      Width = Height = FControlLook->RadioSize() + 4;
      break;
    case ctShape:
      Width = Height = RowHeights(ARow) - 2 * FXYOffset.Y;
      break;
    case ctRating:
      Width = g->CellAngle() * 18;
      Height = 16;
      ShowText = false;
      break;
    default:
      break;
  }
  return g;
}

TPoint DEreDuzeroVaro::GetCellGraphicSize(int ACol, int ARow) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  if (!g) return {0, 0};
  const bool hasText = !Cells(ACol, ARow).empty();
  const bool beside = Beside(g->CellHAlign()), stacked = Stacked(g->CellVAlign());
  TCustomImageList* images = GetImageList(ACol, ARow);
  int w = 0, h = 0;
  bool captionWidth = false;  // a full-width button measured by its caption keeps that width
  TMeasureCanvas canvas(Canvas());
  switch (g->CellType()) {
    case ctBitmap:
      if (TBitmap* b = g->CellBitmap()) {
        if (beside || !hasText) w = b->Width();
        if (stacked || !hasText) h = b->Height();
      }
      break;
    case ctIcon:
      if (TIcon* i = g->CellIcon()) {
        if (beside || !hasText) w = i->Width();
        h = i->Height();
      }
      break;
    case ctImageList:
    case ctDataImage:
      if (images) {
        if (beside || !hasText) w = images->Width();
        if (stacked || !hasText) h = images->Height();
      }
      break;
    case ctCheckBox:
    case ctDataCheckBox:
    case ctVirtCheckBox:
    case ctRowCheckBox:
    case ctTriStateCheckBox:
      w = h = FControlLook->CheckSize();
      break;
    case ctRadioButton:
      w = h = FControlLook->RadioSize();
      break;
    case ctProgressPie:
      w = h = 20;
      break;
    case ctRadio:
      if (TStrings* captions = g->CellStrings()) {
        canvas->Font()->Assign(Font());
        const int lineHeight = canvas->TextHeight(u"gh");
        if (g->CellBoolean()) {
          for (int i = 0; i < captions->Count(); ++i) w += 12 + canvas->TextWidth(captions->Strings(i));
          h = lineHeight;
        } else {
          w = 12;
          for (int i = 0; i < captions->Count(); ++i) w = std::max(w, 12 + canvas->TextWidth(captions->Strings(i)));
          h = captions->Count() * std::max(16, lineHeight);
        }
      }
      break;
    case ctImages:
      if (images) {
        const int n = g->CellIntList() ? g->CellIntList()->Count() : 0;
        w = g->CellBoolean() ? n * images->Width() : images->Width();
        h = g->CellBoolean() ? images->Height() : n * images->Height();
      }
      break;
    case ctPicture:
    case ctFilePicture: {
      const TPoint p = g->GetPictureSize(ColWidths(DisplColIndex(ACol)), RowHeights(ARow), hasText);
      w = p.X;
      h = p.Y;
      break;
    }
    case ctButton:
    case ctBitButton:
      w = ButtonWidth(g);
      h = ButtonHeight(g);
      if (g->CellHAlign() == haFull) {
        canvas->Font()->Assign(Font());
        w = canvas->TextWidth(g->CellText()) + 4;
        captionWidth = !g->CellText().empty();
      }
      if (hasText) {
        if (g->CellHAlign() == haCenter) w = 0;
        if (stacked) w = 0;
        else h = 0;
      }
      break;
    case ctRating:
      w = g->CellAngle() * 18;
      h = 16;
      break;
    case ctInterface:
      // The object's size; when it names no width or height, the cell's.
      if (auto* d = dynamic_cast<IGridCellDraw*>(g->CellInterface())) {
        w = d->GetWidth();
        h = d->GetHeight();
        if (w == 0 || h == 0) {
          const TRect cell = CellRect(DisplColIndex(ACol), ARow);
          w = cell.Right - cell.Left;
          h = cell.Bottom - cell.Top;
        }
      }
      break;
    default:
      return {0, 0};
  }
  const TRect r = CellRect(DisplColIndex(ACol), ARow);
  if (g->CellVAlign() == vaFull) h = r.Bottom - r.Top;
  if (g->CellHAlign() == haFull && g->CellType() != ctRating && !captionWidth) w = r.Right - r.Left;
  return {w, h};
}

TPoint DEreDuzeroVaro::GetCellGraphicPrintSize(int ACol, int ARow, int CellWidth, int CellHeight, double Scale) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  if (!g) return {0, 0};
  switch (g->CellType()) {
    case ctNone:
    case ctRotated:
    case ctEmpty:
    case ctValue:
    case ctComment:
    case ctSummary:
    case ctRangeIndicator:
    case ctScrollbar:
    case ctBalloon:
    case ctRating:
      return {0, 0};
    case ctBitmap:
      if (TBitmap* b = g->CellBitmap()) return {b->Width(), b->Height()};
      return {0, 0};
    case ctIcon:
      if (TIcon* i = g->CellIcon()) return {i->Width(), i->Height()};
      return {0, 0};
    case ctImageList:
    case ctDataImage: {
      TCustomImageList* images = GetImageList(ACol, ARow);
      if (!images) return {0, 0};
      const TPoint screen = GetCellGraphicSize(ACol, ARow);
      return {screen.X, images->Height()};
    }
    case ctPicture:
    case ctFilePicture: {
      const bool hasText = !Cells(ACol, ARow).empty();
      const TPoint p = g->GetPictureSize(CellWidth, CellHeight, hasText);
      if (Scale <= 0) return p;
      return {static_cast<int>(std::lround(p.X / Scale)), static_cast<int>(std::lround(p.Y / Scale))};
    }
    case ctNode:
      return {20, 20};
    case ctProgress:
    case ctXPProgress:
      return {ColWidths(DisplColIndex(ACol)), RowHeights(ARow)};
    case ctButton:
    case ctBitButton:
      return {ButtonWidth(g), ButtonHeight(g)};
    case ctShape: {
      const int side = RowHeights(ARow) - 2 * FXYOffset.Y;
      return {side, side};
    }
    case ctRadioButton:
      return {FControlLook->RadioSize(), FControlLook->RadioSize()};
    default:
      return GetCellGraphicSize(ACol, ARow);
  }
}

bool DEreDuzeroVaro::HasNodes() { return FNumNodes > 0; }

int DEreDuzeroVaro::GetNodeIndent(int ARow) {
  if (!HasNodes() || ARow < 0 || !HasCellProperties(0, ARow)) return 0;
  return GetCellProperties(0, ARow)->NodeLevel() * FCellNode->NodeIndent();
}

int DEreDuzeroVaro::NodeGroupCount(int ARow) {
  TCellGraphic* g = GetCellGraphic(0, ARow);
  if (!g || g->CellType() != ctNode) return 0;
  int span = g->CellIndex();
  if (span <= 0) {
    // Up to the next node row.
    span = 1;
    while (ARow + span < RowCount() && !IsNode(ARow + span)) ++span;
  }
  return span - g->CellErrFrom() - 1;
}

void DEreDuzeroVaro::GetDisplText(int ACol, int ARow, String& Value) {
  TBaseGrid::GetDisplText(ACol, ARow, Value);
  if (FURLShowInText) {
    for (const char16_t* prefix : UrlPrefixes) {
      String linked;
      if (LinkifyUrl(Value, prefix, linked)) {
        Value = linked;
        break;
      }
    }
  }
  if (FGrouping->ShowGroupCount() && ACol == 1 && IsNode(ARow)) {
    const int n = NodeGroupCount(ARow);
    const String& fmt = FGrouping->GroupCountFormat();
    Value += fmt.empty() ? u" (" + IntToStr(n) + u")" : Format(fmt, {n});
  }
}
