// The mini-HTML picture, its cache and the picture container, on pictures made by ImageMagick
// and gifsicle.

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>

#include "controls/PictureContainer.h"
#include "testing/PictureFixtures.h"

namespace {

void LoadBytes(THTMLPicture& pic, const std::string& bytes) {
  TMemoryStream ms;
  if (!bytes.empty()) ms.WriteBuffer(bytes.data(), int32_t(bytes.size()));
  pic.LoadFromStream(&ms);
}

// The message LoadFromStream raises, or "" when it loads.
std::string LoadError(THTMLPicture& pic, const std::string& bytes) {
  try {
    LoadBytes(pic, bytes);
  } catch (const Exception& e) {
    return e.what();
  }
  return "";
}

TColor PixelAt(TBitmap& b, int x, int y) { return b.Canvas()->Pixels(x, y); }

}  // namespace

TEST(HTMLPicture, ThreeFrameGifCountsDecodesAndPlacesEachFrame) {
  TempFolder dir;
  THTMLPicture pic;
  int changes = 0, frameChanges = 0;
  pic.OnChange = [&](TObject*) { ++changes; };
  pic.OnFrameChange = [&](TObject*) { ++frameChanges; };
  LoadBytes(pic, MakeThreeFrameGif(dir, "anim.gif"));
  EXPECT_EQ(changes, 1);
  EXPECT_FALSE(pic.Empty());
  EXPECT_TRUE(pic.IsGIF());
  EXPECT_EQ(pic.FrameCount(), 3);
  EXPECT_EQ(pic.Width(), 8);
  EXPECT_EQ(pic.Height(), 6);
  EXPECT_EQ(pic.MaxWidth(), 10);
  EXPECT_EQ(pic.MaxHeight(), 7);
  EXPECT_EQ(pic.GetFrameTime(1), 20);
  EXPECT_EQ(pic.GetFrameTime(2), 30);
  EXPECT_EQ(pic.GetFrameTime(3), 10);
  EXPECT_EQ(pic.GetFrameTime(0), -1);
  EXPECT_EQ(pic.GetFrameTime(4), -1);

  pic.SetFrame(2);
  EXPECT_EQ(frameChanges, 1);
  EXPECT_EQ(pic.Frame(), 2);
  EXPECT_EQ(pic.FrameXPos(), 2);
  EXPECT_EQ(pic.FrameYPos(), 1);
  EXPECT_EQ(pic.Width(), 4);
  EXPECT_EQ(pic.Height(), 3);
  EXPECT_EQ(pic.MaxWidth(), 10);
  // The frame drawn is frame 2's: blue.
  TBitmap b(20, 20);
  pic.Draw(b.Canvas(), TRect(0, 0, 20, 20));
  EXPECT_EQ(PixelAt(b, 1, 1), clBlue);
  EXPECT_EQ(PixelAt(b, 5, 1), clWhite);

  // Past the last frame only the header is left to decode.
  try {
    pic.SetFrame(4);
    ADD_FAILURE() << "frame 4 decoded";
  } catch (const Exception& e) {
    EXPECT_EQ(std::string(e.what()).rfind("Could not load image", 0), 0u) << e.what();
  }
  EXPECT_EQ(pic.Width(), 0);

  pic.SetFrame(3);
  pic.FrameNext();
  EXPECT_EQ(pic.Frame(), 1);
  pic.FramePrev();
  EXPECT_EQ(pic.Frame(), 3);
}

TEST(HTMLPicture, FramesAreFoundByBlocksNotByBytesThatLookLikeThem) {
  TempFolder dir;
  std::string gif = MakeThreeFrameGif(dir, "anim.gif");
  // A comment extension whose text reads like a graphic control extension and an image descriptor.
  const std::string fake = "\x21\xF9\x04\x01\x07\x01\x01\x01\x2C\x05\x01\x05\x01\x02\x01\x02\x01";
  const std::string comment = "\x21\xFE" + std::string(1, char(fake.size())) + fake + std::string(1, '\0');
  size_t first = gif.find("\x21\xF9");
  ASSERT_NE(first, std::string::npos);
  gif.insert(first, comment);
  THTMLPicture pic;
  LoadBytes(pic, gif);
  EXPECT_EQ(pic.FrameCount(), 3);
  EXPECT_EQ(pic.GetFrameTime(1), 20);
  pic.SetFrame(3);
  EXPECT_EQ(pic.FrameXPos(), 0);
  EXPECT_EQ(pic.Width(), 8);

  // A GIF without graphic control extensions has no frames and is decoded whole.
  RunIn(dir, "convert -size 5x4 xc:red p0.gif && gifsicle --no-warnings p0.gif > plain.gif");
  std::string plain = dir.Read("plain.gif");
  ASSERT_EQ(plain.find("\x21\xF9"), std::string::npos);
  THTMLPicture still;
  LoadBytes(still, plain);
  EXPECT_EQ(still.FrameCount(), 0);
  EXPECT_EQ(still.Width(), 5);
  EXPECT_EQ(still.MaxWidth(), still.Width());
  EXPECT_FALSE(still.Step());
}

TEST(HTMLPicture, ThousandsOfFramesAreCountedAndSteppedInReasonableTime) {
  TempFolder dir;
  RunIn(dir, "convert -size 2x2 xc:red r.gif && convert -size 2x2 xc:blue b.gif && "
             "gifsicle --no-warnings --delay 1 $(for i in $(seq 1500); do echo r.gif b.gif; done) > many.gif");
  THTMLPicture pic;
  auto t0 = std::chrono::steady_clock::now();
  LoadBytes(pic, dir.Read("many.gif"));
  EXPECT_EQ(pic.FrameCount(), 3000);
  pic.SetFrame(2999);
  EXPECT_EQ(pic.Width(), 2);
  for (int i = 0; i < 20; ++i) pic.Step();
  EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(20));
}

TEST(HTMLPicture, StepFollowsTheFrameDelaysInTenthsOfASecond) {
  TempFolder dir;
  RunIn(dir, "convert -size 3x3 xc:red r.gif && convert -size 3x3 xc:blue b.gif && "
             "gifsicle --no-warnings --delay 20 r.gif --delay 30 b.gif > two.gif");
  THTMLPicture pic;
  LoadBytes(pic, dir.Read("two.gif"));
  ASSERT_EQ(pic.FrameCount(), 2);
  std::vector<int> frames;
  for (int i = 0; i < 8; ++i) {
    bool moved = pic.Step();
    frames.push_back(pic.Frame() * (moved ? -1 : 1));
  }
  // Steps count from -1: frame 2 at the fourth step (20 >= 20), frame 1 again at 50.
  EXPECT_EQ(frames, (std::vector<int>{1, 1, 1, -2, 2, 2, -1, 1}));

  THTMLPicture bmp;
  LoadBytes(bmp, MakeTwoTone(dir, "p.bmp", 4, 4, 2, "red", "blue"));
  EXPECT_FALSE(bmp.Step());
  EXPECT_EQ(bmp.FrameCount(), -1);
  EXPECT_EQ(bmp.GetFrameTime(1), -1);

  THTMLPictureCache cache;
  cache.AddPicture()->Assign(&pic);
  cache.AddPicture()->Assign(&bmp);
  int moved = 0;
  for (int i = 0; i < 10; ++i) moved += cache.Animate();
  EXPECT_GT(moved, 0);
}

TEST(HTMLPicture, ADamagedFrameDrawsNothingAndTheAnimationGoesOn) {
  TempFolder dir;
  RunIn(dir, "convert -size 3x3 xc:red r.gif && convert -size 3x3 xc:blue b.gif && "
             "gifsicle --no-warnings --delay 20 r.gif --delay 30 b.gif > two.gif");
  const std::string two = dir.Read("two.gif");
  const size_t second = two.find("\x21\xF9\x04", two.find("\x21\xF9\x04") + 1);
  ASSERT_NE(second, std::string::npos);
  // Two frames whose image data the decoder refuses.
  const unsigned char badData[] = {
      0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x04, 0x00, 0x04, 0x00, 0x80, 0x00, 0x00, 0x00, 0x00, 0x00, 0xff,
      0xff, 0xff, 0x21, 0xff, 0x0b, 0x4e, 0x45, 0x54, 0x53, 0x43, 0x41, 0x50, 0x45, 0x32, 0x2e, 0x30, 0x03,
      0x01, 0x00, 0x00, 0x00, 0x21, 0xf9, 0x04, 0x04, 0x0a, 0x00, 0x00, 0x00, 0x2c, 0x00, 0x00, 0x00, 0x00,
      0x04, 0x00, 0x04, 0x00, 0x00, 0x02, 0x02, 0x4c, 0x01, 0x00, 0x21, 0xf9, 0x04, 0x04, 0x14, 0x00, 0x00,
      0x00, 0x2c, 0x01, 0x00, 0x01, 0x00, 0x02, 0x00, 0x02, 0x00, 0x00, 0x02, 0x02, 0x4c, 0x01, 0x00, 0x3b};
  const struct {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"second frame cut short", two.substr(0, second + 8 + 10 + 1)},
      {"no frame decodes", std::string(reinterpret_cast<const char*>(badData), sizeof badData)},
  };
  TBitmap target;
  target.SetSize(4, 4);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    THTMLPicture pic;
    LoadError(pic, c.bytes);
    ASSERT_EQ(pic.FrameCount(), 2);
    bool moved = false;
    // A step onto a frame that cannot be decoded raises nothing, and the animation goes on.
    EXPECT_NO_THROW(for (int i = 0; i < 8; ++i) moved = pic.Step() || moved);
    EXPECT_TRUE(moved);
    EXPECT_NO_THROW(pic.Draw(target.Canvas(), TRect(0, 0, 4, 4)));
  }
}

TEST(HTMLPicture, BadPicturesRaiseTheLoadErrorsAndDrawNothing) {
  TempFolder dir;
  std::string gif = MakeThreeFrameGif(dir, "anim.gif");
  std::string bmp = MakeTwoTone(dir, "p.bmp", 16, 12, 6, "red", "blue");
  // 12000 x 9000 (108 megapixels) in the logical screen and the first image descriptor.
  std::string huge = gif;
  huge[6] = huge[7] = huge[8] = huge[9] = '\x60';
  size_t desc = huge.find(',');
  huge[desc + 5] = '\xE0';
  huge[desc + 6] = '\x2E';
  huge[desc + 7] = '\x28';
  huge[desc + 8] = '\x23';
  std::string damaged = bmp;
  for (size_t i = 14; i < 40; ++i) damaged[i] = '\xEE';

  const std::string invalid = "Could not load image. Invalid format";
  struct Case {
    const char* what;
    std::string bytes;
  };
  for (const Case& c : {Case{"empty", ""}, Case{"text", "just some words"}, Case{"cut GIF", gif.substr(0, 40)},
                        Case{"GIF8 only", "GIF8"}, Case{"damaged bitmap", damaged}, Case{"108 megapixels", huge},
                        Case{"header", gif.substr(0, 13)}}) {
    THTMLPicture pic;
    EXPECT_EQ(LoadError(pic, c.bytes), invalid) << c.what;
    EXPECT_FALSE(pic.Empty()) << c.what;
    EXPECT_EQ(pic.Width(), 0) << c.what;
    TBitmap b(8, 8);
    pic.Draw(b.Canvas(), TRect(0, 0, 8, 8));
    EXPECT_EQ(PixelAt(b, 3, 3), clWhite) << c.what;
  }
  THTMLPicture four;
  EXPECT_EQ(LoadError(four, "GIF8"), invalid);
  EXPECT_FALSE(four.IsGIF());

  // Files: content decides, whatever the name says; a missing or bad file only empties.
  dir.Write("really-a-bitmap.gif", bmp);
  dir.Write("bad.bmp", damaged);
  THTMLPicture fromFile;
  fromFile.LoadFromFile(dir.FileS("really-a-bitmap.gif"));
  EXPECT_FALSE(fromFile.Empty());
  EXPECT_EQ(fromFile.Width(), 16);
  for (const char* name : {"missing.gif", "bad.bmp"}) {
    fromFile.LoadFromFile(dir.FileS(name));
    EXPECT_TRUE(fromFile.Empty()) << name;
  }
  fromFile.LoadFromFile(dir.FileS(""));
  EXPECT_TRUE(fromFile.Empty());
}

TEST(HTMLPicture, DrawsUprightInItsOwnSizeOrStretched) {
  TempFolder dir;
  THTMLPicture pic;
  LoadBytes(pic, MakeTwoTone(dir, "p.bmp", 16, 12, 6, "red", "blue"));
  TBitmap b(60, 60);
  pic.Draw(b.Canvas(), TRect(2, 3, 50, 50));
  EXPECT_EQ(PixelAt(b, 2, 3), clRed);
  EXPECT_EQ(PixelAt(b, 17, 8), clRed);
  EXPECT_EQ(PixelAt(b, 17, 9), clBlue);
  EXPECT_EQ(PixelAt(b, 17, 14), clBlue);
  EXPECT_EQ(PixelAt(b, 18, 14), clWhite);
  EXPECT_EQ(PixelAt(b, 17, 15), clWhite);

  pic.SetStretch(true);
  TBitmap s(60, 60);
  pic.Draw(s.Canvas(), TRect(10, 10, 42, 34));
  EXPECT_EQ(PixelAt(s, 10, 10), clRed);
  EXPECT_EQ(PixelAt(s, 41, 21), clRed);
  EXPECT_EQ(PixelAt(s, 41, 22), clBlue);
  EXPECT_EQ(PixelAt(s, 41, 33), clBlue);
  EXPECT_EQ(PixelAt(s, 42, 33), clWhite);
  EXPECT_EQ(PixelAt(s, 41, 34), clWhite);
}

TEST(HTMLPicture, AssignCopiesPicturesAndEmptiesForOtherSources) {
  TempFolder dir;
  THTMLPicture src;
  LoadBytes(src, MakeThreeFrameGif(dir, "anim.gif"));
  src.SetFrame(2);
  src.SetID(u"FILE://x.gif");
  src.SetStretch(true);
  THTMLPicture dst;
  int changes = 0;
  dst.OnChange = [&](TObject*) { ++changes; };
  dst.Assign(&src);
  EXPECT_EQ(changes, 1);
  EXPECT_FALSE(dst.Empty());
  EXPECT_EQ(dst.Frame(), 2);
  EXPECT_EQ(dst.FrameXPos(), 2);
  EXPECT_EQ(dst.ID(), u"FILE://x.gif");
  EXPECT_TRUE(dst.Stretch());
  EXPECT_EQ(dst.FrameCount(), 3);
  TMemoryStream saved;
  dst.SaveToStream(&saved);
  TMemoryStream orig;
  src.SaveToStream(&orig);
  EXPECT_EQ(saved.Size(), orig.Size());

  // An empty picture copies as an empty picture.
  THTMLPicture blank, copy;
  EXPECT_NO_THROW(copy.Assign(&blank));
  EXPECT_TRUE(copy.Empty());

  TBitmap bitmap(4, 4);
  int frameChanges = 0;
  dst.OnFrameChange = [&](TObject*) { ++frameChanges; };
  EXPECT_NO_THROW(dst.Assign(&bitmap));
  EXPECT_TRUE(dst.Empty());
  EXPECT_EQ(dst.Width(), 0);
  EXPECT_EQ(frameChanges, 1);
  dst.Assign(nullptr);
  EXPECT_TRUE(dst.Empty());
  EXPECT_EQ(dst.Width(), 0);
  TMemoryStream none;
  dst.SaveToStream(&none);
  EXPECT_EQ(none.Size(), 0);
}

TEST(HTMLPicture, UrlsLoadOnlyFromResourcesAndFiles) {
  TempFolder dir;
  static std::string resBytes;
  resBytes = MakeTwoTone(dir, "p.bmp", 7, 5, 2, "red", "blue");
  ASSERT_TRUE(RegisterResource(RT_RCDATA, u"PICTEST_LOGO", resBytes.data(), DWORD(resBytes.size())));
  ASSERT_TRUE(RegisterResource(RT_RCDATA, MAKEINTRESOURCE(4711), resBytes.data(), DWORD(resBytes.size())));

  THTMLPicture pic;
  pic.LoadFromURL(u"res://PicTest_Logo");
  EXPECT_EQ(pic.ID(), u"res://PicTest_Logo");
  EXPECT_EQ(pic.Width(), 7);

  THTMLPicture missing;
  missing.LoadFromURL(u"RES://NO_SUCH_PICTURE");
  EXPECT_TRUE(missing.Empty());
  EXPECT_THROW(missing.LoadFromResourceID(HInstance, 4712), EResNotFound);
  missing.LoadFromResourceID(HInstance, 4711);
  EXPECT_EQ(missing.Height(), 5);

  dir.Write("pic.bmp", resBytes);
  THTMLPicture file;
  file.LoadFromURL(u"File://" + dir.FileS("pic.bmp"));
  EXPECT_EQ(file.Width(), 7);
  THTMLPicture bare;
  bare.LoadFromURL(u"FILE://");
  EXPECT_EQ(bare.ID(), u"FILE://");
  EXPECT_TRUE(bare.Empty());

  // Network addresses: nothing is fetched.
  THTMLPicture net;
  net.LoadFromURL(u"http://127.0.0.1:9/a.gif");
  EXPECT_TRUE(net.Busy());
  EXPECT_EQ(net.ID(), u"");
  net.LoadFromURL(u"http://127.0.0.1:9/b.gif");
  EXPECT_TRUE(net.Busy());
  EXPECT_TRUE(net.Empty());
  THTMLPicture sync;
  sync.SetAsynch(false);
  sync.LoadFromURL(u"https://example.invalid/c.png");
  EXPECT_EQ(sync.ID(), u"https://example.invalid/c.png");
  EXPECT_FALSE(sync.Busy());
  EXPECT_TRUE(sync.Empty());

  UnregisterResource(RT_RCDATA, u"PICTEST_LOGO");
  UnregisterResource(RT_RCDATA, MAKEINTRESOURCE(4711));
}

TEST(HTMLPictureCache, FindsByExactIdAndOwnsItsPictures) {
  THTMLPictureCache cache;
  THTMLPicture* a = cache.AddPicture();
  a->SetID(u"FILE://a.gif");
  THTMLPicture* b = cache.AddPicture();
  b->SetID(u"FILE://b.gif");
  EXPECT_EQ(cache.FindPicture(u"FILE://b.gif"), b);
  EXPECT_EQ(cache.FindPicture(u"file://b.gif"), nullptr);
  EXPECT_EQ(cache.GetPicture(0), a);
  EXPECT_THROW(cache.GetPicture(2), EListError);
  auto* c = new THTMLPicture;
  cache.SetPicture(0, c);
  EXPECT_EQ(cache.GetPicture(0), c);
  EXPECT_FALSE(cache.Animate());
  cache.ClearPictures();
  EXPECT_EQ(cache.Count(), 0);
}

TEST(PictureContainer, FindsNamesIgnoringCaseAndCopiesItems) {
  TempFolder dir;
  TPictureContainer container(nullptr);
  EXPECT_EQ(container.Items()->GetOwner(), &container);
  TPictureItem* first = container.Items()->Add();
  first->SetName(u"Logo");
  first->SetTag(5);
  LoadBytes(*first->Picture(), MakeTwoTone(dir, "p.bmp", 6, 4, 2, "red", "blue"));
  TPictureItem* second = container.Items()->Add();
  second->SetName(u"LOGO");
  for (const char16_t* name : {u"Logo", u"LOGO", u"lOgO"}) EXPECT_EQ(container.FindPicture(name), first->Picture());
  EXPECT_EQ(container.FindPicture(u"Logo2"), nullptr);

  EXPECT_EQ(container.Version(), u"1.0.0.0");
  container.SetVersion(u"2.0.0.0");
  EXPECT_EQ(container.Version(), u"1.0.0.0");

  TPictureContainer other(nullptr);
  other.SetItems(container.Items());
  ASSERT_EQ(other.Items()->Count(), 2);
  EXPECT_EQ(other.Items()->GetItem(0)->Name(), u"Logo");
  EXPECT_EQ(other.Items()->GetItem(0)->Tag(), 5);
  EXPECT_EQ(other.FindPicture(u"logo")->Width(), 6);
  EXPECT_TRUE(other.Items()->GetItem(1)->Picture()->Empty());
  EXPECT_NE(other.FindPicture(u"logo"), first->Picture());

  TPictureItem* inserted = other.Items()->Insert(0);
  inserted->SetName(u"logo");
  EXPECT_EQ(other.FindPicture(u"LOGO"), inserted->Picture());
  other.Items()->SetItem(0, container.Items()->GetItem(0));
  EXPECT_EQ(other.Items()->GetItem(0)->Tag(), 5);

  TStringList notAnItem;
  EXPECT_THROW(first->Assign(&notAnItem), EInvalidCast);
  EXPECT_FALSE(container.Items()->Animate());
}
