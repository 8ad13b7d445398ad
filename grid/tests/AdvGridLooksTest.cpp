// The string grid's ready-made looks, their names and the URL display settings.
#include <gtest/gtest.h>

#include "grid/AdvGrid.h"
#include "grid/AdvGridEditors.h"
#include "platform/rtl/Registry.h"
#include "testing/ConfigFolder.h"
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

TEST(AdvGridLooks, TheNewestLooksApplyTheirStyle) {
  struct TCase {
    TGridLook look;
    TZOLStyle style;
    TGridSelectionStyle selection;
    TColor zolFrom, selectionColor, fixedFrom;
  };
  const TCase cases[] = {{glVista, tsWindowsVista, ssVista, 0xFFFFFF, 0xEACAB6, clNone},
                         {glWin7, tsWindows7, ssWin7, 0xFDFCFA, 0xEACAB6, clNone},
                         {glOffice2007, tsOffice2007Luna, ssOffice2007, 0xFBF9F6, 0x5EC1F1, 0xFBF9F6}};
  for (const TCase& c : cases) {
    DEreDuzeroVaro g(nullptr);
    g.SetSelectionColor(clLime);
    g.SetLook(c.look);
    EXPECT_EQ(g.Look(), c.look);
    EXPECT_EQ(g.ComponentStyle(), c.style);
    EXPECT_EQ(g.SelectionStyle(), c.selection);
    EXPECT_EQ(g.ZOLGradientFrom(), c.zolFrom);
    EXPECT_EQ(g.SelectionColor(), c.selectionColor);
    EXPECT_EQ(g.ControlLook()->FixedGradientFrom(), c.fixedFrom);
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

// Each style's row of the colour table, as the grid's properties hold it afterwards.
TEST(AdvGridLooks, StylesWriteTheirColourTables) {
  using G = DEreDuzeroVaro;
  struct TCase {
    G::TAdvGridStyle style;
    TGridLook look;
    TColor from, to, mirrorFrom, mirrorTo, active, activeTo, selection, selectionTo, selectionText, line, fixedLine;
    TGridSelectionStyle selectionStyle;
    TColor fixedFrom, footer, footerTo;
  };
  const TColor N = clNone;
  const TCase cases[] = {
      {G::gsOffice2003Blue, glXP, 0xFCE1CB, 0xE0A57D, N, N, 0x94E6FB, 0x1595EE, 0x94E6FB, 0x1595EE, clBlack, 0xC0C0C0,
       0x808080, ssDefault, 0xFCE1CB, 0xFCE1CB, N},
      {G::gsOffice2003Olive, glXP, 0xCFF0EA, 0x8CC0B1, N, N, 0x94E6FB, 0x1595EE, 0x94E6FB, 0x1595EE, clBlack, 0xC0C0C0,
       0x808080, ssDefault, 0xCFF0EA, 0xCFF0EA, N},
      // The default look is already glXP: the selection stays as reset.
      {G::gsOffice2003Classic, glXP, 0xFFFFFF, 0xCCD4D8, N, N, 0xD8D5D4, 0xD8D5D4, clHighlight, N, clHighlightText, 0xC0C0C0,
       0x808080, ssDefault, N, 0xFFFFFF, N},
      {G::gsOffice2007Luna, glOffice2007, 0xFBF9F6, 0xE8DBD2, N, N, 0x9DD8F9, 0x5EC1F1, 0x5EC1F1, N, clBlack,
       0xF1EDEB, 0xD1BBA4, ssOffice2007, 0xFBF9F6, 0xFBF9F6, N},
      {G::gsWindowsXP, glXP, clBtnFace, clBtnFace, N, N, clBtnFace, clBtnFace, clHighlight, N, clHighlightText, 0xC0C0C0,
       0x808080, ssDefault, N, clBtnFace, N},
      {G::gsWindowsVista, glVista, 0xFFFFFF, 0xFFFFFF, 0xFAF8F7, 0xF4F2F1, 0xFDF8F1, 0xFCEFD5, 0xEACAB6, N, clBlack,
       0xECECF0, 0xD4D2D1, ssVista, N, 0xFFFFFF, 0xF4F2F1},
      {G::gsWindows7, glWin7, 0xFDFCFA, 0xFAF0E6, 0xF4E6DC, 0xF7E9DD, 0xFCEBDC, 0xFCDBC1, 0xEACAB6, N, clBlack,
       0xECECF0, 0xD4D2D1, ssWin7, N, 0xFDFCFA, 0xF7E9DD},
      {G::gsOffice2010Black, glOffice2007, 0x6A6A6A, 0x6A6A6A, 0x6A6A6A, 0x6A6A6A, 0x5BD5FF, 0x71EFFF, 0xFFDBB7, N,
       clBlack, 0xC0C0C0, 0x444444, ssDefault, N, 0x6A6A6A, 0x6A6A6A},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.style));
    DEreDuzeroVaro g(nullptr);
    g.SetStyle(c.style);
    EXPECT_EQ(g.Look(), c.look);
    EXPECT_EQ(g.ZOLGradientFrom(), c.from);
    EXPECT_EQ(g.ZOLGradientTo(), c.to);
    EXPECT_EQ(g.ZOLGradientMirrorFrom(), c.mirrorFrom);
    EXPECT_EQ(g.ZOLGradientMirrorTo(), c.mirrorTo);
    EXPECT_EQ(g.ActiveCellColor(), c.active);
    EXPECT_EQ(g.ActiveCellColorTo(), c.activeTo);
    EXPECT_EQ(g.SelectionColor(), c.selection);
    EXPECT_EQ(g.SelectionColorTo(), c.selectionTo);
    EXPECT_EQ(g.SelectionTextColor(), c.selectionText);
    EXPECT_EQ(g.GridLineColor(), c.line);
    EXPECT_EQ(g.GridFixedLineColor(), c.fixedLine);
    EXPECT_EQ(g.SelectionStyle(), c.selectionStyle);
    EXPECT_EQ(g.ControlLook()->FixedGradientFrom(), c.fixedFrom);
    EXPECT_EQ(g.SearchFooter()->Color(), c.footer);
    EXPECT_EQ(g.SearchFooter()->ColorTo(), c.footerTo);
  }
}

TEST(AdvGridLooks, StyleSpecials) {
  using G = DEreDuzeroVaro;
  // gsCustom only resets the selection and sorted-header colours and ControlLook.
  {
    DEreDuzeroVaro g(nullptr);
    g.SetLook(glZOL);
    g.SetZOLGradientFrom(0x00123456);
    g.SetSelectionColor(clLime);
    g.SetSelectionColorTo(clRed);
    g.SortSettings()->SetHeaderColor(clYellow);
    g.ControlLook()->SetFixedGradientHoverFrom(clRed);
    g.SetGridLineColor(clBlue);
    g.SetStyle(G::gsCustom);
    EXPECT_EQ(g.Look(), glZOL);
    EXPECT_EQ(g.ZOLGradientFrom(), TColor(0x00123456));
    EXPECT_EQ(g.GridLineColor(), clBlue);
    EXPECT_EQ(g.SelectionColor(), clHighlight);
    EXPECT_EQ(g.SelectionColorTo(), clNone);
    EXPECT_EQ(g.SelectionTextColor(), clHighlightText);
    EXPECT_EQ(g.SortSettings()->HeaderColor(), clNone);
    EXPECT_EQ(g.ControlLook()->FixedGradientHoverFrom(), TColor(0x808080));
  }
  // gsWhidbey leaves the look.
  {
    DEreDuzeroVaro g(nullptr);
    g.SetLook(glSoft);
    g.SetStyle(G::gsWhidbey);
    EXPECT_EQ(g.Look(), glSoft);
    EXPECT_EQ(g.ZOLGradientTo(), clBtnFace);
    EXPECT_EQ(g.ActiveCellColor(), TColor(0x94E6FB));
  }
  // Obsidian on a grid not yet in the Office 2007 look keeps Luna's hover and pressed colours,
  // and takes the Office selection style only then.
  {
    DEreDuzeroVaro g(nullptr);
    g.SetStyle(G::gsOffice2007Obsidian);
    EXPECT_EQ(g.Look(), glOffice2007);
    EXPECT_EQ(g.ControlLook()->FixedGradientHoverFrom(), TColor(0xE4E2DF));
    EXPECT_EQ(g.ControlLook()->FixedGradientDownBorder(), TColor(0xE4C19D));
    EXPECT_EQ(g.ZOLGradientFrom(), TColor(0xF7F7F7));
    EXPECT_EQ(g.SelectionStyle(), ssOffice2007);
    g.SetStyle(G::gsOffice2007Obsidian);
    EXPECT_EQ(g.SelectionStyle(), ssDefault);
  }
  // Vista's and Windows 7's hover colours and sorted header; Office 2010's header grey.
  {
    DEreDuzeroVaro g(nullptr);
    g.SetStyle(G::gsWindowsVista);
    EXPECT_EQ(g.ZOLGradientHoverFrom(), TColor(0xFFF7E3));
    EXPECT_EQ(g.ZOLGradientHoverBorder(), TColor(0xE3C993));
    EXPECT_EQ(g.ControlLook()->FixedGradientHoverMirrorFrom(), TColor(0xFFEDBD));
    EXPECT_EQ(g.ControlLook()->FixedGradientDownBorder(), TColor(0xAE904F));
    EXPECT_EQ(g.SortSettings()->HeaderMirrorColorTo(), TColor(0xF6ECD8));
    // ControlLook's hover gradient, written after the grid's, passes on to the grid; the
    // border Windows 7 leaves to ControlLook stays the grid's own.
    g.SetStyle(G::gsWindows7);
    EXPECT_EQ(g.ZOLGradientHoverTo(), TColor(0xFAF2ED));
    EXPECT_EQ(g.ZOLGradientHoverBorder(), TColor(0xEEE8E3));
    EXPECT_EQ(g.ControlLook()->FixedGradientMirrorTo(), TColor(0xF7E9DD));
    EXPECT_EQ(g.ControlLook()->FixedGradientDownFrom(), TColor(0xF1E8DD));
    g.SetStyle(G::gsOffice2010Silver);
    EXPECT_EQ(g.ZOLGradientHoverFrom(), TColor(0x6BDFFF));
    EXPECT_EQ(g.SortSettings()->HeaderColor(), TColor(0xAAAAAA));
    EXPECT_EQ(g.ControlLook()->FixedGradientHoverBorder(), TColor(0x3ABFE8));
    EXPECT_EQ(g.ControlLook()->FixedGradientMirrorFrom(), TColor(0xE8E3DF));
  }
}

TEST(AdvGridLooks, XPColourSchemes) {
  using G = DEreDuzeroVaro;
  struct TCase {
    G::TXPColorScheme scheme;
    TColor from, to, mirrorFrom, active, activeTo, footer, footerTo, fixedFrom;
  };
  const TColor N = clNone;
  const TCase cases[] = {
      {G::xpBlue, 0xFCE1CB, 0xE0A57D, N, 0x94E6FB, 0x1595EE, 0xFCE1CB, 0xE0A57D, 0xFCE1CB},
      {G::xpGreen, 0xCFF0EA, 0x8CC0B1, N, 0x94E6FB, 0x1595EE, 0xCFF0EA, 0x8CC0B1, 0xCFF0EA},
      {G::xpGray, 0xECE2E1, 0xB39698, N, 0x94E6FB, 0x1595EE, 0xECE2E1, 0xB39698, 0xECE2E1},
      {G::vistaAero, 0xFFFFFF, 0xFFFFFF, 0xFAF8F7, 0x94E6FB, 0x1595EE, 0xECE2E1, 0xB39698, 0xFFFFFF},
      {G::xpNone, 0xFFFFFF, clBtnFace, N, 0xFFFFFF, 0xFFD9B3, 0xFFFFFF, 0xFFD9B3, N},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.scheme));
    DEreDuzeroVaro g(nullptr);
    g.SetTheme(c.scheme);
    EXPECT_EQ(g.ZOLGradientFrom(), c.from);
    EXPECT_EQ(g.ZOLGradientTo(), c.to);
    EXPECT_EQ(g.ZOLGradientMirrorFrom(), c.mirrorFrom);
    EXPECT_EQ(g.ActiveCellColor(), c.active);
    EXPECT_EQ(g.ActiveCellColorTo(), c.activeTo);
    EXPECT_EQ(g.SearchFooter()->Color(), c.footer);
    EXPECT_EQ(g.SearchFooter()->ColorTo(), c.footerTo);
    EXPECT_EQ(g.ControlLook()->FixedGradientFrom(), c.fixedFrom);
  }
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

TEST(AdvGridLooks, ComponentStyleMatchesTheStyleAndReachesTheEditors) {
  using G = DEreDuzeroVaro;
  TGridForm f;
  DEreDuzeroVaro* g = f.grid;
  DEreDuzeroVaro plain(nullptr);
  plain.SetStyle(G::gsWindows7);
  // Only the editors that exist take the style; they are made on first use.
  auto* memo = g->MemoDropDown();
  ASSERT_NE(memo, nullptr);
  g->ApplyComponentStyle(tsWindows7);
  EXPECT_EQ(g->ComponentStyle(), tsWindows7);
  EXPECT_EQ(g->ZOLGradientFrom(), plain.ZOLGradientFrom());
  EXPECT_EQ(g->ActiveCellColor(), plain.ActiveCellColor());
  EXPECT_EQ(g->GridFixedLineColor(), plain.GridFixedLineColor());
  EXPECT_EQ(g->SelectionStyle(), plain.SelectionStyle());
  EXPECT_EQ(memo->GetComponentStyle(), tsWindows7);
  // SetStyle alone leaves the editors; plain looks give them the XP style.
  g->SetStyle(G::gsOffice2010Blue);
  EXPECT_EQ(memo->GetComponentStyle(), tsWindows7);
  g->SetLook(glSoft);
  EXPECT_EQ(memo->GetComponentStyle(), tsWindowsXP);
}

TEST(AdvGridLooks, ColourTonesMakeTheMetroLook) {
  TGridForm f;
  DEreDuzeroVaro* g = f.grid;
  auto* memo = g->MemoDropDown();
  TColorTones t;
  t.Background = {0x00FAFAFA, 0x00C8C8C8, 0x00202020};
  t.Foreground = {0x00646464, 0x00505050, 0x00FFFFFF};
  t.Selected = {0x00D77800, 0x00B06000, 0x00FEFEFE};
  t.Hover = {0x00F0C8A0, 0x00E0B080, 0x00101010};
  g->ApplyColorTones(t);
  EXPECT_EQ(g->Look(), glClassic);
  EXPECT_TRUE(g->Flat());
  EXPECT_EQ(g->ScrollType(), ssMetro);
  EXPECT_EQ(g->BorderStyle(), bsNone);
  EXPECT_EQ(g->FixedColor(), TColor(0x00646464));
  EXPECT_EQ(g->FixedFont()->Color(), TColor(0x00FFFFFF));
  EXPECT_EQ(g->Color(), TColor(0x00FAFAFA));
  EXPECT_EQ(g->Font()->Color(), TColor(0x00202020));
  EXPECT_EQ(g->Font()->Name(), GetDefaultFontName());
  EXPECT_EQ(g->SelectionColor(), TColor(0x00D77800));
  EXPECT_EQ(g->SelectionTextColor(), TColor(0x00FEFEFE));
  EXPECT_EQ(g->SelectionColorTo(), clNone);
  EXPECT_EQ(g->GridLineColor(), TColor(0x00E6E6E6));
  EXPECT_EQ(g->GridFixedLineColor(), TColor(0x00505050));  // each byte 20 % darker
  EXPECT_EQ(g->ControlLook()->ControlStyle(), csGlyph);
  EXPECT_FALSE(g->ControlLook()->CheckedGlyph()->Empty());
  EXPECT_FALSE(g->ControlLook()->RadioOnGlyph()->Empty());
  EXPECT_TRUE(g->ControlLook()->FlatButton());
  EXPECT_EQ(g->SearchFooter()->Color(), TColor(0x00646464));
  EXPECT_EQ(g->CellNode()->NodeType(), cnFlat);
  EXPECT_EQ(g->ColorTones().Selected.BrushColor, TColor(0x00D77800));
  EXPECT_EQ(memo->BorderColor(), TColor(0x00C8C8C8));
  // The metro glyphs differ: checked from unchecked, radio on from off.
  TBitmap* on = g->ControlLook()->CheckedGlyph();
  TBitmap* off = g->ControlLook()->UnCheckedGlyph();
  EXPECT_NE(on->Canvas()->Pixels(7, 7), off->Canvas()->Pixels(7, 7));
}

TEST(AdvGridLooks, OfficeThemeIsFollowedOncePerChange) {
  TempConfigFolder config;
  DEreDuzeroVaro g(nullptr);
  g.SetLook(glSoft);
  // Nothing to follow here: the look stays.
  EXPECT_EQ(DEreDuzeroVaro::InstalledOfficeTheme(), otUnknown);
  g.AdaptToOfficeTheme();
  EXPECT_EQ(g.Look(), glSoft);
  // An Office 2010 black theme: its style, once.
  auto writeTheme = [](int32_t Theme) {
    TRegistry reg;  // written when it closes
    ASSERT_TRUE(reg.OpenKey(u"Software\\Microsoft\\Office\\14.0\\Common", true));
    reg.WriteInteger(u"Theme", Theme);
  };
  writeTheme(3);
  g.AdaptToOfficeTheme();
  EXPECT_EQ(g.ComponentStyle(), tsOffice2010Black);
  EXPECT_EQ(g.ZOLGradientFrom(), TColor(0x6A6A6A));
  g.SetGridLineColor(clRed);
  g.AdaptToOfficeTheme();  // the same theme again: nothing applied
  EXPECT_EQ(g.GridLineColor(), clRed);
  writeTheme(1);
  g.AdaptToOfficeTheme();
  EXPECT_EQ(g.ComponentStyle(), tsOffice2010Blue);
}
