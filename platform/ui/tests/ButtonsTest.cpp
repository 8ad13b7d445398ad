#include <gtest/gtest.h>

#include <QIcon>
#include <QPushButton>

#include "platform/ui/Buttons.h"
#include "platform/ui/Controls_p.h"
#include "platform/ui/Forms.h"
#include "StdCtrlsTestSupport.h"

namespace {

// A strip of n solid images of 8x8, each of colours[i], with a magenta corner pixel
// (bottom-left) that marks the transparent colour.
std::unique_ptr<TBitmap> Strip(std::initializer_list<TColor> colours) {
  auto b = std::make_unique<TBitmap>(int(8 * colours.size()), 8);
  int i = 0;
  for (TColor c : colours) {
    b->Canvas()->Brush()->SetColor(c);
    b->Canvas()->FillRect(Bounds(8 * i++, 0, 8, 8));
  }
  b->Canvas()->Brush()->SetColor(clFuchsia);
  b->Canvas()->FillRect(Bounds(0, 7, 8, 1));  // the bottom row of the first image is transparent
  return b;
}

TEST(SpeedButton, ClicksOnReleaseOverItAndKeepsGroupsExclusive) {
  TForm form(nullptr);
  TSpeedButton* b[3];
  int clicks[3] = {};
  for (int i = 0; i < 3; ++i) {
    b[i] = new TSpeedButton(&form);
    b[i]->SetParent(&form);
    b[i]->SetBounds(10 + 30 * i, 10, 25, 25);
    b[i]->OnClick = [&clicks, i](TObject*) { ++clicks[i]; };
  }
  form.Show();
  // Without a group: a click, never down; a release outside is no click.
  ClickCentre(b[0]);
  b[0]->SetDown(true);
  EXPECT_FALSE(b[0]->Down());
  SimulateMouseDown(b[0], mbLeft, 5, 5);
  SimulateMouseUp(b[0], mbLeft, 100, 100);
  EXPECT_EQ(clicks[0], 1);
  EXPECT_EQ(b[0]->State(), bsUp);

  for (TSpeedButton* s : b) s->SetGroupIndex(1);
  ClickCentre(b[1]);
  EXPECT_TRUE(b[1]->Down());
  ClickCentre(b[2]);
  EXPECT_TRUE(b[2]->Down());
  EXPECT_FALSE(b[1]->Down());
  ClickCentre(b[2]);  // clicking the down button leaves it down
  EXPECT_TRUE(b[2]->Down());
  EXPECT_EQ(clicks[2], 2);
  b[0]->SetDown(true);  // in code, also exclusive
  EXPECT_FALSE(b[2]->Down());

  // AllowAllUp spreads to the group and lets the down button come up.
  b[1]->SetAllowAllUp(true);
  EXPECT_TRUE(b[0]->AllowAllUp());
  ClickCentre(b[0]);
  EXPECT_FALSE(b[0]->Down());

  b[1]->SetEnabled(false);
  ClickCentre(b[1]);
  EXPECT_EQ(clicks[1], 1);
}

TEST(SpeedButton, DrawsTheGlyphForItsStateWithTheCornerColourTransparent) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 100, 60);
  form.SetColor(clWhite);
  auto* b = new TSpeedButton(&form);
  b->SetParent(&form);
  b->SetBounds(0, 0, 40, 40);
  b->SetFlat(true);
  auto glyph = Strip({clRed, clBlue});
  b->SetGlyph(glyph.get());
  b->SetNumGlyphs(2);
  form.Show();
  QImage img = Render(&form);
  EXPECT_EQ(CountColor(img, TRect(0, 0, 40, 40), clRed, 0), 8 * 7);
  EXPECT_EQ(CountColor(img, TRect(0, 0, 40, 40), clFuchsia, 0), 0);
  b->SetEnabled(false);  // the second image is the disabled one
  img = Render(&form);
  EXPECT_EQ(CountColor(img, TRect(0, 0, 40, 40), clRed, 0), 0);
  EXPECT_EQ(CountColor(img, TRect(0, 0, 40, 40), clBlue, 0), 8 * 8);
  // With one image the disabled look is made from it: no red left.
  b->SetNumGlyphs(1);
  img = Render(&form);
  EXPECT_EQ(CountColor(img, TRect(0, 0, 40, 40), clRed, 0), 0);
  EXPECT_GT(CountColor(img, TRect(0, 0, 40, 40), clBtnShadow, 0), 0);

  b->SetEnabled(true);
  b->SetGlyph(nullptr);
  b->SetCaption(u"ｸﾘｱ");
  img = Render(&form);
  EXPECT_GT(InkPixels(img, TRect(2, 2, 38, 38)), 10);
}

TEST(BitBtn, KindGivesCaptionResultAndRole) {
  TForm form(nullptr);
  auto* ok = new TBitBtn(&form);
  ok->SetParent(&form);
  ok->SetKind(bkOK);
  EXPECT_EQ(ok->Caption(), u"OK");
  EXPECT_EQ(ok->ModalResult(), mrOk);
  EXPECT_TRUE(ok->Default());
  auto* cancel = new TBitBtn(&form);
  cancel->SetParent(&form);
  cancel->SetKind(bkCancel);
  EXPECT_TRUE(cancel->Cancel());
  EXPECT_EQ(cancel->ModalResult(), mrCancel);
  ok->Click();
  EXPECT_EQ(form.ModalResult(), mrOk);

  auto glyph = Strip({clRed});
  ok->SetGlyph(glyph.get());
  auto* native = qobject_cast<QPushButton*>(TControlHost::Widget(ok));
  ASSERT_NE(native, nullptr);
  QImage icon = native->icon().pixmap(8, 8).toImage().convertToFormat(QImage::Format_ARGB32);
  EXPECT_EQ(qAlpha(icon.pixel(0, 7)), 0);  // the corner colour is transparent
  EXPECT_EQ(icon.pixelColor(3, 3), QColor(Qt::red));

  // A close button closes its form.
  form.Show();
  auto* close = new TBitBtn(&form);
  close->SetParent(&form);
  close->SetKind(bkClose);
  close->Click();
  EXPECT_FALSE(form.Visible());
}

}  // namespace
