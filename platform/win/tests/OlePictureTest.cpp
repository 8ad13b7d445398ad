// The OLE picture loader against files written by ImageMagick and gifsicle.

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "testing/PictureFixtures.h"
#include "platform/win/Gdi.h"
#include "platform/win/Ole.h"
#include "testing/MemorySurface.h"

namespace {

// Loads Bytes through a global-memory stream as the picture classes do.
HRESULT Load(const std::string& bytes, IPicture** picture, LONG size = -2) {
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  if (!bytes.empty()) std::memcpy(GlobalLock(mem), bytes.data(), bytes.size());
  GlobalUnlock(mem);
  IStream* stream = nullptr;
  EXPECT_EQ(CreateStreamOnHGlobal(mem, TRUE, &stream), S_OK);
  HRESULT hr = OleLoadPicture(stream, size == -2 ? LONG(bytes.size()) : size, FALSE, IID_IPicture,
                              reinterpret_cast<void**>(picture));
  stream->Release();
  return hr;
}

struct TPictureRef {
  IPicture* p = nullptr;
  ~TPictureRef() { if (p) p->Release(); }
};

bool Near(COLORREF c, COLORREF want) {
  auto d = [](int a, int b) { return std::abs(a - b) <= 40; };
  return d(GetRValue(c), GetRValue(want)) && d(GetGValue(c), GetGValue(want)) && d(GetBValue(c), GetBValue(want));
}

}  // namespace

TEST(OlePicture, DecodesEachFormatSizedInHimetricAndRendersUpright) {
  TempFolder dir;
  struct Case {
    const char* file;
    short type;
  };
  for (const Case& c : {Case{"p.bmp", PICTYPE_BITMAP}, Case{"p.jpg", PICTYPE_BITMAP}, Case{"p.gif", PICTYPE_BITMAP},
                        Case{"p.ico", PICTYPE_ICON}}) {
    SCOPED_TRACE(c.file);
    // 16 x 12: the top 6 rows red, the rest blue.
    std::string bytes = MakeTwoTone(dir, c.file, 16, 12, 6, "red", "blue");
    TPictureRef pic;
    ASSERT_EQ(Load(bytes, &pic.p), S_OK);
    short type = 0;
    OLE_XSIZE_HIMETRIC hw = 0;
    OLE_YSIZE_HIMETRIC hh = 0;
    pic.p->get_Type(&type);
    pic.p->get_Width(&hw);
    pic.p->get_Height(&hh);
    EXPECT_EQ(type, c.type);
    EXPECT_EQ(hw, 423);  // 16 pixels at 96 per inch in 0.01 mm
    EXPECT_EQ(hh, 318);
    EXPECT_EQ(MulDiv(hw, 96, 2540), 16);
    EXPECT_EQ(MulDiv(hh, 96, 2540), 12);

    // Both ways of turning the bottom-up source upright, at twice the size.
    TMemorySurface s(80, 60);
    ASSERT_EQ(pic.p->Render(s.dc, 4, 2, 32, 24, 0, hh, hw, -hh, nullptr), S_OK);
    ASSERT_EQ(pic.p->Render(s.dc, 40, 50, 32, -24, 0, 0, hw, hh, nullptr), S_OK);
    for (int x0 : {4, 40}) {
      int y0 = x0 == 4 ? 2 : 26;
      EXPECT_TRUE(Near(s.At(x0 + 16, y0 + 3), RGB(255, 0, 0))) << std::hex << s.At(x0 + 16, y0 + 3);
      EXPECT_TRUE(Near(s.At(x0 + 16, y0 + 20), RGB(0, 0, 255))) << std::hex << s.At(x0 + 16, y0 + 20);
      EXPECT_EQ(s.At(x0 - 1, y0 + 3), RGB(255, 255, 255));
      EXPECT_EQ(s.At(x0 + 32, y0 + 3), RGB(255, 255, 255));
    }
    EXPECT_EQ(s.At(20, 1), RGB(255, 255, 255));
    EXPECT_EQ(s.At(20, 26), RGB(255, 255, 255));
  }
}

TEST(OlePicture, RendersOnlyThePartOfTheSourceAskedFor) {
  TempFolder dir;
  std::string bytes = MakeTwoTone(dir, "p.bmp", 16, 12, 6, "red", "blue");
  TPictureRef pic;
  ASSERT_EQ(Load(bytes, &pic.p), S_OK);
  OLE_XSIZE_HIMETRIC hw = 0;
  OLE_YSIZE_HIMETRIC hh = 0;
  pic.p->get_Width(&hw);
  pic.p->get_Height(&hh);
  TMemorySurface s(40, 40);
  // The bottom half (y from 0 up to hh/2) into a 16 x 6 rectangle: all blue.
  ASSERT_EQ(pic.p->Render(s.dc, 0, 0, 16, 6, 0, hh / 2, hw, -hh / 2, nullptr), S_OK);
  EXPECT_EQ(s.At(8, 0), RGB(0, 0, 255));
  EXPECT_EQ(s.At(8, 5), RGB(0, 0, 255));
  EXPECT_EQ(s.At(8, 6), RGB(255, 255, 255));
  EXPECT_EQ(pic.p->Render(s.dc, 0, 0, 16, 6, 0, 0, 0, hh, nullptr), CTL_E_INVALIDPROPERTYVALUE);
  EXPECT_EQ(pic.p->Render(nullptr, 0, 0, 16, 6, 0, 0, hw, hh, nullptr), E_INVALIDARG);
  void* other = nullptr;
  EXPECT_EQ(pic.p->QueryInterface(IID_IStream, &other), E_NOINTERFACE);
}

TEST(OlePicture, GifTakesItsFirstImageCroppedWithItsTransparentColour) {
  TempFolder dir;
  MakeThreeFrameGif(dir, "anim.gif");
  // The second frame alone, as the picture classes rebuild it: header, then its frames on.
  RunIn(dir, "gifsicle --no-warnings anim.gif '#1-' > from2.gif");
  std::string info = RunIn(dir, "gifsicle --info from2.gif");
  ASSERT_NE(info.find("4x3 at 2,1"), std::string::npos) << info;
  TPictureRef pic;
  ASSERT_EQ(Load(dir.Read("from2.gif"), &pic.p), S_OK);
  OLE_XSIZE_HIMETRIC hw = 0;
  pic.p->get_Width(&hw);
  EXPECT_EQ(MulDiv(hw, 96, 2540), 4);

  RunIn(dir, "convert -size 6x4 xc:red -fill lime -draw 'rectangle 0,0 2,3' t.gif && "
             "gifsicle --no-warnings --transparent '#00FF00' t.gif > tt.gif");
  TPictureRef tp;
  ASSERT_EQ(Load(dir.Read("tt.gif"), &tp.p), S_OK);
  OLE_XSIZE_HIMETRIC tw = 0;
  OLE_YSIZE_HIMETRIC th = 0;
  tp.p->get_Width(&tw);
  tp.p->get_Height(&th);
  TMemorySurface s(10, 10);
  ASSERT_EQ(tp.p->Render(s.dc, 0, 0, 6, 4, 0, th, tw, -th, nullptr), S_OK);
  EXPECT_EQ(s.At(1, 1), RGB(255, 255, 255));  // transparent: the surface shows
  EXPECT_EQ(s.At(4, 1), RGB(255, 0, 0));
}

TEST(OlePicture, BadDataIsRefusedWithoutDecodingOrAllocating) {
  TempFolder dir;
  std::string bmp = MakeTwoTone(dir, "p.bmp", 16, 12, 6, "red", "blue");
  std::string gif = MakeThreeFrameGif(dir, "a.gif");
  std::string jpg = MakeTwoTone(dir, "p.jpg", 16, 12, 6, "red", "blue");
  std::string png = MakeTwoTone(dir, "p.png", 16, 12, 6, "red", "blue");

  // A bitmap header declaring 20000 x 20000 pixels (400 megapixels) and no pixels.
  std::string hugeBmp(54, '\0');
  auto put32 = [](std::string& s, size_t at, uint32_t v) { std::memcpy(&s[at], &v, 4); };
  hugeBmp[0] = 'B';
  hugeBmp[1] = 'M';
  put32(hugeBmp, 2, 54);
  put32(hugeBmp, 10, 54);
  put32(hugeBmp, 14, 40);
  put32(hugeBmp, 18, 20000);
  put32(hugeBmp, 22, 20000);
  hugeBmp[26] = 1;
  hugeBmp[28] = 24;
  // A GIF whose first image descriptor declares 65535 x 65535 pixels.
  std::string hugeGif = dir.Read("f1.gif");
  size_t desc = hugeGif.find(',');
  ASSERT_NE(desc, std::string::npos);
  hugeGif[desc + 5] = hugeGif[desc + 6] = hugeGif[desc + 7] = hugeGif[desc + 8] = '\xFF';

  std::string damaged = gif;
  for (size_t i = 40; i < damaged.size(); ++i) damaged[i] = char(0xA5 ^ i);

  struct Case {
    const char* what;
    std::string bytes;
    HRESULT hr;
  };
  const Case cases[] = {
      {"empty", "", CTL_E_INVALIDPICTURE},
      {"text", "hello, picture", CTL_E_INVALIDPICTURE},
      {"PNG is no OLE picture", png, CTL_E_INVALIDPICTURE},
      {"bitmap header only", bmp.substr(0, 20), CTL_E_INVALIDPICTURE},
      {"GIF cut inside its first image", gif.substr(0, 48), CTL_E_INVALIDPICTURE},
      {"GIF header only", "GIF89a", CTL_E_INVALIDPICTURE},
      {"damaged GIF", damaged, CTL_E_INVALIDPICTURE},
      {"JPEG cut after its header", jpg.substr(0, 30), CTL_E_INVALIDPICTURE},
      {"400-megapixel bitmap", hugeBmp, E_OUTOFMEMORY},
      {"4-gigapixel GIF image", hugeGif, E_OUTOFMEMORY},
      {"placeable metafile header only", std::string("\xD7\xCD\xC6\x9A", 4) + std::string(40, '\0'), CTL_E_INVALIDPICTURE},
  };
  for (const Case& c : cases) {
    IPicture* pic = reinterpret_cast<IPicture*>(1);
    EXPECT_EQ(Load(c.bytes, &pic), c.hr) << c.what;
    EXPECT_EQ(pic, nullptr) << c.what;
  }

  // Only Size bytes are read: a cut-off length fails even over whole data.
  IPicture* pic = nullptr;
  EXPECT_EQ(Load(bmp, &pic, 30), CTL_E_INVALIDPICTURE);
  // Other interfaces are not offered.
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, bmp.size());
  std::memcpy(GlobalLock(mem), bmp.data(), bmp.size());
  GlobalUnlock(mem);
  IStream* stream = nullptr;
  CreateStreamOnHGlobal(mem, TRUE, &stream);
  void* obj = nullptr;
  EXPECT_EQ(OleLoadPicture(stream, LONG(bmp.size()), FALSE, IID_IStream, &obj), E_NOINTERFACE);
  EXPECT_EQ(obj, nullptr);
  EXPECT_EQ(OleLoadPicture(nullptr, 10, FALSE, IID_IPicture, &obj), E_POINTER);
  stream->Release();
}
