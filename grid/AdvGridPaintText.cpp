// The text step of the cell painter: filter glyph, the cell's share of the background picture
// or gradient, the selection rectangle, then the cell text as tagged text or plain text (with
// the URL look), and the sort indicator of a sorted header. Also the grid-wide background
// copiers and the sort indicator painter.

#include <algorithm>
#include <cmath>
#include <optional>

#include "controls/HtmlText.h"
#include "controls/VevAzez.h"
#include "grid/AdvGrid.h"
#include "platform/win/Gdi.h"
#include "platform/win/WinUser.h"

namespace {

void Line(TCanvas* C, int X1, int Y1, int X2, int Y2) {
  C->MoveTo(X1, Y1);
  C->LineTo(X2, Y2);
}

// The part of a URL text shown without the full URL: everything after "://", else after
// "mailto:".
String ShortUrl(const String& S) {
  size_t p = S.find(u"://");
  if (p != String::npos) return S.substr(p + 3);
  p = S.find(u"mailto:");
  if (p != String::npos) return S.substr(p + 7);
  return S;
}

bool MouseButtonHeld() {
  return GetKeyState(VK_LBUTTON) < 0 || GetKeyState(VK_RBUTTON) < 0 || GetKeyState(VK_MBUTTON) < 0;
}

bool IsUrlText(const String& S) { return S.find(u"://") != String::npos || S.find(u"mailto:") != String::npos; }

// A number inside 0..Count-1 wrapped, for tile phases (Count > 0).
int Wrap(int Value, int Count) {
  int m = Value % Count;
  return m < 0 ? m + Count : m;
}

}  // namespace

void DEreDuzeroVaro::DrawTransparent(TCanvas* ACanvas, int X, int Y, TBitmap* Bitmap) {
  if (!Bitmap || Bitmap->Empty()) return;
  bool was = Bitmap->Transparent();
  if (!was) Bitmap->SetTransparent(true);
  // On a mirrored canvas the bitmap goes the right way round at its mirrored place.
  const TUnmirroredDC upright(ACanvas->Handle());
  const TRect at = upright.Flip(TRect(X, Y, X + Bitmap->Width(), Y + Bitmap->Height()));
  ACanvas->Draw(at.Left, at.Top, Bitmap);
  if (!was) Bitmap->SetTransparent(false);
}

// ===========================================================================
// Background

void DEreDuzeroVaro::PaintBackgroundPicture(TRect R) {
  TBitmap* bmp = FBackGround->Bitmap();
  if (bmp->Empty()) return;
  const TRect pic(FBackGround->Left(), FBackGround->Top(), FBackGround->Left() + bmp->Width(),
                  FBackGround->Top() + bmp->Height());
  RECT part;
  if (!IntersectRect(&part, &pic, &R)) return;
  Canvas()->CopyRect(part, bmp->Canvas(),
                     TRect(part.Left - pic.Left, part.Top - pic.Top, part.Right - pic.Left, part.Bottom - pic.Top));
}

void DEreDuzeroVaro::PaintBackgroundTiled(TRect R) {
  TBitmap* bmp = FBackGround->Bitmap();
  if (bmp->Empty()) return;
  const int w = bmp->Width(), h = bmp->Height();
  for (int y = R.Top - 1; y < R.Bottom; y += h)
    for (int x = R.Left - 1; x < R.Right; x += w) {
      int cw = std::min(w, R.Right - x), ch = std::min(h, R.Bottom - y);
      Canvas()->CopyRect(TRect(x, y, x + cw, y + ch), bmp->Canvas(), TRect(0, 0, cw, ch));
    }
}

void DEreDuzeroVaro::PaintCellBackgroundPicture(const TCellPaint& P, const TRect& R) {
  TBitmap* bmp = FBackGround->Bitmap();
  TCanvas* c = P.Canvas;
  if (FBackGround->Display() != bdTile) {
    const TRect pic(FBackGround->Left(), FBackGround->Top(), FBackGround->Left() + bmp->Width(),
                    FBackGround->Top() + bmp->Height());
    RECT part;
    if (!IntersectRect(&part, &pic, &R)) return;
    c->CopyRect(part, bmp->Canvas(),
                TRect(part.Left - pic.Left, part.Top - pic.Top, part.Right - pic.Left, part.Bottom - pic.Top));
    return;
  }
  // Tiles continue across cells: the phase is the distance from the first background
  // column (row) to this one, modulo the picture's size.
  const bool normal = FBackGround->Cells() == bcNormal;
  const int firstCol = normal ? FixedCols() : 0, firstRow = normal ? FixedRows() : 0;
  const int w = bmp->Width(), h = bmp->Height();
  int px = 0, py = 0;
  for (int i = firstCol; i < P.ACol; ++i) px += ColWidths(i);
  for (int i = firstRow; i < P.ARow; ++i) py += RowHeights(i);
  px = Wrap(px, w);
  py = Wrap(py, h);
  int sy = py;
  for (int y = R.Top - 1; y < R.Bottom; y += h - sy, sy = 0) {
    int sx = px;
    for (int x = R.Left - 1; x < R.Right; x += w - sx, sx = 0) {
      int cw = std::min(w - sx, R.Right - x), ch = std::min(h - sy, R.Bottom - y);
      c->CopyRect(TRect(x, y, x + cw, y + ch), bmp->Canvas(), TRect(sx, sy, sx + cw, sy + ch));
    }
  }
}

void DEreDuzeroVaro::PaintCellBackgroundGradient(const TCellPaint& P, const TRect& R) {
  TCanvas* c = P.Canvas;
  const bool horz = FBackGround->Display() == bdGradientHorz;
  const TRect client = ClientRect();
  const int span = horz ? client.Width() : client.Height();
  if (span <= 0) return;
  auto at = [&](int Pos) {
    Pos = std::clamp(Pos, 0, span);
    return InterpolateColor(FBackGround->Color(), FBackGround->ColorTo(), 0, span, Pos);
  };
  TColor from = horz ? at(R.Left) : at(R.Top), to = horz ? at(R.Right) : at(R.Bottom);
  c->Brush()->SetColor(to);
  c->Pen()->SetColor(to);
  FillGradient(c, from, to, 128, R, horz);
}

void DEreDuzeroVaro::PaintSelectionRectangle(const TCellPaint& P, const TRect& R) {
  TGridRect sel = Selection();
  int l = std::min(sel.Left, sel.Right), r = std::max(sel.Left, sel.Right);
  int t = std::min(sel.Top, sel.Bottom), b = std::max(sel.Top, sel.Bottom);
  if (IsMergedCell(l, t)) {
    TPoint base = BaseCell(l, t);
    l = base.X;
    t = base.Y;
  }
  if (P.ACol < l || P.ACol > r || P.ARow < t || P.ARow > b) return;
  TCanvas* c = P.Canvas;
  const int glw = GridLineWidth();
  c->Pen()->SetColor(SelectionRectangleColor());
  c->Pen()->SetWidth(2);
  const int right = P.ACol == ColCount() - 1 ? R.Right - 1 : R.Right;
  if (P.ACol == l) Line(c, R.Left - glw + 1, R.Top - glw, R.Left - glw + 1, R.Bottom + 1);
  if (P.ACol == r) Line(c, R.Right - 1, R.Top - glw, R.Right - 1, R.Bottom + 1);
  if (P.ARow == t) Line(c, R.Left - glw, R.Top - glw + 1, right, R.Top - glw + 1);
  if (P.ARow == b) Line(c, R.Left - glw, R.Bottom, right, R.Bottom);
  if (SelectionResizer() && P.ACol == r && P.ARow == b) {
    TRect cell = CellRect(P.ACol, P.ARow);
    c->Brush()->SetColor(SelectionRectangleColor());
    c->FillRect(TRect(cell.Right - 4, cell.Bottom - 4, cell.Right, cell.Bottom));
  }
  c->Pen()->SetWidth(1);
}

// ===========================================================================
// Sort indicator

bool DEreDuzeroVaro::IsSortedHeader(int RCol, int ARow, int& IndexPos) {
  TSortSettings* ss = FSortSettings.get();
  IndexPos = FSortIndexes->Count() > 0 ? FSortIndexes->FindIndex(RCol) : -1;
  if (!ss->Show() || ARow != ss->Row() || RowCount() <= 2 || FixedRows() <= 0) return false;
  if (RCol != ss->Column() && IndexPos < 0) return false;
  if (!(RCol + 1 > FixedCols() || ss->FixedCols())) return false;
  return IndexPos < 1 || ss->IndexShow();
}

void DEreDuzeroVaro::DrawSortIndicator(TCanvas* ACanvas, int ACol, int X, int Y) {
  TSortSettings* ss = FSortSettings.get();
  const bool glyphs = !ss->UpGlyph()->Empty() && !ss->DownGlyph()->Empty();
  const int pos = ss->IndexShow() ? FSortIndexes->FindIndex(ACol) : -1;
  if (pos >= 0) {
    const bool descending = !FSortIndexes->SortDirections(pos);
    const bool indexGlyphs = !ss->IndexUpGlyph()->Empty() && !ss->IndexDownGlyph()->Empty();
    ACanvas->Brush()->SetColor(ss->IndexColor());
    ACanvas->Pen()->SetColor(clBlack);
    TFont saved;
    saved.Assign(ACanvas->Font());
    ACanvas->Font()->SetColor(clBlack);
    ACanvas->Font()->SetSize(6);
    if (descending) {
      if (!indexGlyphs) {
        TPoint pts[3] = {TPoint(X - 7, Y - 5), TPoint(X + 7, Y - 5), TPoint(X, Y + 8)};
        ACanvas->Polygon(pts, 3);
      } else {
        DrawTransparent(ACanvas, X - 7, Y - 7, ss->IndexUpGlyph());
      }
    } else {
      if (!indexGlyphs) {
        TPoint pts[3] = {TPoint(X - 6, Y + 8), TPoint(X + 6, Y + 8), TPoint(X, Y - 4)};
        ACanvas->Polygon(pts, 3);
      } else {
        DrawTransparent(ACanvas, X - 7, Y - 7, ss->IndexDownGlyph());
      }
    }
    int oldMode = SetBkMode(ACanvas->Handle(), TRANSPARENT);
    {
      // The index reads the right way round at its mirrored place.
      const String index = IntToStr(pos + 1);
      const TUnmirroredDC upright(ACanvas->Handle());
      const TRect at = upright.Flip(TRect(X - 2, 0, X - 2 + ACanvas->TextWidth(index), 0));
      ACanvas->TextOut(at.Left, descending ? Y - 4 : Y - 2, index);
    }
    SetBkMode(ACanvas->Handle(), oldMode);
    ACanvas->Font()->Assign(&saved);
    return;
  }
  const bool descending = ss->Direction() == sdDescending;
  if (!glyphs) {
    TPen* pen = ACanvas->Pen();
    pen->SetWidth(1);
    if (descending) {
      pen->SetColor(clWhite);
      ACanvas->MoveTo(X + 4, Y - 4);
      ACanvas->LineTo(X, Y + 4);
      pen->SetColor(static_cast<TColor>(0x808080));
      ACanvas->LineTo(X - 4, Y - 4);
      ACanvas->LineTo(X + 4, Y - 4);
    } else {
      pen->SetColor(clWhite);
      ACanvas->MoveTo(X - 4, Y + 4);
      ACanvas->LineTo(X + 4, Y + 4);
      ACanvas->LineTo(X, Y - 4);
      pen->SetColor(static_cast<TColor>(0x808080));
      ACanvas->LineTo(X - 4, Y + 4);
    }
    pen->SetColor(clBlack);
  } else {
    DrawTransparent(ACanvas, X - 4, Y - 4, descending ? ss->DownGlyph() : ss->UpGlyph());
    SetBkColor(ACanvas->Handle(), ColorToRGB(FixedColor()));
  }
}

// ===========================================================================
// The text step

void DEreDuzeroVaro::PaintCellText(TCellPaint& P, const TRect& R) {
  TCanvas* c = P.Canvas;
  TBrush* brush = c->Brush();
  TFont* font = c->Font();
  const TGridRect sel = Selection();

  // 1. The selected look of the text.
  const bool rowSelected = Options().Contains(goRowSelect) && P.ARow >= std::min(sel.Top, sel.Bottom) &&
                           P.ARow <= std::max(sel.Top, sel.Bottom) && P.ACol >= FixedCols() &&
                           P.ACol < ColCount() - FFixedRightCols;
  TColor anchor = URLColor();
  if ((P.State.Contains(gdSelected) || rowSelected) && !P.Fixed) {
    if (ShowSelection()) {
      if (SelectionColor() != clNone) brush->SetColor(SelectionColor());
      if (SelectionTextColor() != clNone) font->SetColor(SelectionTextColor());
      anchor = SelectionTextColor();
    } else if (!Focused() || HasCheckBox(P.RCol, P.ARow)) {
      brush->SetColor(P.SavedBrush);
      font->SetColor(P.SavedFont);
    }
  }

  // 2. The text to show.
  String s = GetFormattedCell(P.RCol, P.ARow);
  uint8_t kind = ClassifyCellText(s, EnableHTML());
  if (kind == 3) {
    s = GetPrintCellText(P.RCol, P.ARow);
    kind = ClassifyCellText(s, EnableHTML());
  }
  int errPos = 0, errLen = 0;
  GetMarker(P.RCol, P.ARow, errPos, errLen);
  bool password = false;
  IsPasswordCell(P.RCol, P.ARow, password);
  if (password) FillStringChars(s, PasswordChar());

  // 3. The text rectangle.
  TRect T = R;
  if (P.Fixed) {
    T.Left += GridLineWidth();
    T.Top += GridLineWidth();
  }
  int savedDC = 0;
  if (P.ScrollPos > 0) {
    savedDC = SaveDC(c->Handle());
    IntersectClipRect(c->Handle(), R.Left, R.Top, R.Right, R.Bottom);
    T.Top -= P.ScrollPos;
  }
  struct TRestore {
    TCanvas* C;
    int& DC;
    ~TRestore() {
      if (DC) RestoreDC(C->Handle(), DC);
    }
  } restore{c, savedDC};

  // 4. The filter glyph.
  if (P.FilterGlyph) {
    bool active = false;
    for (int i = 0; i < FFilter->Count(); ++i)
      if (FFilter->Items(i)->Column() == P.RCol) active = true;
    TBitmap* glyph = active ? FFilterDropDown->GlyphActive() : FFilterDropDown->Glyph();
    if (glyph->Empty()) {
      if (TBitmap* def = GlyphBitmap(u"ASGFILT")) {
        const TUnmirroredDC upright(c->Handle());
        DrawBitmapTransparent(c, def, FixedColor(), upright.Flip(TRect(R.Right - 16, R.Top, R.Right, R.Top + def->Height())));
      }
    } else {
      DrawTransparent(c, R.Right - 16, R.Top, glyph);
    }
  }

  // 5. Disjoint row and column selection show only the marked rows and columns selected.
  if (!P.Fixed && !MouseButtonHeld()) {
    const bool rowOff = FMouseActions->DisjunctRowSelect() &&
                        !(P.SelRow >= 0 && P.SelRow < static_cast<int>(FRowSelect.size()) && FRowSelect[P.SelRow]);
    const bool colOff = FMouseActions->DisjunctColSelect() &&
                        !(P.RCol >= 0 && P.RCol < static_cast<int>(FColSelect.size()) && FColSelect[P.RCol]);
    if (rowOff || colOff) {
      anchor = URLColor();
      brush->SetColor(Color());
      font->SetColor(Font()->Color());
      GetCellColor(P.RCol, P.ARow, P.State, brush, font);
      if (ZoomFactor() != 0) font->SetSize(font->Size() + ZoomFactor());
    }
  }

  // 6. and 7. The background picture or gradient behind cells without a colour of their own.
  const TBackGroundCells bc = FBackGround->Cells();
  const bool kindMatches = P.Fixed ? bc != bcNormal : bc != bcFixed;
  const bool ownColour = HasCellProperties(P.RCol, P.ARow) && GetCellProperties(P.RCol, P.ARow)->BrushColor() != clNone;
  if (!FBackGround->Bitmap()->Empty() && !ownColour && kindMatches &&
      (!ShowSelection() || !P.State.Contains(gdSelected))) {
    const int glw = GridLineWidth();
    PaintCellBackgroundPicture(P, TRect(R.Left - glw + 1, R.Top - glw + 1, R.Right, R.Bottom));
  }
  if (FBackGround->Display() == bdGradientHorz || FBackGround->Display() == bdGradientVert) {
    static const TCellTypes controlKinds{ctCheckBox, ctDataCheckBox, ctRadio, ctButton, ctRadioButton};
    const bool controlCell = P.Graphic && controlKinds.Contains(P.Graphic->CellType());
    const bool selColours = ShowSelection() && P.State.Contains(gdSelected) &&
                            (!P.State.Contains(gdFocused) || Options().Contains(goDrawFocusSelected));
    if ((!ownColour || controlCell) && kindMatches && !selColours) {
      const int glw = GridLineWidth();
      PaintCellBackgroundGradient(P, TRect(R.Left - 1, R.Top - glw, R.Right, R.Bottom + glw - 1));
    }
  }

  // 8. The selection rectangle.
  if (SelectionRectangle() && !P.Fixed) PaintSelectionRectangle(P, R);

  // 9. A graphic that hides the text ends the step.
  if (!P.ShowText) return;

  // 10. Offsets and the room the graphic takes.
  T.Left += FXYOffset.X;
  T.Top += FXYOffset.Y;
  if (!FXYOffsetTopLeftOnly) T.Right -= FXYOffset.X;
  if (P.Graphic) {
    if (P.GraphicHAlign == haBeforeText) T.Left += P.GraphicWidth;
    if (P.GraphicHAlign == haAfterText) T.Right -= P.GraphicWidth;
    if (P.GraphicVAlign == vaAboveText) T.Top += P.GraphicHeight;
    if (P.GraphicVAlign == vaUnderText) T.Bottom -= P.GraphicHeight;
  }
  if (P.RCol == 0 && HasNodes() && !IsNode(P.ARow)) T.Left += GetNodeIndent(P.ARow);

  int indexPos = -1;
  const bool sortedHeader = IsSortedHeader(P.RCol, P.ARow, indexPos);

  if (kind == 1) {
    // 11. Tagged text.
    if (P.FilterGlyph) T.Right -= 18;
    T.Left -= 1;
    if (sortedHeader) T.Right -= 10;
    // 14. On a mirrored canvas the text goes unmirrored into the mirrored rectangle.
    std::optional<TUnmirroredDC> unmirrored(std::in_place, c->Handle());
    TRect H = unmirrored->Flip(T);
    String href, plain, focusedHref, title, controlID, controlValue, controlType;
    int32_t tw = 0, th = 0, anchors = 0, hitAnchor = 0;
    TRect hitRect, controlRect;
    DrawHtmlText(c, s, H, FGridImages, H.Left, H.Top, -1, -1, 1, false, false, false, false, FGridBlink,
                 URLUnderlineOnHover(), !EnhTextSize(), GetKeyState(VK_CONTROL) < 0, 0, anchor, clNone, clNone,
                 static_cast<TColor>(0x808080), href, plain, focusedHref, title, tw, th, anchors, hitAnchor, hitRect,
                 controlRect, controlID, controlValue, controlType, FImageCache.get(), FContainer, Handle(),
                 static_cast<uint8_t>(BiDiMode()));
    unmirrored.reset();
    P.TextExtent = tw + 2;
    if (sortedHeader) {
      int y = P.VA == vtaTop ? R.Top + 8 : P.VA == vtaBottom ? R.Bottom - 8 : R.Top + (R.Bottom - R.Top) / 2;
      DrawSortIndicator(c, P.RCol, T.Right + 2, y);
    }
    return;
  }

  if (kind == 2) {
    // 12. Rich text: the background under the rich text painter.
    if (!(P.State.Contains(gdSelected) && !P.State.Contains(gdFocused) && SelectionColor() == clNone)) {
      c->Pen()->SetColor(brush->Color());
      c->Rectangle(T);
    }
    brush->SetStyle(bsClear);
    {
      const TUnmirroredDC unmirrored(c->Handle());
      DrawRichCell(P.RCol, P.ARow, unmirrored.Flip(T), c);
    }
    brush->SetStyle(bsSolid);
    font->SetColor(clBlack);
    return;
  }

  // 13. Plain text.
  const bool centredSortHeader = P.HA == taCenter && sortedHeader;
  if (centredSortHeader) T.Left += 10;
  const bool url = URLShow() && IsUrlText(s);
  if (url) {
    if (!URLFull()) s = ShortUrl(s);
    font->SetStyle(font->Style() + fsUnderline);
    font->SetColor(anchor);
  }
  UINT flags = DT_EDITCONTROL;
  const int lines = Multilinecells() ? LineCount(s, true) : 1;
  String shown = s;
  if (!P.WordWrap && lines <= 1) {
    size_t cr = s.find(u'\r');
    if (cr != String::npos) shown = s.substr(0, cr);
    flags = DT_SINGLELINE;
    if (EnhTextSize()) flags |= DT_END_ELLIPSIS;
  } else if (P.WordWrap && !Multilinecells() && EnhTextSize()) {
    flags |= DT_END_ELLIPSIS;
  }
  flags |= DT_EXPANDTABS | DT_NOPREFIX;
  flags |= P.HA == taRightJustify ? DT_RIGHT : P.HA == taCenter ? DT_CENTER : DT_LEFT;
  flags |= P.VA == vtaCenter ? DT_VCENTER : P.VA == vtaBottom ? DT_BOTTOM : DT_TOP;
  if (P.WordWrap || Multilinecells())
    flags |= DT_WORDBREAK | DT_EDITCONTROL;
  else
    flags |= DT_SINGLELINE;
  flags = DrawTextBiDiModeFlags(flags);

  int oldMode = SetBkMode(c->Handle(), TRANSPARENT);
  if (P.FilterGlyph) T.Right -= 16;
  std::optional<TUnmirroredDC> unmirrored(std::in_place, c->Handle());
  TRect D = unmirrored->Flip(T);
  if (P.Graphic && !shown.empty()) {
    RECT m = D;
    DrawTextW(c->Handle(), shown.c_str(), static_cast<int>(shown.size()), &m, flags | DT_CALCRECT);
    P.TextExtent = m.Right - m.Left + 2;
  }
  RECT dr = D;
  if (!shown.empty()) DrawTextW(c->Handle(), shown.c_str(), static_cast<int>(shown.size()), &dr, flags);
  if (errLen > 0 && P.Graphic && (P.Graphic->CellType() == ctEmpty || P.Graphic->CellType() == ctValue))
    DrawErrorUnderline(this, c, shown, D, 0, errPos, errLen);
  unmirrored.reset();
  SetBkMode(c->Handle(), oldMode);

  if (sortedHeader) {
    TRect S = R;
    if (P.FilterGlyph) S.Right -= 16;
    const int textWidth = shown.empty() ? 0 : c->TextWidth(shown);
    const int w = std::max(0, std::min(textWidth, S.Width() - 16));
    int x;
    if (P.HA == taRightJustify) {
      x = S.Right - w - 10;
    } else if (P.HA == taCenter) {
      x = S.Left + 8;
    } else {
      int g = P.Graphic && (P.GraphicHAlign == haLeft || P.GraphicHAlign == haBeforeText) ? P.GraphicWidth : 0;
      x = S.Left + w + g + 10;
    }
    int y = P.VA == vtaTop ? S.Top + 8 : P.VA == vtaBottom ? S.Bottom - 8 : S.Top + (S.Bottom - S.Top) / 2;
    DrawSortIndicator(c, P.RCol, x, y);
  }
  if (url) font->SetStyle(font->Style() - fsUnderline);
}
