// TSearchPanel, the find bar at a string grid's bottom edge, its edit TRetEdit, and the
// glyphs of its buttons.
#include "grid/AdvGridSearchPanel.h"

#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "dropdowns/AdvDropDown.h"
#include "grid/AdvGrid.h"
#include "platform/rtl/Classes.h"
#include "platform/ui/Menus.h"
#include "platform/win/Messages.h"
#include "platform/win/Resources.h"
#include "platform/win/WinUser.h"

// ===========================================================================
// TRetEdit

void TRetEdit::CreateParams(TCreateParams& Params) {
  TEdit::CreateParams(Params);
  Params.Style |= ES_MULTILINE;
}

void TRetEdit::WMKeyDown(TWMKey& Message) {
  if (Message.CharCode() != VK_RETURN) {
    TEdit::WMKeyDown(Message);
    return;
  }
  // Enter is reported, not passed on.
  if (GetKeyState(VK_CONTROL) < 0) {
    if (OnCtrlReturn) OnCtrlReturn(this);
  } else if (OnReturn) {
    OnReturn(this);
  }
}

void TRetEdit::WMChar(TWMKey& Message) {
  const WORD ch = Message.CharCode();
  if (ch != 10 && ch != 13) {
    TEdit::WMChar(Message);
    return;
  }
  // The line-break characters are shown to OnKeyPress (a copy) and swallowed.
  Char key = static_cast<Char>(ch);
  if (OnKeyPress) OnKeyPress(this, key);
  Message.M.Result = 0;
}

// ===========================================================================
// Glyphs

namespace {

constexpr TColor kGlyphKey = 0xFF00FF;  // the transparent colour (bottom-left pixel)
constexpr int kGlyphSize = 16;

// An arrow pointing down (or up), filled with Fill and outlined with Edge.
// A glyph of the transparent colour only.
std::unique_ptr<TBitmap> BlankGlyph() {
  auto bmp = std::make_unique<TBitmap>();
  bmp->SetPixelFormat(pf24bit);
  bmp->SetSize(kGlyphSize, kGlyphSize);
  bmp->Canvas()->Brush()->SetColor(kGlyphKey);
  bmp->Canvas()->FillRect(TRect(0, 0, kGlyphSize, kGlyphSize));
  return bmp;
}

std::unique_ptr<TBitmap> ArrowGlyph(bool Down, TColor Fill, TColor Edge) {
  auto bmp = BlankGlyph();
  TCanvas* c = bmp->Canvas();
  std::vector<TPoint> pts{{6, 2}, {9, 2}, {9, 7}, {13, 7}, {8, 12}, {7, 12}, {2, 7}, {6, 7}};
  if (!Down)
    for (TPoint& p : pts) p.Y = kGlyphSize - 1 - p.Y;
  c->Brush()->SetColor(Fill);
  c->Pen()->SetColor(Edge);
  c->Polygon(pts);
  return bmp;
}

// A letter over a marker stroke: the highlight toggle.
std::unique_ptr<TBitmap> HighlightGlyph(TColor Marker, TColor Letter) {
  auto bmp = BlankGlyph();
  TCanvas* c = bmp->Canvas();
  c->Brush()->SetColor(Marker);
  c->FillRect(TRect(1, 8, 15, 14));
  c->Pen()->SetColor(Letter);
  c->Pen()->SetWidth(2);
  c->MoveTo(4, 12);
  c->LineTo(8, 2);
  c->LineTo(12, 12);
  c->Pen()->SetWidth(1);
  c->MoveTo(6, 8);
  c->LineTo(11, 8);
  return bmp;
}

// The .bmp bytes of the glyphs, kept for the program's life: the resource table points into
// them.
std::map<String, std::vector<uint8_t>>& GlyphBytes() {
  static auto* bytes = new std::map<String, std::vector<uint8_t>>;
  return *bytes;
}

void AddGlyph(const String& Name, TBitmap* Bitmap) {
  TMemoryStream stream;
  Bitmap->SaveToStream(&stream);
  auto& bytes = GlyphBytes()[Name];
  const auto* data = static_cast<const uint8_t*>(stream.Memory());
  bytes.assign(data, data + stream.Size());
  RegisterResource(RT_BITMAP, reinterpret_cast<LPCWSTR>(GlyphBytes().find(Name)->first.c_str()), bytes.data(),
                   static_cast<DWORD>(bytes.size()));
}

}  // namespace

void TSearchPanel::RegisterGlyphResources() {
  static std::once_flag once;
  std::call_once(once, [] {
    const TColor blue = 0x00C06020, blueEdge = 0x00803010, grey = 0x00A0A0A0, greyEdge = 0x00808080;
    AddGlyph(u"ASGARDOWN", ArrowGlyph(true, blue, blueEdge).get());
    AddGlyph(u"ASGARDOWND", ArrowGlyph(true, grey, greyEdge).get());
    AddGlyph(u"ASGARUP", ArrowGlyph(false, blue, blueEdge).get());
    AddGlyph(u"ASGARUPD", ArrowGlyph(false, grey, greyEdge).get());
    AddGlyph(u"ASGHI", HighlightGlyph(0x0000FFFF, 0x00202020).get());
    AddGlyph(u"ASGHID", HighlightGlyph(0x00D8D8D8, greyEdge).get());
  });
}

// ===========================================================================
// TSearchPanel

TSearchPanel::TSearchPanel(TComponent* AOwner) : TPanel(AOwner), FGrid(dynamic_cast<DEreDuzeroVaro*>(AOwner)) {
  RegisterGlyphResources();
  SetBevelOuter(bvNone);
  SetShowCaption(false);

  FEdit = new TRetEdit(this);
  FEdit->SetParent(this);
  FEdit->OnChange = [this](TObject*) { EditChanged(); };
  // Enter steps forwards, Ctrl+Enter backwards, as the buttons do; an empty text searches
  // nothing (the buttons are disabled then too).
  FEdit->OnReturn = [this](TObject*) {
    if (!FEdit->Text().empty() && OnForwardClick) OnForwardClick(this);
  };
  FEdit->OnCtrlReturn = [this](TObject*) {
    if (!FEdit->Text().empty() && OnBackwardClick) OnBackwardClick(this);
  };

  auto button = [this](TNotifyEvent TSearchPanel::*Event) {
    auto* b = new TAdvGridButton(this);
    b->SetParent(this);
    b->OnClick = [this, Event](TObject*) {
      if (this->*Event) (this->*Event)(this);
    };
    return b;
  };
  FExitButton = button(&TSearchPanel::OnExitClick);
  FForwardButton = button(&TSearchPanel::OnForwardClick);
  FBackwardButton = button(&TSearchPanel::OnBackwardClick);
  FHiliteButton = button(&TSearchPanel::OnHighlightClick);
  FMatchCase = new TAdvCheckBox(this);
  FMatchCase->SetParent(this);
  Layout();
}

void TSearchPanel::Layout() {
  auto glyph = [](const char16_t* Name) { return DEreDuzeroVaro::GlyphBitmap(Name); };

  FExitButton->SetBounds(5, 7, 14, 14);
  FExitButton->SetGlyph(glyph(u"ASGCLOSE"));
  FExitButton->SetGlyphHot(glyph(u"ASGCLOSEH"));
  FExitButton->SetGlyphDown(glyph(u"ASGCLOSED"));
  FExitButton->SetCaption(String());

  FEdit->SetBounds(25, 6, 110, FEdit->Height());

  struct TPart {
    TAdvGridButton* Button;
    int Left;
    const String& Caption;
    const char16_t* Glyph;
    const char16_t* Disabled;
  };
  const TPart parts[] = {{FForwardButton, 140, FFindNextCaption, u"ASGARDOWN", u"ASGARDOWND"},
                         {FBackwardButton, 235, FFindPrevCaption, u"ASGARUP", u"ASGARUPD"},
                         {FHiliteButton, 330, FHighLightCaption, u"ASGHI", u"ASGHID"}};
  // The search buttons act on the edit's text: without one they are disabled.
  const bool hasText = !FEdit->Text().empty();
  for (const TPart& p : parts) {
    p.Button->SetBounds(p.Left, 5, 90, p.Button->Visible() ? 23 : 0);
    p.Button->SetCaption(p.Caption);
    p.Button->SetGlyph(glyph(p.Glyph));
    p.Button->SetGlyphDisabled(glyph(p.Disabled));
    p.Button->SetEnabled(hasText);
  }
  FHiliteButton->SetStyle(tasCheck);

  ApplyHints();

  FMatchCase->SetCaption(FMatchCaseCaption);
  TBitmap measure;
  measure.Canvas()->Font()->Assign(Font());
  const int w = measure.Canvas()->TextWidth(StripHotkey(FMatchCaseCaption)) + 24;
  FMatchCase->SetBounds(FHiliteButton->Visible() ? 425 : 330, 8, w, FMatchCase->Visible() ? 18 : 0);

  // Read right to left, the bar runs from its right edge.
  if (UseRightToLeftReading())
    for (TControl* c : {static_cast<TControl*>(FExitButton), static_cast<TControl*>(FEdit),
                        static_cast<TControl*>(FForwardButton), static_cast<TControl*>(FBackwardButton),
                        static_cast<TControl*>(FHiliteButton), static_cast<TControl*>(FMatchCase)})
      c->SetLeft(Width() - c->Width() - c->Left());
}

void TSearchPanel::Resize() {
  TPanel::Resize();
  if (UseRightToLeftReading()) Layout();
}

void TSearchPanel::CMBiDiModeChanged(TMessage& Message) {
  TPanel::CMBiDiModeChanged(Message);
  Layout();
}

void TSearchPanel::ApplyHints() {
  const std::pair<TAdvGridButton*, const String*> hints[] = {{FExitButton, &FHintClose},
                                                             {FForwardButton, &FHintFindNext},
                                                             {FBackwardButton, &FHintFindPrev},
                                                             {FHiliteButton, &FHintHighlight}};
  for (const auto& [b, hint] : hints) {
    b->SetHint(*hint);
    b->SetShowHint(!hint->empty());
  }
}

void TSearchPanel::CreateWnd() {
  TPanel::CreateWnd();
  Layout();
  if (FGrid && FGrid->OnCreatedSearchFooter) FGrid->OnCreatedSearchFooter(FGrid);
}

void TSearchPanel::WMSetFocus(TWMSetFocus& Message) {
  TPanel::WMSetFocus(Message);
  // A click on the bar or its buttons leaves the keyboard in the edit, its selection kept.
  if (!FEdit->CanFocus()) return;
  const int start = FEdit->SelStart(), length = FEdit->SelLength();
  FEdit->SetFocus();
  FEdit->Select(start, length);
}

void TSearchPanel::SetColorTo(TColor Value) {
  FColorTo = Value;
  Invalidate();
}

void TSearchPanel::Paint() {
  TPanel::Paint();
  TCanvas* c = Canvas();
  const TRect r = ClientRect();
  if (FColorTo == clNone) {
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(r);
  } else {
    DrawGradient(c, Color(), FColorTo, 32, r, false);
  }
  c->Pen()->SetColor(FGrid ? FGrid->GridLineColor() : clSilver);
  c->MoveTo(0, 0);
  c->LineTo(Width(), 0);
}

void TSearchPanel::EditChanged() {
  const bool hasText = !FEdit->Text().empty();
  FForwardButton->SetEnabled(hasText);
  FBackwardButton->SetEnabled(hasText);
  FHiliteButton->SetEnabled(hasText);
  if (OnEditChange) OnEditChange(this);
}

void TSearchPanel::Feedback(TFeedback Result) {
  FEdit->SetColor(Result == fbNotFound ? clRed : clWindow);
  // Widening by a pixel and back makes the edit repaint in its new colour.
  FEdit->SetWidth(FEdit->Width() + 1);
  FEdit->SetWidth(FEdit->Width() - 1);
}
