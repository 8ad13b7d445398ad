// The colour selector panels of the colour picker drop-down.

#include "dropdowns/AdvColorSelectors.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/rtl/SysUtils.h"
#include "platform/ui/Forms.h"
#include "platform/win/Resources.h"

// ---------------------------------------------------------------------------
// The eyedropper cursor and the spectrum picture

namespace {

void PutLE16(std::vector<uint8_t>& b, uint16_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}
void PutLE32(std::vector<uint8_t>& b, uint32_t v) {
  PutLE16(b, static_cast<uint16_t>(v));
  PutLE16(b, static_cast<uint16_t>(v >> 16));
}

// The eyedropper as a .cur file: a 32 x 32 two-colour image whose tip is at (1, 30). The
// shape is drawn in a 32 x 32 grid: 'X' black outline, 'o' white inside, '.' transparent.
std::vector<uint8_t> MakeEyeDropperCursorFile() {
  // The dropper runs from the tip at the bottom left up to the bulb at the top right.
  char grid[32][33];
  for (auto& row : grid) {
    std::fill(row, row + 32, '.');
    row[32] = 0;
  }
  auto put = [&](int x, int y, char c) {
    if (x >= 0 && x < 32 && y >= 0 && y < 32) grid[y][x] = c;
  };
  // The glass tube: white, two pixels across, along the diagonal from (2, 29) to (20, 11).
  for (int i = 0; i <= 18; ++i) {
    put(2 + i, 29 - i, 'o');
    put(3 + i, 29 - i, 'o');
  }
  // Its black outline: every pixel beside the glass.
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      if (grid[y][x] != '.') continue;
      const bool beside = (x > 0 && grid[y][x - 1] == 'o') || (x < 31 && grid[y][x + 1] == 'o') ||
                          (y > 0 && grid[y - 1][x] == 'o') || (y < 31 && grid[y + 1][x] == 'o');
      if (beside) grid[y][x] = 'X';
    }
  // The tip ends in the hot spot (1, 30).
  put(1, 30, 'X');
  put(2, 30, 'X');
  put(1, 29, 'X');
  // The collar across the tube and the rubber bulb (black) at the top right.
  for (int d = -3; d <= 3; ++d) put(20 + d, 11 + d, 'X');
  for (int y = 2; y <= 12; ++y)
    for (int x = 19; x <= 29; ++x) {
      const int dx = x - 24, dy = y - 7;
      if (dx * dx + dy * dy <= 20) put(x, y, 'X');
    }

  // Image: BITMAPINFOHEADER, two palette entries, the XOR plane, the AND plane (rows bottom up).
  std::vector<uint8_t> image;
  PutLE32(image, 40);
  PutLE32(image, 32);
  PutLE32(image, 64);  // both planes
  PutLE16(image, 1);
  PutLE16(image, 1);
  for (int i = 0; i < 6; ++i) PutLE32(image, 0);
  PutLE32(image, 0x000000);
  PutLE32(image, 0xFFFFFF);
  for (int plane = 0; plane < 2; ++plane)
    for (int y = 31; y >= 0; --y)
      for (int byte = 0; byte < 4; ++byte) {
        uint8_t bits = 0;
        for (int bit = 0; bit < 8; ++bit) {
          const char c = grid[y][byte * 8 + bit];
          const bool set = plane == 0 ? c == 'o' : c == '.';
          if (set) bits = static_cast<uint8_t>(bits | (0x80 >> bit));
        }
        image.push_back(bits);
      }
  std::vector<uint8_t> file;
  PutLE16(file, 0);
  PutLE16(file, 2);
  PutLE16(file, 1);
  file.push_back(32);
  file.push_back(32);
  file.push_back(2);
  file.push_back(0);
  PutLE16(file, 1);   // hot spot x
  PutLE16(file, 30);  // hot spot y
  PutLE32(file, static_cast<uint32_t>(image.size()));
  PutLE32(file, 22);
  file.insert(file.end(), image.begin(), image.end());
  return file;
}

}  // namespace

HCURSOR LoadEyeDropperCursor() {
  if (FindResourceW(HInstance, u"ZOL_POINTER", RT_CURSOR) == nullptr) {
    // The resource keeps pointing at the data: it lives for the process.
    static const std::vector<uint8_t> file = MakeEyeDropperCursorFile();
    RegisterResource(RT_CURSOR, u"ZOL_POINTER", file.data(), static_cast<DWORD>(file.size()));
  }
  return LoadCursor(HInstance, u"ZOL_POINTER");
}

void PaintSpectrum(TBitmap* Bitmap) {
  constexpr int N = 128;
  Bitmap->SetPixelFormat(pf32bit);
  Bitmap->SetSize(N, N);
  for (int y = 0; y < N; ++y) {
    auto* line = static_cast<uint32_t*>(Bitmap->ScanLine(y));
    for (int x = 0; x < N; ++x) {
      // The full colour of hue x (red at both edges).
      const double h = x * 6.0 / (N - 1);
      const int sector = std::min(5, static_cast<int>(h));
      const double f = h - sector;
      double c[3];
      switch (sector) {
        case 0: c[0] = 1, c[1] = f, c[2] = 0; break;
        case 1: c[0] = 1 - f, c[1] = 1, c[2] = 0; break;
        case 2: c[0] = 0, c[1] = 1, c[2] = f; break;
        case 3: c[0] = 0, c[1] = 1 - f, c[2] = 1; break;
        case 4: c[0] = f, c[1] = 0, c[2] = 1; break;
        default: c[0] = 1, c[1] = 0, c[2] = 1 - f; break;
      }
      // White in the top row to the full colour in row 63; the full colour in row 64 to
      // black in the bottom row.
      uint32_t px = 0xFF000000u;
      for (int k = 0; k < 3; ++k) {
        double v;
        if (y < N / 2) {
          const double t = y / double(N / 2 - 1);
          v = 1 + (c[k] - 1) * t;
        } else {
          const double t = (y - N / 2) / double(N / 2 - 1);
          v = c[k] * (1 - t);
        }
        px |= static_cast<uint32_t>(std::lround(v * 255)) << (16 - 8 * k);
      }
      line[x] = px;
    }
  }
}

void TAdvCustomColorSelectorPanel::WMMouseWheel(TWMMouseWheel& Message) {
  if (DoMouseWheel(KeysToShiftState(Message.Keys()), Message.WheelDelta(), Message.Pos())) {
    Message.SetResult(1);
    return;
  }
  if (Parent() != nullptr) Message.SetResult(Parent()->Perform(WM_MOUSEWHEEL, Message.M.WParam, Message.M.LParam));
}

// ---------------------------------------------------------------------------
// Box appearance and items

void TColorBoxAppearance::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TColorBoxAppearance*>(Source);
  if (src == nullptr) {
    TPersistent::Assign(Source);
    return;
  }
  FBorderColor = src->FBorderColor;
  FOuterBorderColorHot = src->FOuterBorderColorHot;
  FInnerBorderColorHot = src->FInnerBorderColorHot;
  FOuterBorderColorSelected = src->FOuterBorderColorSelected;
  FInnerBorderColorSelected = src->FInnerBorderColorSelected;
}

void TColorBoxItem::SetColor(TColor Value) {
  if (Value == FColor) return;
  FColor = Value;
  Changed(false);
}

void TColorBoxItem::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TColorBoxItem*>(Source);
  if (src == nullptr) {
    TCollectionItem::Assign(Source);
    return;
  }
  SetColor(src->FColor);
  FEnabled = src->FEnabled;
}

// ---------------------------------------------------------------------------
// The discrete palette

TCustomColorSelector::TCustomColorSelector(TComponent* AOwner)
    : TAdvCustomColorSelectorPanel(AOwner),
      FColorBoxAppearance(std::make_unique<TColorBoxAppearance>()),
      FItems(std::make_unique<TColorBoxItems>(this)) {
  SetParentColor(true);
  UpdateLayout();
}

TCustomColorSelector::~TCustomColorSelector() = default;

void TCustomColorSelector::SetColumns(int Value) {
  if (Value == FColumns) return;
  FColumns = Value;
  UpdateLayout();
}

void TCustomColorSelector::SetColumnGap(int Value) {
  if (Value == FColumnGap) return;
  FColumnGap = Value;
  UpdateLayout();
}

void TCustomColorSelector::SetColorBoxWidth(int Value) {
  if (Value == FColorBoxWidth) return;
  FColorBoxWidth = Value;
  UpdateLayout();
}

void TCustomColorSelector::SetColorBoxHeight(int Value) {
  if (Value == FColorBoxHeight) return;
  FColorBoxHeight = Value;
  UpdateLayout();
}

void TCustomColorSelector::SetItemColorStyle(TSelectionColorStyle Value) {
  if (Value == FItemColorStyle) return;
  FItemColorStyle = Value;
  if (Value == scCustom) return;
  // The three presets share the construction colours.
  TColorBoxAppearance preset;
  FColorBoxAppearance->Assign(&preset);
  Invalidate();
}

void TCustomColorSelector::SetItemIndex(int Index) {
  // A disabled box and an index past the last box are ignored.
  if (Index >= FItems->Count() || (Index >= 0 && !FItems->Items(Index)->Enabled())) return;
  if (FItemIndex >= 0 && Index != FItemIndex) {
    const int old = FItemIndex;
    FItemIndex = -1;
    InvalidateItem(old);
  }
  FItemIndex = Index;
  if (Index < 0) return;
  FSelectedColor = FItems->Items(Index)->Color();
  InvalidateItem(Index);
  if (OnItemSelect) OnItemSelect(this);
}

void TCustomColorSelector::SetItemHot(int Index) {
  if (Index >= FItems->Count()) Index = -1;
  if (Index == FItemHot || (Index >= 0 && !IsEnabledBox(Index))) return;
  if (FItemHot >= 0) {
    const int old = FItemHot;
    FItemHot = -1;
    InvalidateItem(old);
  }
  FItemHot = Index;
  if (Index >= 0) InvalidateItem(Index);
}

void TCustomColorSelector::SetSelectedColor(TColor Value) {
  if (Value == FSelectedColor) return;
  FSelectedColor = Value;
  if (Value == clNone) SetItemIndex(-1);
  for (int i = 0; i < FItems->Count(); ++i)
    if (FItems->Items(i)->Color() == Value) {
      SetItemIndex(i);
      return;
    }
  SetItemIndex(-1);
}

void TCustomColorSelector::SelectFirst() {
  if (FItems->Count() > 0) SetItemIndex(0);
}

void TCustomColorSelector::SelectLast() {
  if (FItems->Count() > 0) SetItemIndex(FItems->Count() - 1);
}

void TCustomColorSelector::SelectNext() {
  if (FItemIndex + 1 < FItems->Count()) SetItemIndex(FItemIndex + 1);
}

void TCustomColorSelector::SelectPrevious() {
  if (FItemIndex - 1 >= 0) SetItemIndex(FItemIndex - 1);
}

void TCustomColorSelector::HotNext() {
  if (FItemHot + 1 < FItems->Count()) SetItemHot(FItemHot + 1);
}

void TCustomColorSelector::HotPrevious() {
  if (FItemHot - 1 >= 0) SetItemHot(FItemHot - 1);
}

void TCustomColorSelector::HandleKey(Word Key, bool EditorEnabled, bool DroppedDown) {
  if (!Enabled()) return;
  auto vertical = [&](int Step) {
    if (!DroppedDown) {
      Step < 0 ? SelectPrevious() : SelectNext();
      return;
    }
    const int target = FItemIndex < 0 ? 0 : FItemIndex + Step;
    if (target >= 0 && target < FItems->Count()) SetItemIndex(target);
  };
  switch (Key) {
    case VK_PRIOR:
    case VK_HOME: SelectFirst(); break;
    case VK_NEXT:
    case VK_END: SelectLast(); break;
    case VK_LEFT:
      if (!EditorEnabled || DroppedDown) SelectPrevious();
      break;
    case VK_RIGHT:
      if (!EditorEnabled || DroppedDown) SelectNext();
      break;
    case VK_UP: vertical(-FColumns); break;
    case VK_DOWN: vertical(FColumns); break;
    default: break;
  }
}

TRect TCustomColorSelector::GetItemRect(int Index) const {
  if (Index < 0 || Index >= FItems->Count()) return TRect(-1, -1, -1, -1);
  return FItems->Items(Index)->FRect;
}

int TCustomColorSelector::ItemAtPos(int X, int Y) const {
  for (int i = 0; i < FItems->Count(); ++i)
    if (FItems->Items(i)->FRect.Contains(TPoint(X, Y))) return i;
  return -1;
}

void TCustomColorSelector::InvalidateItem(int Index) {
  if (Index < 0 || Index >= FItems->Count() || !HandleAllocated()) return;
  const RECT r = FItems->Items(Index)->FRect;
  InvalidateRect(Handle(), &r, true);
}

void TCustomColorSelector::GetInnerRect(TRect& R) {
  R = ClientRect();
  R.Left += FOffSetX;
  R.Top += FOffSetY;
  R.Right -= FOffSetX;
  R.Bottom -= FOffSetY;
}

void TCustomColorSelector::GetItemSize(TSize& Size) {
  Size.cx = FColorBoxWidth;
  Size.cy = FColorBoxHeight;
}

void TCustomColorSelector::UpdateLayout() {
  if (FItems->Count() == 0) {
    SetBounds(Left(), Top(), 100, 50);
    return;
  }
  FItemHot = -1;
  TSize size;
  GetItemSize(size);
  TRect inner;
  GetInnerRect(inner);
  int x = inner.Left, y = inner.Top, column = 0, maxX = 0;
  bool standAlone = false;
  const int last = FItems->Count() - 1;
  for (int k = 0; k <= last; ++k) {
    TColorBoxItem* item = FItems->Items(k);
    item->FRect = TRect(x, y, x + size.cx, y + size.cy);
    ++column;
    if (k == last) break;
    if (item->FColorBoxPos == ipStandAlone) standAlone = true;
    if (column >= FColumns) {
      maxX = std::max(maxX, x);
      x = inner.Left;
      y += size.cy + (standAlone ? FColumnGap : 0);
      column = 0;
      standAlone = false;
    } else {
      x += size.cx + FColumnGap;
    }
  }
  maxX = std::max(maxX, x);
  SetBounds(Left(), Top(), maxX + size.cx + inner.Left + 1, y + size.cy + inner.Top);
  Invalidate();
}

void TCustomColorSelector::LoadDefaultPalette() {
  static constexpr TColor Palette[6][10] = {
      {0xFFFFFF, 0x000000, 0xE1ECEE, 0x7D491F, 0xBD814F, 0x4D50C0, 0x59BB9B, 0xA26480, 0xC6AC4B, 0x4696F7},
      {0xF2F2F2, 0x7F7F7F, 0xC3D9DD, 0xDACEC2, 0xF1E5DB, 0xDBDCF2, 0xDDF1EB, 0xECE0E5, 0xF3EEDB, 0xDAEAFD},
      {0xD8D8D8, 0x595959, 0x97BDC4, 0xE2B38D, 0xE4CCB8, 0xB7B9E5, 0xBCE3D7, 0xD9C1CC, 0xE8DDB7, 0xB5D5FB},
      {0xBFBFBF, 0x3F3F3F, 0x538993, 0xD48D54, 0xD7B395, 0x9496D9, 0x9BD6C3, 0xC7A2B2, 0xDCCD92, 0x8FC0FA},
      {0xA5A5A5, 0x262626, 0x294449, 0x5D3617, 0x926036, 0x343795, 0x3C9276, 0x7A495F, 0x9B8531, 0x096CE3},
      {0x7F7F7F, 0x0C0C0C, 0x101B1D, 0x3E240F, 0x614024, 0x232463, 0x28614F, 0x51313F, 0x675820, 0x064897}};
  static constexpr TItemPos Rows[6] = {ipStandAlone, ipTop, ipMiddle, ipMiddle, ipMiddle, ipBottom};
  FItems->BeginUpdate();
  FItems->Clear();
  for (int r = 0; r < 6; ++r)
    for (TColor c : Palette[r]) {
      TColorBoxItem* item = FItems->Add();
      item->SetColor(c);
      item->SetColorBoxPos(Rows[r]);
    }
  FItems->EndUpdate();
  FItemIndex = -1;
  FItemHot = -1;
}

void TCustomColorSelector::Paint() {
  TAdvCustomColorSelectorPanel::Paint();
  DrawItems(Canvas());
}

void TCustomColorSelector::DrawItems(TCanvas* ACanvas) {
  for (int i = 0; i < FItems->Count(); ++i) DrawItem(i, ACanvas);
}

void TCustomColorSelector::DrawItem(int Index, TCanvas* ACanvas) {
  if (Index < 0 || Index >= FItems->Count() || ACanvas == nullptr) return;
  TColorBoxItem* item = FItems->Items(Index);
  TRect r = item->FRect;
  if (r.Left < 0 && r.Right < 0) return;
  const TColorBoxAppearance& a = *FColorBoxAppearance;
  TColor outer = a.BorderColor(), inner = clNone;
  bool marked = false;
  if (Index == FItemHot) outer = a.OuterBorderColorHot(), inner = a.InnerBorderColorHot(), marked = true;
  if (Index == FItemIndex) outer = a.OuterBorderColorSelected(), inner = a.InnerBorderColorSelected(), marked = true;
  if (item->Color() != clNone) {
    ACanvas->Pen()->SetColor(item->Color());
    ACanvas->Brush()->SetStyle(bsSolid);
    ACanvas->Brush()->SetColor(item->Color());
    ACanvas->Rectangle(r);
  }
  if (marked) {
    ACanvas->Brush()->SetStyle(bsClear);
    if (outer != clNone) {
      ACanvas->Pen()->SetColor(outer);
      ACanvas->Rectangle(r);
      r = TRect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
    }
    if (inner != clNone) {
      ACanvas->Pen()->SetColor(inner);
      ACanvas->Rectangle(r);
    }
    return;
  }
  // Joined boxes share the lines between them: a strip is framed once, around its ends.
  ACanvas->Pen()->SetColor(a.BorderColor());
  const int L = r.Left, T = r.Top, R = r.Right, B = r.Bottom;
  switch (item->ColorBoxPos()) {
    case ipStandAlone:
      ACanvas->MoveTo(L, B);
      ACanvas->LineTo(L, T);
      ACanvas->LineTo(R, T);
      ACanvas->LineTo(R, B);
      ACanvas->LineTo(L, B);
      break;
    case ipTop:
      ACanvas->MoveTo(L, B);
      ACanvas->LineTo(L, T);
      ACanvas->LineTo(R, T);
      ACanvas->LineTo(R, B);
      break;
    case ipMiddle:
      ACanvas->MoveTo(L, T);
      ACanvas->LineTo(L, B);
      ACanvas->MoveTo(R, T);
      ACanvas->LineTo(R, B);
      break;
    case ipBottom:
      ACanvas->MoveTo(L, T);
      ACanvas->LineTo(L, B);
      ACanvas->LineTo(R, B);
      ACanvas->MoveTo(R, T);
      ACanvas->LineTo(R, B + 1);
      break;
  }
}

void TCustomColorSelector::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TAdvCustomColorSelectorPanel::MouseDown(Button, Shift, X, Y);
  const int i = ItemAtPos(X, Y);
  if (IsEnabledBox(i)) SetItemIndex(i);
}

void TCustomColorSelector::MouseMove(TShiftState Shift, int X, int Y) {
  TAdvCustomColorSelectorPanel::MouseMove(Shift, X, Y);
  const int i = ItemAtPos(X, Y);
  if (i < 0) SetItemHot(-1);
  else if (i != FItemHot) SetItemHot(IsEnabledBox(i) ? i : -1);
}

void TCustomColorSelector::CMMouseLeave(TMessage& Message) {
  TAdvCustomColorSelectorPanel::CMMouseLeave(Message);
  SetItemHot(-1);
}

// ---------------------------------------------------------------------------
// The colour cube

namespace {

// The cells' colours row by row (TColor values).
constexpr TColor CubeColors[TAdvColorCubePanel::CellCount] = {
    0x663300, 0x996633, 0xCC6633, 0x993300, 0x990000, 0xCC0000, 0x660000,
    0x666600, 0x996600, 0xCC9900, 0xCC6600, 0xCC3300, 0xFF0000, 0xFF3333, 0x993333,
    0x808000, 0x999900, 0xCCCC33, 0xFFCC00, 0xFF9900, 0xFF6600, 0xFF6633, 0xCC3333, 0x996666,
    0x669933, 0x99CC00, 0xCCFF00, 0xFFFF00, 0xFFCC33, 0xFF9933, 0xFF9966, 0xFF6666, 0xFF0066, 0xCC0066,
    0x339933, 0x66CC00, 0x99FF00, 0xCCFF66, 0xFFFF66, 0xFFCC66, 0xFFCC99, 0xFF9999, 0xFF6699, 0xFF3399, 0xFF0099,
    0x006600, 0x00CC00, 0x00FF00, 0x99FF66, 0xCCFF99, 0xFFFFCC, 0xFFECCC, 0xFFCCCC, 0xFF99CC, 0xFF66CC, 0xFF00CC,
    0xCC0099,
    0x003300, 0x008000, 0x33CC33, 0x66FF66, 0x99FF99, 0xCCFFCC, 0xFFFFFF, 0xFFCCFF, 0xFF99FF, 0xFF66FF, 0xFF00FF,
    0xCC00CC, 0x660066,
    0x006633, 0x009900, 0x33FF66, 0x66FF99, 0x99FFCC, 0xCCFFFF, 0xCCCCFF, 0xCC99FF, 0xCC66FF, 0xCC33FF, 0x9900CC,
    0x800080,
    0x003333, 0x009966, 0x33FF99, 0x66FFCC, 0x99FFFF, 0x99CCFF, 0x9999FF, 0x9966FF, 0x9933FF, 0x9933CC, 0x990099,
    0x336666, 0x00CC99, 0x33FFCC, 0x66FFFF, 0x66CCFF, 0x6699FF, 0x807CFF, 0x6600FF, 0x9300D6, 0x663399,
    0x008080, 0x00CCCC, 0x00FFFF, 0x00CCFF, 0x3399FF, 0x0066FF, 0x5050FF, 0x6600CC, 0x330066,
    0x336699, 0x0099CC, 0x0099FF, 0x0066CC, 0x0033FF, 0x0000FF, 0x0000CC, 0x330099,
    0x003366, 0x006699, 0x0033CC, 0x003399, 0x000099, 0x000080, 0x2100A5};

}  // namespace

TAdvColorCubePanel::TAdvColorCubePanel(TComponent* AOwner) : TAdvCustomColorSelectorPanel(AOwner) {
  InitCube();
  SetShowHint(true);
  ResetPanel();
}

void TAdvColorCubePanel::InitCube() {
  FCubeSize = TPoint(6, 3);
  int n = 1;
  for (int j = 1; j <= 13; ++j) {
    const int cells = j <= 7 ? j + 6 : 20 - j;
    const int y = 20 + 10 * (j - 1);
    int x = j <= 7 ? 55 - 6 * (j - 1) : 19 + 6 * (j - 7);
    for (int c = 0; c < cells; ++c, ++n, x += 2 * FCubeSize.X) FCubeCells[n] = {x, y, CubeColors[n - 1]};
  }
}

TAdvColorCubePanel::TCubeCell TAdvColorCubePanel::Cell(int N) const {
  return N >= 1 && N <= CellCount ? FCubeCells[N] : TCubeCell{};
}

void TAdvColorCubePanel::SetShowRGBHint(bool Value) {
  FShowRGBHint = Value;
  SetShowHint(Value);
}

void TAdvColorCubePanel::SelectColor(TColor Color, int Index) {
  FSelectedColor = Color;
  if (Index >= 1 && Index <= CellCount) {
    FSelectedIndex = Index;
    return;
  }
  FSelectedIndex = -1;
  for (int n = 1; n <= CellCount; ++n)
    if (FCubeCells[n].Color == Color) {
      FSelectedIndex = n;
      break;
    }
}

void TAdvColorCubePanel::ResetPanel() {
  FHotIndex = -1;
  SetBounds(Left(), Top(), 182, 160);
  Invalidate();
}

int TAdvColorCubePanel::CellAtPos(int X, int Y) const {
  const int r2 = FCubeSize.X * FCubeSize.X;
  for (int n = 1; n <= CellCount; ++n) {
    const int dx = X - FCubeCells[n].X, dy = Y - FCubeCells[n].Y;
    if (dx * dx + dy * dy <= r2) return n;
  }
  return -1;
}

void TAdvColorCubePanel::DrawHexagon(TCanvas* ACanvas, TPoint C, int W, int H) {
  const TPoint pts[6] = {{C.X - W, C.Y - H}, {C.X, C.Y - 2 * H}, {C.X + W, C.Y - H},
                         {C.X + W, C.Y + H}, {C.X, C.Y + 2 * H}, {C.X - W, C.Y + H}};
  ACanvas->Polygon(pts, 6);
}

void TAdvColorCubePanel::DrawCubeCell(TCanvas* ACanvas, int N) {
  if (N < 1 || N > CellCount) return;
  const TCubeCell& cell = FCubeCells[N];
  const TPoint c(cell.X, cell.Y);
  ACanvas->Pen()->SetColor(cell.Color);
  ACanvas->Brush()->SetStyle(bsSolid);
  ACanvas->Brush()->SetColor(cell.Color);
  DrawHexagon(ACanvas, c, FCubeSize.X, FCubeSize.Y);
  // The hot frame (red outside), then the selected one (black outside), white inside both.
  auto frame = [&](TColor Outer) {
    ACanvas->Brush()->SetStyle(bsClear);
    ACanvas->Pen()->SetColor(Outer);
    DrawHexagon(ACanvas, c, 5, 3);
    ACanvas->Pen()->SetColor(clWhite);
    DrawHexagon(ACanvas, c, 4, 2);
  };
  if (N == FHotIndex) frame(0x0000FF);
  if (N == FSelectedIndex) frame(clBlack);
}

void TAdvColorCubePanel::InvalidateCell(int N) {
  if (N < 1 || N > CellCount || !HandleAllocated()) return;
  const TCubeCell& cell = FCubeCells[N];
  const RECT r = TRect(cell.X - 7, cell.Y - 7, cell.X + 8, cell.Y + 8);
  InvalidateRect(Handle(), &r, true);
}

void TAdvColorCubePanel::Paint() {
  TAdvCustomColorSelectorPanel::Paint();
  for (int n = 1; n <= CellCount; ++n) DrawCubeCell(Canvas(), n);
}

void TAdvColorCubePanel::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TAdvCustomColorSelectorPanel::MouseDown(Button, Shift, X, Y);
  const int n = CellAtPos(X, Y);
  if (n < 1) return;
  if (FSelectedIndex >= 1) {
    const int old = FSelectedIndex;
    FSelectedIndex = -1;
    InvalidateCell(old);
  }
  SelectColor(FCubeCells[n].Color, n);
  InvalidateCell(n);
  if (OnSelect) OnSelect(this);
}

void TAdvColorCubePanel::MouseMove(TShiftState Shift, int X, int Y) {
  TAdvCustomColorSelectorPanel::MouseMove(Shift, X, Y);
  const int n = CellAtPos(X, Y);
  if (n < 1) {
    if (FShowRGBHint) {
      SetHint(String());
      if (Application != nullptr) Application->CancelHint();
    }
    return;
  }
  if (n == FHotIndex) return;
  const int old = FHotIndex;
  FHotIndex = n;
  InvalidateCell(old);
  InvalidateCell(n);
  if (FShowRGBHint) {
    const TColor c = FCubeCells[n].Color;
    SetHint(Format(u"Red: %d,  Green: %d,  Blue: %d",
                   {int(GetRValue(c)), int(GetGValue(c)), int(GetBValue(c))}));
    // The hint showing goes, so that the new text can show.
    if (Application != nullptr) Application->CancelHint();
  }
}

void TAdvColorCubePanel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TAdvCustomColorSelectorPanel::MouseUp(Button, Shift, X, Y);
  if (OnShouldHide) OnShouldHide(this);
}

// ---------------------------------------------------------------------------
// The spectrum

TSpectrumImage::TSpectrumImage(TComponent* AOwner) : TGraphicControl(AOwner), FBitmap(std::make_unique<TBitmap>()) {
  PaintSpectrum(FBitmap.get());
  SetBounds(0, 0, FBitmap->Width(), FBitmap->Height());
}

TSpectrumImage::~TSpectrumImage() = default;

void TSpectrumImage::Paint() { Canvas()->Draw(0, 0, FBitmap.get()); }

TAdvColorSpectrumPanel::TAdvColorSpectrumPanel(TComponent* AOwner)
    : TAdvCustomColorSelectorPanel(AOwner), FSpectrumImage(new TSpectrumImage(this)) {
  FSpectrumImage->SetParent(this);
    FSpectrumImage->SetBounds(0, 0, 128, 128);
  FSpectrumImage->OnMouseMove = [this](TObject*, TShiftState S, int X, int Y) { ImageMouseMove(S, X, Y); };
  FSpectrumImage->OnMouseDown = [this](TObject*, TMouseButton B, TShiftState S, int X, int Y) {
    ImageMouseDown(B, S, X, Y);
  };
  FSpectrumImage->OnMouseUp = [this](TObject*, TMouseButton, TShiftState, int, int) {
    if (OnShouldHide) OnShouldHide(this);
  };
  if (HCURSOR cursor = LoadEyeDropperCursor(); cursor != nullptr && Screen != nullptr)
    Screen->SetCursors(crEyeDropper, cursor);
  FSpectrumImage->SetCursor(crEyeDropper);
  ArrangePanel();
}

void TAdvColorSpectrumPanel::ArrangePanel() {
  SetBounds(Left(), Top(), 150, 174);
  TSpectrumImage* img = FSpectrumImage;
  img->SetBounds((Width() - img->Width()) / 2, 10, img->Width(), img->Height());
  const int bottom = img->Top() + img->Height();
  FSelectedRect = TRect(img->Left() - 1, bottom + 8, img->Left() + img->Width() / 2 - 2, bottom + 28);
  FHotRect = TRect(FSelectedRect.Right + 4, FSelectedRect.Top, img->Left() + img->Width() + 1, FSelectedRect.Bottom);
  FHotColor = clNone;
  Invalidate();
}

void TAdvColorSpectrumPanel::DrawSwatch(TCanvas* ACanvas, const TRect& R, TColor Color) {
  ACanvas->Pen()->SetColor(0x808080);
  ACanvas->Brush()->SetStyle(bsClear);
  ACanvas->Rectangle(R.Left - 1, R.Top - 1, R.Right + 1, R.Bottom + 1);
  ACanvas->Pen()->SetColor(clWhite);
  // clNone (no colour under the pointer yet) leaves the swatch empty.
  if (Color != clNone) {
    ACanvas->Brush()->SetStyle(bsSolid);
    ACanvas->Brush()->SetColor(Color);
  }
  ACanvas->Rectangle(R);
}

void TAdvColorSpectrumPanel::Paint() {
  TAdvCustomColorSelectorPanel::Paint();
  TCanvas* c = Canvas();
  const TSpectrumImage* img = FSpectrumImage;
  const TRect r(img->Left(), img->Top(), img->Left() + img->Width(), img->Top() + img->Height());
  c->Brush()->SetStyle(bsClear);
  c->Pen()->SetColor(clWhite);
  c->Rectangle(r.Left - 1, r.Top - 1, r.Right + 1, r.Bottom + 1);
  c->Pen()->SetColor(0x808080);
  c->Rectangle(r.Left - 2, r.Top - 2, r.Right + 2, r.Bottom + 2);
  DrawSwatch(c, FSelectedRect, FSelectedColor);
  DrawSwatch(c, FHotRect, FHotColor);
}

void TAdvColorSpectrumPanel::ImageMouseMove(TShiftState, int X, int Y) {
  TBitmap* b = FSpectrumImage->Bitmap();
  if (X < 0 || Y < 0 || X >= b->Width() || Y >= b->Height()) return;
  FHotColor = b->Canvas()->Pixels(X, Y);
  if (HandleAllocated()) {
    const RECT r = TRect(FHotRect.Left - 1, FHotRect.Top - 1, FHotRect.Right + 1, FHotRect.Bottom + 1);
    InvalidateRect(Handle(), &r, false);
  }
}

void TAdvColorSpectrumPanel::ImageMouseDown(TMouseButton, TShiftState Shift, int X, int Y) {
  // The colour under the pointer, also when the press came without a move before it.
  ImageMouseMove(Shift, X, Y);
  if (FHotColor == clNone) return;
  FSelectedColor = FHotColor;
  if (HandleAllocated()) {
    const RECT r = TRect(FSelectedRect.Left - 1, FSelectedRect.Top - 1, FSelectedRect.Right + 1,
                         FSelectedRect.Bottom + 1);
    InvalidateRect(Handle(), &r, false);
  }
  if (OnSelect) OnSelect(this);
}
