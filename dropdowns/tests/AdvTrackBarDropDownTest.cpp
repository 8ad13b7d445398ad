// The track-bar drop-down: a pick-only integer stepped by keys and by dragging, and a track
// bar in the pop-up whose moves show at once and are undone by Escape.

#include <gtest/gtest.h>

#include "AdvDropDownHost.h"
#include "dropdowns/AdvTrackBarDropDown.h"

namespace {

struct TrackFixture : TDropDownHost<TAdvTrackBarDropDown> {
  int trackChanges = 0;
  TrackFixture() {
    dd->OnTrackChange = [this](TObject* Sender) {
      EXPECT_EQ(Sender, dd);
      ++trackChanges;
    };
    Show();
  }
  void Key(TWinControl* Target, Word K, TShiftState Shift = {}) {
    SimulateKeyStroke(Target, K, Shift);
    ProcessPendingEvents();
  }
};

TEST(AdvTrackBarDropDown, StartsAtZeroAndUpDownStepByFrequencyWithinTheRange) {
  TrackFixture f;
  EXPECT_EQ(f.dd->EditText(), u"0");
  EXPECT_FALSE(f.dd->EditorEnabled());
  EXPECT_TRUE(f.dd->DropDownEnabled());
  f.Key(f.dd, VK_DOWN);
  EXPECT_EQ(f.dd->EditText(), u"1");
  EXPECT_EQ(f.dd->Position(), 1);
  EXPECT_EQ(f.trackChanges, 1);
  for (int i = 0; i < 12; ++i) f.Key(f.dd, VK_DOWN);
  EXPECT_EQ(f.dd->EditText(), u"10");  // stops at Max
  f.dd->SetFrequency(4);
  f.Key(f.dd, VK_UP);
  f.Key(f.dd, VK_UP);
  EXPECT_EQ(f.dd->EditText(), u"2");
  f.Key(f.dd, VK_UP);  // 2 - 4 is below Min: no step
  EXPECT_EQ(f.dd->EditText(), u"2");
  // Letters type nothing into the pick-only edit.
  SimulateChar(f.dd, u'x');
  ProcessPendingEvents();
  EXPECT_EQ(f.dd->EditText(), u"2");
}

TEST(AdvTrackBarDropDown, RangeSettersTakeTheTrackBarsClampedValues) {
  TrackFixture f;
  f.dd->SetPosition(25);
  EXPECT_EQ(f.dd->Position(), 10);
  EXPECT_EQ(f.dd->EditText(), u"10");
  f.dd->SetMax(5);
  EXPECT_EQ(f.dd->Max(), 5);
  EXPECT_EQ(f.dd->TrackBar()->Position(), 5);
  // Each setter takes back only its own value.
  f.dd->SetMin(8);
  EXPECT_EQ(f.dd->Min(), 8);
  EXPECT_EQ(f.dd->TrackBar()->Max(), 8);
  EXPECT_EQ(f.dd->Max(), 5);
}

TEST(AdvTrackBarDropDown, TextThatIsNoIntegerKeepsThePosition) {
  TrackFixture f;
  f.dd->SetPosition(4);
  for (const char16_t* text : {u"", u"abc", u"1,000", u"3.5"}) {
    f.dd->SetTextDirect(text);
    EXPECT_EQ(f.dd->Position(), 4) << StringToUTF8(text);
  }
  f.dd->SetTextDirect(u"7");
  EXPECT_EQ(f.dd->Position(), 7);
}

struct DragCase {
  int pageSize, start, dx, expected;
};

class AdvTrackBarDrag : public ::testing::TestWithParam<DragCase> {};

TEST_P(AdvTrackBarDrag, EachMoveCountsWholePageSizes) {
  const DragCase& c = GetParam();
  TrackFixture f;
  f.dd->OnDropDown = [](TObject*, bool& Allow) { Allow = false; };  // the press opens nothing here
  f.dd->SetPageSize(c.pageSize);
  f.dd->SetPosition(c.start);
  SimulateMouseDown(f.dd, mbLeft, 50, 10);
  SimulateMouseMove(f.dd, 50 + c.dx, 10, {ssLeft});
  SimulateMouseUp(f.dd, mbLeft, 50 + c.dx, 10);
  ProcessPendingEvents();
  EXPECT_EQ(f.dd->Position(), c.expected);
  EXPECT_EQ(f.dd->EditText(), IntToStr(c.expected));
  // Released: moves change nothing.
  SimulateMouseMove(f.dd, 120, 10);
  ProcessPendingEvents();
  EXPECT_EQ(f.dd->Position(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Table, AdvTrackBarDrag,
                         ::testing::Values(DragCase{2, 0, 5, 2}, DragCase{2, 5, 1, 5}, DragCase{2, 5, -5, 3},
                                           DragCase{3, 5, -20, 0}, DragCase{0, 0, 4, 4}, DragCase{-3, 2, 5, 7}));

TEST(AdvTrackBarDropDown, DraggingNeedsDropDownEnabledAndAPickOnlyEdit) {
  TrackFixture f;
  f.dd->OnDropDown = [](TObject*, bool& Allow) { Allow = false; };
  f.dd->SetDropDownEnabled(false);
  SimulateMouseDown(f.dd, mbLeft, 50, 10);
  SimulateMouseMove(f.dd, 60, 10, {ssLeft});
  SimulateMouseUp(f.dd, mbLeft, 60, 10);
  ProcessPendingEvents();
  EXPECT_EQ(f.dd->Position(), 0);
}

TEST(AdvTrackBarDropDown, TrackBarMovesShowAtOnceEscapeUndoesThemClickingElsewhereKeepsThem) {
  TrackFixture f;
  f.dd->SetPosition(3);
  f.Key(f.dd, VK_F4);
  ASSERT_TRUE(f.dd->DroppedDown());
  TDropDownForm* w = f.dd->DropDownForm();
  TTrackBar* tb = f.dd->TrackBar();
  // One row: the edit's width and the track bar's 40 pixels, at least the window's minimum.
  EXPECT_EQ(w->Width(), f.dd->Width());
  EXPECT_EQ(w->Height(), 50);
  EXPECT_EQ(w->Header(), nullptr);
  EXPECT_EQ(tb->Position(), 3);
  EXPECT_TRUE(tb->Focused());
  f.trackChanges = 0;
  f.Key(tb, VK_RIGHT);
  f.Key(tb, VK_RIGHT);
  EXPECT_EQ(f.dd->EditText(), u"5");
  EXPECT_EQ(f.trackChanges, 2);
  f.ClosingKey(tb, VK_ESCAPE);
  EXPECT_FALSE(f.dd->DroppedDown());
  EXPECT_EQ(f.dd->EditText(), u"3");
  EXPECT_EQ(f.dd->Position(), 3);
  // Again, then a press outside the pop-up: the new value stays.
  f.Key(f.dd, VK_F4);
  ASSERT_TRUE(f.dd->DroppedDown());
  f.Key(tb, VK_LEFT);
  EXPECT_EQ(f.dd->EditText(), u"2");
  const TPoint outside = f.form.ClientToScreen(TPoint(380, 280));
  SimulatePressOutside(w, outside.X, outside.Y);
  ProcessPendingEvents();
  EXPECT_FALSE(f.dd->DroppedDown());
  EXPECT_EQ(f.dd->EditText(), u"2");
  // Enter accepts too.
  f.Key(f.dd, VK_F4);
  f.Key(tb, VK_RIGHT);
  f.ClosingKey(tb, VK_RETURN);
  EXPECT_FALSE(f.dd->DroppedDown());
  EXPECT_EQ(f.dd->Position(), 3);
}

TEST(AdvTrackBarDropDown, DownMovesTheSameWayInTheOpenTrackBarAndInTheClosedEdit) {
  TrackFixture f;
  f.dd->SetPosition(5);
  f.Key(f.dd, VK_DOWN);
  EXPECT_EQ(f.dd->Position(), 6);
  f.Key(f.dd, VK_F4);
  ASSERT_TRUE(f.dd->DroppedDown());
  f.Key(f.dd->TrackBar(), VK_DOWN);
  EXPECT_EQ(f.dd->EditText(), u"7");
  f.Key(f.dd->TrackBar(), VK_UP);
  EXPECT_EQ(f.dd->EditText(), u"6");
  f.ClosingKey(f.dd->TrackBar(), VK_RETURN);
  EXPECT_EQ(f.dd->Position(), 6);
}

}  // namespace
