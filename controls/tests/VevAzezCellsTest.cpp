// Clipboard HTML envelope, links, layered-window calls and highlight colours; cell button
// faces per look and state, the error underline, balance bars and transparent bitmaps,
// probed in pixels of a bitmap's canvas.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "controls/AdvStyleIF.h"
#include "controls/AdvXPVS.h"
#include "controls/VevAzez.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/StdCtrls.h"
#include "platform/win/Modules.h"
#include "platform/win/Resources.h"

namespace {

// ---- Clipboard envelope

// The text as the clipboard stores it: one byte per character (none may be above 255).
std::string Bytes(const String& S) {
  std::string Out;
  for (Char C : S) {
    EXPECT_LE(C, 255) << "character above 255 in the envelope";
    Out += static_cast<char>(C);
  }
  return Out;
}

// The eight-digit value after Name in the header.
int HeaderValue(const std::string& Text, const std::string& Name) {
  size_t P = Text.find(Name);
  EXPECT_NE(P, std::string::npos) << Name;
  return std::stoi(Text.substr(P + Name.size(), 8));
}

TEST(ClipboardHtml, OffsetsPointAtTheDocumentAndTheFragmentByteForByte) {
  struct Case {
    String Fragment;
    std::string Expected;  // the fragment as it must appear in the bytes
  } Cases[] = {
      {u"<b>x</b>", "<b>x</b>"},
      {u"", ""},
      {u"<td>日本語ｶﾅ</td>", "<td>&#26085;&#26412;&#35486;&#65398;&#65413;</td>"},
      {u"a\U0001F600b é", "a&#128512;b \xE9"},
  };
  for (const Case& C : Cases) {
    String S = C.Fragment;
    BuildClipboardHtml(S);
    const std::string B = Bytes(S);
    const int N = static_cast<int>(C.Expected.size());
    EXPECT_EQ(B.substr(0, 13), "Version:1.0\r\n");
    EXPECT_EQ(HeaderValue(B, "StartHTML:"), 97);
    EXPECT_EQ(HeaderValue(B, "EndHTML:"), N + 306);
    EXPECT_EQ(HeaderValue(B, "StartFragment:"), 274);
    EXPECT_EQ(HeaderValue(B, "EndFragment:"), N + 274);
    EXPECT_EQ(B.compare(97, 22, "<!DOCTYPE HTML PUBLIC "), 0);
    EXPECT_EQ(B.compare(159, 6, "<html>"), 0);
    EXPECT_EQ(B.substr(274 - 20, 20), "<!--StartFragment-->");
    EXPECT_EQ(B.substr(274, N), C.Expected);
    EXPECT_EQ(B.substr(274 + N), "<!--EndFragment--></body></html>");
    EXPECT_EQ(static_cast<int>(B.size()), N + 306);
  }
  String S = u"<b>x</b>";
  BuildClipboardHtml(S);
  EXPECT_NE(Bytes(S).find("StartHTML:00000097\r\nEndHTML:00000314\r\nStartFragment:00000274\r\nEndFragment:00000282\r\n"),
            std::string::npos);
}

TEST(Links, TheFirstAddressBecomesAnAnchorInTheEscapedText) {
  struct Case {
    String S;
    bool Found;
    String Linked;
  } Cases[] = {
      {u"no address here", false, u"unchanged"},
      {u"see http://host/a?b=1 now", true, u"see <a href=\"http://host/a\">http://host/a</a>?b=1 now"},
      {u"<x> HTTP://Host/p", true, u"&lt;x&gt; <a href=\"HTTP://Host/p\">HTTP://Host/p</a>"},
      {u"http://a.b http://c.d", true, u"<a href=\"http://a.b\">http://a.b</a> http://c.d"},
      {u"http://h/日本", true, u"<a href=\"http://h/\">http://h/</a>日本"},
  };
  for (const Case& C : Cases) {
    String Linked = u"unchanged";
    EXPECT_EQ(LinkifyUrl(C.S, u"HTTP://", Linked), C.Found);
    EXPECT_EQ(Linked, C.Linked);
  }
}

TEST(LayeredWindows, CallsReachTheSystemForOurWindowsAndTakeNoModuleReference) {
  TForm Form(nullptr);
  Form.SetBounds(0, 0, 100, 80);
  Form.Show();
  const int Refs = ModuleReferences(u"USER32");
  EXPECT_TRUE(CallSetLayeredWindowAttributes(Form.Handle(), clNone, 0x80, 2));
  POINT Pt(0, 0);
  EXPECT_TRUE(CallUpdateLayeredWindow(Form.Handle(), nullptr, &Pt, nullptr, nullptr, &Pt, 0, nullptr, 2));
  // The system's answer comes back: no window, no success.
  EXPECT_FALSE(CallSetLayeredWindowAttributes(nullptr, clNone, 0x80, 2));
  EXPECT_FALSE(CallUpdateLayeredWindow(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, nullptr, 2));
  EXPECT_EQ(ModuleReferences(u"USER32"), Refs);
}

TEST(HtmlHighlight, ColoursStartAsTheSystemHighlightAndChangeOnlyWhenSet) {
  EXPECT_EQ(HtmlHighlightBkColor(), clHighlight);
  EXPECT_EQ(HtmlHighlightTextColor(), clHighlightText);
  SetHtmlHighlightColors(clYellow, clBlack);
  EXPECT_EQ(HtmlHighlightBkColor(), clYellow);
  EXPECT_EQ(HtmlHighlightTextColor(), clBlack);
  SetHtmlHighlightColors(clHighlight, clHighlightText);
  EXPECT_TRUE(IsWinVersion51OrLater());
}

// ---- Cell faces

struct Canvas {
  TBitmap Bitmap{60, 24};
  TCanvas* C() { return Bitmap.Canvas(); }
  TColor At(int X, int Y) { return Bitmap.Canvas()->Pixels(X, Y); }
  // Every pixel, for comparing two drawings.
  std::vector<TColor> All() {
    std::vector<TColor> V;
    for (int Y = 0; Y < Bitmap.Height(); ++Y)
      for (int X = 0; X < Bitmap.Width(); ++X) V.push_back(At(X, Y));
    return V;
  }
};

TColorTones Tones() {
  TColorTones T;
  T.Background = {0x00E0E0E0, 0x00404040, 0x00800000};
  T.Hover = {0x0000C0FF, 0x000080FF, 0x00008000};
  T.Selected = {0x00FF8080, 0x00800000, 0x00008080};
  T.Disabled = {0x00C8C8C8, 0x00A0A0A0, 0x00808080};
  T.Foreground = {0x00FFFFFF, 0x00000000, 0x00000000};
  return T;
}

using Painter = void (*)(TCanvas*, HWND, const TRect&, uint8_t, uint8_t, const TColorTones&);

std::vector<TColor> Draw(Painter P, uint8_t Look, uint8_t State) {
  Canvas Cv;
  P(Cv.C(), nullptr, TRect(0, 0, 60, 24), Look, State, Tones());
  return Cv.All();
}

class CellFaces : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    LoadedHere = !XPVSThemeBinding.Loaded();
    XPVSThemeBinding.Load();
  }
  static void TearDownTestSuite() {
    if (LoadedHere) XPVSThemeBinding.Free();
  }
  static inline bool LoadedHere = false;
};

TEST_F(CellFaces, ComboButtonInTheTonesLookFillsWithTheStateAndKeepsBackgroundMarks) {
  const TColorTones T = Tones();
  for (uint8_t State = 0; State <= 3; ++State) {
    Canvas Cv;
    DrawComboButton(Cv.C(), nullptr, TRect(0, 0, 60, 24), 3, State, T);
    const TColor Fill[] = {T.Background.BrushColor, T.Hover.BrushColor, T.Selected.BrushColor, T.Disabled.BrushColor};
    // B = (44, 1, 58, 23) after the 3-pixel move.
    EXPECT_EQ(Cv.At(55, 20), Fill[State]);
    EXPECT_EQ(Cv.At(45, 10), T.Background.BorderColor);  // separator line
    EXPECT_EQ(Cv.At(52, 10), T.Background.TextColor);    // arrow
    EXPECT_EQ(Cv.At(40, 10), clWhite);                   // left of the button untouched
    // Pen and brush are left as the painter set them.
    EXPECT_EQ(Cv.C()->Brush()->Color(), T.Background.TextColor);
  }
}

TEST_F(CellFaces, ThemedFacesDifferOnlyWhenDisabledOrByState) {
  ASSERT_TRUE(XPVSThemeBinding.Loaded());
  const std::vector<TColor> Blank = Canvas().All();
  // Combo and spin buttons: only the disabled state differs.
  for (Painter P : {Painter(&DrawComboButton), Painter(&DrawSpinButtons)}) {
    EXPECT_NE(Draw(P, 0, 0), Blank);
    EXPECT_EQ(Draw(P, 0, 1), Draw(P, 0, 0));
    EXPECT_EQ(Draw(P, 0, 2), Draw(P, 0, 0));
    EXPECT_NE(Draw(P, 0, 3), Draw(P, 0, 0));
  }
  // Push buttons show each state.
  EXPECT_NE(Draw(&DrawButtonFace, 0, 0), Blank);
  EXPECT_NE(Draw(&DrawButtonFace, 0, 1), Draw(&DrawButtonFace, 0, 0));
  EXPECT_NE(Draw(&DrawButtonFace, 0, 2), Draw(&DrawButtonFace, 0, 1));
  EXPECT_NE(Draw(&DrawButtonFace, 0, 3), Draw(&DrawButtonFace, 0, 2));
}

TEST_F(CellFaces, ClassicAndFlatFramesAndUnknownLooks) {
  const std::vector<TColor> Blank = Canvas().All();
  for (Painter P : {Painter(&DrawComboButton), Painter(&DrawButtonFace), Painter(&DrawSpinButtons)}) {
    EXPECT_NE(Draw(P, 1, 0), Blank);
    EXPECT_NE(Draw(P, 2, 0), Draw(P, 1, 0));  // flat
    EXPECT_EQ(Draw(P, 4, 0), Blank);          // no such look
  }
  // The arrows grey out when inactive.
  EXPECT_NE(Draw(&DrawComboButton, 1, 3), Draw(&DrawComboButton, 1, 0));
  EXPECT_NE(Draw(&DrawSpinButtons, 2, 3), Draw(&DrawSpinButtons, 2, 0));
  EXPECT_NE(Draw(&DrawButtonFace, 1, 2), Draw(&DrawButtonFace, 1, 0));  // pushed
  EXPECT_NE(Draw(&DrawButtonFace, 2, 2), Draw(&DrawButtonFace, 1, 2));  // flat pushed
  // The combo button sits at the right of the cell.
  Canvas Cv;
  DrawComboButton(Cv.C(), nullptr, TRect(0, 0, 60, 24), 1, 0, Tones());
  EXPECT_EQ(Cv.At(20, 12), clWhite);
  EXPECT_NE(Cv.At(50, 12), clWhite);
}

TEST_F(CellFaces, ButtonAndSpinFacesInTheTonesLook) {
  const TColorTones T = Tones();
  Canvas Cv;
  DrawButtonFace(Cv.C(), nullptr, TRect(2, 2, 40, 20), 3, 2, T);
  EXPECT_EQ(Cv.At(20, 10), T.Selected.BrushColor);
  EXPECT_EQ(Cv.At(2, 10), T.Selected.BorderColor);
  // A state beyond disabled keeps the canvas's own colours.
  Cv.C()->Brush()->SetColor(clLime);
  Cv.C()->Pen()->SetColor(clBlue);
  DrawButtonFace(Cv.C(), nullptr, TRect(2, 2, 40, 20), 3, 7, T);
  EXPECT_EQ(Cv.At(20, 10), clLime);
  EXPECT_EQ(Cv.At(2, 10), clBlue);

  // Spin box S = (44, -1, 59, 23), Mid 11; both arrows black whatever the tones.
  Canvas Sp;
  DrawSpinButtons(Sp.C(), nullptr, TRect(0, 0, 60, 24), 3, 1, T);
  EXPECT_EQ(Sp.At(46, 8), T.Hover.BrushColor);   // upper half
  EXPECT_EQ(Sp.At(46, 20), T.Hover.BrushColor);  // lower half
  EXPECT_EQ(Sp.At(51, 3), clBlack);              // up arrow
  EXPECT_EQ(Sp.At(51, 14), clBlack);             // down arrow
  EXPECT_EQ(Sp.At(30, 10), clWhite);
}

TEST(CellMarkers, BalanceBarFillsFromTheCentreAndShowsTheClampedValue) {
  // Inner rectangle (2, 2, 102, 18): Half 50, Centre 52.
  Canvas Full;
  Full.Bitmap.SetSize(104, 20);
  DrawBalanceBar(Full.C(), TRect(0, 0, 104, 20), 150, 100, true, clRed, clLime);
  EXPECT_EQ(Full.At(53, 3), clLime);
  EXPECT_EQ(Full.At(101, 16), clLime);
  EXPECT_EQ(Full.At(51, 3), clWhite);
  EXPECT_EQ(Full.At(102, 10), clWhite);
  int Ink = 0;  // "100" in the font's colour over the bar
  for (int Y = 2; Y < 18; ++Y)
    for (int X = 30; X < 75; ++X) Ink += Full.At(X, Y) != clLime && Full.At(X, Y) != clWhite;
  EXPECT_GT(Ink, 10);

  Canvas Neg;
  Neg.Bitmap.SetSize(104, 20);
  DrawBalanceBar(Neg.C(), TRect(0, 0, 104, 20), -50, 100, false, clRed, clLime);
  EXPECT_EQ(Neg.At(27, 10), clRed);
  EXPECT_EQ(Neg.At(51, 10), clRed);
  EXPECT_EQ(Neg.At(26, 10), clWhite);
  EXPECT_EQ(Neg.At(53, 10), clWhite);
  EXPECT_THROW(DrawBalanceBar(Neg.C(), TRect(0, 0, 104, 20), 5, 0, false, clRed, clLime), EZeroDivide);
  EXPECT_THROW(DrawBalanceBar(Neg.C(), TRect(0, 0, 104, 20), 5, INT32_MIN, false, clRed, clLime), EIntOverflow);
}

TEST(CellMarkers, TransparentBitmapsReplaceTheTopLeftColour) {
  TBitmap Src(4, 4);
  Src.Canvas()->Brush()->SetColor(clRed);
  Src.Canvas()->FillRect(TRect(0, 0, 4, 4));
  Src.Canvas()->SetPixels(2, 2, clBlue);
  Canvas Cv;
  DrawBitmapTransparent(Cv.C(), &Src, clLime, TRect(10, 5, 30, 20));
  EXPECT_EQ(Cv.At(10, 5), clLime);
  EXPECT_EQ(Cv.At(13, 8), clLime);
  EXPECT_EQ(Cv.At(12, 7), clBlue);
  EXPECT_EQ(Cv.At(14, 9), clWhite);  // the bitmap's size, not R's

  // From the program's resources; a missing one is an error.
  TMemoryStream Bmp;
  Src.SaveToStream(&Bmp);
  ASSERT_TRUE(RegisterResource(RT_BITMAP, u"CELLTESTBMP", Bmp.Memory(), static_cast<DWORD>(Bmp.Size())));
  Canvas Res;
  DrawResBitmapTransparent(Res.C(), clYellow, TRect(0, 0, 10, 10), u"CELLTESTBMP");
  UnregisterResource(RT_BITMAP, u"CELLTESTBMP");
  EXPECT_EQ(Res.At(0, 0), clYellow);
  EXPECT_EQ(Res.At(2, 2), clBlue);
  EXPECT_THROW(DrawResBitmapTransparent(Res.C(), clYellow, TRect(0, 0, 10, 10), u"NOSUCHBMP"), EReadError);
}

TEST(CellMarkers, ErrorUnderlineRunsUnderTheMarkedCharacters) {
  TForm Form(nullptr);
  Form.SetBounds(0, 0, 300, 100);
  Form.Show();
  const TRect R(10, 10, 250, 34);
  // Positions the same edit gives, for the expectations.
  TEdit Probe(&Form);
  Probe.SetParent(&Form);
  Probe.SetBounds(R.Left, R.Top, R.Width(), R.Height());
  Probe.SetText(u"helo world");
  auto X = [&](int I) { return int16_t(Probe.Perform(EM_POSFROMCHAR, WPARAM(I), 0) & 0xFFFF); };
  // Red columns of the drawing.
  auto RedSpan = [&](int Start, int Length) {
    TBitmap B(300, 60);
    DrawErrorUnderline(&Form, B.Canvas(), u"helo world", R, 0, Start, Length);
    int Lo = 1000, Hi = -1;
    for (int Y = 0; Y < 60; ++Y)
      for (int Px = 0; Px < 300; ++Px)
        if (B.Canvas()->Pixels(Px, Y) == clRed) Lo = std::min(Lo, Px), Hi = std::max(Hi, Px);
    return std::make_pair(Lo, Hi);
  };
  {
    TBitmap B(10, 10);
    DrawErrorUnderline(&Form, B.Canvas(), u"helo world", R, 0, 0, 4);
    EXPECT_EQ(B.Canvas()->Pen()->Color(), clRed);  // the pen is left red
    EXPECT_EQ(B.Canvas()->Pen()->Width(), 2);
  }
  auto [Lo, Hi] = RedSpan(0, 4);
  EXPECT_NEAR(Lo, R.Left + X(0), 2);
  EXPECT_GE(Hi, R.Left + X(3));
  EXPECT_LT(Hi, R.Left + X(5));
  // Beyond the text: from 4 pixels after its end.
  auto [Lo2, Hi2] = RedSpan(20, 3);
  EXPECT_NEAR(Lo2, R.Left + X(10) + 4, 2);
  EXPECT_GT(Hi2, Lo2);
  // A length that would overflow runs to the end of the text; an empty error marks nothing.
  auto [Lo3, Hi3] = RedSpan(5, INT32_MAX);
  EXPECT_NEAR(Lo3, R.Left + X(5), 2);
  EXPECT_LT(Hi3, R.Left + X(9) + 12);
  EXPECT_EQ(RedSpan(3, 0).second, -1);
  EXPECT_EQ(RedSpan(-2, 3).second, -1);
  EXPECT_EQ(Form.ComponentCount(), 1);  // the measuring edit is gone
}

}  // namespace
