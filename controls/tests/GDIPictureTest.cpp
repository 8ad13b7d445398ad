// The GDI+ picture and the hint information, on pictures made by ImageMagick.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/AdvHintInfo.h"
#include "controls/GDIPicture.h"
#include "controls/PictureContainer.h"
#include "testing/PictureFixtures.h"

namespace {

class GDIPPicture : public ::testing::Test {
protected:
  void SetUp() override { InitializeAdvGDIP(); }
  void TearDown() override { FinalizeAdvGDIP(); }

  static void Fill(TBitmap& b, TColor c) {
    b.Canvas()->Brush()->SetColor(c);
    b.Canvas()->FillRect(TRect(0, 0, b.Width(), b.Height()));
  }
  static void LoadBytes(TGDIPPicture& pic, const std::string& bytes) {
    TMemoryStream ms;
    if (!bytes.empty()) ms.WriteBuffer(bytes.data(), int32_t(bytes.size()));
    ms.SetPosition(0);
    pic.LoadFromStream(&ms);
  }
  TempFolder dir;
};

}  // namespace

TEST_F(GDIPPicture, PngKeepsItsAlphaOverTheCanvas) {
  // Left half opaque red, right half transparent, bottom rows half-transparent red.
  RunIn(dir, "convert -size 10x10 xc:none -fill red -draw 'rectangle 0,0 4,7' "
             "-fill 'rgba(255,0,0,0.5)' -draw 'rectangle 0,8 9,9' a.png");
  ASSERT_NE(RunIn(dir, "identify -format '%[channels]' a.png").find("a"), std::string::npos);
  TGDIPPicture pic;
  int changes = 0;
  pic.OnChange = [&](TObject*) { ++changes; };
  pic.LoadFromFile(dir.FileS("a.png"));
  EXPECT_FALSE(pic.Empty());
  EXPECT_EQ(pic.GetFileName(), dir.FileS("a.png"));
  EXPECT_EQ(pic.Width(), 10);
  EXPECT_EQ(pic.Height(), 10);
  EXPECT_EQ(changes, 1);

  TBitmap b(30, 30);
  Fill(b, clBlue);
  pic.Draw(b.Canvas(), TRect(0, 0, 20, 20));  // twice the size
  EXPECT_EQ(b.Canvas()->Pixels(3, 3), clRed);
  EXPECT_EQ(b.Canvas()->Pixels(15, 3), clBlue);
  const TColor half = b.Canvas()->Pixels(15, 18);
  EXPECT_NEAR(GetRValue(half), 128, 12);
  EXPECT_NEAR(GetBValue(half), 127, 12);
  EXPECT_EQ(b.Canvas()->Pixels(25, 25), clBlue);

  // Drawing through a graphics object of the caller's, in its own size and into a rectangle.
  TBitmap g(30, 30);
  Fill(g, clLime);
  {
    TGPGraphics graphics(g.Canvas()->Handle());
    pic.DrawImage(&graphics, 0, 0);
    pic.DrawImageRect(&graphics, 10, 10, 20, 20);
  }
  EXPECT_EQ(g.Canvas()->Pixels(2, 2), clRed);
  EXPECT_EQ(g.Canvas()->Pixels(8, 2), clLime);
  EXPECT_EQ(g.Canvas()->Pixels(12, 12), clRed);
  EXPECT_EQ(g.Canvas()->Pixels(25, 12), clLime);
}

TEST_F(GDIPPicture, BitmapsDrawThroughTheClassLibraryWithTheirTransparentColour) {
  // Top rows red, the rest (the bottom-left pixel's colour) blue.
  TGDIPPicture pic;
  LoadBytes(pic, MakeTwoTone(dir, "p.bmp", 8, 8, 3, "red", "blue"));
  EXPECT_EQ(pic.Width(), 8);
  TBitmap b(20, 20);
  Fill(b, clLime);
  pic.Draw(b.Canvas(), TRect(0, 0, 16, 16));
  EXPECT_EQ(b.Canvas()->Pixels(8, 2), clRed);
  EXPECT_EQ(b.Canvas()->Pixels(8, 12), clLime);

  TBitmap bitmap(5, 4);
  TGDIPPicture fromBitmap;
  fromBitmap.Assign(&bitmap);
  EXPECT_FALSE(fromBitmap.Empty());
  EXPECT_EQ(fromBitmap.Width(), 5);
  EXPECT_EQ(fromBitmap.Height(), 4);
}

TEST_F(GDIPPicture, AssignLoadAndClearEvents) {
  std::vector<std::string> log;
  TGDIPPicture pic;
  pic.OnChange = [&](TObject*) { log.push_back("change"); };
  pic.OnClear = [&](TObject*) { log.push_back("clear"); };
  pic.LoadFromFile(dir.FileS("missing.png"));
  EXPECT_TRUE(pic.Empty());
  EXPECT_TRUE(log.empty());

  TGDIPPicture src;
  LoadBytes(src, MakeTwoTone(dir, "p.png", 6, 3, 1, "red", "blue"));
  pic.Assign(&src);
  EXPECT_FALSE(pic.Empty());
  EXPECT_EQ(pic.Width(), 6);
  EXPECT_EQ(log, (std::vector<std::string>{"change"}));
  log.clear();
  pic.Assign(nullptr);
  EXPECT_TRUE(pic.Empty());
  EXPECT_EQ(log, (std::vector<std::string>{"change", "clear"}));

  TGDIPPicture blank;
  pic.Assign(&blank);
  EXPECT_TRUE(pic.Empty());
  TStringList other;
  pic.Assign(&other);
  EXPECT_TRUE(pic.Empty());

  // Stored data is taken without measuring; data GDI+ cannot read measures 0 and draws nothing.
  TMemoryStream ms;
  src.SaveToStream(&ms);
  ms.SetPosition(0);
  TGDIPPicture stored;
  stored.ReadData(&ms);
  EXPECT_FALSE(stored.Empty());
  EXPECT_EQ(stored.Width(), 0);
  EXPECT_TRUE(stored.GetImageSizes());
  EXPECT_EQ(stored.Width(), 6);

  TGDIPPicture junk;
  LoadBytes(junk, "not a picture at all");
  EXPECT_FALSE(junk.Empty());
  EXPECT_EQ(junk.Width(), 0);
  TBitmap b(10, 10);
  junk.Draw(b.Canvas(), TRect(0, 0, 10, 10));
  EXPECT_EQ(b.Canvas()->Pixels(5, 5), clWhite);

  // URLs: files and resources only.
  dir.Write("q.png", dir.Read("p.png"));
  TGDIPPicture url;
  url.LoadFromURL(u"file://" + dir.FileS("q.png"));
  EXPECT_EQ(url.Width(), 6);
  TGDIPPicture net;
  net.LoadFromURL(u"http://127.0.0.1:9/q.png");
  EXPECT_TRUE(net.Empty());
  EXPECT_THROW(net.LoadFromResourceID(HInstance, 4713), EResNotFound);
}

TEST(AdvHintInfo, EmptinessAndAssign) {
  TAdvHintInfo hint;
  EXPECT_TRUE(hint.IsEmpty());
  TBitmap bitmap(3, 3);
  hint.Picture()->Assign(&bitmap);
  hint.SetShowHelp(true);
  hint.SetWideTitle(u"wide");
  EXPECT_TRUE(hint.IsEmpty());
  hint.SetTitle(u"Title");
  EXPECT_FALSE(hint.IsEmpty());
  hint.SetTitle(u"");
  hint.Notes()->Add(u"");
  EXPECT_FALSE(hint.IsEmpty());  // one empty line is a line break

  TAdvHintInfo copy;
  hint.SetTitle(u"T");
  hint.SetWideNotes(u"wn");
  copy.Assign(&hint);
  EXPECT_EQ(copy.Title(), u"T");
  EXPECT_EQ(copy.Notes()->Count(), 1);
  EXPECT_TRUE(copy.ShowHelp());
  EXPECT_FALSE(copy.Picture()->Empty());
  EXPECT_EQ(copy.WideTitle(), u"wide");
  EXPECT_EQ(copy.WideNotes(), u"wn");

  TStringList lines;
  lines.Add(u"a");
  EXPECT_NO_THROW(copy.Assign(&lines));
  EXPECT_EQ(copy.Title(), u"T");
  copy.SetNotes(&lines);
  EXPECT_EQ(copy.Notes()->Text(), u"a\r\n");
  EXPECT_NE(copy.Notes(), &lines);
}
