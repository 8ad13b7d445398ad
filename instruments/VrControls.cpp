#include "instruments/VrControls.h"

#include "platform/ui/Forms.h"

namespace {

// A 32 x 32 two-colour hand pointer, hot spot at the index finger's tip.
// '#' black outline, '.' white fill, anything else transparent.
const char* const kHandPoint[32] = {
    "      ##                        ",
    "     #..#                       ",
    "     #..#                       ",
    "     #..#                       ",
    "     #..#                       ",
    "     #..###                     ",
    "     #..#..###                  ",
    "     #..#..#..##                ",
    "     #..#..#..#.#               ",
    "  ## #..#..#..#..#              ",
    " #..##........#..#              ",
    " #...#...........#              ",
    "  #..#...........#              ",
    "   #.............#              ",
    "   #.............#              ",
    "    #...........#               ",
    "    #...........#               ",
    "     #.........#                ",
    "     #.........#                ",
    "     ###########                ",
    "", "", "", "", "", "", "", "", "", "", "", ""};

HCURSOR MakeHandPoint() {
  // AND plane 1 = keep the screen, XOR plane 1 = white; rows of 4 bytes.
  uint8_t andPlane[32 * 4], xorPlane[32 * 4];
  for (int y = 0; y < 32; ++y)
    for (int b = 0; b < 4; ++b) {
      uint8_t a = 0xFF, x = 0;
      for (int bit = 0; bit < 8; ++bit) {
        const char* row = kHandPoint[y];
        int col = b * 8 + bit;
        char c = col < static_cast<int>(std::char_traits<char>::length(row)) ? row[col] : ' ';
        uint8_t mask = static_cast<uint8_t>(0x80 >> bit);
        if (c == '#' || c == '.') a &= static_cast<uint8_t>(~mask);
        if (c == '.') x |= mask;
      }
      andPlane[y * 4 + b] = a;
      xorPlane[y * 4 + b] = x;
    }
  return CreateCursor(nullptr, 6, 0, 32, 32, andPlane, xorPlane);
}

bool gCursorsRegistered = false;

}  // namespace

void RegisterVrCursors() {
  if (gCursorsRegistered || Screen == nullptr) return;
  Screen->SetCursors(crVrHandPoint, MakeHandPoint());
  gCursorsRegistered = true;
}

// ---- TVrComponent

TVrComponent::TVrComponent(TComponent* AOwner) : TComponent(AOwner) { RegisterVrCursors(); }

// ---- TVrCustomControl

TVrCustomControl::TVrCustomControl(TComponent* AOwner) : TCustomControl(AOwner) { RegisterVrCursors(); }

void TVrCustomControl::UpdateView() {
  if (!IsLoading() && FUpdateCount == 0) Repaint();
}

void TVrCustomControl::EndUpdate() {
  if (FUpdateCount > 0) --FUpdateCount;
  UpdateView();
}

void TVrCustomControl::DoFontChanged() {
  if (OnFontChanged) OnFontChanged(this);
}

void TVrCustomControl::DoTextChanged() {
  if (OnTextChanged) OnTextChanged(this);
}

void TVrCustomControl::CMMouseEnter(TMessage& Message) {
  TCustomControl::CMMouseEnter(Message);
  DoMouseEnter();
}

void TVrCustomControl::CMMouseLeave(TMessage& Message) {
  TCustomControl::CMMouseLeave(Message);
  DoMouseLeave();
}

void TVrCustomControl::CMFontChanged(TMessage& Message) {
  TCustomControl::CMFontChanged(Message);
  DoFontChanged();
}

void TVrCustomControl::CMTextChanged(TMessage& Message) {
  TCustomControl::CMTextChanged(Message);
  DoTextChanged();
}

// ---- TVrCustomImageControl

TVrCustomImageControl::TVrCustomImageControl(TComponent* AOwner)
    : TVrCustomControl(AOwner), FBitmapImage(std::make_unique<TBitmap>()) {}

TVrCustomImageControl::~TVrCustomImageControl() = default;

void TVrCustomImageControl::ClearBitmapImage() {
  FBitmapImage->SetSize(Width(), Height());
  TCanvas* c = FBitmapImage->Canvas();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(Color());
  c->FillRect(Rect(0, 0, Width(), Height()));
}

void TVrCustomImageControl::Paint() {
  BitBlt(Canvas()->Handle(), 0, 0, Width(), Height(), FBitmapImage->Canvas()->Handle(), 0, 0, SRCCOPY);
}
