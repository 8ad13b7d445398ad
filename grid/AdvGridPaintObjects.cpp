// The graphic step of the cell painter: a cell's graphic placed by its alignments (also
// relative to the text drawn before it) and drawn in the look of ControlLook.ControlStyle;
// the check box and radio group painters that printing reuses; node glyphs.

#include <algorithm>
#include <cmath>
#include <optional>

#include "controls/VevAzez.h"
#include "grid/AdvGrid.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/Gdi.h"
#include "platform/win/UxTheme.h"
#include "platform/win/WinUser.h"

namespace {

TColor Inverse(TColor C) {
  TColor rgb = ColorToRGB(C);
  return static_cast<TColor>((255 - (rgb & 0xFF)) | ((255 - ((rgb >> 8) & 0xFF)) << 8) |
                             ((255 - ((rgb >> 16) & 0xFF)) << 16));
}

const TCellTypes kCheckKinds{ctCheckBox, ctDataCheckBox, ctVirtCheckBox, ctRowCheckBox, ctTriStateCheckBox};

}  // namespace

bool DEreDuzeroVaro::VisualStylesActive() { return IsThemed() && IsThemeActive(); }

uint8_t DEreDuzeroVaro::CellButtonLook() {
  uint8_t look = FControlLook->FlatButton() ? 2 : VisualStylesActive() ? 0 : 1;
  if (Flat() && FColorTones.Background.BrushColor != clNone) look = 3;
  return look;
}

double DEreDuzeroVaro::LimitPercent(double Value) {
  if (std::isnan(Value) || Value < 0) return 0;
  return Value > 100 ? 100 : Value;
}

double DEreDuzeroVaro::PaintNumber(int RCol, int ARow) {
  double v = 0;
  if (!TryStrToFloat(Trim(Cells(RCol, ARow)), v) || !std::isfinite(v)) return 0;
  return v;
}

// ===========================================================================
// Check boxes and radio groups

void DEreDuzeroVaro::DrawCheckBox(TRect R, bool Checked, bool Enabled, bool Grayed, TCellControlStyle Style,
                                  bool TriState, TCheckBoxState State) {
  TCanvas* c = Canvas();
  TControlLook* cl = FControlLook.get();
  if (cl->NoDisabledCheckRadioLook() || cl->CheckAlwaysActive()) Enabled = true;
  if (Style == csTheme && !VisualStylesActive()) Style = csClassic;
  if (TriState) {
    Checked = State == cbChecked;
    if (State == cbGrayed) Grayed = true;
  }
  const int size = cl->CheckSize();
  switch (Style) {
    case csWinXP:
    case csZOL: {
      static const char16_t* names[2][4] = {{u"ASGCHK05", u"ASGCHK07", u"ASGCHK06", u"ASGCHK08"},
                                            {u"ASGCHK01", u"ASGCHK03", u"ASGCHK02", u"ASGCHK04"}};
      DrawTransparent(c, R.Left, R.Top, GlyphBitmap(names[Style == csZOL][(Checked ? 0 : 2) + (Enabled ? 0 : 1)]));
      break;
    }
    case csGlyph:
      DrawTransparent(c, R.Left, R.Top, Checked ? cl->CheckedGlyph() : cl->UnCheckedGlyph());
      break;
    case csTheme: {
      HTHEME theme = OpenThemeData(Handle(), u"button");
      if (theme) {
        int state = Grayed ? (Enabled ? 9 : 12) : Checked ? (Enabled ? 5 : 8) : (Enabled ? 1 : 4);
        RECT r(R.Left, R.Top, R.Left + size, R.Top + size);
        DrawThemeBackground(theme, c->Handle(), BP_CHECKBOX, state, &r, nullptr);
        CloseThemeData(theme);
        break;
      }
      [[fallthrough]];
    }
    case csClassic:
    case csFlat: {
      RECT r(R.Left + (R.Width() - size) / 2, R.Top + (R.Height() - size) / 2, 0, 0);
      r.Right = r.Left + size;
      r.Bottom = r.Top + size;
      UINT flags = DFCS_BUTTONCHECK;
      if (Checked) flags |= DFCS_CHECKED;
      if (Grayed) flags |= DFCS_BUTTON3STATE | DFCS_CHECKED;
      if (Style == csFlat) flags |= DFCS_FLAT;
      if (!Enabled) flags |= DFCS_INACTIVE;
      DrawFrameControl(c->Handle(), &r, DFC_BUTTON, flags);
      break;
    }
    case csPellow: {
      c->Brush()->SetColor(Enabled ? clBtnFace : clBtnShadow);
      c->Pen()->SetColor(clBtnFace);
      c->Rectangle(R);
      c->Pen()->SetColor(clBtnHighlight);
      c->MoveTo(R.Left, R.Bottom);
      c->LineTo(R.Left, R.Top);
      c->LineTo(R.Right, R.Top);
      c->Pen()->SetColor(clBtnShadow);
      c->LineTo(R.Right, R.Bottom);
      c->LineTo(R.Left, R.Bottom);
      if (Checked) {
        c->Pen()->SetColor(Enabled ? cl->Color() : static_cast<TColor>(0x808080));
        c->Pen()->SetWidth(1);
        const int oldTop = R.Top;
        R.Top -= 1;
        R.Bottom -= 1;
        c->MoveTo(R.Left + 2, oldTop + size / 2);
        c->LineTo(R.Left + 2, R.Bottom - 1);
        c->MoveTo(R.Left + 3, R.Top + size / 2);
        c->LineTo(R.Left + 3, R.Bottom - 2);
        c->MoveTo(R.Left + 2, R.Bottom - 1);
        c->LineTo(R.Right - 2, R.Top + 3);
        c->MoveTo(R.Left + 3, R.Bottom - 1);
        c->LineTo(R.Right - 1, R.Top + 3);
      }
      break;
    }
  }
}

void DEreDuzeroVaro::DrawRadioGroup(TCanvas* ACanvas, TRect R, int Count, int Index, bool SideBySide,
                                    bool Disabled, TStrings* Captions, bool Selected, int ACol, int ARow,
                                    TCellControlStyle Style, double Scale, bool Print) {
  TControlLook* cl = FControlLook.get();
  if (cl->NoDisabledCheckRadioLook() || cl->RadioAlwaysActive()) Disabled = false;
  if (Style == csTheme && !VisualStylesActive()) Style = csClassic;
  int oldMode = SetBkMode(ACanvas->Handle(), TRANSPARENT);
  const bool frameLook = Style == csClassic || Style == csFlat;
  const bool bitmapLook = Style == csWinXP || Style == csZOL || Style == csGlyph;
  const int glyph = frameLook ? static_cast<int>(std::lround((cl->RadioSize() + (Style == csFlat ? 2 : 0)) * Scale)) : 16;
  int step = ACanvas->TextHeight(u"gh");
  if (!frameLook) step = std::max(step, 16);
  if (Print) step = -step;
  const String cellText = Index == -1 ? Cells(ACol, ARow) : String();
  int x = R.Left + 2;
  for (int u = 0; u < Count; ++u) {
    String caption = Captions && u < Captions->Count() ? Captions->Strings(u) : String();
    if (Selected && ShowSelection() && SelectionTextColor() != clNone) ACanvas->Font()->SetColor(SelectionTextColor());
    const bool checked = u == Index || (Index == -1 && Captions && u < Captions->Count() && caption == cellText);
    int gx, gy;
    if (SideBySide) {
      gx = x;
      gy = R.Top + (R.Height() - glyph) / 2;
    } else {
      gx = R.Left + 2;
      gy = R.Top + u * step + 2;
      if (!Captions || Captions->Count() == 0) gx = R.Left + (R.Width() - glyph) / 2;
    }
    switch (Style) {
      case csTheme: {
        HTHEME theme = OpenThemeData(Handle(), u"button");
        if (theme) {
          RECT r(gx, gy, gx + 16, gy + 16);
          DrawThemeBackground(theme, ACanvas->Handle(), BP_RADIOBUTTON,
                              checked ? (Disabled ? 8 : 5) : (Disabled ? 4 : 1), &r, nullptr);
          CloseThemeData(theme);
        }
        break;
      }
      case csClassic:
      case csFlat: {
        RECT r(gx, gy, gx + glyph, gy + glyph);
        UINT flags = DFCS_BUTTONRADIO;
        if (checked) flags |= DFCS_CHECKED;
        if (Disabled) flags |= DFCS_INACTIVE;
        if (Style == csFlat) flags |= DFCS_FLAT;
        DrawFrameControl(ACanvas->Handle(), &r, DFC_BUTTON, flags);
        break;
      }
      case csPellow: {
        TPoint d[4] = {TPoint(gx + 2, gy + 8), TPoint(gx + 8, gy + 2), TPoint(gx + 14, gy + 8), TPoint(gx + 8, gy + 14)};
        ACanvas->Brush()->SetColor(clBtnFace);
        ACanvas->Pen()->SetColor(clBtnFace);
        ACanvas->Polygon(d, 4);
        ACanvas->Pen()->SetColor(checked ? static_cast<TColor>(0x808080) : clWhite);
        ACanvas->MoveTo(d[0].X, d[0].Y);
        ACanvas->LineTo(d[1].X, d[1].Y);
        ACanvas->LineTo(d[2].X, d[2].Y);
        ACanvas->Pen()->SetColor(checked ? clWhite : static_cast<TColor>(0x808080));
        ACanvas->LineTo(d[3].X, d[3].Y);
        ACanvas->LineTo(d[0].X, d[0].Y);
        if (checked) {
          TPoint s[4] = {TPoint(gx + 6, gy + 8), TPoint(gx + 8, gy + 6), TPoint(gx + 10, gy + 8), TPoint(gx + 8, gy + 10)};
          ACanvas->Brush()->SetColor(cl->Color());
          ACanvas->Pen()->SetColor(cl->Color());
          ACanvas->Polygon(s, 4);
        }
        break;
      }
      case csWinXP:
      case csZOL: {
        static const char16_t* names[2][4] = {{u"ASGRAD05", u"ASGRAD07", u"ASGRAD06", u"ASGRAD08"},
                                              {u"ASGRAD01", u"ASGRAD03", u"ASGRAD02", u"ASGRAD04"}};
        DrawTransparent(ACanvas, gx, gy, GlyphBitmap(names[Style == csZOL][(checked ? 0 : 2) + (Disabled ? 1 : 0)]));
        break;
      }
      case csGlyph:
        DrawTransparent(ACanvas, gx, gy, checked ? cl->RadioOnGlyph() : cl->RadioOffGlyph());
        break;
    }
    if (!caption.empty()) {
      int tx, ty;
      if (frameLook) {
        tx = gx + static_cast<int>(std::lround(SideBySide ? glyph : (cl->RadioSize() + 4) * Scale));
        ty = gy - 2;
      } else if (bitmapLook) {
        tx = gx + (SideBySide ? 16 : 18);
        ty = gy + 1;
      } else {
        tx = gx + (SideBySide ? 16 : 20);
        ty = gy - 2;
      }
      if (!SideBySide || frameLook || bitmapLook || true) ACanvas->TextOut(tx, ty, caption);
    }
    if (SideBySide) x += ACanvas->TextWidth(caption) + glyph + 2;
  }
  SetBkMode(ACanvas->Handle(), oldMode);
}

// ===========================================================================
// Node glyphs

void DEreDuzeroVaro::PaintNodeGlyph(TCellPaint& P, const TRect& R) {
  TCanvas* c = P.Canvas;
  TCellNode* cn = FCellNode.get();
  const int indent = cn->NodeIndent();
  const int nodeIndent = GetNodeIndent(P.ARow);
  const bool collapsed = P.Graphic->CellBoolean();
  if (cn->ShowTree() && P.ARow >= FixedRows()) {
    c->Pen()->SetColor(cn->TreeColor());
    c->Pen()->SetWidth(1);
    const int x = nodeIndent - indent + 2 + indent / 2;
    const int m = R.Top + R.Height() / 2;
    if (P.ARow + 1 < RowCount()) {
      const int next = GetNodeIndent(P.ARow + 1);
      if (next >= 1 && !(collapsed && next < nodeIndent)) {
        c->MoveTo(x, m);
        c->LineTo(x, R.Bottom);
      }
    }
    if (P.ARow > 0 && GetNodeIndent(P.ARow - 1) >= nodeIndent) {
      c->MoveTo(x, R.Top);
      c->LineTo(x, R.Top + 6);
    }
  }
  const int L = nodeIndent - indent / 2 - 4;
  TColor back = c->Brush()->Color();
  if (back == clNone) back = FixedCols() == 0 ? Color() : FixedColor();
  const TGridRect sel = Selection();
  const bool rowSel = P.ARow >= std::min(sel.Top, sel.Bottom) && P.ARow <= std::max(sel.Top, sel.Bottom);
  if (ShowSelection() && ((P.State.Contains(gdSelected) && !FMouseActions->DisjunctRowSelect()) ||
                          (rowSel && Options().Contains(goRowSelect) && FMouseActions->DisjunctRowSelect())))
    back = SelectionColor();

  const TNodeType type = cn->NodeType();
  if (type == cn3D) {
    c->Brush()->SetColor(cn->Color());
    c->FillRect(TRect(L, R.Top, R.Right, R.Bottom));
    c->Pen()->SetWidth(1);
    c->Pen()->SetColor(clWhite);
    c->MoveTo(L, R.Bottom - 1);
    c->LineTo(L, R.Top);
    c->LineTo(R.Right - 1, R.Top);
    c->Pen()->SetColor(static_cast<TColor>(0x808080));
    c->LineTo(R.Right - 1, R.Bottom - 1);
    c->LineTo(L, R.Bottom - 1);
  }
  if (type == cnLeaf || type == cnXP) {
    TBitmap* g = type == cnLeaf ? GlyphBitmap(collapsed ? u"ASGLEAFCLOSE" : u"ASGLEAFOPEN")
                                : GlyphBitmap(collapsed ? u"XPNODEC" : u"XPNODEO");
    if (g) {
      int x = type == cnLeaf ? L : L + 4;
      int y = R.Top + (R.Height() - (type == cnLeaf ? 12 : 10)) / 2;
      const TUnmirroredDC upright(c->Handle());
      DrawBitmapTransparent(c, g, back, upright.Flip(TRect(x, y, x + g->Width(), y + g->Height())));
    }
    return;
  }
  const bool glyphs = !cn->ExpandGlyph()->Empty() && !cn->ContractGlyph()->Empty();
  if (type == cnGlyph && glyphs) {
    TBitmap* g = collapsed ? cn->ContractGlyph() : cn->ExpandGlyph();
    int y = R.Top + (R.Height() - g->Height()) / 2;
    const TUnmirroredDC upright(c->Handle());
    DrawBitmapTransparent(c, g, back, upright.Flip(TRect(L, y, L + g->Width(), y + g->Height())));
    return;
  }
  c->Brush()->SetColor(cn->Color());
  const int top = R.Top + std::max(0, R.Height() - 8) / 2;
  TRect box(L + 4, top, L + 12, top + 8);
  if (type == cn3D || type == cnGlyph) {
    RECT r = box;
    DrawEdge(c->Handle(), &r, collapsed ? EDGE_RAISED : EDGE_SUNKEN, BF_RECT | BF_SOFT | BF_MIDDLE);
  } else {
    c->Pen()->SetColor(cn->NodeColor());
    c->Rectangle(TRect(box.Left, box.Top, box.Right + 1, box.Bottom + 1));
    c->MoveTo(L + 6, top + 4);
    c->LineTo(L + 11, top + 4);
    if (collapsed) {
      c->MoveTo(L + 8, top + 2);
      c->LineTo(L + 8, top + 7);
    }
  }
}

// ===========================================================================
// The graphic step

void DEreDuzeroVaro::PaintCellGraphic(TCellPaint& P, TRect& R) {
  TCellGraphic* g = P.Graphic;
  TCanvas* c = P.Canvas;
  const TCellType kind = g->CellType();
  const int GW = P.GraphicWidth, GH = P.GraphicHeight;
  const TRect whole = R;
  if (kind != ctNode && kind != ctProgress && kind != ctRangeIndicator && kind != ctXPProgress) {
    R.Left += FXYOffset.X - 1;
    R.Right -= FXYOffset.X - 1;
    R.Top += FXYOffset.Y - 1;
    R.Bottom -= FXYOffset.Y - 1;
  }
  int E = P.TextExtent;
  if (E >= 1) E += 2;

  // Horizontal place.
  const int rw = R.Width();
  int X = R.Left + 1, X2 = 0;
  bool x2Set = false;
  switch (P.GraphicHAlign) {
    case haLeft:
      X = R.Left + 1;
      break;
    case haRight:
      X2 = R.Right - 1;
      X = X2 - GW;
      x2Set = true;
      break;
    case haCenter:
      X = GW >= rw ? R.Left + 1 : R.Left + (rw - GW) / 2;
      break;
    case haBeforeText:
      X = P.HAText == taRightJustify ? R.Right - E - GW
          : P.HAText == taCenter     ? R.Left + (rw - E - GW) / 2
                                     : R.Left + 1;
      if (X < R.Left) X = R.Left + 1;
      break;
    case haAfterText:
      if (P.HAText == taRightJustify) {
        X2 = R.Right - 1;
        X = X2 - GW;
        x2Set = true;
      } else {
        X = P.HAText == taCenter ? R.Left + E + (rw - E - GW) / 2 : R.Left + E;
      }
      if (X < R.Left) X = R.Left + 1;
      break;
    case haFull:
      X = R.Left;
      X2 = R.Right;
      x2Set = true;
      break;
  }
  if (!x2Set) X2 = X + GW;

  // Vertical place; check boxes and radio buttons follow the cell's own vertical alignment.
  TCellVAlign va = P.GraphicVAlign;
  if ((kCheckKinds.Contains(kind) || kind == ctRadioButton) && P.VA != VAlignment())
    va = P.VA == vtaTop ? vaTop : P.VA == vtaCenter ? vaCenter : vaBottom;
  const int rh = R.Height();
  int Y = R.Top + 1, Y2 = 0;
  bool y2Set = false;
  switch (va) {
    case vaTop:
    case vaAboveText:
      Y = R.Top + 1;
      break;
    case vaBottom:
      Y2 = R.Bottom - 1;
      Y = Y2 - GH;
      y2Set = true;
      break;
    case vaCenter:
      Y = GH >= rh ? R.Top + 1 : R.Top + (rh - GH) / 2;
      break;
    case vaUnderText:
      Y = R.Bottom - GH;
      Y2 = R.Bottom;
      y2Set = true;
      break;
    case vaFull:
      Y = R.Top;
      Y2 = R.Bottom;
      y2Set = true;
      break;
  }
  if (!y2Set) Y2 = Y + GH;

  // Pictures, glyphs and their captions are drawn the right way round at their mirrored place
  // on a mirrored canvas.
  std::optional<TUnmirroredDC> unmirrored;
  if (kind == ctBitmap || kind == ctIcon || kind == ctImageList || kind == ctDataImage || kind == ctImages ||
      kind == ctPicture || kind == ctFilePicture || kind == ctRadio || kCheckKinds.Contains(kind) ||
      kind == ctRadioButton || kind == ctButton || kind == ctBitButton || kind == ctProgress || kind == ctXPProgress) {
    unmirrored.emplace(c->Handle());
    const TRect f = unmirrored->Flip(TRect(X, Y, X2, Y2));
    X = f.Left;
    X2 = f.Right;
  }
  // The cell where the unmirrored drawing goes (progress bars draw their text the right way round).
  const TRect RU = unmirrored ? unmirrored->Flip(R) : R;
  bool allow = true;
  switch (kind) {
    case ctBitmap:
      if (TBitmap* b = g->CellBitmap()) {
        if (g->CellTransparent())
          DrawTransparent(c, X, Y, b);
        else
          c->Draw(X, Y, b);
      }
      break;
    case ctIcon:
      if (TIcon* i = g->CellIcon()) c->Draw(X, Y, i);
      break;
    case ctImageList:
      if (TCustomImageList* il = GetImageList(); il && g->CellIndex() >= 0 && g->CellIndex() < il->Count())
        il->Draw(c, X, Y, g->CellIndex(), true);
      break;
    case ctDataImage:
      if (TCustomImageList* il = GetImageList()) {
        double v = PaintNumber(P.RCol, P.ARow);
        long long idx = static_cast<long long>(v) + g->CellIndex();
        if (idx >= 0 && idx < il->Count()) il->Draw(c, X, Y, static_cast<int>(idx), true);
      }
      break;
    case ctImages:
      if (TCustomImageList* il = GetImageList(); il && g->CellIntList()) {
        TIntList* list = g->CellIntList();
        // Side by side, the images follow one another from the right on a mirrored canvas.
        const int step = unmirrored->Mirrored() ? -il->Width() : il->Width();
        if (unmirrored->Mirrored() && g->CellBoolean()) X = X2 - il->Width();
        for (int i = 0; i < list->Count(); ++i) {
          int idx = list->Items(i);
          if (idx >= 0 && idx < il->Count()) il->Draw(c, X, Y, idx, true);
          if (g->CellBoolean())
            X += step;
          else
            Y += il->Height();
        }
      }
      break;
    case ctPicture:
      if (TPicture* pic = g->CellPicture()) {
        if (static_cast<TStretchMode>(g->CellAngle()) != noStretch)
          c->StretchDraw(TRect(X, Y, X2, Y2), pic->Graphic());
        else if (pic->Graphic())
          c->Draw(X, Y, pic->Graphic());
      }
      break;
    case ctFilePicture:
      if (TFilePicture* fp = g->CellFilePicture()) fp->DrawPicture(c, TRect(X, Y, X2, Y2));
      break;
    case ctCheckBox:
    case ctDataCheckBox:
    case ctVirtCheckBox:
    case ctRowCheckBox:
    case ctTriStateCheckBox:
    case ctRadioButton: {
      const bool data = kind == ctDataCheckBox || kind == ctVirtCheckBox || kind == ctRowCheckBox;
      if (P.HAText == taLeftJustify) {
        X = R.Left + 1;
      } else if (P.HAText == taRightJustify) {
        X = data ? R.Right - GW - 1 : R.Right - E - GW - 1;
      } else {
        X = data || E < 1 ? R.Left + std::max(0, rw - GW) / 2 : R.Left + std::max(0, rw - E) / 2 - GW;
      }
      if (X < R.Left) X = R.Left + 1;
      X2 = X + GW;
      CellEditAllowed(P.RCol, P.ARow, allow);
      const TCellControlStyle style = FControlLook->ControlStyle();
      const bool grayed = g->CellAngle() >= 1;
      TRect box = unmirrored->Flip(TRect(X, Y, X2, Y2));
      X = box.Left;
      if (kind == ctCheckBox || kind == ctRowCheckBox) {
        DrawCheckBox(box, g->CellBoolean(), allow, grayed, style, false, cbUnchecked);
      } else if (kind == ctTriStateCheckBox) {
        DrawCheckBox(box, false, allow, grayed, style, true, g->CellCheckBoxState());
      } else if (kind == ctRadioButton) {
        X += FXYOffset.X;
        const int rs = FControlLook->RadioSize();
        DrawRadioGroup(c, TRect(X, Y, X + rs, Y + rs), 1, g->CellBoolean() ? 0 : -1, false, !allow, nullptr, false,
                       P.RCol, P.ARow, style, 1.0, false);
      } else {
        String checkTrue;
        GetCheckTrue(P.RCol, P.ARow, checkTrue);
        DrawCheckBox(box, Cells(P.RCol, P.ARow) == checkTrue, allow, grayed, style, false, cbUnchecked);
      }
      break;
    }
    case ctRadio: {
      CellEditAllowed(P.RCol, P.ARow, allow);
      TStrings* captions = GetRadioStrings(P.RCol, P.ARow);
      DrawRadioGroup(c, unmirrored->Flip(R), captions ? captions->Count() : 0, g->CellIndex(), g->CellBoolean(), !allow, captions,
                     P.State.Contains(gdSelected), P.RCol, P.ARow, FControlLook->ControlStyle(), 1.0, false);
      break;
    }
    case ctRotated: {
      TFont saved;
      saved.Assign(c->Font());
      LOGFONTW lf{};
      GetObjectW(c->Font()->Handle(), sizeof(lf), &lf);
      lf.lfEscapement = g->CellAngle() * 10;
      lf.lfOrientation = g->CellAngle() * 10;
      c->Font()->SetHandle(CreateFontIndirectW(&lf));
      const String s = Cells(P.RCol, P.ARow);
      const double a = g->CellAngle() * M_PI / 180.0;
      const int tw = c->TextWidth(s + u"w"), th = c->TextHeight(s + u"w");
      std::optional<TUnmirroredDC> upright(std::in_place, c->Handle());
      TRect in = upright->Flip(TRect(R.Left + 2, R.Top + 2, R.Right - 2, R.Bottom - 2));
      // The turned text's box, placed by the cell's alignments; the origin is its start point.
      const double cs = std::cos(a), sn = std::sin(a);
      const int bw = static_cast<int>(std::lround(std::fabs(tw * cs) + std::fabs(th * sn)));
      const int bh = static_cast<int>(std::lround(std::fabs(tw * sn) + std::fabs(th * cs)));
      int bx = P.HAText == taRightJustify ? in.Right - bw : P.HAText == taCenter ? in.Left + (in.Width() - bw) / 2 : in.Left;
      int by = P.VA == vtaBottom ? in.Bottom - bh : P.VA == vtaCenter ? in.Top + (in.Height() - bh) / 2 : in.Top;
      // Start point of the baseline-top of the text within its box.
      int ox = bx + static_cast<int>(std::lround(std::max(0.0, -tw * cs) + std::max(0.0, -th * sn)));
      int oy = by + static_cast<int>(std::lround(std::max(0.0, tw * sn) + std::max(0.0, -th * cs)));
      SetTextAlign(c->Handle(), TA_LEFT | TA_TOP);
      c->Brush()->SetStyle(bsClear);
      c->TextOut(ox, oy, s);
      upright.reset();
      c->Brush()->SetStyle(bsSolid);
      c->Font()->Assign(&saved);
      int pos = -1;
      if (IsSortedHeader(P.RCol, P.ARow, pos) && RowCount() >= 3) DrawSortIndicator(c, P.RCol, X2 - 10, Y + 8);
      break;
    }
    case ctNode:
      PaintNodeGlyph(P, R);
      break;
    case ctProgress: {
      const double value = PaintNumber(P.RCol, P.ARow);
      const TCellControlStyle style = FControlLook->ControlStyle();
      HTHEME theme = (style == csWinXP || style == csTheme) && FControlLook->ProgressXP() && VisualStylesActive()
                         ? OpenThemeData(Handle(), u"Progress")
                         : nullptr;
      if (theme) {
        RECT b(RU.Left + FControlLook->ProgressMarginX(), RU.Top + FControlLook->ProgressMarginY(),
               RU.Right - FControlLook->ProgressMarginX(), RU.Bottom - FControlLook->ProgressMarginY());
        DrawThemeBackground(theme, c->Handle(), 1, 0, &b, nullptr);
        RECT k(b.Left + 2, b.Top + 2, b.Right - 2, b.Bottom - 2);
        k.Right = k.Left + static_cast<int>(std::lround((k.Right - k.Left) * LimitPercent(value) / 100.0));
        DrawThemeBackground(theme, c->Handle(), 3, 1, &k, nullptr);
        CloseThemeData(theme);
      } else {
        TRect b(RU.Left + 2, RU.Top + 2, RU.Right - 2, RU.Bottom - 2);
        const TColor done = g->CellBitmapColor(), rest = g->CellIconColor();
        const TColor doneText = g->CellBoolean() ? static_cast<TColor>(g->CellIndex()) : Inverse(done);
        const TColor restText = g->CellBoolean() ? static_cast<TColor>(g->CellAngle()) : Inverse(rest);
        int lo = g->CellErrFrom(), hi = g->CellErrLen();
        if (hi == lo) hi = lo + 100;  // an empty range shows nothing done instead of dividing by 0
        double shown = std::clamp(value, static_cast<double>(std::min(lo, hi)), static_cast<double>(std::max(lo, hi)));
        try {
          DrawCellProgressBar(c, b, done, doneText, rest, restText, shown, FControlLook->ProgressMarginX(),
                              FControlLook->ProgressMarginY(), lo, hi, g->CellText(), FControlLook->ProgressBorderColor(),
                              false);
        } catch (const Exception&) {
          // a format the value does not fit draws the bar without its text
          DrawCellProgressBar(c, b, done, doneText, rest, restText, shown, FControlLook->ProgressMarginX(),
                              FControlLook->ProgressMarginY(), lo, hi, String(), FControlLook->ProgressBorderColor(),
                              false);
        }
      }
      break;
    }
    case ctComment:
      if (FControlLook->CommentColor() != clNone) {
        TColor cc = static_cast<TColor>(g->CellIndex());
        if (cc == clNone) cc = FControlLook->CommentColor();
        c->Brush()->SetColor(cc);
        c->Pen()->SetColor(cc);
        TPoint t[3] = {TPoint(whole.Right - 7, whole.Top), TPoint(whole.Right - 2, whole.Top),
                       TPoint(whole.Right - 2, whole.Top + 5)};
        c->Polygon(t, 3);
        c->Brush()->SetColor(Color());
      }
      break;
    case ctButton:
    case ctBitButton:
    case ctExpand: {
      TRect cell = CellRect(P.ACol, P.ARow);
      g->SetCellValue((X - cell.Left) + (Y - cell.Top) * 65536.0);
      c->Brush()->SetColor(clBtnFace);
      bool enabled = true;
      if (!FControlLook->NoDisabledButtonLook()) {
        CellEditAllowed(P.RCol, P.ARow, allow);
        enabled = allow;
      }
      const uint8_t look = CellButtonLook();
      uint8_t state = g->CellBoolean() ? 2 : (FCellButtonPushed.X == P.RCol && FCellButtonPushed.Y == P.ARow) ? 1 : 0;
      if (!enabled && kind != ctExpand) state = 3;
      TRect face = kind == ctExpand ? TRect(R.Right - 13, R.Top, R.Right, R.Top + 13) : TRect(X, Y, X2, Y2);
      DrawButtonFace(c, Handle(), face, look, state, FColorTones);
      const int shift = state == 2 ? 1 : 0;
      if (kind == ctExpand) {
        c->Pen()->SetColor(clBlack);
        const bool* expanded = std::get_if<bool>(&g->CellVar());
        if (!(expanded && *expanded)) {
          c->MoveTo(R.Right - 10, R.Top + 5);
          c->LineTo(R.Right - 7, R.Top + 8);
          c->LineTo(R.Right - 3, R.Top + 4);
        } else {
          c->MoveTo(R.Right - 10, R.Top + 8);
          c->LineTo(R.Right - 7, R.Top + 5);
          c->LineTo(R.Right - 3, R.Top + 9);
        }
        break;
      }
      int tx = X;
      if (kind == ctBitButton) {
        if (TBitmap* glyph = g->CellBitmap(); glyph && !glyph->Empty()) {
          DrawTransparent(c, X + 1 + shift, Y + 1 + shift, glyph);
          tx += glyph->Width() + 2;
        }
      }
      const String caption = g->CellText();
      if (!caption.empty()) {
        if (look == 3) {
          const TColorTone& tone = state == 1 ? FColorTones.Hover : state == 2 ? FColorTones.Selected
                                   : state == 3 ? FColorTones.Disabled : FColorTones.Background;
          c->Font()->SetColor(tone.TextColor);
        }
        int oldMode = SetBkMode(c->Handle(), TRANSPARENT);
        RECT tr(tx + 1 + shift, Y + shift, X2 + shift, Y2 + shift);
        UINT flags = DT_CENTER | DT_VCENTER | DT_END_ELLIPSIS;
        flags |= caption.find(u'\r') != String::npos ? DT_WORDBREAK : DT_SINGLELINE;
        DrawTextW(c->Handle(), caption.c_str(), static_cast<int>(caption.size()), &tr, flags);
        SetBkMode(c->Handle(), oldMode);
      }
      break;
    }
    case ctProgressPie:
      DrawProgressPie(c, TRect(X, Y, X + 20, Y + 20), g->CellBitmapColor(),
                      static_cast<int>(LimitPercent(g->CellAngle())), false);
      break;
    case ctRangeIndicator: {
      TRect b(R.Left + FControlLook->ProgressMarginX(), R.Top + FControlLook->ProgressMarginY(),
              R.Right - FControlLook->ProgressMarginX(), R.Bottom - FControlLook->ProgressMarginY());
      if (g->CellIndex() != 0)
        DrawBalanceBar(c, b, static_cast<int>(PaintNumber(P.RCol, P.ARow)), g->CellIndex(), g->CellBoolean(),
                       g->CellBitmapColor(), g->CellIconColor());
      break;
    }
    case ctXPProgress: {
      TGridProgressAppearance* pa = FProgressAppearance.get();
      TProgressAppearanceInfo look;
      look.Level0Color = pa->Level0Color();
      look.Level0ColorTo = pa->Level0ColorTo();
      look.Level1Color = pa->Level1Color();
      look.Level1ColorTo = pa->Level1ColorTo();
      look.Level2Color = pa->Level2Color();
      look.Level2ColorTo = pa->Level2ColorTo();
      look.Level3Color = pa->Level3Color();
      look.Level3ColorTo = pa->Level3ColorTo();
      look.Level1Perc = pa->Level1Perc();
      look.Level2Perc = pa->Level2Perc();
      look.ShowBorder = pa->ShowBorder();
      look.BorderColor = pa->BorderColor();
      look.Stacked = pa->Stacked();
      look.ShowPercentage = pa->ShowPercentage();
      look.CompletionSmooth = pa->CompletionSmooth();
      look.ShowGradient = pa->ShowGradient();
      look.Font = Font();
      look.FontColor = pa->CompleteFontColor();
      look.Steps = pa->Steps();
      look.BackgroundColor = pa->UnCompleteColor() != clNone ? pa->UnCompleteColor() : P.SavedBrush;
      TRect b(RU.Left + FControlLook->ProgressMarginX(), RU.Top + FControlLook->ProgressMarginY(),
              RU.Right - FControlLook->ProgressMarginX() - 1, RU.Bottom - FControlLook->ProgressMarginY() - 1);
      const int lo = g->CellErrFrom(), hi = g->CellErrLen();
      double percent = hi == lo ? 0 : std::fabs(PaintNumber(P.RCol, P.ARow) - lo) / (hi - lo) * 100.0;
      DrawStyledProgressBar(c, b, static_cast<int>(std::lround(LimitPercent(percent))), look);
      break;
    }
    case ctShape:
      DrawCellShape(c, X, Y, X2 - X - 1, Y2 - Y - 1, static_cast<TCellShape>(g->CellAngle()),
                    static_cast<TColor>(g->CellIndex()), g->CellBitmapColor());
      break;
    case ctRating: {
      const double value = std::round(PaintNumber(P.RCol, P.ARow) * 2) / 2;
      const TColor full = static_cast<TColor>(g->CellIndex()), empty = g->CellBitmapColor();
      for (int i = 1; i <= g->CellAngle(); ++i) {
        const int sx = X + (i - 1) * 18;
        if (i > value) {
          DrawCellShape(c, sx, Y, 16, 16, csStar, empty, empty);
          if (i - 1 < value) DrawCellShape(c, sx, Y, 16, 16, csHalfStar, full, full);
        } else {
          DrawCellShape(c, sx, Y, 16, 16, csStar, full, full);
        }
      }
      break;
    }
    case ctInterface: PaintInterfaceGraphic(P, R, false); break;
    default:
      break;
  }
}
