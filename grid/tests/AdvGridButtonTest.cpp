// The grid button: push, check and grouped buttons clicked as a user clicks them, its presets,
// and its glyphs.
#include <gtest/gtest.h>

#include "grid/AdvGridButton.h"
#include "platform/ui/Forms.h"
#include "testing/TestSupport.h"

namespace {

struct TButtonsForm {
  TForm form{nullptr};
  TAdvGridButton* b[3];
  int clicks[3] = {0, 0, 0};
  TButtonsForm() {
    form.SetBounds(50, 50, 200, 80);
    for (int i = 0; i < 3; ++i) {
      b[i] = new TAdvGridButton(&form);
      b[i]->SetParent(&form);
      b[i]->SetBounds(10 + 40 * i, 10, 30, 22);
      b[i]->OnClick = [this, i](TObject*) { ++clicks[i]; };
    }
    form.Show();
    ProcessPendingEvents();
  }
  void Click(int i) {
    SimulateClick(b[i], 15, 11);
    ProcessPendingEvents();
  }
};

}  // namespace

TEST(AdvGridButton, PushButtonsStayUpCheckButtonsToggleAndGroupsKeepOneDown) {
  TButtonsForm f;
  f.b[0]->SetDown(true);
  EXPECT_FALSE(f.b[0]->Down());
  f.Click(0);
  EXPECT_FALSE(f.b[0]->Down());
  EXPECT_EQ(f.clicks[0], 1);

  f.b[1]->SetStyle(tasCheck);
  f.Click(1);
  EXPECT_TRUE(f.b[1]->Down());
  f.Click(1);
  EXPECT_FALSE(f.b[1]->Down());
  EXPECT_EQ(f.clicks[1], 2);
  // A press that leaves the button before the release does not click.
  SimulateMouseDown(f.b[1], mbLeft, 15, 11);
  SimulateMouseMove(f.b[1], 100, 60, {ssLeft});
  SimulateMouseUp(f.b[1], mbLeft, 100, 60);
  EXPECT_EQ(f.clicks[1], 2);

  f.b[1]->SetStyle(tasButton);
  for (TAdvGridButton* b : f.b) b->SetGroupIndex(1);
  f.Click(0);
  EXPECT_TRUE(f.b[0]->Down());
  f.Click(2);
  EXPECT_TRUE(f.b[2]->Down());
  EXPECT_FALSE(f.b[0]->Down());
  f.Click(2);  // the pressed one stays down without AllowAllUp
  EXPECT_TRUE(f.b[2]->Down());
  EXPECT_EQ(f.clicks[2], 2);
  f.b[2]->SetAllowAllUp(true);  // told to the whole group
  EXPECT_TRUE(f.b[0]->AllowAllUp());
  f.Click(2);
  EXPECT_FALSE(f.b[2]->Down());
}

TEST(AdvGridButton, LooksMarginAndGlyphs) {
  TButtonsForm f;
  TAdvGridButton* b = f.b[0];
  b->SetMargin(-5);
  EXPECT_EQ(b->Margin(), -1);
  b->SetMargin(2);
  EXPECT_EQ(b->Margin(), 2);

  b->SetFlat(false);
  b->SetBorderColor(clRed);
  b->SetLook(2);
  EXPECT_EQ(b->Look(), 2);
  EXPECT_EQ(b->Color(), TColor(0x00FDEADA));
  EXPECT_EQ(b->ColorCheckedTo(), TColor(0x0055ADFF));
  EXPECT_EQ(b->BorderHotColor(), TColor(0x00000000));
  EXPECT_EQ(b->BorderDownColor(), TColor(0x00000000));
  EXPECT_EQ(b->BorderColor(), clNone);
  EXPECT_TRUE(b->Flat());
  EXPECT_FALSE(b->Rounded());
  b->SetLook(9);
  EXPECT_EQ(b->Look(), 9);
  EXPECT_EQ(b->Color(), TColor(0x00FDEADA));
  b->SetLook(0);
  EXPECT_TRUE(b->Rounded());

  // A glyph without caption sits at the corner; its disabled form is grey from 96 to 223.
  TBitmap glyph;
  glyph.SetSize(6, 6);
  glyph.Canvas()->Brush()->SetColor(clWhite);
  glyph.Canvas()->FillRect(Rect(0, 0, 6, 6));
  glyph.Canvas()->Brush()->SetColor(TColor(0x000000FF));
  glyph.Canvas()->FillRect(Rect(0, 0, 4, 4));
  TAdvGridButton* g = f.b[1];
  g->SetLook(5);
  g->SetGlyph(&glyph);
  ASSERT_FALSE(g->GlyphDisabled()->Empty());
  EXPECT_EQ(static_cast<uint32_t*>(g->GlyphDisabled()->ScanLine(0))[0] & 0xFFFFFF, 0x8A8A8Au);  // (255 / 3) / 2 + 96
  auto shown = RenderControl(g);
  EXPECT_EQ(PixelColor(*shown, 1, 1), TColor(0x000000FF));
  EXPECT_NE(PixelColor(*shown, 10, 10), TColor(0x000000FF));
}
