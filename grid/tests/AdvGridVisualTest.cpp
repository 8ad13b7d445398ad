// The string grid's cell colours and fonts: the one decision of brush, gradient, font, state,
// alignment and word wrap for screen and paper.
#include <gtest/gtest.h>

#include <vector>

#include "grid/AdvGrid.h"
#include "grid/tests/GridTestSupport.h"

namespace {

// What GetVisualProperties hands back for one cell.
struct TVisual {
  TGridDrawState State;
  TColor Brush = clNone, ColorTo = clNone, Mirror = clNone, MirrorTo = clNone;
  TColor FontColor = clNone;
  String FontName;
  int FontSize = 0;
  TFontStyles FontStyle;
  TAlignment HA = taLeftJustify;
  TVAlignment VA = vtaTop;
  bool WW = false;
  TCellGradientDirection GD = GradientHorizontal;
};

TVisual Visual(DEreDuzeroVaro& g, int ACol, int ARow, TGridDrawState State = {}, bool Print = false,
               bool Select = true) {
  TVisual v;
  v.State = State;
  TBrush brush;
  TFont font;
  g.GetVisualProperties(ACol, ARow, v.State, Print, Select, true, &brush, v.ColorTo, v.Mirror, v.MirrorTo, &font, v.HA,
                        v.VA, v.WW, v.GD);
  v.Brush = brush.Color();
  v.FontColor = font.Color();
  v.FontName = font.Name();
  v.FontSize = font.Size();
  v.FontStyle = font.Style();
  return v;
}

// A 6 x 8 grid with one fixed row and column, plain colours and distinct fonts.
struct TColourGrid {
  DEreDuzeroVaro g{nullptr};
  TColourGrid() {
    g.SetColCount(6);
    g.SetRowCount(8);
    g.SetLook(glStandard);
    g.SetColor(0x00F0F0F0);
    g.SetFixedColor(0x00C0C0C0);
    g.Font()->SetColor(0x00000011);
    g.Font()->SetName(u"Normal Face");
    g.FixedFont()->SetColor(0x00000022);
    g.FixedFont()->SetName(u"Fixed Face");
    g.SetSelection(TGridRect{3, 5, 3, 5});  // away from the cells looked at
  }
};

}  // namespace

TEST(AdvGridVisual, BlendColorsMixesEachByte) {
  struct TCase {
    TColor c1, c2;
    int percent;
    TColor expected;
  };
  const TCase cases[] = {
      {0x00FF0000, 0x000000FF, 100, 0x00FF0000}, {0x00FF0000, 0x000000FF, 150, 0x00FF0000},
      {0x00FF0000, 0x000000FF, 0, 0x000000FF},   {0x00FF0000, 0x000000FF, -5, 0x000000FF},
      {clNone, 0x000000FF, 50, 0x000000FF},      {0x00FF0000, clNone, 50, 0x00FF0000},
      {0x00C86400, 0x00006432, 50, 0x00646419},  {0x00FFFFFF, 0x00000000, 25, 0x00404040},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.percent);
    EXPECT_EQ(DEreDuzeroVaro::BlendColors(c.c1, c.c2, c.percent), c.expected);
  }
  EXPECT_EQ(DEreDuzeroVaro::BlendColorsIf(0x00FF0000, 0x000000FF, false, 50), TColor(0x00FF0000));
  EXPECT_EQ(DEreDuzeroVaro::BlendColorsIf(0x00C86400, 0x00006432, true, 50), TColor(0x00646419));
}

TEST(AdvGridVisual, CellKindAndStateGiveBrushFontAndColours) {
  struct TCase {
    const char* what;
    int col, row;
    std::function<void(DEreDuzeroVaro&)> setup;
    TGridDrawState stateIn;
    TColor brush, fontColor;
    const char16_t* fontName;
    bool fixedState, selectedState;
    TColor colorTo;
  };
  const TColor own = 0x00336699;
  const TCase cases[] = {
      {"normal cell", 2, 2, [](DEreDuzeroVaro&) {}, {}, 0x00F0F0F0, 0x00000011, u"Normal Face", false, false, clNone},
      {"fixed row", 2, 0, [](DEreDuzeroVaro&) {}, {}, 0x00C0C0C0, 0x00000022, u"Fixed Face", true, false, clNone},
      {"fixed column", 0, 3, [](DEreDuzeroVaro&) {}, {}, 0x00C0C0C0, 0x00000022, u"Fixed Face", true, false, clNone},
      {"own colour keeps a fixed cell out of the fixed look", 2, 0,
       [own](DEreDuzeroVaro& g) { g.CellProperties(2, 0)->SetBrushColor(own); }, {}, own, 0x00000022, u"Fixed Face",
       false, false, clNone},
      {"a check box's own colour does not keep a fixed cell out", 2, 0,
       [own](DEreDuzeroVaro& g) {
         g.AddCheckBox(2, 0, false, false);
         g.CellProperties(2, 0)->SetBrushColor(own);
       },
       {}, 0x00C0C0C0, 0x00000022, u"Fixed Face", true, false, clNone},
      {"own font colour on a normal cell", 2, 2,
       [](DEreDuzeroVaro& g) { g.CellProperties(2, 2)->SetFontColor(0x000000FF); }, {}, 0x00F0F0F0, 0x000000FF,
       u"Normal Face", false, false, clNone},
      {"XP look gives fixed cells the header gradient", 2, 0,
       [](DEreDuzeroVaro& g) {
         g.SetLook(glXP);
         g.SetZOLGradientFrom(0x00112233);
         g.SetZOLGradientTo(0x00445566);
       },
       {}, 0x00112233, 0x00000022, u"Fixed Face", true, false, 0x00445566},
      {"selected cell in the range", 3, 5, [](DEreDuzeroVaro& g) { g.SetSelectionTextColor(0x00ABCDEF); },
       {gdSelected}, clHighlight, 0x00ABCDEF, u"Normal Face", false, true, clNone},
      {"no selection shown", 3, 5, [](DEreDuzeroVaro& g) { g.SetShowSelection(false); }, {}, 0x00F0F0F0, 0x00000011,
       u"Normal Face", false, false, clNone},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    TColourGrid t;
    c.setup(t.g);
    TVisual v = Visual(t.g, c.col, c.row, c.stateIn);
    EXPECT_EQ(v.Brush, c.brush);
    EXPECT_EQ(v.FontColor, c.fontColor);
    EXPECT_EQ(v.FontName, c.fontName);
    EXPECT_EQ(v.State.Contains(gdFixed), c.fixedState);
    EXPECT_EQ(v.State.Contains(gdSelected), c.selectedState);
    EXPECT_EQ(v.ColorTo, c.colorTo);
  }
}

TEST(AdvGridVisual, BandsColourNormalRowsFromTheFirstNormalRow) {
  TColourGrid t;
  DEreDuzeroVaro& g = t.g;
  g.SetRowCount(10);
  g.SetFixedFooters(1);
  g.SetFixedRightCols(1);
  g.Bands()->SetActive(true);
  g.Bands()->SetPrimaryColor(0x00000A0A);
  g.Bands()->SetSecondaryColor(0x00000B0B);
  g.Bands()->SetPrimaryLength(2);
  g.Bands()->SetSecondaryLength(1);
  const TColor p = 0x00000A0A, s = 0x00000B0B, fixed = 0x00C0C0C0;
  const TColor expected[] = {fixed, p, p, s, p, p, s, p, p, fixed};  // rows 0..9, row 9 the footer
  for (int r = 0; r < 10; ++r) {
    SCOPED_TRACE(r);
    EXPECT_EQ(Visual(g, 1, r).Brush, expected[r]);
  }
  EXPECT_EQ(Visual(g, 5, 2).Brush, fixed);  // the fixed right column

  // A check box without its own colour takes the band; with its own colour it keeps it.
  g.AddCheckBox(2, 3, false, false);
  EXPECT_EQ(Visual(g, 2, 3).Brush, s);
  g.CellProperties(2, 3)->SetBrushColor(0x00123456);
  EXPECT_EQ(Visual(g, 2, 3).Brush, TColor(0x00123456));

  // Paper shows bands only with Bands.Print, and never the selection.
  EXPECT_EQ(Visual(g, 1, 3, {}, true).Brush, g.Color());
  g.Bands()->SetPrint(true);
  EXPECT_EQ(Visual(g, 1, 3, {}, true).Brush, s);
  g.SetSelection(TGridRect{1, 3, 1, 3});
  TVisual printed = Visual(g, 1, 3, {gdSelected}, true);
  EXPECT_EQ(printed.Brush, s);
  EXPECT_EQ(printed.ColorTo, clNone);
}

TEST(AdvGridVisual, SelectionMixerBlendsIntoColouredCellsOnly) {
  TColourGrid t;
  DEreDuzeroVaro& g = t.g;
  g.Bands()->SetActive(true);
  g.Bands()->SetPrimaryColor(0x00204060);
  g.Bands()->SetPrimaryLength(1);
  g.Bands()->SetSecondaryColor(g.Color());
  g.Bands()->SetSecondaryLength(1);
  g.SetSelectionColor(0x00A0C0E0);
  g.SetSelectionColorMixer(true);
  g.SetSelection(TGridRect{1, 1, 2, 2});
  // Row 1 carries the band colour, row 2 the grid's own colour.
  EXPECT_EQ(Visual(g, 1, 1, {gdSelected}).Brush, TColor(0x006080A0));
  EXPECT_EQ(Visual(g, 1, 2, {gdSelected}).Brush, TColor(0x00A0C0E0));
  g.SetSelectionColorMixer(false);
  EXPECT_EQ(Visual(g, 1, 1, {gdSelected}).Brush, TColor(0x00A0C0E0));

  // A selected cell's gradient runs top to bottom whatever the cell says.
  g.CellProperties(2, 2)->SetGradientDirection(GradientHorizontal);
  EXPECT_EQ(Visual(g, 2, 2, {gdSelected}).GD, GradientVertical);
}

TEST(AdvGridVisual, DisjunctSelectionsShowTheirMarks) {
  TColourGrid t;
  DEreDuzeroVaro& g = t.g;
  g.SetSelectionColor(0x00A0A0A0);
  // Marked rows.
  g.MouseActions()->SetDisjunctRowSelect(true);
  g.SetRowSelect(3, true);
  EXPECT_TRUE(Visual(g, 2, 3).State.Contains(gdSelected));
  EXPECT_EQ(Visual(g, 2, 3).Brush, TColor(0x00A0A0A0));
  // The class library's selection of an unmarked row does not show.
  g.SetSelection(TGridRect{2, 4, 2, 4});
  EXPECT_FALSE(Visual(g, 2, 4, {gdSelected}).State.Contains(gdSelected));
  g.MouseActions()->SetDisjunctRowSelect(false);

  // Listed cells, fixed cells included; the current cell outside the list shows plain.
  g.MouseActions()->SetDisjunctCellSelect(true);
  g.SetSelectedCells(4, 6, true);
  g.SetSelectedCells(2, 0, true);
  EXPECT_EQ(Visual(g, 4, 6).Brush, TColor(0x00A0A0A0));
  EXPECT_TRUE(Visual(g, 2, 0).State.Contains(gdSelected));
  g.FocusCell(3, 3);
  TVisual current = Visual(g, 3, 3, {gdSelected, gdFocused});
  EXPECT_FALSE(current.State.Contains(gdSelected));
  EXPECT_EQ(current.Brush, g.Color());
}

TEST(AdvGridVisual, HooksRunInOrderAndTheDisabledFontComesLast) {
  TColourGrid t;
  DEreDuzeroVaro& g = t.g;
  std::vector<std::string> order;
  g.OnGetCellColor = [&](TObject*, int ARow, int ACol, TGridDrawState, TBrush* ABrush, TFont* AFont) {
    order.push_back("color " + std::to_string(ACol) + "," + std::to_string(ARow));
    ABrush->SetColor(0x00010101);
    AFont->SetColor(0x000000FF);
  };
  g.OnGetCellGradient = [&](TObject*, int, int, TColor& Color, TColor& ColorTo, TColor&, TColor&,
                            TCellGradientDirection& GD) {
    order.push_back("gradient");
    EXPECT_EQ(Color, TColor(0x00010101));
    Color = 0x00020202;
    ColorTo = 0x00030303;
    GD = GradientHorizontal;
  };
  g.OnGetWordWrap = [&](TObject*, int, int, bool& WW) {
    order.push_back("wordwrap");
    WW = true;
  };
  g.OnGetAlignment = [&](TObject*, int, int, TAlignment& HA, TVAlignment& VA) {
    order.push_back("alignment");
    HA = taCenter;
    VA = vtaBottom;
  };
  TVisual v = Visual(g, 2, 2);
  EXPECT_EQ(order, (std::vector<std::string>{"color 2,2", "gradient", "wordwrap", "alignment"}));
  EXPECT_EQ(v.Brush, TColor(0x00020202));
  EXPECT_EQ(v.ColorTo, TColor(0x00030303));
  EXPECT_EQ(v.GD, GradientHorizontal);
  EXPECT_EQ(v.FontColor, TColor(0x000000FF));
  EXPECT_TRUE(v.WW);
  EXPECT_EQ(v.HA, taCenter);
  EXPECT_EQ(v.VA, vtaBottom);

  // A disabled grid writes every text in DisabledFontColor, after the colour events.
  g.SetEnabled(false);
  g.SetDisabledFontColor(0x00777777);
  EXPECT_EQ(Visual(g, 2, 2).FontColor, TColor(0x00777777));
  g.SetUseDisabledFont(false);
  EXPECT_EQ(Visual(g, 2, 2).FontColor, TColor(0x000000FF));

  // Printing asks OnGetCellPrintColor instead.
  order.clear();
  g.OnGetCellPrintColor = [&](TObject*, int, int, TGridDrawState, TBrush* ABrush, TFont*) {
    order.push_back("print");
    ABrush->SetColor(0x00010101);
  };
  Visual(g, 2, 2, {}, true);
  EXPECT_EQ(order.front(), "print");
}

TEST(AdvGridVisual, DisabledRowsUseTheDisabledFont) {
  TColourGrid t;
  DEreDuzeroVaro& g = t.g;
  g.SetDisabledFontColor(0x00777777);
  g.SetRowEnabled(4, false);
  EXPECT_EQ(Visual(g, 2, 4).FontColor, TColor(0x00777777));
  EXPECT_EQ(Visual(g, 2, 3).FontColor, TColor(0x00000011));
}

TEST(AdvGridVisual, FontPropertiesForMeasuring) {
  TColourGrid t;
  DEreDuzeroVaro& g = t.g;
  g.CellProperties(2, 2)->SetFontSize(17);
  g.CellProperties(2, 2)->SetFontStyle(TFontStyles{fsBold});
  TFont font;
  TBrush brush;
  TGridDrawState state;
  g.GetFontProperties(2, 2, 2, state, &font, &brush, true);
  EXPECT_EQ(font.Name(), u"Normal Face");
  EXPECT_EQ(font.Size(), 17);
  EXPECT_TRUE(font.Style().Contains(fsBold));
  g.GetFontProperties(2, 0, 0, state, &font, &brush, true);
  EXPECT_EQ(font.Name(), u"Fixed Face");
}

TEST(AdvGridVisual, PaintedCellsShowTheDecidedColours) {
  TGridForm f;
  DEreDuzeroVaro* g = f.grid;
  g->SetLook(glStandard);
  g->SetColor(0x00F0F0F0);
  g->Bands()->SetActive(true);
  g->Bands()->SetPrimaryColor(0x0000C000);
  g->Bands()->SetPrimaryLength(1);
  g->Bands()->SetSecondaryColor(0x00C00000);
  g->Bands()->SetSecondaryLength(1);
  g->CellProperties(2, 3)->SetBrushColor(0x000000C0);
  ProcessPendingEvents();
  auto img = RenderControl(g);
  auto centre = [&](int c, int r) {
    TRect R = g->CellRect(c, r);
    return PixelColor(*img, (R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
  };
  EXPECT_EQ(centre(2, 1), TColor(0x0000C000));
  EXPECT_EQ(centre(2, 2), TColor(0x00C00000));
  EXPECT_EQ(centre(2, 3), TColor(0x000000C0));
  EXPECT_EQ(centre(2, 0), ColorToRGB(g->FixedColor()));
}
