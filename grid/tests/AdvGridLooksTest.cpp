// The string grid's ready-made looks, their names and the URL display settings.
#include <gtest/gtest.h>

#include "grid/AdvGrid.h"
#include "platform/ui/Forms.h"
#include "platform/win/WinUser.h"
#include "testing/TestSupport.h"

namespace {

struct TGridForm {
  TForm form{nullptr};
  DEreDuzeroVaro* grid = new DEreDuzeroVaro(&form);
  TGridForm() {
    form.SetBounds(50, 50, 500, 300);
    grid->SetParent(&form);
    grid->SetBounds(0, 0, 460, 260);
    form.Show();
    ProcessPendingEvents();
  }
};

}  // namespace

TEST(AdvGridLooks, NamesOfEveryLook) {
  struct TCase {
    TGridLook look;
    const char16_t* text;
    const char16_t* display;
  };
  const TCase cases[] = {
      {glStandard, u"glStandard", u"Standard"},   {glSoft, u"glSoft", u"Soft"},
      {glClassic, u"glClassic", u"Classic"},      {glZOL, u"glZOL", u"ZOL"},
      {glXP, u"glXP", u"Windows XP"},             {glListView, u"glListView", u"ListView"},
      {glVista, u"glVista", u"Windows Vista"},    {glWin7, u"glWin7", u"Windows 7"},
      {glOffice2007, u"glOffice2007", u"Office2007"},
  };
  for (const TCase& c : cases) {
    String t, d;
    DEreDuzeroVaro::LookToText(c.look, t);
    DEreDuzeroVaro::LookDisplayName(c.look, d);
    EXPECT_EQ(t, c.text);
    EXPECT_EQ(d, c.display);
  }
  String keep = u"unchanged";
  DEreDuzeroVaro::LookToText(glCustom, keep);
  DEreDuzeroVaro::LookDisplayName(glCustom, keep);
  EXPECT_EQ(keep, u"unchanged");
}

TEST(AdvGridLooks, EachColourLookWritesItsColourTable) {
  struct TCase {
    TGridLook look;
    TColor active, selection, selectionText, footer, footerTo, fixedFrom, fixedTo, hoverFrom;
  };
  const TColor keep = 0x00123456;  // a hover colour the plain looks leave alone
  const TCase cases[] = {
      {glStandard, clGray, clHighlight, clHighlightText, clBtnFace, clBtnFace, clBtnFace, clNone, keep},
      {glSoft, clGray, clHighlight, clHighlightText, clBtnFace, clBtnFace, clBtnFace, clNone, keep},
      {glClassic, clGray, clHighlight, clHighlightText, clBtnFace, clBtnFace, clBtnFace, clNone, keep},
      {glListView, clGray, clHighlight, clHighlightText, clBtnFace, clBtnFace, clWhite, clBtnFace, keep},
      {glZOL, 0x00EACAB6, 0x00EACAB6, clBlack, clNone, clNone, clWhite, clSilver, 0x00CFD0D1},
      {glXP, 0x00EACAB6, 0x00EACAB6, clBlack, clNone, clNone, clWhite, clBtnFace, 0x00CFD0D1},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.look));
    DEreDuzeroVaro g(nullptr);
    g.SetLook(glCustom);
    g.ControlLook()->SetFixedGradientHoverFrom(keep);
    g.SetSelectionColorTo(clRed);
    g.SetScrollType(ssMetro);
    g.SetBorderStyle(bsNone);
    g.SetGridLineColor(clBlue);
    g.SortSettings()->SetHeaderColor(clYellow);
    g.SetLook(c.look);
    EXPECT_EQ(g.Look(), c.look);
    EXPECT_EQ(g.ActiveCellColor(), c.active);
    EXPECT_EQ(g.ActiveCellColorTo(), clNone);
    EXPECT_EQ(g.SelectionColor(), c.selection);
    EXPECT_EQ(g.SelectionTextColor(), c.selectionText);
    EXPECT_EQ(g.SelectionColorTo(), c.look == glZOL || c.look == glXP ? clNone : clRed);
    EXPECT_EQ(g.SearchFooter()->Color(), c.footer);
    EXPECT_EQ(g.SearchFooter()->ColorTo(), c.footerTo);
    EXPECT_EQ(g.ControlLook()->FixedGradientFrom(), c.fixedFrom);
    EXPECT_EQ(g.ControlLook()->FixedGradientTo(), c.fixedTo);
    EXPECT_EQ(g.ControlLook()->FixedGradientMirrorFrom(), clNone);
    EXPECT_EQ(g.ControlLook()->FixedGradientHoverFrom(), c.hoverFrom);
    EXPECT_EQ(g.SortSettings()->HeaderColor(), clNone);
    EXPECT_EQ(g.GridLineColor(), clSilver);
    EXPECT_EQ(g.GridFixedLineColor(), clGray);
    EXPECT_EQ(g.SelectionStyle(), ssDefault);
    EXPECT_EQ(g.ScrollType(), ssNormal);
    EXPECT_EQ(g.BorderStyle(), bsSingle);
    EXPECT_EQ(g.BorderColor(), TColor(0x00B99D7F));
    if (c.look == glZOL || c.look == glXP) {
      EXPECT_EQ(g.ControlLook()->FixedGradientHoverTo(), TColor(0x00BEC6C8));
      EXPECT_EQ(g.ControlLook()->FixedGradientHoverMirrorFrom(), TColor(0x00BEC6C8));
      EXPECT_EQ(g.ControlLook()->FixedGradientHoverMirrorTo(), TColor(0x00ABBCBF));
      EXPECT_EQ(g.ControlLook()->FixedGradientDownFrom(), TColor(0x00868788));
      EXPECT_EQ(g.ControlLook()->FixedGradientDownTo(), TColor(0x00737C7E));
      EXPECT_EQ(g.ControlLook()->FixedGradientDownMirrorFrom(), TColor(0x00737C7E));
      EXPECT_EQ(g.ControlLook()->FixedGradientDownMirrorTo(), TColor(0x00627376));
    }
    // Every colour stays the user's to change afterwards.
    g.SetSelectionColor(clLime);
    EXPECT_EQ(g.SelectionColor(), clLime);
  }
}

TEST(AdvGridLooks, TheNewestLooksSetStyleAndSelectionStyleOnly) {
  struct TCase {
    TGridLook look;
    TZOLStyle style;
    TGridSelectionStyle selection;
  };
  const TCase cases[] = {
      {glVista, tsWindowsVista, ssVista}, {glWin7, tsWindows7, ssWin7}, {glOffice2007, tsOffice2007Luna, ssOffice2007}};
  for (const TCase& c : cases) {
    DEreDuzeroVaro g(nullptr);
    g.SetSelectionColor(clLime);
    g.SetLook(c.look);
    EXPECT_EQ(g.ComponentStyle(), c.style);
    EXPECT_EQ(g.SelectionStyle(), c.selection);
    EXPECT_EQ(g.SelectionColor(), clLime);
    EXPECT_EQ(g.ControlLook()->FixedGradientFrom(), clNone);  // the previous look's colours went
    EXPECT_EQ(g.BorderColor(), TColor(0x00B99D7F));
  }
  // glCustom keeps everything; setting the same look again does nothing.
  DEreDuzeroVaro g(nullptr);
  g.ControlLook()->SetFixedGradientFrom(clRed);
  g.SetLook(glCustom);
  EXPECT_EQ(g.ControlLook()->FixedGradientFrom(), clRed);
  g.SetGridLineColor(clBlue);
  g.SetLook(glCustom);
  EXPECT_EQ(g.GridLineColor(), clBlue);
}

TEST(AdvGridLooks, TheLooksColoursShowOnScreen) {
  TGridForm f;
  DEreDuzeroVaro* g = f.grid;
  g->SetLook(glStandard);
  ProcessPendingEvents();
  TRect fixed = g->CellRect(1, 0), cell = g->CellRect(2, 2);
  auto img = RenderControl(g);
  EXPECT_EQ(PixelColor(*img, (fixed.Left + fixed.Right) / 2, fixed.Top + 3), ColorToRGB(clBtnFace));
  EXPECT_EQ(PixelColor(*img, fixed.Right - 1, (fixed.Top + fixed.Bottom) / 2), ColorToRGB(clGray));
  EXPECT_EQ(PixelColor(*img, cell.Right - 1, (cell.Top + cell.Bottom) / 2), ColorToRGB(clSilver));

  // Office 2007's selection is painted from its own warm colour table.
  g->SetOptions(g->Options() + goDrawFocusSelected);
  g->SetSelection(TGridRect{1, 1, 3, 3});
  g->SetLook(glOffice2007);
  img = RenderControl(g);
  TRect sel = g->CellRect(2, 2);
  TColor p = PixelColor(*img, (sel.Left + sel.Right) / 2, sel.Top + 4);
  int r = p & 0xFF, b = (p >> 16) & 0xFF;
  EXPECT_GT(r - b, 20) << std::hex << p;
}

TEST(AdvGridLooks, URLSettingsStore) {
  DEreDuzeroVaro g(nullptr);
  EXPECT_FALSE(g.URLShow());
  EXPECT_FALSE(g.URLShowInText());
  EXPECT_FALSE(g.URLFull());
  g.SetURLShow(true);
  g.SetURLShowInText(true);
  g.SetURLFull(true);
  EXPECT_TRUE(g.URLShow() && g.URLShowInText() && g.URLFull());
}
