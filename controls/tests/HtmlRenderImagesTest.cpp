// Images in tagged text: the image list, named pictures of a container, pictures by URL in the
// cache, the shell's icons, sizes, line layout, hover pictures and the tiled page background.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "controls/HtmlText.h"
#include "controls/PictureContainer.h"
#include "controls/tests/HtmlRenderSupport.h"
#include "platform/ui/ImgList.h"
#include "testing/TempFolder.h"

namespace {

// A bitmap file of one colour.
String WriteBitmap(const TempFolder& Folder, const std::string& Name, int W, int H, TColor Color) {
  TBitmap B(W, H);
  B.Canvas()->Brush()->SetColor(Color);
  B.Canvas()->FillRect(TRect(0, 0, W, H));
  const String Path = Folder.FileS(Name);
  B.SaveToFile(Path);
  return Path;
}

class HtmlRenderImages : public ::testing::Test {
 protected:
  void SetUp() override {
    Red = WriteBitmap(Folder, "red.bmp", 20, 10, clRed);
    Blue = WriteBitmap(Folder, "Blue.bmp", 20, 10, clBlue);
    Tall = WriteBitmap(Folder, "tall.bmp", 10, 40, clLime);
    for (auto [Name, Path] : {std::pair{u"red", Red}, std::pair{u"blue", Blue}, std::pair{u"tall", Tall}}) {
      TPictureItem* Item = Container.Items()->Add();
      Item->SetName(Name);
      Item->Picture()->LoadFromFile(Path);
    }
    TBitmap Square(16, 16);
    Square.Canvas()->Brush()->SetColor(clFuchsia);
    Square.Canvas()->FillRect(TRect(0, 0, 16, 16));
    Images.Add(&Square, nullptr);
  }

  THtmlCallArgs Args() {
    THtmlCallArgs H;
    H.Images = &Images;
    H.PicContainer = &Container;
    H.PictureCache = &Cache;
    return H;
  }

  TempFolder Folder;
  String Red, Blue, Tall;
  TPictureContainer Container{nullptr};
  THTMLPictureCache Cache;
  TCustomImageList Images{16, 16};
};

TEST_F(HtmlRenderImages, SourcesSizesAndPixels) {
  const int GH = THtmlSurface().LineHeight();
  struct Case {
    String Text;
    int Width, Height;  // the text's size
    TColor Color;       // the colour at the image's middle, clNone: nothing drawn there
  } Cases[] = {
      {u"<img src=\"idx:0\">", 16, std::max(16, GH), clFuchsia},
      {u"<IMG SRC=\"IDX:1\">", 0, GH, clNone},  // an index at or beyond the count: nothing
      {u"<img src=\"red\">", 20, std::max(10, GH), clRed},
      {u"<img src=\"RED\">", 20, std::max(10, GH), clRed},  // container names ignore case
      {u"<img src=\"green\">", 0, GH, clNone},              // a name the container lacks
      {u"<img src=\"red\" width=\"40\">", 40, std::max(20, GH), clRed},  // WIDTH alone keeps the ratio
      {u"<img src=\"red\" height=\"30\">", 60, 30, clRed},
      {u"<img src=\"red\" width=\"8\" height=\"50\">", 8, 50, clRed},
      {u"<img src=\"file://" + Red + u"\">", 20, std::max(10, GH), clRed},
      {u"<img src=\"file://" + Blue + u"\">", 20, std::max(10, GH), clBlue},  // the path keeps its case
      {u"<img src=\"file://" + Folder.FileS("missing.png") + u"\">", 0, GH, clNone},
      {u"<img src=\"http://example.invalid/x.png\">", 0, GH, clNone},  // never fetched
      {u"<img src=\"tall\">", 10, 40, clLime},  // an image taller than the text raises the line
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(StringToUTF8(C.Text));
    THtmlSurface S;
    THtmlCallArgs H = Args();
    H.Draw(S.C(), C.Text);
    EXPECT_EQ(H.TextWidth, C.Width);
    EXPECT_EQ(H.TextHeight, C.Height);
    if (C.Color != clNone)
      EXPECT_EQ(S.At(1 + C.Width / 2, C.Height / 2), C.Color);
    else
      EXPECT_EQ(S.Ink().Right, 0);
  }
}

TEST_F(HtmlRenderImages, AUrlPictureIsLoadedOnceAndAMissingOneIsNotAddedAgain) {
  THtmlSurface S;
  const String Good = u"<img src=\"file://" + Red + u"\">";
  const String Missing = u"<img src=\"file://" + Folder.FileS("gone.bmp") + u"\">";
  for (int I = 0; I < 3; ++I) {
    THtmlCallArgs H = Args();
    H.Draw(S.C(), Good + Missing);
  }
  EXPECT_EQ(Cache.Count(), 2);
  ASSERT_NE(Cache.FindPicture(u"file://" + Red), nullptr);
  EXPECT_FALSE(Cache.FindPicture(u"file://" + Red)->Empty());
  // The cached picture is drawn even when its file is gone.
  DeleteFile(Red);
  THtmlSurface T;
  THtmlCallArgs H = Args();
  H.Draw(T.C(), Good);
  EXPECT_EQ(T.At(10, 5), clRed);
}

TEST_F(HtmlRenderImages, ImagesTakePartInLineLayoutAndAlignment) {
  THtmlSurface S;
  const int GH = S.LineHeight();
  const int XW = S.Width(u"xxxx");
  {  // An image wider than what is left of the line, but narrower than the line, moves down.
    THtmlCallArgs H = Args();
    H.Rect = TRect(0, 0, XW + 30, 200);
    H.Draw(S.C(), u"xxxx<img src=\"red\" width=\"40\">");
    EXPECT_EQ(H.TextHeight, GH + std::max(GH, 20));
    EXPECT_EQ(H.TextWidth, 40);
  }
  // The text beside a tall image: at the bottom, the top or the middle of the line.
  int Tops[3];
  const char16_t* Aligns[] = {u"", u" align=\"top\"", u" align=\"middle\""};
  for (int I = 0; I < 3; ++I) {
    THtmlSurface T;
    THtmlCallArgs H = Args();
    H.Draw(T.C(), String(u"<img src=\"tall\"") + Aligns[I] + u">xxxx");
    EXPECT_EQ(H.TextHeight, 40);
    Tops[I] = T.Ink(TRect(12, 0, 320, 60)).Top;
  }
  EXPECT_GT(Tops[0], 40 - GH - 1);
  EXPECT_LT(Tops[1], GH);
  EXPECT_NEAR(Tops[2], (Tops[0] + Tops[1]) / 2, 2);
}

TEST_F(HtmlRenderImages, AnImageInAnAnchorIsHitAndShowsItsAltPictureWhileHovered) {
  const String Text = u"<a href=\"pic\" title=\"T\"><img src=\"red\" alt=\"blue\"></a>";
  THtmlSurface Away;
  THtmlCallArgs A = Args();
  EXPECT_FALSE(A.Draw(Away.C(), Text));
  EXPECT_EQ(Away.At(10, 5), clRed);
  THtmlSurface Over;
  THtmlCallArgs H = Args();
  H.HitX = 10;
  H.HitY = 5;
  EXPECT_TRUE(H.Draw(Over.C(), Text));  // a painting call reports images inside anchors
  EXPECT_EQ(StringToUTF8(H.HitHref), "pic");
  EXPECT_EQ(StringToUTF8(H.HitTitle), "T");
  EXPECT_EQ(Over.At(10, 5), clBlue);
}

TEST_F(HtmlRenderImages, TheBodyBackgroundTilesThePictureOverTheRectangle) {
  THtmlSurface S;
  THtmlCallArgs H = Args();
  H.Rect = TRect(3, 2, 50, 25);
  H.Draw(S.C(), u"<body background=\"red\">");
  EXPECT_EQ(S.At(3, 2), clRed);
  EXPECT_EQ(S.At(49, 24), clRed);  // the last tiles are cut at the rectangle
  EXPECT_EQ(S.At(50, 24), clWhite);
  EXPECT_EQ(S.At(49, 25), clWhite);
  EXPECT_EQ(S.At(2, 2), clWhite);
}

TEST_F(HtmlRenderImages, AnAnimatedPictureShowsItsFrameOverItsLargestFramesAreaInTheBackgroundColour) {
  // Frame 1: 4 x 3 blue at 2,1; frame 2: 10 x 7 red; the logical screen is 10 x 7.
  const std::string Make = "cd '" + Folder.Path() +
                           "' && convert -size 4x3 xc:blue f1.gif && convert -size 10x7 xc:red f2.gif && "
                           "gifsicle --no-warnings --delay 20 --position 2,1 f1.gif --position 0,0 f2.gif > anim.gif";
  ASSERT_EQ(std::system(Make.c_str()), 0);
  TPictureItem* Item = Container.Items()->Add();
  Item->SetName(u"anim");
  Item->Picture()->LoadFromFile(Folder.FileS("anim.gif"));
  ASSERT_EQ(Item->Picture()->FrameCount(), 2);
  THtmlSurface S;
  S.C()->Brush()->SetColor(clYellow);
  THtmlCallArgs H = Args();
  H.Draw(S.C(), u"<img src=\"anim\">");
  EXPECT_EQ(H.TextWidth, 10);
  EXPECT_EQ(S.At(1, 0), clYellow);
  EXPECT_EQ(S.At(10, 6), clYellow);
  EXPECT_EQ(S.At(1 + 2, 1), clBlue);
  EXPECT_EQ(S.At(1 + 5, 3), clBlue);
  EXPECT_EQ(S.At(11, 6), clWhite);
  EXPECT_EQ(S.C()->Brush()->Color(), clYellow);
}

TEST_F(HtmlRenderImages, PrintModeScalesImageListPictures) {
  THtmlSurface S;
  THtmlCallArgs H = Args();
  H.PrintMode = true;
  H.PrintScale = 2.5;
  H.Draw(S.C(), u"<img src=\"idx:0\">");
  EXPECT_EQ(S.At(1 + 39, 39), clFuchsia);  // 16 x 2.5 = 40 pixels
  EXPECT_EQ(S.At(1 + 41, 20), clWhite);
  EXPECT_EQ(H.TextWidth, 16);  // the layout keeps the list's size
}

TEST(HtmlRenderShellIcons, PathsGiveTheShellsIconSizesAndBareNumbersNothing) {
  TempFolder Folder;
  Folder.Write("notes.txt", "x");
  const int GH = THtmlSurface().LineHeight();
  struct Case {
    String Text;
    int Width;
  } Cases[] = {
      {u"<img src=\"SSYS:" + UTF8ToString(Folder.Path()) + u"\">", 16},
      {u"<img src=\"LSYS:" + Folder.FileS("notes.txt") + u"\">", 32},
      {u"<img src=\"SSYS:no-such-file.pdf\">", 16},  // the icon of its type
      {u"<img src=\"SSYS:12\">", 0},
      {u"<img src=\"LSYS:-1\">", 0},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(StringToUTF8(C.Text));
    THtmlSurface S;
    THtmlCallArgs H;
    H.Draw(S.C(), C.Text);
    EXPECT_EQ(H.TextWidth, C.Width);
    EXPECT_EQ(H.TextHeight, std::max(GH, C.Width));
  }
  // The icons are drawn in their places; icon numbers draw nothing.
  for (const String& Source : {u"SSYS:" + UTF8ToString(Folder.Path()), u"LSYS:" + Folder.FileS("notes.txt"),
                               String(u"SSYS:12")}) {
    THtmlSurface S;
    THtmlCallArgs H;
    H.Draw(S.C(), u"<img src=\"" + Source + u"\">");
    const TRect Ink = S.Ink();
    if (H.TextWidth == 0) {
      EXPECT_EQ(Ink.Right, 0);
      continue;
    }
    EXPECT_LT(Ink.Left, Ink.Right);
    EXPECT_GE(Ink.Left, 1);
    EXPECT_LE(Ink.Right, 1 + H.TextWidth);
    EXPECT_LE(Ink.Bottom, H.TextWidth);
  }
  TSize Size;
  DrawShellIcon(nullptr, 0, 0, Size, 1.0, false, false, true, u"");
  EXPECT_EQ(Size.cx, 32);
}

}  // namespace
