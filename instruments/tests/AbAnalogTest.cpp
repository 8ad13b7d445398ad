// Signal and scale settings, the analog input base through the vertical slider, and the
// analog indicator base.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <vector>

#include "InstrTestSupport.h"
#include "instruments/AbVSlide.h"
#include "testing/TestSupport.h"

namespace {

TAbVSlider* DbmSlider(TTestForm& f) {
  auto* s = f.Add<TAbVSlider>(10, 10, 60, 280);
  TSignalSettings* sig = s->SignalSettings();
  sig->SetValueFrom(-140);
  sig->SetValueTo(-40);
  sig->SetDigitalFrom(-140);
  sig->SetDigitalTo(-40);
  sig->SetValueFormat(u"###0");
  sig->SetValueUnit(u"dBm");
  s->SetOptions({opBevelOuter, opUnit, opValue, opName1, opScaleText});
  s->SetEnabledKeys({_VK_UP, _VK_DOWN});
  s->SetChangeLarge(5);
  s->SetValue(-90);
  return s;
}

}  // namespace

TEST(SignalSettings, DerivedValuesAndRangeRules) {
  TSignalSettings s;
  s.Change();
  EXPECT_FLOAT_EQ(s.ValuePerDigit, 0.1f);
  EXPECT_FLOAT_EQ(s.DigitPerValue, 10);
  EXPECT_EQ(s.GetPPT(25), 250);
  s.SetValueFrom(5);
  s.SetValueFrom(0);
  EXPECT_FLOAT_EQ(s.ValueFrom(), 0.000001f);
  s.SetValueFrom(100);  // equals ValueTo: ignored
  EXPECT_FLOAT_EQ(s.ValueFrom(), 0.000001f);
  EXPECT_EQ(AbGetValueFormat(u"0.000;-0.0"), u"0.000");
  EXPECT_EQ(AbGetValueFormat(u"0;-0.00"), u"-0.00");
  EXPECT_EQ(AbGetValueFormat(u"0.0;-0.0"), u"-0.0");
}

TEST(ScaleSettings, MeasuresLabelsAndSteps) {
  EXPECT_EQ(LogStepCount(5, 4), 4);
  EXPECT_EQ(LogStepCount(5, 6), 3);
  EXPECT_EQ(LogStepCount(5, 7), 1);
  EXPECT_EQ(LogStepCount(5, 0), 1);
  TScaleSettings sc;
  sc.SetSteps(0);
  sc.SetSteps(21);
  sc.SetSubSteps(11);
  EXPECT_EQ(sc.Steps(), 5);
  EXPECT_EQ(sc.SubSteps(), 2);
  TBitmap b(200, 200);
  sc.CalcSize(b.Canvas(), 0, 100);
  EXPECT_EQ(sc.Text, u"100;80;60;40;20;0;");
  EXPECT_EQ(sc.Spacing, sc.TextH / 3);
  sc.CalcHSize(b.Canvas(), 0, 100);
  EXPECT_EQ(sc.Text, u"0;20;40;60;80;100;");
  sc.LogScale = true;
  sc.CalcSize(b.Canvas(), 1, 1000);
  EXPECT_EQ(sc.exp1, 0);
  EXPECT_EQ(sc.exp2, 3);
  EXPECT_EQ(sc.LogSteps, 3);
  EXPECT_EQ(sc.Text, u"1e3;1e2;1e1;1e0;");
  sc.LogScale = false;
  // Vertical scale: ticks on the base line, labels from the top down.
  b.Canvas()->Brush()->SetColor(clWhite);
  b.Canvas()->FillRect(TRect(0, 0, 200, 200));
  sc.CalcSize(b.Canvas(), 0, 100);
  sc.VertiScala(b.Canvas(), TRect(10, 10, 100, 190));
  EXPECT_EQ(sc.pos0, 190);
  EXPECT_EQ(sc.pos100, 10);
  EXPECT_EQ(PixelColor(b, 10, 100), clBlack);  // base line
}

namespace {
// Pixels of red label text (the ticks are black) inside a rectangle, and their columns.
struct TInk {
  int Pixels = 0, Left = INT_MAX, Right = -1;
};
TInk RedInk(TBitmap& b, const TRect& r) {
  TInk ink;
  for (int y = std::max(r.Top, 0); y < std::min(r.Bottom, b.Height()); ++y)
    for (int x = std::max(r.Left, 0); x < std::min(r.Right, b.Width()); ++x) {
      TColor c = PixelColor(b, x, y);
      if ((c & 0xFF) > 0x80 && ((c >> 8) & 0xFF) < 0x60 && ((c >> 16) & 0xFF) < 0x60) {
        ++ink.Pixels;
        ink.Left = std::min(ink.Left, x);
        ink.Right = std::max(ink.Right, x);
      }
    }
  return ink;
}
}  // namespace

TEST(ScaleSettings, RoundScalePlacesItsFirstAndLastLabels) {
  TScaleSettings sc;
  sc.Font()->SetColor(clRed);
  auto draw = [&](TBitmap& b, float from, float alpha, TRect& r) {
    b.Canvas()->Brush()->SetColor(clWhite);
    b.Canvas()->FillRect(TRect(0, 0, b.Width(), b.Height()));
    sc.CalcRSize(b.Canvas(), 0, 100);
    r = TRect(0, 0, b.Width(), b.Height());
    sc.RoundScala(b.Canvas(), r, from, alpha);
  };
  // From 225 degrees over 270: "0" at the lower left, "100" at the lower right, nothing
  // else below the centre; the area inside the scale comes back.
  TBitmap b(200, 200);
  TRect r;
  draw(b, 225, 270, r);
  const int cx = sc.cp.X, cy = sc.cp.Y, th = sc.TextH;
  TInk lowLeft = RedInk(b, TRect(0, cy + th, cx, 200)), lowRight = RedInk(b, TRect(cx, cy + th, 200, 200));
  TBitmap m(1, 1);
  m.Canvas()->Font()->Assign(sc.Font());
  EXPECT_GT(lowLeft.Pixels, 0);
  EXPECT_LE(lowLeft.Right - lowLeft.Left + 1, m.Canvas()->TextWidth(u"0") + 1);
  EXPECT_GT(lowRight.Right - lowRight.Left + 1, m.Canvas()->TextWidth(u"00"));  // three digits
  EXPECT_GT(r.Left, 0);
  EXPECT_LT(r.Right, 200);
  EXPECT_GT(r.Top, 0);
  // A full circle from straight up: the first and last label share the top place, and only
  // the first ("0") is drawn there.
  draw(b, 0, 360, r);
  TInk top = RedInk(b, TRect(sc.cp.X - 40, 0, sc.cp.X + 40, sc.cp.Y - sc.TextH));
  EXPECT_GT(top.Pixels, 0);
  EXPECT_LE(top.Right - top.Left + 1, m.Canvas()->TextWidth(u"0") + 1);
}

TEST(AbAnalogCControl, ValueAndDigitFollowTheSignalSettings) {
  TTestForm f;
  auto* s = f.Add<TAbVSlider>(10, 10);
  int changes = 0;
  s->OnValueChange = [&](TObject*) { ++changes; };
  s->SetValue(12.34f);
  EXPECT_EQ(s->Digit(), 123);
  EXPECT_NEAR(s->Value(), 12.3, 1e-4);
  EXPECT_EQ(changes, 1);
  s->SetValue(150);
  EXPECT_EQ(s->Digit(), 1000);
  s->SetValue(-5);
  EXPECT_EQ(s->Value(), 0);
  s->SetDigit(995);
  SimulateKeyDown(s, VK_PRIOR);
  EXPECT_EQ(s->Digit(), 1000);
  SimulateKeyDown(s, VK_HOME);
  EXPECT_EQ(s->Digit(), 0);
  SimulateMouseWheel(s, 120, s->Width() / 2, s->Height() / 2);
  EXPECT_EQ(s->Digit(), 1);
  SimulateMouseWheel(s, 240, s->Width() / 2, s->Height() / 2);  // not one notch: ignored
  EXPECT_EQ(s->Digit(), 1);
  SimulateMouseWheel(s, -120, s->Width() / 2, s->Height() / 2);
  EXPECT_EQ(s->Digit(), 0);
}

TEST(AbAnalogCControl, PartsOfANotchAddUpToOneStep) {
  struct Case { std::vector<int> deltas; int steps; } cases[] = {
      {{40, 40}, 0},
      {{40, 40, 40}, 1},
      {{-30, -30, -30, -30}, -1},
      {{90, 90, 90, 90}, 3},            // the remainder carries over
      {{100, -30, -30, -30, -30}, -1},  // turning back drops the part gathered
      {{100, -30, 100}, 0},
      {{100, 120}, 1},
      {{240}, 0},                       // more than one notch in one message
  };
  for (auto& c : cases) {
    TTestForm f;
    auto* s = f.Add<TAbVSlider>(10, 10);
    s->SetDigit(500);
    for (int d : c.deltas) SimulateMouseWheel(s, d, s->Width() / 2, s->Height() / 2);
    EXPECT_EQ(s->Digit(), 500 + c.steps) << ::testing::PrintToString(c.deltas);
  }
}

TEST(AbVSlider, KnobSitsAtTheValueAndRendersInItsColours) {
  TTestForm f;
  auto* s = DbmSlider(f);
  int ys[3];
  float values[3] = {-140, -90, -40};
  for (int i = 0; i < 3; ++i) {
    s->SetValue(values[i]);
    auto b = RenderControl(s);
    TPoint k = s->KnobCenter();
    ys[i] = k.Y;
    EXPECT_EQ(PixelColor(*b, k.X, k.Y), clGreen) << values[i];  // the knob face, without focus
  }
  const TRect& t = s->TrenchRect();
  EXPECT_NEAR(ys[0], t.Bottom, 2);
  EXPECT_NEAR(ys[2], t.Top, 2);
  EXPECT_NEAR(ys[1], (t.Top + t.Bottom) / 2, 2);
  EXPECT_FALSE(s->IsTooSmall());
  // The trench between the knobs shows its colour.
  auto b = RenderControl(s);
  EXPECT_EQ(PixelColor(*b, t.Left + 1, (t.Top + ys[0]) / 2 + 20), clGreen);
  EXPECT_EQ(s->ValueStr(), u"-40");
}

TEST(AbVSlider, ValueBoxShowsTheWholeTextWithItsSign) {
  // Formats whose picture is narrower than the widest value they give, and one wider.
  for (const char16_t* format : {u"0", u"##0", u"###0", u"#####0"}) {
    for (float value : {-140.0f, -100.0f, -40.0f}) {
      SCOPED_TRACE(StringToUTF8(format) + " " + std::to_string(value));
      TTestForm f;
      auto* s = DbmSlider(f);
      s->SetOptions({opBevelOuter, opValue, opScaleText});
      s->SignalSettings()->SetValueFormat(format);
      s->SetValue(value);
      auto b = RenderControl(s);
      const TRect& r = s->ValueRect();
      ASSERT_GT(r.Width(), 0);
      // The green text's columns within the box, and the rows each column covers.
      int first = -1, last = -1, firstRows = 0;
      for (int x = r.Left; x < r.Right; ++x) {
        int rows = 0;
        for (int y = r.Top; y < r.Bottom; ++y) rows += PixelNear(*b, x, y, clLime);
        if (rows == 0) continue;
        if (first < 0) {
          first = x;
          firstRows = rows;
        }
        last = x;
      }
      ASSERT_GE(first, 0);
      // It starts with the minus sign, a short flat stroke, not with a clipped digit.
      EXPECT_LE(firstRows, 2);
      EXPECT_GT(first, r.Left);
      // The text is whole: as wide as it is written, right-aligned in the box.
      TBitmap m(1, 1);
      m.Canvas()->Font()->Assign(s->FontValue());
      EXPECT_GE(last - first + 1, m.Canvas()->TextWidth(s->ValueStr()) - 3);
      EXPECT_GE(last, r.Right - 3);
      EXPECT_LE(r.Right, s->Width());
    }
  }
}

TEST(AbVSlider, DraggingAndKeysChangeTheValue) {
  TTestForm f;
  auto* s = DbmSlider(f);
  RenderControl(s);
  int changed = 0;
  s->OnValueChanged = [&](TObject*) { ++changed; };
  const TRect& t = s->TrenchRect();
  int x = (t.Left + t.Right) / 2;
  SimulateMouseDown(s, mbLeft, x, t.Top + 2);
  SimulateMouseMove(s, x, t.Top - 30, {ssLeft});
  EXPECT_EQ(s->Value(), -40);
  SimulateMouseMove(s, x, t.Bottom + 30, {ssLeft});
  EXPECT_EQ(s->Value(), -140);
  SimulateMouseUp(s, mbLeft, x, t.Bottom + 30);
  EXPECT_EQ(changed, 1);
  SimulateMouseMove(s, x, t.Top);  // no button: no slide
  EXPECT_EQ(s->Value(), -140);
  // The knob and value box on the window follow at once.
  auto onWindow = Snapshot(s);
  EXPECT_EQ(PixelColor(*onWindow, s->KnobCenter().X, s->KnobCenter().Y), clGreen);
  SimulateKeyDown(s, VK_UP);
  EXPECT_EQ(s->Value(), -139);
  SimulateKeyDown(s, VK_RIGHT);  // not among the enabled keys
  EXPECT_EQ(s->Value(), -139);
  SimulateKeyUp(s, VK_UP);
  EXPECT_EQ(changed, 2);
  SimulateMouseWheel(s, 120, s->Width() / 2, s->Height() / 2);
  EXPECT_EQ(s->Value(), -138);
}

TEST(AbVSlider, ButtonSizeAndDegenerateLayouts) {
  TTestForm f;
  auto* s = f.Add<TAbVSlider>(10, 10);
  s->SetButtonSize(10);
  EXPECT_EQ(s->ButtonSize(), 18);
  auto* narrow = f.Add<TAbVSlider>(100, 10, 15, 200);
  narrow->SetButtonSize(31);
  EXPECT_EQ(narrow->ButtonSize(), 18);
  // No span, and trenches of no or negative height (without texts, the trench is 12 pixels
  // shorter than the control): the knob sits at the bottom of the trench and a press or a
  // drag in the slide area changes nothing.
  auto* flat = f.Add<TAbVSlider>(150, 10, 60, 200);
  flat->SignalSettings()->SetDigitalFrom(5);
  flat->SignalSettings()->SetDigitalTo(5);
  auto* zero = f.Add<TAbVSlider>(250, 10, 60, 12);
  auto* negative = f.Add<TAbVSlider>(250, 40, 60, 8);
  for (TAbVSlider* s : {zero, negative}) s->SetOptions({});
  for (TAbVSlider* s : {flat, zero, negative}) {
    SCOPED_TRACE(s->Height());
    int changes = 0;
    s->OnValueChange = [&](TObject*) { ++changes; };
    RenderControl(s);
    ASSERT_FALSE(s->IsTooSmall());
    const int digit = s->Digit();
    const TRect& t = s->TrenchRect();
    EXPECT_NEAR(s->KnobCenter().Y, t.Bottom, 1);
    const int x = (t.Left + t.Right) / 2;
    SimulateMouseDown(s, mbLeft, x, t.Bottom);
    SimulateMouseMove(s, x, t.Bottom - 30, {ssLeft});
    SimulateMouseUp(s, mbLeft, x, t.Bottom - 30);
    EXPECT_EQ(s->Digit(), digit);
    EXPECT_EQ(changes, 0);
    EXPECT_NEAR(s->KnobCenter().Y, t.Bottom, 1);
  }
  auto* none = f.Add<TAbVSlider>(250, 100, 60, 30);
  RenderControl(none);
  EXPECT_TRUE(none->IsTooSmall());
}

TEST(AbAnalogGControl, SectorsOverflowAndHint) {
  TTestForm f;
  auto* g = f.Add<TAbAnalogGControl>(10, 10, 50, 50);
  int sectorEvents = 0, overflows = 0, lastOverflow = 0;
  g->OnSectorChange = [&](TObject*, bool, bool, bool s3, bool enter) {
    ++sectorEvents;
    EXPECT_TRUE(s3);
    EXPECT_TRUE(enter);
  };
  g->SetValue(75);
  EXPECT_EQ(g->Digit(), 750);
  EXPECT_EQ(g->PPT, 750);
  EXPECT_TRUE(g->InSector3);
  EXPECT_EQ(g->ActSectorCol, clRed);
  EXPECT_EQ(sectorEvents, 1);
  g->OnSectorChange = nullptr;
  g->OnOverflow = [&](TObject*, int32_t p) {
    ++overflows;
    lastOverflow = p;
  };
  g->SetValue(120);
  EXPECT_EQ(overflows, 1);
  EXPECT_EQ(lastOverflow, 1200);
  EXPECT_EQ(g->PPT, 1000);
  g->SetValue(130);
  EXPECT_EQ(overflows, 1);
  g->SetValue(50);
  EXPECT_EQ(overflows, 2);
  EXPECT_EQ(lastOverflow, 500);
  g->SetHintOptions({hoAutoHint, hoValue});
  g->SetValue(51);
  g->SetValue(50);
  EXPECT_EQ(g->Hint(), u"Value= 50.0 %");
  EXPECT_FLOAT_EQ(g->MinMax()->Max(), 130);
  EXPECT_FLOAT_EQ(g->MinMax()->Min(), 50);
  g->SetLogScale(true);
  g->SetValue(0);
  EXPECT_EQ(g->Value(), 50);
}

namespace {
// An indicator that repaints from ValueChanged, as descendants do.
struct TRepaintCounter : TAbAnalogGControl {
  using TAbAnalogGControl::TAbAnalogGControl;
  int Repaints = 0;
  void ValueChanged() override {
    TAbAnalogGControl::ValueChanged();
    ++Repaints;
  }
};
}  // namespace

TEST(AbAnalogGControl, MarkerChangesReachTheDescendantsRepaint) {
  TTestForm f;
  auto* g = f.Add<TRepaintCounter>(10, 10, 50, 50);
  g->SetValue(40);  // the first value sets both markers
  int notified = 0;
  g->OnMinMaxChange = [&](TObject*) { ++notified; };
  g->Repaints = 0;
  g->MinMax()->SetMaxColor(clRed);
  EXPECT_EQ(notified, 1);
  EXPECT_GE(g->Repaints, 1);
  int before = g->Repaints;
  g->SetMin(3, Now());
  EXPECT_EQ(notified, 2);
  EXPECT_GT(g->Repaints, before);
  EXPECT_EQ(g->MinPPT, 30);
  // A value below the minimum: one more notification, the markers follow.
  g->SetValue(60);
  g->SetValue(2);
  EXPECT_FLOAT_EQ(g->MinMax()->Min(), 2);
  EXPECT_EQ(g->MinPPT, 20);
  EXPECT_EQ(notified, 4);
}
