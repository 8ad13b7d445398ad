#include <gtest/gtest.h>

#include <climits>

#include "instruments/VrControls.h"
#include "platform/ui/Forms.h"

namespace {

TEST(VrPalette, AssignNotifiesOnceAndGetColorsSplitsAtZero) {
  TVrPalette source, palette;
  source.SetLow(clSilver);
  source.SetHigh(clRed);
  int changes = 0;
  palette.OnChange = [&](TObject*) { ++changes; };
  palette.Assign(&source);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(palette.Low(), clSilver);
  EXPECT_EQ(palette.High(), clRed);
  for (int index : {0, -5}) EXPECT_EQ(palette.GetColors(index), clSilver) << index;
  for (int index : {1, 7}) EXPECT_EQ(palette.GetColors(index), clRed) << index;
  palette.SetHigh(clRed);
  EXPECT_EQ(changes, 1) << "an unchanged value does not notify";
}

TEST(VrPalette, ToBMPRecoloursFromTheOriginalPixels) {
  TBitmap bmp(3, 1);
  bmp.Canvas()->SetPixels(0, 0, clBlack);
  bmp.Canvas()->SetPixels(1, 0, clWhite);
  bmp.Canvas()->SetPixels(2, 0, clBlue);
  TVrPalette palette;
  palette.SetLow(clWhite);  // the first pass's output must not be recoloured again
  palette.SetHigh(clRed);
  palette.ToBMP(&bmp, clBlack, clWhite);
  EXPECT_EQ(ColorToRGB(bmp.Canvas()->Pixels(0, 0)), clWhite);
  EXPECT_EQ(ColorToRGB(bmp.Canvas()->Pixels(1, 0)), clRed);
  EXPECT_EQ(ColorToRGB(bmp.Canvas()->Pixels(2, 0)), clBlue);
}

TEST(VrPersistent, EndUpdateNeverGoesBelowZero) {
  TVrPalette palette;
  int changes = 0;
  palette.OnChange = [&](TObject*) { ++changes; };
  palette.EndUpdate();  // unbalanced
  palette.SetLow(clRed);
  EXPECT_EQ(changes, 2) << "notifications still arrive after an unbalanced EndUpdate";
}

TEST(VrDrawing, Frame3DDrawsNestedFramesAndShrinksTheRectangle) {
  TBitmap bmp(10, 10);
  TCanvas* c = bmp.Canvas();
  c->Brush()->SetColor(clWhite);
  c->FillRect(Rect(0, 0, 10, 10));
  TRect r(0, 0, 10, 10);
  Frame3D(c, r, clRed, clBlue, 2);
  EXPECT_EQ(r, Rect(2, 2, 8, 8));
  struct { int x, y; TColor colour; } cases[] = {
      {0, 0, clRed},  {5, 0, clRed},  {0, 5, clRed},  {8, 0, clRed},   // outer top and left
      {9, 0, clBlue}, {9, 9, clBlue}, {0, 9, clBlue}, {5, 9, clBlue},  // outer right and bottom
      {1, 1, clRed},  {7, 1, clRed},  {8, 1, clBlue}, {1, 8, clBlue},  // inner frame
      {2, 2, clWhite}, {7, 7, clWhite}};
  for (auto& k : cases) EXPECT_EQ(ColorToRGB(c->Pixels(k.x, k.y)), k.colour) << k.x << "," << k.y;
}

TEST(VrDrawing, TileBitmapCoversTheRectangleFromItsCorner) {
  TBitmap tile(3, 2);
  tile.Canvas()->Brush()->SetColor(clRed);
  tile.Canvas()->FillRect(Rect(0, 0, 3, 2));
  tile.Canvas()->SetPixels(0, 0, clBlue);
  TBitmap bmp(10, 10);
  bmp.Canvas()->Brush()->SetColor(clWhite);
  bmp.Canvas()->FillRect(Rect(0, 0, 10, 10));
  TileBitmap(bmp.Canvas(), Rect(1, 1, 8, 6), &tile);
  EXPECT_EQ(ColorToRGB(bmp.Canvas()->Pixels(0, 0)), clWhite);
  for (TPoint p : {TPoint(1, 1), TPoint(4, 3), TPoint(7, 5)}) EXPECT_EQ(ColorToRGB(bmp.Canvas()->Pixels(p.X, p.Y)), clBlue);
  EXPECT_EQ(ColorToRGB(bmp.Canvas()->Pixels(9, 6)), clRed) << "the last column reaches beyond the rectangle";
  EXPECT_EQ(ColorToRGB(bmp.Canvas()->Pixels(5, 7)), clWhite);
}

TEST(VrDrawing, CalcImageTextLayoutPlacesImageAndCaption) {
  TBitmap scratch(1, 1);
  TCanvas* c = scratch.Canvas();
  const String caption = u"Power";
  const TSize text = c->TextExtent(caption);
  TRect bounds;
  TPoint image;
  // Automatic margin centres the group: (125 - (12 + 5 + text) + 1) div 2.
  CalcImageTextLayout(c, Rect(0, 0, 125, 25), bounds, image, TPoint(12, 12), 5, -1, ImageLeft, caption);
  int margin = (125 - (12 + 5 + text.cx) + 1) / 2;
  EXPECT_EQ(image, TPoint(margin, 7));
  EXPECT_EQ(bounds.Left, margin + 12 + 5);
  EXPECT_EQ(bounds.Width(), text.cx);
  EXPECT_EQ(bounds.Top, (25 - text.cy + 1) / 2);

  // Image on the right, fixed margin, offset client.
  CalcImageTextLayout(c, Rect(10, 20, 110, 40), bounds, image, TPoint(8, 6), 4, 3, ImageRight, caption);
  EXPECT_EQ(image, TPoint(10 + 100 - 3 - 8, 20 + 7));
  EXPECT_EQ(bounds.Right, 10 + 100 - 3 - 8 - 4);

  // Both automatic: three equal gaps.
  CalcImageTextLayout(c, Rect(0, 0, 100, 60), bounds, image, TPoint(10, 10), -1, -1, ImageLeft, caption);
  int gap = (100 - (10 + text.cx)) / 3;
  EXPECT_EQ(image.X, gap);
  EXPECT_EQ(bounds.Left, gap + 10 + gap);

  // An empty caption has no spacing, so the image alone is centred.
  CalcImageTextLayout(c, Rect(0, 0, 60, 60), bounds, image, TPoint(10, 10), -1, -1, ImageTop, u"");
  EXPECT_EQ(image, TPoint(25, 25));
  EXPECT_TRUE(bounds.IsEmpty());
}

TEST(VrFont3D, RaisedTextDrawsShadowAndHighlightAroundTheText) {
  TBitmap bmp(80, 40);
  TCanvas* c = bmp.Canvas();
  c->Brush()->SetColor(clWhite);
  c->FillRect(Rect(0, 0, 80, 40));
  c->Font()->SetName(u"Arial");
  c->Font()->SetSize(20);
  c->Font()->SetStyle(TFontStyles{fsBold});
  c->Font()->SetColor(clBlack);
  TVrFont3D font;
  font.SetStyle(f3dRaised);
  font.SetShadowColor(clBlue);
  font.SetHighlightColor(clRed);
  font.SetShadowDepth(2);
  font.SetHighlightDepth(1);
  font.Paint(c, Rect(0, 0, 80, 40), DT_CENTER | DT_VCENTER | DT_SINGLELINE, u"I");
  EXPECT_EQ(c->Font()->Color(), clBlack);

  auto extent = [&](TColor colour, bool wantMax) {
    int best = wantMax ? -1 : INT_MAX;
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 80; ++x)
        if (ColorToRGB(c->Pixels(x, y)) == colour) best = wantMax ? std::max(best, x) : std::min(best, x);
    return best;
  };
  const int textLeft = extent(clBlack, false), textRight = extent(clBlack, true);
  ASSERT_LT(textLeft, INT_MAX);
  EXPECT_EQ(extent(clRed, false), textLeft - 1);
  EXPECT_EQ(extent(clBlue, true), textRight + 2);
}

// A control that counts its repaint requests.
struct TCountingControl : TVrCustomImageControl {
  explicit TCountingControl(TComponent* o) : TVrCustomImageControl(o) {}
  int paints = 0;
  void Repaint() override {
    ++paints;
    TVrCustomImageControl::Repaint();
  }
};

TEST(VrCustomControl, UpdateBracketsHoldRepaintsAndAnUnbalancedEndUpdateDoesNotBlockThem) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 100, 100);
  auto* control = new TCountingControl(&form);
  control->SetParent(&form);
  control->SetBounds(0, 0, 40, 20);
  int base = control->paints;

  control->BeginUpdate();
  control->UpdateView();
  EXPECT_EQ(control->paints, base);
  control->EndUpdate();
  EXPECT_EQ(control->paints, base + 1);

  control->EndUpdate();  // unbalanced
  EXPECT_EQ(control->UpdateCount(), 0);
  control->UpdateView();
  EXPECT_EQ(control->paints, base + 3);
}

TEST(VrCustomControl, ImageControlCopiesItsImageInColor) {
  TForm form(nullptr);
  auto* control = new TCountingControl(&form);
  control->SetParent(&form);
  control->SetBounds(0, 0, 30, 10);
  control->SetColor(clTeal);
  control->HandleNeeded();
  TBitmap out(30, 10);
  control->Perform(WM_PAINT, reinterpret_cast<WPARAM>(out.Canvas()->Handle()), 0);
  EXPECT_EQ(ColorToRGB(out.Canvas()->Pixels(0, 0)), clTeal);
  EXPECT_EQ(ColorToRGB(out.Canvas()->Pixels(29, 9)), clTeal);
}

TEST(VrCustomControl, HandCursorIsRegisteredAs99) {
  TVrComponent component(nullptr);
  EXPECT_EQ(component.Version(), u"1.4.5");
  EXPECT_NE(Screen->Cursors(crVrHandPoint), nullptr);
}

}  // namespace
