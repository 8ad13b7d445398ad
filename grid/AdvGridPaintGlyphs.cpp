// The grid's glyph artwork: check boxes and radio buttons in two looks, node and leaf
// glyphs, the filter glyph, the close button glyphs and the wheel-pan markers. Each is drawn
// here as a character map, turned into a .bmp image and put into the program's resource
// table under its name, so that it loads as any bitmap resource does. The corners carry the
// key colour that transparent drawing takes out.

#include <cmath>
#include <map>
#include <mutex>
#include <vector>

#include "grid/AdvGrid.h"
#include "platform/rtl/Classes.h"
#include "platform/win/Resources.h"

namespace {

constexpr TColor kKey = 0xFF00FF;  // the transparent colour of every glyph

// A glyph being drawn: a square or rectangle of colours, all key to begin with.
struct TArt {
  int W, H;
  std::vector<TColor> Px;
  TArt(int AW, int AH) : W(AW), H(AH), Px(static_cast<size_t>(AW * AH), kKey) {}
  void Set(int X, int Y, TColor C) {
    if (X >= 0 && Y >= 0 && X < W && Y < H) Px[static_cast<size_t>(Y * W + X)] = C;
  }
  void Fill(int X1, int Y1, int X2, int Y2, TColor C) {
    for (int y = Y1; y < Y2; ++y)
      for (int x = X1; x < X2; ++x) Set(x, y, C);
  }
  // A map of rows; each character other than ' ' takes its colour from Palette.
  void Map(int X, int Y, std::initializer_list<const char*> Rows, const std::map<char, TColor>& Palette) {
    int y = Y;
    for (const char* row : Rows) {
      for (int x = 0; row[x]; ++x) {
        auto it = Palette.find(row[x]);
        if (it != Palette.end()) Set(X + x, y, it->second);
      }
      ++y;
    }
  }
  // A box with rounded corners (the corner pixels stay key): border and a vertical gradient.
  void Box(int X1, int Y1, int X2, int Y2, TColor Border, TColor Top, TColor Bottom) {
    const int h = Y2 - Y1 - 2;
    for (int y = Y1 + 1; y < Y2 - 1; ++y) {
      int t = h > 1 ? (y - Y1 - 1) * 255 / (h - 1) : 0;
      TColor c = Mix(Top, Bottom, t);
      for (int x = X1 + 1; x < X2 - 1; ++x) Set(x, y, c);
    }
    for (int x = X1 + 1; x < X2 - 1; ++x) {
      Set(x, Y1, Border);
      Set(x, Y2 - 1, Border);
    }
    for (int y = Y1 + 1; y < Y2 - 1; ++y) {
      Set(X1, y, Border);
      Set(X2 - 1, y, Border);
    }
  }
  // A disc (radius R) centred at (CX, CY), with an outline of colour Border.
  void Disc(double CX, double CY, double R, TColor Border, TColor Top, TColor Bottom) {
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x) {
        double d = std::hypot(x + 0.5 - CX, y + 0.5 - CY);
        if (d > R) continue;
        Set(x, y, d > R - 1.2 ? Border : Mix(Top, Bottom, static_cast<int>(255 * (y + 0.5 - CY + R) / (2 * R))));
      }
  }
  static TColor Mix(TColor A, TColor B, int T) {
    auto ch = [&](int s) { return (((A >> s) & 0xFF) * (255 - T) + ((B >> s) & 0xFF) * T) / 255; };
    return static_cast<TColor>(ch(0) | (ch(8) << 8) | (ch(16) << 16));
  }
};

// The bytes of a 24-bit bottom-up .bmp file of the art.
std::vector<uint8_t> ToBmp(const TArt& A) {
  const int stride = (A.W * 3 + 3) & ~3;
  const uint32_t dataSize = static_cast<uint32_t>(stride * A.H), fileSize = 54 + dataSize;
  std::vector<uint8_t> b(fileSize, 0);
  auto put16 = [&](size_t at, uint32_t v) { b[at] = v & 0xFF; b[at + 1] = (v >> 8) & 0xFF; };
  auto put32 = [&](size_t at, uint32_t v) { put16(at, v & 0xFFFF); put16(at + 2, v >> 16); };
  b[0] = 'B';
  b[1] = 'M';
  put32(2, fileSize);
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<uint32_t>(A.W));
  put32(22, static_cast<uint32_t>(A.H));
  put16(26, 1);
  put16(28, 24);
  put32(34, dataSize);
  for (int y = 0; y < A.H; ++y) {
    size_t row = 54 + static_cast<size_t>((A.H - 1 - y) * stride);
    for (int x = 0; x < A.W; ++x) {
      TColor c = A.Px[static_cast<size_t>(y * A.W + x)];
      b[row + x * 3] = static_cast<uint8_t>((c >> 16) & 0xFF);  // blue
      b[row + x * 3 + 1] = static_cast<uint8_t>((c >> 8) & 0xFF);
      b[row + x * 3 + 2] = static_cast<uint8_t>(c & 0xFF);  // red
    }
  }
  return b;
}

// The tick of a checked box, drawn into a 15 x 15 box.
void Tick(TArt& A, TColor C) {
  A.Map(3, 3,
        {"        x",
         "       xx",
         "      xxx",
         "x    xxx ",
         "xx  xxx  ",
         "xxxxxx   ",
         " xxxx    ",
         "  xx     "},
        {{'x', C}});
}

// Check box looks: the "soft" look (rounded, blue-grey) and the "system" look (square, green
// tick). Checked/unchecked, enabled/disabled.
TArt CheckArt(bool Soft, bool Checked, bool Enabled) {
  TArt a(15, 15);
  TColor border = Enabled ? (Soft ? 0x8B6A4A : 0x7F3C1C) : 0xB0B0B0;
  TColor top = Enabled ? (Soft ? 0xFFFFFF : 0xE6E3DC) : 0xF4F4F4;
  TColor bottom = Enabled ? (Soft ? 0xF2E4D6 : 0xFFFFFF) : 0xF4F4F4;
  a.Box(0, 0, 15, 15, border, top, bottom);
  if (!Soft) {
    // a square frame: corners drawn too, with a key margin around the whole box
    TArt s(15, 15);
    s.Fill(1, 1, 14, 14, border);
    s.Box(1, 1, 14, 14, border, top, bottom);
    s.Set(1, 1, border);
    s.Set(13, 1, border);
    s.Set(1, 13, border);
    s.Set(13, 13, border);
    a = s;
  }
  if (Checked) Tick(a, Enabled ? (Soft ? 0x6B3A1A : 0x21A121) : 0xA0A0A0);
  return a;
}

TArt RadioArt(bool Soft, bool Checked, bool Enabled) {
  TArt a(16, 16);
  TColor border = Enabled ? (Soft ? 0x8B6A4A : 0x7F3C1C) : 0xB0B0B0;
  TColor top = Enabled ? (Soft ? 0xFFFFFF : 0xE6E3DC) : 0xF4F4F4;
  TColor bottom = Enabled ? (Soft ? 0xF2E4D6 : 0xFFFFFF) : 0xF4F4F4;
  a.Disc(8, 8, 6.5, border, top, bottom);
  if (Checked) {
    TColor dot = Enabled ? (Soft ? 0x6B3A1A : 0x21A121) : 0xA0A0A0;
    a.Disc(8, 8, 3.0, dot, dot, dot);
  }
  return a;
}

// Leaf nodes (12 x 12): a closed leaf shows a right triangle, an open one a down triangle.
TArt LeafArt(bool Collapsed) {
  TArt a(12, 12);
  const std::map<char, TColor> pal{{'x', 0x404040}};
  if (Collapsed)
    a.Map(3, 2, {"x    ", "xx   ", "xxx  ", "xxxx ", "xxxxx", "xxxx ", "xxx  ", "xx   ", "x    "}, pal);
  else
    a.Map(2, 3, {"xxxxxxxxx", " xxxxxxx ", "  xxxxx  ", "   xxx   ", "    x    "}, pal);
  return a;
}

// Tree nodes (9 x 9): a framed box with a plus (collapsed) or a minus.
TArt NodeArt(bool Collapsed) {
  TArt a(9, 9);
  a.Box(0, 0, 9, 9, 0xA0A0A0, 0xFFFFFF, 0xDDD7D2);
  for (int x = 2; x <= 6; ++x) a.Set(x, 4, 0x000000);
  if (Collapsed)
    for (int y = 2; y <= 6; ++y) a.Set(4, y, 0x000000);
  return a;
}

// The filter button glyph (16 x 16): a funnel.
TArt FilterArt() {
  TArt a(16, 16);
  a.Map(2, 3,
        {"xxxxxxxxxxx",
         "xwwwwwwwwwx",
         " xwwwwwwwx ",
         "  xwwwwwx  ",
         "   xwwwx   ",
         "    xwx    ",
         "    xwx    ",
         "    xwx    ",
         "    xxx    "},
        {{'x', 0x404040}, {'w', 0xFFFFFF}});
  return a;
}

// The close button (14 x 14): a cross, normal, hot (framed) and down (framed, darker).
TArt CloseArt(int State) {
  TArt a(14, 14);
  if (State > 0) a.Box(0, 0, 14, 14, State == 1 ? 0x9F6A3A : 0x6B3A1A, State == 1 ? 0xFFF2E6 : 0xE8CFB8,
                       State == 1 ? 0xF5DCC4 : 0xD7B898);
  a.Map(3, 3,
        {"xx    xx",
         "xxx  xxx",
         " xxxxxx ",
         "  xxxx  ",
         "  xxxx  ",
         " xxxxxx ",
         "xxx  xxx",
         "xx    xx"},
        {{'x', 0x404040}});
  return a;
}

// The wheel-pan origin marker (32 x 32): a ring with arrows: both axes (1), left and right
// (2), up and down (3).
TArt PanArt(int Kind) {
  TArt a(32, 32);
  a.Disc(16, 16, 14, 0x404040, 0xFFFFFF, 0xFFFFFF);
  a.Disc(16, 16, 2, 0x000000, 0x000000, 0x000000);
  const std::map<char, TColor> pal{{'x', 0x000000}};
  const bool vert = Kind != 2, horz = Kind != 3;
  if (vert) {
    a.Map(12, 5, {"    x    ", "   xxx   ", "  xxxxx  ", " xxxxxxx "}, pal);
    a.Map(12, 23, {" xxxxxxx ", "  xxxxx  ", "   xxx   ", "    x    "}, pal);
  }
  if (horz) {
    a.Map(5, 12, {"   x", "  xx", " xxx", "xxxx", " xxx", "  xx", "   x"}, pal);
    a.Map(23, 12, {"x   ", "xx  ", "xxx ", "xxxx", "xxx ", "xx  ", "x   "}, pal);
  }
  return a;
}

struct TGlyphStore {
  std::map<std::u16string, std::vector<uint8_t>> Bytes;
  std::map<std::u16string, std::unique_ptr<TBitmap>> Bitmaps;
};

// Kept for the program's life and never destroyed: the resource table points into it, and its
// bitmaps must not outlive the graphics system at exit.
TGlyphStore& Store() {
  static TGlyphStore* store = new TGlyphStore;
  return *store;
}

void Add(const char16_t* Name, const TArt& Art) {
  auto& bytes = Store().Bytes[Name];
  bytes = ToBmp(Art);
  RegisterResource(RT_BITMAP, reinterpret_cast<LPCWSTR>(Name), bytes.data(), static_cast<DWORD>(bytes.size()));
}

// Put in at start-up, like the program's other resources.
const bool GlyphsRegistered = (DEreDuzeroVaro::RegisterGlyphResources(), true);

}  // namespace

void DEreDuzeroVaro::RegisterGlyphResources() {
  static std::once_flag once;
  std::call_once(once, [] {
    // "ASGCHK01".."04": the soft look (checked, unchecked, checked disabled, unchecked
    // disabled); "05".."08" the system look in the same order. Radio buttons likewise.
    const char16_t* chk[] = {u"ASGCHK01", u"ASGCHK02", u"ASGCHK03", u"ASGCHK04",
                             u"ASGCHK05", u"ASGCHK06", u"ASGCHK07", u"ASGCHK08"};
    const char16_t* rad[] = {u"ASGRAD01", u"ASGRAD02", u"ASGRAD03", u"ASGRAD04",
                             u"ASGRAD05", u"ASGRAD06", u"ASGRAD07", u"ASGRAD08"};
    for (int i = 0; i < 8; ++i) {
      bool soft = i < 4, checked = i % 2 == 0, enabled = i % 4 < 2;
      Add(chk[i], CheckArt(soft, checked, enabled));
      Add(rad[i], RadioArt(soft, checked, enabled));
    }
    Add(u"ASGLEAFCLOSE", LeafArt(true));
    Add(u"ASGLEAFOPEN", LeafArt(false));
    Add(u"XPNODEC", NodeArt(true));
    Add(u"XPNODEO", NodeArt(false));
    Add(u"ASGFILT", FilterArt());
    Add(u"ASGCLOSE", CloseArt(0));
    Add(u"ASGCLOSEH", CloseArt(1));
    Add(u"ASGCLOSED", CloseArt(2));
    Add(u"INTLI1", PanArt(1));
    Add(u"INTLI2", PanArt(2));
    Add(u"INTLI3", PanArt(3));
  });
}

TBitmap* DEreDuzeroVaro::GlyphBitmap(const String& ResName) {
  (void)GlyphsRegistered;
  RegisterGlyphResources();
  auto& cache = Store().Bitmaps;
  auto it = cache.find(ResName);
  if (it != cache.end()) return it->second.get();
  std::unique_ptr<TBitmap> bmp;
  if (HRSRC res = FindResourceW(HInstance, ResName.c_str(), RT_BITMAP)) {
    TMemoryStream stream;
    stream.Write(LockResource(LoadResource(HInstance, res)), static_cast<int32_t>(SizeofResource(HInstance, res)));
    stream.Seek(0, soBeginning);
    bmp = std::make_unique<TBitmap>();
    try {
      bmp->LoadFromStream(&stream);
    } catch (const Exception&) {
      bmp.reset();  // an unreadable resource draws nothing
    }
  }
  TBitmap* result = bmp.get();
  cache.emplace(ResName, std::move(bmp));
  return result;
}
