// The colour selector panels: the palette's layout, keys and painted boxes, the cube's hits and
// hint, the spectrum's picture and choice, and the eyedropper cursor.

#include <gtest/gtest.h>

#include "dropdowns/AdvColorSelectors.h"
#include "platform/ui/Forms.h"
#include "platform/win/WinUser.h"
#include "testing/TestSupport.h"

namespace {

// A shown form holding one panel at (10, 10).
template <typename T>
struct PanelHost {
  TForm form{nullptr};
  T* panel;
  int selects = 0;
  PanelHost() {
    form.SetBorderStyle(bsNone);
    form.SetBounds(100, 100, 300, 260);
    form.SetColor(clWhite);
    panel = new T(&form);
    panel->SetParent(&form);
    panel->SetLeft(10);
    panel->SetTop(10);
    form.Show();
    ProcessPendingEvents();
  }
};

struct PaletteHost : PanelHost<TCustomColorSelector> {
  PaletteHost() {
    panel->LoadDefaultPalette();
    panel->UpdateLayout();
    panel->OnItemSelect = [this](TObject*) { ++selects; };
    ProcessPendingEvents();
  }
};

}  // namespace

TEST(ColorSelector, DefaultPaletteLaysOutSixRowsOfTenWithAGapBelowTheFirst) {
  PaletteHost h;
  EXPECT_EQ(h.panel->Width(), 165);
  EXPECT_EQ(h.panel->Height(), 84);
  ASSERT_EQ(h.panel->Items()->Count(), 60);
  const int rowTops[6] = {4, 20, 32, 44, 56, 68};
  for (int r = 0; r < 6; ++r)
    for (int c = 0; c < 10; ++c) {
      const TRect R = h.panel->GetItemRect(r * 10 + c);
      EXPECT_EQ(R, TRect(4 + 16 * c, rowTops[r], 16 + 16 * c, rowTops[r] + 12)) << r << "," << c;
    }
  EXPECT_EQ(h.panel->GetItemRect(60), TRect(-1, -1, -1, -1));
  EXPECT_EQ(h.panel->ItemAtPos(16, 4), -1);  // right edge excluded: the gap
  EXPECT_EQ(h.panel->ItemAtPos(15, 15), 0);
  EXPECT_EQ(h.panel->ItemAtPos(20, 20), 11);
}

TEST(ColorSelector, SelectedColorPicksTheFirstBoxAndAnIndexPastTheEndIsIgnored) {
  PaletteHost h;
  h.panel->SetSelectedColor(0x7F7F7F);
  EXPECT_EQ(h.panel->ItemIndex(), 11);  // not box 50, the same grey further down
  EXPECT_EQ(h.selects, 1);
  h.panel->SetSelectedColor(0x123456);
  EXPECT_EQ(h.panel->ItemIndex(), -1);
  h.panel->SetItemIndex(5);
  h.panel->SetItemIndex(60);
  EXPECT_EQ(h.panel->ItemIndex(), 5);
  EXPECT_EQ(h.panel->SelectedColor(), 0x4D50C0);
  // A negative index selects nothing and fires nothing.
  const int before = h.selects;
  h.panel->SetItemIndex(-1);
  EXPECT_EQ(h.panel->ItemIndex(), -1);
  EXPECT_EQ(h.selects, before);
}

TEST(ColorSelector, HandleKeyMovesByBoxOrByRow) {
  struct Case {
    int from;
    Word key;
    bool editorEnabled, dropped;
    int to;
  } cases[] = {
      {13, VK_UP, false, true, 3},     {5, VK_UP, false, true, 5},      {13, VK_UP, false, false, 12},
      {13, VK_DOWN, false, true, 23},  {55, VK_DOWN, false, true, 55},  {-1, VK_DOWN, false, true, 0},
      {-1, VK_UP, false, false, -1},   {-1, VK_DOWN, false, false, 0},  {7, VK_LEFT, true, false, 7},
      {7, VK_LEFT, true, true, 6},     {7, VK_RIGHT, false, false, 8},  {7, VK_HOME, true, false, 0},
      {7, VK_PRIOR, true, false, 0},   {7, VK_END, true, false, 59},    {7, VK_NEXT, true, false, 59},
      {59, VK_RIGHT, false, true, 59}, {0, VK_LEFT, false, true, 0},
  };
  for (const Case& c : cases) {
    PaletteHost h;
    h.panel->SetItemIndex(c.from);
    h.panel->HandleKey(c.key, c.editorEnabled, c.dropped);
    EXPECT_EQ(h.panel->ItemIndex(), c.to) << "from " << c.from << " key " << c.key << " open " << c.dropped;
  }
  // An empty palette is 100 x 50 and ignores keys.
  PanelHost<TCustomColorSelector> empty;
  EXPECT_EQ(empty.panel->Width(), 100);
  EXPECT_EQ(empty.panel->Height(), 50);
  empty.panel->HandleKey(VK_END, false, true);
  EXPECT_EQ(empty.panel->ItemIndex(), -1);
}

TEST(ColorSelector, SelectedBoxIsFramedRedOutsideAndLightInside) {
  PaletteHost h;
  h.panel->SetItemIndex(24);  // row 3, column 5: 0xE4CCB8
  const TRect r = h.panel->GetItemRect(24);
  auto bmp = RenderControl(h.panel);
  EXPECT_EQ(PixelColor(*bmp, r.Left, r.Top), 0x0000FF);
  EXPECT_EQ(PixelColor(*bmp, r.Right - 1, r.Bottom - 1), 0x0000FF);
  EXPECT_EQ(PixelColor(*bmp, r.Left + 1, r.Top + 1), 0x94E2FF);
  EXPECT_EQ(PixelColor(*bmp, r.Right - 2, r.Bottom - 2), 0x94E2FF);
  EXPECT_EQ(PixelColor(*bmp, r.Left + 5, r.Top + 5), 0xE4CCB8);
  // An unmarked middle box shows its colour with the grey side lines and no top line.
  const TRect m = h.panel->GetItemRect(34);
  EXPECT_EQ(PixelColor(*bmp, m.Left, m.Top + 5), 0xC5C5C5);
  EXPECT_EQ(PixelColor(*bmp, m.Left + 5, m.Top), 0xD7B395);
}

TEST(ColorSelector, RealMouseMarksTheHotBoxAndAPressSelects) {
  PaletteHost h;
  const TRect r = h.panel->GetItemRect(42);
  SimulateMouseMove(h.panel, r.Left + 3, r.Top + 3);
  EXPECT_EQ(h.panel->ItemHot(), 42);
  auto bmp = RenderControl(h.panel);
  EXPECT_EQ(PixelColor(*bmp, r.Left, r.Top), 0x3694F2);
  SimulateMouseMove(h.panel, 2, 2);
  EXPECT_EQ(h.panel->ItemHot(), -1);
  SimulateClick(h.panel, r.Left + 3, r.Top + 3);
  EXPECT_EQ(h.panel->ItemIndex(), 42);
  EXPECT_EQ(h.panel->SelectedColor(), 0x294449);
  EXPECT_EQ(h.selects, 1);
}

TEST(ColorCube, CellsAreHitWithinSixPixelsOfACentreLowestNumberFirst) {
  PanelHost<TAdvColorCubePanel> h;
  EXPECT_EQ(h.panel->Width(), 182);
  EXPECT_EQ(h.panel->Height(), 160);
  struct Case {
    int x, y, cell;
  } cases[] = {
      {91, 80, 64},   // the white centre
      {97, 80, 64},   // 6 from cells 64 and 65
      {98, 80, 65},  {55, 20, 1},   {61, 20, 1},   {127, 20, 7},   {19, 80, 58},  {163, 80, 70},
      {55, 140, 121}, {127, 140, 127},
      {55, 27, -1},  // a hexagon corner between cells 1, 8 and 9
      {0, 0, -1},    {12, 80, -1},
  };
  for (const Case& c : cases) EXPECT_EQ(h.panel->CellAtPos(c.x, c.y), c.cell) << c.x << "," << c.y;
  EXPECT_EQ(h.panel->Cell(64).Color, 0xFFFFFF);
  EXPECT_EQ(h.panel->Cell(127).Color, 0x2100A5);
  h.panel->SetSelectedColor(0xFFFFFF);
  EXPECT_EQ(h.panel->SelectedIndex(), 64);
  h.panel->SetSelectedColor(0x123456);
  EXPECT_EQ(h.panel->SelectedIndex(), -1);
}

TEST(ColorCube, RealMouseSelectsTheCellAndShowsItsRGBHint) {
  PanelHost<TAdvColorCubePanel> h;
  int hides = 0;
  h.panel->OnSelect = [&](TObject*) { ++h.selects; };
  h.panel->OnShouldHide = [&](TObject*) { ++hides; };
  SimulateMouseMove(h.panel, 55, 20);
  EXPECT_EQ(h.panel->HotIndex(), 1);
  EXPECT_EQ(h.panel->Hint(), u"Red: 0,  Green: 51,  Blue: 102");
  SimulateMouseMove(h.panel, 2, 2);
  EXPECT_EQ(h.panel->Hint(), u"");
  EXPECT_EQ(h.panel->HotIndex(), 1);  // the hot cell keeps its mark
  SimulateClick(h.panel, 91, 80);
  EXPECT_EQ(h.panel->SelectedIndex(), 64);
  EXPECT_EQ(h.panel->SelectedColor(), 0xFFFFFF);
  EXPECT_EQ(h.selects, 1);
  EXPECT_EQ(hides, 1);
  // A press outside every cell changes nothing.
  SimulateClick(h.panel, 2, 2);
  EXPECT_EQ(h.selects, 1);
  EXPECT_EQ(h.panel->SelectedIndex(), 64);
  // The selected cell is framed black and white around its colour.
  auto bmp = RenderControl(h.panel);
  EXPECT_EQ(PixelColor(*bmp, 91, 80), 0xFFFFFF);
  EXPECT_EQ(PixelColor(*bmp, 86, 80), 0x000000);
  EXPECT_EQ(PixelColor(*bmp, 55, 20), 0x663300);
}

TEST(ColorSpectrum, PictureRunsHueAcrossAndWhiteToBlackDown) {
  TBitmap b;
  PaintSpectrum(&b);
  ASSERT_EQ(b.Width(), 128);
  ASSERT_EQ(b.Height(), 128);
  struct Case {
    int x, y;
    TColor c;
  } cases[] = {
      {0, 0, 0xFFFFFF},   {127, 0, 0xFFFFFF}, {64, 0, 0xFFFFFF}, {0, 63, 0x0000FF}, {0, 64, 0x0000FF},
      {127, 63, 0x0000FF}, {0, 127, 0x000000}, {90, 127, 0x000000},
  };
  for (const Case& c : cases) EXPECT_EQ(b.Canvas()->Pixels(c.x, c.y) & 0xFFFFFF, c.c) << c.x << "," << c.y;
  // A third of the way across is green, two thirds blue (full colours in row 63).
  auto near = [](TColor c, int r, int g, int bl) {
    return std::abs(GetRValue(c) - r) < 16 && std::abs(GetGValue(c) - g) < 16 && std::abs(GetBValue(c) - bl) < 16;
  };
  EXPECT_TRUE(near(b.Canvas()->Pixels(42, 63), 0, 255, 0));
  EXPECT_TRUE(near(b.Canvas()->Pixels(85, 63), 0, 0, 255));
  EXPECT_TRUE(near(b.Canvas()->Pixels(21, 63), 255, 255, 0));
}

TEST(ColorSpectrum, PressOnThePictureChoosesItsPixelAndShowsIt) {
  PanelHost<TAdvColorSpectrumPanel> h;
  int hides = 0;
  h.panel->OnSelect = [&](TObject*) { ++h.selects; };
  h.panel->OnShouldHide = [&](TObject*) { ++hides; };
  EXPECT_EQ(h.panel->Width(), 150);
  EXPECT_EQ(h.panel->Height(), 174);
  EXPECT_EQ(h.panel->SpectrumImage()->Left(), 11);
  EXPECT_EQ(h.panel->SpectrumImage()->Top(), 10);
  EXPECT_EQ(h.panel->SelectedRect(), TRect(10, 146, 73, 166));
  EXPECT_EQ(h.panel->HotRect(), TRect(77, 146, 140, 166));
  EXPECT_EQ(h.panel->SelectedColor(), 0xFFFFFF);
  // The pointer over the middle rows shows the full colour in the right swatch.
  SimulateMouseMove(h.panel->SpectrumImage(), 0, 63);
  EXPECT_EQ(h.panel->HotColor(), 0x0000FF);
  auto bmp = RenderControl(h.panel);
  EXPECT_EQ(PixelColor(*bmp, 100, 156), 0x0000FF);
  // A press on the top row chooses a colour near white; the left swatch shows it at once.
  SimulateClick(h.panel->SpectrumImage(), 40, 0);
  EXPECT_EQ(h.selects, 1);
  EXPECT_EQ(hides, 1);
  const TColor c = h.panel->SelectedColor();
  EXPECT_GE(GetRValue(c), 240);
  EXPECT_GE(GetGValue(c), 240);
  EXPECT_GE(GetBValue(c), 240);
  // A press at a pixel with no move before it takes that pixel.
  SimulateMouseDown(h.panel->SpectrumImage(), mbLeft, 0, 127);
  SimulateMouseUp(h.panel->SpectrumImage(), mbLeft, 0, 127);
  EXPECT_EQ(h.panel->SelectedColor(), 0x000000);
  bmp = RenderControl(h.panel);
  EXPECT_EQ(PixelColor(*bmp, 40, 156), 0x000000);
  EXPECT_EQ(PixelColor(*bmp, 10, 146), 0xFFFFFF);  // the white inner frame
  EXPECT_EQ(PixelColor(*bmp, 9, 145), 0x808080);   // the grey outer one
}

TEST(ColorSpectrum, PictureShowsTheEyedropperCursorWithItsHotSpotAtTheTip) {
  PanelHost<TAdvColorSpectrumPanel> h;
  HCURSOR cursor = LoadEyeDropperCursor();
  ASSERT_NE(cursor, nullptr);
  EXPECT_EQ(LoadEyeDropperCursor(), cursor);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(cursor, &info));
  EXPECT_EQ(info.xHotspot, 1u);
  EXPECT_EQ(info.yHotspot, 30u);
  EXPECT_EQ(Screen->Cursors(crEyeDropper), cursor);
  EXPECT_EQ(h.panel->SpectrumImage()->Cursor(), crEyeDropper);
  if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);
}
