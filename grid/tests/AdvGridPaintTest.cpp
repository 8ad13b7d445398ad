// The string grid's painting: glyph resources, cell objects, text, the pipeline's event order,
// all checked on rendered grids.

#include <gtest/gtest.h>

#include "grid/AdvGrid.h"
#include "grid/tests/GridTestSupport.h"
#include "platform/rtl/Classes.h"
#include "platform/win/Resources.h"

namespace {

// ===========================================================================
// Glyph resources

TEST(AdvGridPaintGlyphs, EveryGlyphLoadsByNameFromTheResourceTable) {
  struct TCase {
    const char16_t* Name;
    int W, H;
  };
  const TCase cases[] = {{u"ASGCHK01", 15, 15}, {u"ASGCHK04", 15, 15}, {u"ASGCHK05", 15, 15}, {u"ASGCHK08", 15, 15},
                         {u"ASGRAD01", 16, 16}, {u"ASGRAD08", 16, 16}, {u"ASGLEAFCLOSE", 12, 12},
                         {u"ASGLEAFOPEN", 12, 12}, {u"XPNODEC", 9, 9},   {u"XPNODEO", 9, 9},
                         {u"ASGFILT", 16, 16},  {u"ASGCLOSE", 14, 14}, {u"ASGCLOSEH", 14, 14},
                         {u"ASGCLOSED", 14, 14}, {u"INTLI1", 32, 32},  {u"INTLI2", 32, 32},
                         {u"INTLI3", 32, 32}};
  DEreDuzeroVaro::RegisterGlyphResources();
  for (const TCase& c : cases) {
    SCOPED_TRACE(static_cast<int>(&c - cases));
    // Through the resource calls, as any bitmap resource is read.
    HRSRC res = FindResourceW(HInstance, c.Name, RT_BITMAP);
    ASSERT_NE(res, nullptr);
    TMemoryStream stream;
    stream.Write(LockResource(LoadResource(HInstance, res)), static_cast<int32_t>(SizeofResource(HInstance, res)));
    stream.Seek(0, soBeginning);
    TBitmap bmp;
    bmp.LoadFromStream(&stream);
    EXPECT_EQ(bmp.Width(), c.W);
    EXPECT_EQ(bmp.Height(), c.H);
    // The corners carry the key colour that transparent drawing removes.
    EXPECT_EQ(bmp.Canvas()->Pixels(0, 0), static_cast<TColor>(0xFF00FF));
    EXPECT_EQ(bmp.Canvas()->Pixels(0, c.H - 1), static_cast<TColor>(0xFF00FF));
    EXPECT_EQ(DEreDuzeroVaro::GlyphBitmap(c.Name)->Width(), c.W);
  }
  EXPECT_EQ(DEreDuzeroVaro::GlyphBitmap(u"NOSUCHGLYPH"), nullptr);
}

TEST(AdvGridPaintGlyphs, CheckedAndUncheckedGlyphsDiffer) {
  TBitmap* on = DEreDuzeroVaro::GlyphBitmap(u"ASGCHK05");
  TBitmap* off = DEreDuzeroVaro::GlyphBitmap(u"ASGCHK06");
  int differing = 0;
  for (int y = 0; y < 15; ++y)
    for (int x = 0; x < 15; ++x) differing += on->Canvas()->Pixels(x, y) != off->Canvas()->Pixels(x, y);
  EXPECT_GT(differing, 10);
}

TEST(AdvGridPaint, LimitPercentClampsToZeroToHundred) {
  const double cases[][2] = {{-5, 0}, {0, 0}, {42.5, 42.5}, {100, 100}, {140, 100}};
  for (auto& c : cases) EXPECT_EQ(DEreDuzeroVaro::LimitPercent(c[0]), c[1]) << c[0];
}

}  // namespace
