// Looks, selection colours, the button's and the pop-up's pixels, borders and the label.

#include <gtest/gtest.h>

#include "AdvDropDownTestSupport.h"
// The class library's labelled controls and the drop-downs name their label position types
// alike; both headers go together in one unit.
#include "platform/ui/ExtCtrls.h"

namespace {

constexpr TColor kMarker = 0x123456;  // a border colour a look may leave as it was

struct LookCase {
  TZOLStyle style;
  TColor color, colorTo, border;  // the pop-up
  TColor header, headerTo, headerFont, headerBorder;
  TColor footer, footerTo, footerBorder;
  TColor button, buttonTo, buttonHot;
};

const LookCase kLooks[] = {
    {tsOffice2003Blue, 0xFFFFFF, clNone, kMarker, 0xFCE1CB, 0xE0A57D, 0, 0, 0xFCE1CB, 0xE0A57D, 0x962D00, 0xFCE1CB, 0xE0A57D, 0xEBFDFF},
    {tsOffice2003Silver, 0xFFFFFF, clNone, kMarker, 0xECE2E1, 0xB39698, 0, 0x947C7C, 0xECE2E1, 0xB39698, 0x947C7C, 0xECE2E1, 0xB39698, 0xEBFDFF},
    {tsOffice2003Olive, 0xFFFFFF, clNone, clNone, 0xCFF0EA, 0x8CC0B1, 0, 0x588060, 0xCFF0EA, 0x8CC0B1, 0x588060, 0xCFF0EA, 0x8CC0B1, 0xEBFDFF},
    {tsOffice2003Classic, 0xF2F2F2, 0xF2F2F2, clNone, 0x808080, 0x808080, 0xFFFFFF, 0x808080, 0x808080, 0x808080, 0x808080, 0xFFFFFF, 0xC9D1D5, 0xD2BDB6},
    {tsOffice2007Luna, 0xF3E5DA, 0xF0DED0, clNone, 0xFFEFE3, 0xFFD2AF, 0x723708, 0xFFD2AF, 0xFFEFE3, 0xFFD2AF, 0xFFD2AF, 0xFFEFE3, 0xFFDDC4, 0xEBFDFF},
    {tsOffice2007Obsidian, 0xFFFFFF, clNone, clNone, 0xF2F1F0, 0xC9C2BD, 0x433C37, 0x5C534C, 0xF2F1F0, 0xC9C2BD, 0x5C534C, 0xF2F1F0, 0xC9C2BD, 0xEBFDFF},
    {tsWindowsXP, 0xFFFFFF, clNone, kMarker, 0xFFFFFF, clBtnFace, 0, 0x808080, 0xFFFFFF, clBtnFace, 0x808080, 0xFFFFFF, clBtnFace, 0xEFD3C6},
    {tsWhidbey, 0xF5F9FA, 0xF5F9FA, clNone, 0xEBEEEF, 0x7E9898, 0xFFFFFF, 0x962D00, 0xEBEEEF, 0x7E9898, 0x962D00, 0xFFFFFF, 0xDFEDF0, 0xEBFDFF},
    {tsOffice2007Silver, 0xF8F4F1, 0xF0E8E3, clNone, 0xF8F7F6, 0xE8E0DB, 0x8B4215, 0x74706F, 0xF8F7F6, 0xE8E0DB, 0x74706F, 0xF9F8F8, 0xE4E2DF, 0xEBFDFF},
    {tsWindowsVista, 0xFFFFFF, 0xFFFFFF, 0x979797, 0xFFFDF9, 0xFFFAF0, 0, 0xFCF2DA, 0xFFFAF0, 0xFFFDF9, 0xFCF2DA, 0xFFFDF9, 0xFFFAF0, 0xFEF9F0},
    {tsWindows7, 0xFFFFFF, 0xFFFFFF, 0x979797, 0xFDFBFA, 0xFDF3EB, 0, 0xFBD6B8, 0xFDFBFA, 0xFDF3EB, 0xFBD6B8, 0xFDFBFA, 0xFDF3EB, 0xFDFBFA},
    {tsTerminal, 0xFFFFFF, 0xFFFFFF, 0x808080, clBtnFace, clBtnFace, 0, clNone, clBtnFace, clBtnFace, clNone, clBtnFace, clBtnFace, 0xC0C0C0},
    {tsOffice2010Blue, 0xFFFFFF, 0xF1EFED, 0xEDEDEC, 0xFDF6EF, 0xF0DAC7, 0x5B391E, 0xC7B29F, 0xFDF6EF, 0xF0DAC7, 0xC7B29F, 0xFDF6EF, 0xF0DAC7, 0x8AE3FD},
    {tsOffice2010Silver, 0xFFFFFF, 0xF1EFED, 0xEDEDEC, 0xFFFFFF, 0xEDE5E0, 0x5B391E, 0xD2CDC8, 0xFFFFFF, 0xEDE5E0, 0xD2CDC8, 0xFFFFFF, 0xEDE5E0, 0x8AE3FD},
    {tsOffice2010Black, 0xFFFFFF, 0xF1EFED, 0xEDEDEC, 0xBFBFBF, 0x919191, 0xD7D7D6, 0x6D6D6D, 0xBFBFBF, 0x919191, 0x6D6D6D, 0xBFBFBF, 0x919191, 0x8AE3FD},
};

class AdvDropDownLooks : public ::testing::TestWithParam<LookCase> {};

TEST_P(AdvDropDownLooks, ColourThePopUpBarsAndButtons) {
  const LookCase& c = GetParam();
  TAdvCustomDropDown dd(nullptr);
  dd.SetDropDownBorderColor(kMarker);
  dd.SetComponentStyle(c.style);
  EXPECT_EQ(dd.GetComponentStyle(), c.style);
  EXPECT_EQ(dd.DropDownColor(), c.color);
  EXPECT_EQ(dd.DropDownColorTo(), c.colorTo);
  EXPECT_EQ(dd.DropDownBorderColor(), c.border);
  THeaderAppearance* h = dd.DropDownHeader();
  EXPECT_EQ(h->Color(), c.header);
  EXPECT_EQ(h->ColorTo(), c.headerTo);
  EXPECT_EQ(h->Font()->Color(), c.headerFont);
  EXPECT_EQ(h->BorderColor(), c.headerBorder);
  TFooterAppearance* ft = dd.DropDownFooter();
  EXPECT_EQ(ft->Color(), c.footer);
  EXPECT_EQ(ft->ColorTo(), c.footerTo);
  EXPECT_EQ(ft->BorderColor(), c.footerBorder);
  EXPECT_EQ(dd.ButtonAppearance()->Color(), c.button);
  EXPECT_EQ(dd.ButtonAppearance()->ColorTo(), c.buttonTo);
  EXPECT_EQ(dd.ButtonAppearance()->ColorHot(), c.buttonHot);
}

INSTANTIATE_TEST_SUITE_P(Sixteen, AdvDropDownLooks, ::testing::ValuesIn(kLooks),
                         [](const auto& info) { return "Style" + std::to_string(int(info.param.style)); });

TEST(AdvDropDownLooks, CustomKeepsTheLookItFollowsAndTonesTouchOnlyButtonAndBorder) {
  TAdvCustomDropDown dd(nullptr);
  EXPECT_EQ(dd.GetComponentStyle(), tsOffice2007Luna);  // a new drop-down has the Luna colours
  dd.SetComponentStyle(tsCustom);
  EXPECT_EQ(dd.GetComponentStyle(), tsCustom);
  EXPECT_EQ(dd.DropDownColor(), 0xF3E5DA);
  EXPECT_EQ(dd.DropDownHeader()->Color(), 0xFFEFE3);
  TColorTones tones;
  tones.Background = {0x111111, 0x222222, 0};
  tones.Hover = {0x333333, 0, 0};
  tones.Selected = {0x444444, 0, 0};
  dd.SetColorTones(tones);
  EXPECT_EQ(dd.Button()->FButtonColor, 0x111111);
  EXPECT_EQ(dd.Button()->FButtonColorHot, 0x333333);
  EXPECT_EQ(dd.Button()->FButtonColorDown, 0x444444);
  EXPECT_EQ(dd.Button()->FButtonBorderColor, 0x222222);
  EXPECT_EQ(dd.BorderColor(), 0x222222);
  EXPECT_EQ(dd.GetComponentStyle(), tsCustom);
  EXPECT_EQ(dd.DropDownHeader()->Color(), 0xFFEFE3);
}

TEST(AdvDropDownSelection, StylesAndCustomSolidFill) {
  TAdvCustomDropDown dd(nullptr);
  EXPECT_EQ(dd.SelectionColor(), 0xD7FFFD);
  EXPECT_EQ(dd.SelectionColorTo(), 0x58D4FC);
  dd.SetSelectionColorStyle(scWindows7);
  EXPECT_EQ(dd.SelectionColor(), 0xFCEBDC);
  dd.SetSelectionColorStyle(scCustom);
  EXPECT_EQ(dd.SelectionColor(), 0xFCEBDC);
  dd.SetSelectionColor(0x00FF00);
  dd.SetSelectionColorTo(0x0000FF);
  TBitmap bmp(20, 20);
  dd.DrawSelectionBackground(bmp.Canvas(), Rect(0, 0, 20, 20), clWhite, 0);
  EXPECT_EQ(PixelColor(bmp, 10, 2), 0x00FF00);
  EXPECT_EQ(PixelColor(bmp, 10, 18), 0x00FF00);
  // A gradient style frames the selection in its border colour.
  dd.SetSelectionColorStyle(scWindows7);
  dd.DrawSelectionBackground(bmp.Canvas(), Rect(0, 0, 20, 20), clWhite, 3);
  EXPECT_EQ(PixelColor(bmp, 10, 0), 0xCEA27D);
}

// ---------------------------------------------------------------------------
// Pixels

TEST(AdvDropDownButtonPixels, ClassicArrowAtFixedPoints) {
  DropDownFixture f;
  auto bmp = RenderControl(f.dd->Button());
  EXPECT_EQ(PixelColor(*bmp, 8, 8), 0x000000);
  EXPECT_EQ(PixelColor(*bmp, 5, 7), 0x000000);
  EXPECT_EQ(PixelColor(*bmp, 11, 7), 0x000000);
  EXPECT_EQ(PixelColor(*bmp, 8, 10), 0x000000);
  EXPECT_NE(PixelColor(*bmp, 13, 7), 0x000000);
  EXPECT_NE(PixelColor(*bmp, 8, 12), 0x000000);
  EXPECT_EQ(PixelColor(*bmp, 1, 5), 0xFFFFFF);  // the white inner edge
}

TEST(AdvDropDownButtonPixels, CustomColoursPressedWinsOverHot) {
  DropDownFixture f;
  TColorTones tones;
  tones.Background = {0x00C000, 0x0000FF, 0};
  tones.Hover = {0xC00000, 0, 0};
  tones.Selected = {0x0000C0, 0, 0};
  f.dd->SetColorTones(tones);
  TAdvDropDownSpeedButton* b = f.dd->Button()->Button();
  auto face = RenderControl(f.dd->Button());
  EXPECT_EQ(PixelColor(*face, 14, 3), 0x00C000);
  EXPECT_EQ(PixelColor(*face, 0, 5), 0x0000FF);  // the edit's border colour down the left edge
  EXPECT_EQ(PixelColor(*face, 8, 8), 0x000000);
  SimulateMouseMove(b, 8, 8);
  ProcessPendingEvents();
  EXPECT_EQ(PixelColor(*RenderControl(f.dd->Button()), 14, 3), 0xC00000);
  SimulateMouseDown(b, mbLeft, 8, 8);
  ProcessPendingEvents();
  EXPECT_EQ(PixelColor(*RenderControl(f.dd->Button()), 14, 3), 0x0000C0);
  SimulateMouseUp(b, mbLeft, 8, 8);
  ProcessPendingEvents();
}

TEST(AdvDropDownButtonPixels, ThemedFaceShowsReadOnlyAsDisabled) {
  DropDownFixture f;
  TAdvDropDownSpeedButton* b = f.dd->Button()->Button();
  SimulateMouseMove(f.dd, 40, 5);  // the mouse comes from the text part
  ProcessPendingEvents();
  EXPECT_EQ(b->ThemeState(), 1);
  SimulateMouseMove(b, 8, 8);
  ProcessPendingEvents();
  EXPECT_EQ(b->ThemeState(), 2);
  SimulateMouseDown(b, mbLeft, 8, 8);
  ProcessPendingEvents();
  EXPECT_EQ(b->ThemeState(), 3);
  SimulateMouseUp(b, mbLeft, 30, 30);  // released elsewhere: no click
  ProcessPendingEvents();
  f.dd->HideDropDown(false);
  f.dd->SetReadOnly(true);
  RenderControl(f.dd->Button());
  EXPECT_EQ(b->ThemeState(), 4);
}

TEST(AdvDropDownPopUpPixels, BorderInsetAndNoBorderForClNone) {
  DropDownFixture f;
  f.dd->DropDownHeader()->SetVisible(false);
  f.dd->DropDownFooter()->SetVisible(false);
  f.dd->DropDownHeader()->SetVisible(false);
  f.dd->DropDownFooter()->SetVisible(false);
  f.dd->SetDropDownBorderWidth(3);
  f.dd->SetDropDownBorderColor(0x0000FF);
  f.dd->SetDropDownColor(0x00FF00);
  f.dd->SetDropDownColorTo(clNone);
  f.dd->ShowDropDown();
  ProcessPendingEvents();
  TDropDownForm* w = f.dd->DropDownForm();
  EXPECT_EQ(f.dd->Inner->Left(), 3);
  EXPECT_EQ(f.dd->Inner->Top(), 3);
  f.dd->Inner->SetVisible(false);
  auto bmp = RenderControl(w);
  EXPECT_EQ(PixelColor(*bmp, 1, 20), 0x0000FF);
  EXPECT_EQ(PixelColor(*bmp, 20, 1), 0x0000FF);
  EXPECT_EQ(PixelColor(*bmp, 20, 20), 0x00FF00);
  f.dd->HideDropDown(false);
  // The default look's pop-up border is clNone: no border drawn.
  f.dd->SetComponentStyle(tsOffice2007Luna);
  f.dd->SetDropDownColorTo(clNone);
  f.dd->SetDropDownBorderWidth(1);
  f.dd->ShowDropDown();
  ProcessPendingEvents();
  bmp = RenderControl(w);
  EXPECT_EQ(PixelColor(*bmp, 0, 20), ColorToRGB(w->Color()));
  EXPECT_EQ(PixelColor(*bmp, 20, 20), 0xF3E5DA);
}

TEST(AdvDropDownBorders, BorderFocusAndDisabledFrames) {
  DropDownFixture f;
  f.dd->SetBorderColor(0x0000FF);
  f.dd->SetFocusBorderColor(0x00FF00);
  EXPECT_EQ(PixelColor(*RenderControl(f.dd), 0, 10), 0x0000FF);
  f.Focus();
  EXPECT_EQ(PixelColor(*RenderControl(f.dd), 0, 10), 0x00FF00);
  f.other->SetFocus();
  ProcessPendingEvents();
  f.dd->SetEnabled(false);
  EXPECT_EQ(PixelColor(*RenderControl(f.dd), 0, 10), 0xC0C0C0);
}

TEST(AdvDropDownBorders, FocusedPickOnlyEditHighlightsItsValue) {
  DropDownFixture f;
  f.dd->SetEditorEnabled(false);
  f.dd->SetText(u"value");
  f.Focus();
  EXPECT_EQ(PixelColor(*RenderControl(f.dd), 100, 12), ColorToRGB(clHighlight));
  f.dd->SetFocusDraw(false);
  f.dd->Invalidate();
  EXPECT_NE(PixelColor(*RenderControl(f.dd), 100, 12), ColorToRGB(clHighlight));
}

// ---------------------------------------------------------------------------
// Label

TEST(AdvDropDownLabel, FifteenPositions) {
  DropDownFixture f;
  f.dd->SetBounds(150, 120, 120, 24);
  f.dd->SetLabelCaption(u"Caption");
  TLabel* l = f.dd->EditLabel();
  ASSERT_NE(l, nullptr);
  const int L = 150, T = 120, W = 120, H = 24, m = 4, LW = l->Width(), LH = l->Height();
  const int mid = T + (H - LH) / 2, centre = L + (W - LW) / 2;
  struct Case {
    TAdvCustomDropDown::TLabelPosition pos;
    int left, top;
  } cases[] = {
      {lpLeftTop, L - LW - m, T},         {lpLeftCenter, L - LW - m, mid},    {lpLeftBottom, L - LW - m, T + H - LH},
      {lpTopLeft, L, T - LH - m},         {lpBottomLeft, L, T + H + m},       {lpLeftTopLeft, L - m, T},
      {lpLeftCenterLeft, L - m, mid},     {lpLeftBottomLeft, L - m, T + H - LH}, {lpTopCenter, centre, T - LH - m},
      {lpBottomCenter, centre, T + H + m}, {lpRightTop, L + W + m, T},        {lpRightCenter, L + W + m, mid},
      {lpRighBottom, L + W + m, T + H - LH}, {lpTopRight, L + W - LW, T - LH - m}, {lpBottomRight, L + W - LW, T + H + m},
  };
  for (const Case& c : cases) {
    f.dd->SetLabelPosition(c.pos);
    EXPECT_EQ(l->Left(), c.left) << int(c.pos);
    EXPECT_EQ(l->Top(), c.top) << int(c.pos);
  }
  // A label wider than the edit is centred on it; the Left positions ignore the caption's width.
  f.dd->SetLabelCaption(u"A caption much wider than the edit it belongs to");
  f.dd->SetLabelPosition(lpTopCenter);
  EXPECT_EQ(l->Left(), L - (l->Width() - W) / 2);
  f.dd->SetLabelMargin(100);
  f.dd->SetLabelPosition(lpLeftTopLeft);
  EXPECT_EQ(l->Left(), L - 100);
  // The label follows the edit.
  f.dd->SetBounds(200, 150, 120, 24);
  EXPECT_EQ(l->Left(), 100);
  EXPECT_EQ(l->Top(), 150);
}

TEST(AdvDropDownLabel, ClicksReachTheEditsEvents) {
  DropDownFixture f;
  f.dd->SetLabelCaption(u"Name");
  TObject* sender = nullptr;
  f.dd->OnLabelClick = [&](TObject* s) { sender = s; };
  SimulateClick(f.dd->EditLabel(), 2, 2);
  ProcessPendingEvents();
  EXPECT_EQ(sender, f.dd);
}

}  // namespace

namespace {

TEST(AdvDropDownItemAppearance, PresetsAndLooks) {
  TItemAppearance a(nullptr);
  EXPECT_EQ(a.ColorStyle(), scOffice2007);
  EXPECT_EQ(a.ColorSelectedTo(), 0x04B9F4);
  EXPECT_EQ(a.BorderColorHot(), clNone);
  TItemAppearance b(nullptr);
  b.SetColorStyle(scWindows7);
  b.SetColorSelectedText(0x112233);
  a.Assign(&b);
  EXPECT_EQ(a.ColorSelected(), 0xF9D8B9);
  EXPECT_EQ(a.ColorSelectedText(), 0x112233);
  struct Case {
    TZOLStyle style;
    TColor hot, selected, border, top, selectedText;
  } cases[] = {
      {tsOffice2003Blue, 0xEBFDFF, 0xAAD9FF, 0x42AEFE, clNone, clBlack},
      {tsOffice2007Silver, 0xEBFDFF, 0xAAD9FF, 0x42AEFE, 0xF4FEFF, clBlack},
      {tsWindowsXP, 0xEFD3C6, clHighlight, clHighlight, clNone, clHighlightText},
      {tsWindowsVista, 0xFFFDF9, 0xFEF9F0, 0xFEDF9A, 0xFDFBF6, clBlack},
      {tsTerminal, 0xC0C0C0, clHighlight, 0x808080, clNone, clHighlightText},
      {tsOffice2010Black, 0xD9F9FD, 0x7BEEFF, 0x308AC2, clNone, clBlack},
  };
  for (const Case& c : cases) {
    a.SetBorderColorHot(0x010101);
    ApplyItemAppearanceStyle(&a, c.style);
    EXPECT_EQ(a.ColorHot(), c.hot) << int(c.style);
    EXPECT_EQ(a.ColorSelected(), c.selected) << int(c.style);
    EXPECT_EQ(a.BorderColor(), c.border) << int(c.style);
    EXPECT_EQ(a.BorderColorTop(), c.top) << int(c.style);
    EXPECT_EQ(a.ColorSelectedText(), c.selectedText) << int(c.style);
    EXPECT_EQ(a.BorderColorHot(), clNone) << int(c.style);
  }
  a.SetColorHot(0x123456);
  ApplyItemAppearanceStyle(&a, tsCustom);
  EXPECT_EQ(a.ColorHot(), 0x123456);
}

}  // namespace

namespace {

TEST(AdvDropDownRoutines, GradientBandsTextSizesAndTruncation) {
  TBitmap bmp(100, 20);
  // Two bands, left to right over 99 pixels: the second starts at Round(49.5) = 50.
  DrawGradient(bmp.Canvas(), 0x000000, 0x0000FE, 2, Rect(0, 0, 100, 20), true);
  EXPECT_EQ(PixelColor(bmp, 49, 10), 0x000000);
  EXPECT_EQ(PixelColor(bmp, 50, 10), 0x00007F);
  DrawGradientRect(bmp.Canvas(), Rect(0, 0, 100, 20), 0x0000FF, clNone, 0xFF0000, 1, gdHorizontal);
  EXPECT_EQ(PixelColor(bmp, 50, 10), 0x0000FF);
  EXPECT_EQ(PixelColor(bmp, 0, 10), 0xFF0000);
  // Text measures.
  TCanvas* c = bmp.Canvas();
  EXPECT_EQ(GetTextSize(c, u""), TSize(0, 0));
  const TSize size = GetTextSize(c, u"Hello");
  EXPECT_EQ(size.cx, c->TextWidth(u"Hello"));
  EXPECT_GT(size.cy, 0);
  EXPECT_EQ(TruncateText(c, u"Hello", 1000, true), u"Hello");
  const String cut = TruncateText(c, u"Hello world, a long caption", c->TextWidth(u"Hello w..."), true);
  EXPECT_EQ(cut.substr(cut.size() - 3), u"...");
  EXPECT_LT(c->TextWidth(cut), c->TextWidth(u"Hello w..."));
  // One line of mini-HTML, measured without painting.
  TSize html;
  DrawHTMLCaption(c, u"<b>Bold</b> text", Rect(0, 0, 100, 20), nullptr, false, nullptr, html);
  EXPECT_GT(html.cx, c->TextWidth(u"Bold"));
  EXPECT_GT(html.cy, 0);
  EXPECT_EQ(PixelColor(bmp, 50, 10), 0x0000FF);  // nothing painted
}

TEST(AdvDropDownBorders, FlatEdgeLightsUnderTheMouse) {
  DropDownFixture f;
  f.form.SetColor(0x00FFFF);
  f.dd->SetFlat(true);
  const TColor unlit = PixelColor(*RenderControl(f.dd), 1, 10);
  EXPECT_EQ(unlit, 0x00FFFF);  // the parent's colour
  SimulateMouseMove(f.dd, 40, 10);
  ProcessPendingEvents();
  auto lit = RenderControl(f.dd);
  EXPECT_EQ(PixelColor(*lit, 2, 10), ColorToRGB(clBtnFace));
  EXPECT_EQ(PixelColor(*lit, 0, 10), ColorToRGB(clBtnShadow));  // the sunken edge
}

}  // namespace

namespace {

TEST(AdvDropDownAssign, CopiesSettingsFromAnotherDropDown) {
  TAdvCustomDropDown a(nullptr), b(nullptr);
  a.SetDropDownColor(0x010203);
  a.SetDropDownBorderWidth(3);
  a.SetEditType(etMoney);
  a.SetPrefix(u"$");
  a.SetDropDownButtonWidth(25);
  a.SetDropDownButtonHint(u"open");
  a.DropDownHeader()->SetCaption(u"<b>Head</b>");
  a.SetSelectionColorStyle(scWindowsVista);
  b.Assign(&a);
  EXPECT_EQ(b.DropDownColor(), 0x010203);
  EXPECT_EQ(b.DropDownBorderWidth(), 3);
  EXPECT_EQ(b.EditType(), etMoney);
  EXPECT_EQ(b.Prefix(), u"$");
  EXPECT_EQ(b.DropDownButtonWidth(), 25);
  EXPECT_EQ(b.Button()->Hint(), u"open");
  EXPECT_EQ(b.DropDownHeader()->Caption(), u"<b>Head</b>");
  EXPECT_EQ(b.SelectionColor(), 0xFDF8F1);
}

}  // namespace
