// The string grid's properties: the defaults of a new grid, the setters with side effects, and
// the flat scroll bar styles on the grid's own scroll bars.
#include <gtest/gtest.h>

#include <functional>

#include "controls/VevAzez.h"
#include "grid/AdvGrid.h"
#include "platform/ui/Forms.h"
#include "platform/win/FlatSB.h"
#include "platform/win/Modules.h"
#include "testing/TestSupport.h"

namespace {

// A grid of 460 x 260 with 50 rows (so the vertical bar shows) on a shown form.
struct TPropForm {
  TForm form{nullptr};
  DEreDuzeroVaro* grid = new DEreDuzeroVaro(&form);
  TPropForm() {
    form.SetBounds(50, 50, 500, 300);
    grid->SetParent(&form);
    grid->SetBounds(0, 0, 460, 260);
    grid->SetRowCount(50);
    form.Show();
    ProcessPendingEvents();
  }
  // The colour of the vertical bar's trough just above its lower arrow button.
  TColor TroughColor() {
    TScrollBar* bar = grid->VertScrollBar();
    if (!bar) return clNone;
    auto image = RenderControl(grid);
    return PixelColor(*image, bar->Left() + bar->Width() / 2, bar->Top() + bar->Height() - bar->Width() - 4);
  }
};

}  // namespace

TEST(AdvGridProperties, NewGridDefaults) {
  DEreDuzeroVaro g(nullptr);
  struct TCase {
    const char* name;
    std::function<int64_t()> get;
    int64_t want;
  };
  const TCase cases[] = {
      // Colours
      {"HighlightColor", [&] { return g.HighlightColor(); }, clHighlight},
      {"HighlightTextColor", [&] { return g.HighlightTextColor(); }, clHighlightText},
      {"HintColor", [&] { return g.HintColor(); }, clInfoBk},
      {"ActiveCellColor", [&] { return g.ActiveCellColor(); }, 0x00808080},
      {"ActiveCellColorTo", [&] { return g.ActiveCellColorTo(); }, clNone},
      {"BorderColor", [&] { return g.BorderColor(); }, 0x00B99D7F},
      {"DisabledFontColor", [&] { return g.DisabledFontColor(); }, 0x00C0C0C0},
      {"ScrollColor", [&] { return g.ScrollColor(); }, clNone},
      {"SelectionColor", [&] { return g.SelectionColor(); }, 0x00EACAB6},
      {"SelectionColorTo", [&] { return g.SelectionColorTo(); }, clNone},
      {"SelectionMirrorColor", [&] { return g.SelectionMirrorColor(); }, clNone},
      {"SelectionMirrorColorTo", [&] { return g.SelectionMirrorColorTo(); }, clNone},
      {"SelectionTextColor", [&] { return g.SelectionTextColor(); }, 0},
      {"URLColor", [&] { return g.URLColor(); }, 0x00FF0000},
      // Sizes and counts
      {"ColCount", [&] { return g.ColCount(); }, 5},
      {"RowCount", [&] { return g.RowCount(); }, 10},
      {"FixedCols", [&] { return g.FixedCols(); }, 1},
      {"FixedRows", [&] { return g.FixedRows(); }, 1},
      {"FixedFooters", [&] { return g.FixedFooters(); }, 0},
      {"FixedRightCols", [&] { return g.FixedRightCols(); }, 0},
      {"FixedColWidth", [&] { return g.FixedColWidth(); }, 64},
      {"DefaultRowHeight", [&] { return g.DefaultRowHeight(); }, 22},
      {"FixedRowHeight", [&] { return g.FixedRowHeight(); }, 22},
      {"MaxEditLength", [&] { return g.MaxEditLength(); }, 0},
      {"MaxComboLength", [&] { return g.MaxComboLength(); }, 0},
      {"ScrollWidth", [&] { return g.ScrollWidth(); }, GetSystemMetrics(SM_CXVSCROLL)},
      {"SelectionColorMixerFactor", [&] { return g.SelectionColorMixerFactor(); }, 50},
      // Choices
      {"DefaultAlignment", [&] { return g.DefaultAlignment(); }, taLeftJustify},
      {"DefaultEditor", [&] { return g.DefaultEditor(); }, edNormal},
      {"HoverFixedCells", [&] { return g.HoverFixedCells(); }, hfNone},
      {"IntelliPan", [&] { return g.IntelliPan(); }, ipVertical},
      {"InvalidEntryIcon", [&] { return g.InvalidEntryIcon(); }, ieWarning},
      {"Look", [&] { return g.Look(); }, glXP},
      {"ScrollBarAlways", [&] { return g.ScrollBarAlways(); }, saNone},
      {"ScrollBars", [&] { return g.ScrollBars(); }, ssBoth},
      {"ScrollType", [&] { return g.ScrollType(); }, ssNormal},
      {"ScrollHints", [&] { return g.ScrollHints(); }, shNone},
      {"VAlignment", [&] { return g.VAlignment(); }, vtaTop},
      // Flags set
      {"AutoFilterUpdate", [&] { return g.AutoFilterUpdate(); }, true},
      {"EnableHTML", [&] { return g.EnableHTML(); }, true},
      {"EnableWheel", [&] { return g.EnableWheel(); }, true},
      {"EnhRowColMove", [&] { return g.EnhRowColMove(); }, true},
      {"FilterNormalCellsOnly", [&] { return g.FilterNormalCellsOnly(); }, true},
      {"IntelliZoom", [&] { return g.IntelliZoom(); }, true},
      {"ShowSelection", [&] { return g.ShowSelection(); }, true},
      {"ShowDesignHelper", [&] { return g.ShowDesignHelper(); }, true},
      {"UseInternalHintClass", [&] { return g.UseInternalHintClass(); }, true},
      // Flags clear
      {"HintShowCells", [&] { return g.HintShowCells(); }, false},
      {"HintShowLargeText", [&] { return g.HintShowLargeText(); }, false},
      {"HintShowSizing", [&] { return g.HintShowSizing(); }, false},
      {"HTMLHint", [&] { return g.HTMLHint(); }, false},
      {"OemConvert", [&] { return g.OemConvert(); }, false},
      {"AnchorHint", [&] { return g.AnchorHint(); }, false},
      {"ActiveCellShow", [&] { return g.ActiveCellShow(); }, false},
      {"AutoNumAlign", [&] { return g.AutoNumAlign(); }, false},
      {"AutoSize", [&] { return g.AutoSize(); }, false},
      {"AutoThemeAdapt", [&] { return g.AutoThemeAdapt(); }, false},
      {"EditWithTags", [&] { return g.EditWithTags(); }, false},
      {"EnableBlink", [&] { return g.EnableBlink(); }, false},
      {"EnhTextSize", [&] { return g.EnhTextSize(); }, false},
      {"FilterDropDownAuto", [&] { return g.FilterDropDownAuto(); }, false},
      {"FilterDropDownCheck", [&] { return g.FilterDropDownCheck(); }, false},
      {"FixedAsButtons", [&] { return g.FixedAsButtons(); }, false},
      {"FixedRowAlways", [&] { return g.FixedRowAlways(); }, false},
      {"FixedColAlways", [&] { return g.FixedColAlways(); }, false},
      {"Flat", [&] { return g.Flat(); }, false},
      {"HideFocusRect", [&] { return g.HideFocusRect(); }, false},
      {"Hovering", [&] { return g.Hovering(); }, false},
      {"IntegralHeight", [&] { return g.IntegralHeight(); }, false},
      {"Multilinecells", [&] { return g.Multilinecells(); }, false},
      {"ScrollProportional", [&] { return g.ScrollProportional(); }, false},
      {"ScrollSynch", [&] { return g.ScrollSynch(); }, false},
      {"SelectionColorMixer", [&] { return g.SelectionColorMixer(); }, false},
      {"SelectionRectangle", [&] { return g.SelectionRectangle(); }, false},
      {"SelectionResizer", [&] { return g.SelectionResizer(); }, false},
      {"SelectionRTFKeep", [&] { return g.SelectionRTFKeep(); }, false},
      {"SizeWithForm", [&] { return g.SizeWithForm(); }, false},
      {"URLShow", [&] { return g.URLShow(); }, false},
      {"URLShowInText", [&] { return g.URLShowInText(); }, false},
      {"URLUnderlineOnHover", [&] { return g.URLUnderlineOnHover(); }, false},
      {"URLFull", [&] { return g.URLFull(); }, false},
      {"URLEdit", [&] { return g.URLEdit(); }, false},
      // Public
      {"SaveFixedCells", [&] { return g.SaveFixedCells(); }, true},
      {"SaveVirtCells", [&] { return g.SaveVirtCells(); }, true},
      {"SaveWithHTML", [&] { return g.SaveWithHTML(); }, true},
      {"QuoteEmptyCells", [&] { return g.QuoteEmptyCells(); }, true},
      {"ShowNullDates", [&] { return g.ShowNullDates(); }, true},
      {"UseDisabledFont", [&] { return g.UseDisabledFont(); }, true},
      {"PasswordChar", [&] { return g.PasswordChar(); }, u'*'},
      {"XYOffset.X", [&] { return g.XYOffset().X; }, 2},
      {"XYOffset.Y", [&] { return g.XYOffset().Y; }, 2},
      {"XYOffsetTopLeftOnly", [&] { return g.XYOffsetTopLeftOnly(); }, false},
      {"AllColCount", [&] { return g.AllColCount(); }, 5},
      {"AllRowCount", [&] { return g.AllRowCount(); }, 10},
      {"VersionNr", [&] { return g.VersionNr(); }, 0x06000401},
      {"flat scroll bars", [&] { return g.FlatScrollBars(); }, false},
  };
  for (const TCase& c : cases) EXPECT_EQ(c.get(), c.want) << c.name;
  EXPECT_EQ(g.FilterDropDownClear(), u"(All)");
  EXPECT_EQ(g.FloatFormat(), u"%.2f");
  EXPECT_EQ(g.CheckTrue(), u"Y");
  EXPECT_EQ(g.CheckFalse(), u"N");
  EXPECT_EQ(g.XMLEncoding(), u"ISO-8859-1");
  EXPECT_EQ(g.VersionString(), u"6.0.4.1 Jan, 2012");
  EXPECT_TRUE(g.InvalidEntryTitle().empty());
  EXPECT_TRUE(g.InvalidEntryText().empty());
  EXPECT_TRUE(g.ValidChars().empty());
}

TEST(AdvGridProperties, HighlightColoursBecomeTheHtmlHighlightWhenChanged) {
  DEreDuzeroVaro g(nullptr);
  SetHtmlHighlightColors(clGreen, clWhite);
  // An unchanged value leaves the renderer's colours alone.
  g.SetHighlightColor(clHighlight);
  EXPECT_EQ(HtmlHighlightBkColor(), clGreen);
  g.SetHighlightColor(clYellow);
  EXPECT_EQ(HtmlHighlightBkColor(), clYellow);
  EXPECT_EQ(HtmlHighlightTextColor(), clHighlightText);
  g.SetHighlightTextColor(clRed);
  EXPECT_EQ(g.HighlightTextColor(), clRed);
  EXPECT_EQ(HtmlHighlightBkColor(), clYellow);
  EXPECT_EQ(HtmlHighlightTextColor(), clRed);
  SetHtmlHighlightColors(clHighlight, clHighlightText);
}

TEST(AdvGridProperties, OffsetsIndicatorAndEditLimit) {
  DEreDuzeroVaro g(nullptr);
  g.SetXYOffset({5, 3});
  EXPECT_EQ(g.GetVertMargin(), 6);
  g.SetXYOffsetTopLeftOnly(true);
  EXPECT_EQ(g.GetVertMargin(), 3);
  g.UpdateXYOffset(7, 9);
  EXPECT_EQ(g.XYOffset().X, 7);
  EXPECT_EQ(g.XYOffset().Y, 9);

  // The indicator is copied, never taken.
  TBitmap glyph;
  glyph.SetSize(8, 8);
  g.SetRowIndicator(&glyph);
  EXPECT_NE(g.RowIndicator(), &glyph);
  EXPECT_EQ(g.RowIndicator()->Width(), 8);

  // A length limit beyond 16 bits reaches the editor as it is.
  g.SetMaxEditLength(100000);
  struct TEditLimit : DEreDuzeroVaro {
    using DEreDuzeroVaro::DEreDuzeroVaro;
    int Limit() { return GetEditLimit(); }
  };
  TEditLimit e(nullptr);
  e.SetMaxEditLength(100000);
  EXPECT_EQ(e.Limit(), 100000);
}

TEST(AdvGridProperties, SelectionOutsideTheGridWithActiveCellShow) {
  TPropForm f;
  f.grid->SetActiveCellShow(true);
  f.grid->SetSelection({2, 3, 3, 4});
  EXPECT_EQ(f.grid->Selection().Left, 2);
  EXPECT_EQ(f.grid->Selection().Bottom, 4);
  f.grid->SetSelection({f.grid->ColCount(), f.grid->RowCount(), f.grid->ColCount(), f.grid->RowCount()});
  ProcessPendingEvents();
  EXPECT_EQ(f.grid->Selection().Top, f.grid->RowCount());
}

TEST(AdvGridProperties, ScrollBarsKeepTheGridsOwnCopy) {
  TPropForm f;
  f.grid->SetScrollBars(ssVertical);
  EXPECT_EQ(f.grid->ScrollBars(), ssVertical);
  EXPECT_EQ(f.grid->TCustomGrid::ScrollBars(), ssVertical);
}

TEST(AdvGridProperties, FlatScrollTypesRestyleTheGridsBars) {
  TPropForm f;
  ASSERT_NE(f.grid->VertScrollBar(), nullptr);
  TColor plain = f.TroughColor();
  ASSERT_NE(plain, clRed);

  f.grid->SetScrollType(ssFlat);
  EXPECT_TRUE(f.grid->FlatScrollBars());
  f.grid->SetScrollColor(clRed);
  EXPECT_EQ(f.TroughColor(), clRed);
  f.grid->SetScrollWidth(11);
  EXPECT_EQ(f.grid->VertScrollBar()->Width(), 11);
  // clNone leaves the bars' colour as it was.
  f.grid->SetScrollColor(clNone);
  EXPECT_EQ(f.TroughColor(), clRed);

  // Encarta keeps the flat bars; normal releases them with the system's look and thickness.
  f.grid->SetScrollType(ssEncarta);
  EXPECT_TRUE(f.grid->FlatScrollBars());
  EXPECT_EQ(f.TroughColor(), clRed);
  f.grid->SetScrollType(ssNormal);
  EXPECT_FALSE(f.grid->FlatScrollBars());
  EXPECT_EQ(f.grid->VertScrollBar()->Width(), GetSystemMetrics(SM_CXVSCROLL));
  EXPECT_EQ(f.TroughColor(), plain);
}

TEST(AdvGridProperties, FlatScrollBarsNeedTheGridsWindow) {
  DEreDuzeroVaro g(nullptr);
  g.SetScrollType(ssFlat);
  EXPECT_EQ(g.ScrollType(), ssFlat);
  EXPECT_FALSE(g.FlatScrollBars());
}

TEST(AdvGridProperties, ProportionalOffReleasesFlatBarsOfTheNormalType) {
  TPropForm f;
  f.grid->InitFlatScrollBars();
  ASSERT_TRUE(f.grid->FlatScrollBars());
  SCROLLINFO si;
  si.fMask = SIF_PAGE;
  si.nPage = 5;
  SetScrollInfo(f.grid->Handle(), SB_VERT, &si, TRUE);
  f.grid->SetScrollProportional(false);
  EXPECT_FALSE(f.grid->FlatScrollBars());
  SCROLLINFO back;
  back.fMask = SIF_PAGE | SIF_RANGE;
  ASSERT_TRUE(GetScrollInfo(f.grid->Handle(), SB_VERT, &back));
  EXPECT_EQ(back.nPage, 0u);
}

TEST(AdvGridProperties, FlatScrollBarFunctionsAreExportedByName) {
  HMODULE comctl = LoadLibrary(u"comctl32.dll");
  ASSERT_NE(comctl, nullptr);
  for (const char* name :
       {"InitializeFlatSB", "UninitializeFlatSB", "FlatSB_SetScrollInfo", "FlatSB_SetScrollProp", "FlatSB_ShowScrollBar"})
    EXPECT_NE(GetProcAddress(comctl, name), nullptr) << name;
  EXPECT_EQ(GetProcAddress(comctl, "FlatSB_Missing"), nullptr);
  // A window without flat bars refuses the properties.
  auto set = reinterpret_cast<FLATSBSETSCROLLPROPPROC>(GetProcAddress(comctl, "FlatSB_SetScrollProp"));
  TPropForm f;
  EXPECT_FALSE(set(f.grid->Handle(), WSB_PROP_VSTYLE, FSB_FLAT_MODE, TRUE));
  FreeLibrary(comctl);
}
