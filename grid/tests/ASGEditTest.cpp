// The edit with a button and the unit edit: clicks, F4, typing, units and their menu.
#include <gtest/gtest.h>

#include "controls/AdvXPVS.h"
#include "grid/ASGEdit.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Timers.h"
#include "platform/win/Messages.h"
#include "testing/TestSupport.h"

namespace {

template <typename T>
struct TEditForm {
  TForm form{nullptr};
  T* edit = new T(&form);
  TEdit* next = new TEdit(&form);
  std::vector<TObject*> clicks;
  TEditForm() {
    form.SetBounds(80, 80, 260, 120);
    edit->SetParent(&form);
    edit->SetBounds(10, 10, 140, 24);
    next->SetParent(&form);
    next->SetBounds(10, 50, 120, 24);
    edit->OnClickBtn = [this](TObject* Sender) { clicks.push_back(Sender); };
    form.Show();
    ProcessPendingEvents();
  }
  TPoint ButtonCentre() const {
    TAsgEditButton* b = edit->Button();
    return TPoint(b->Left() + b->Width() / 2, b->Top() + b->Height() / 2);
  }
};

// Runs Keys on the menu that the next Popup shows, once it is up.
struct TMenuKeys {
  TTimer timer{nullptr};
  TMenuKeys(TWinControl* Target, std::vector<Word> Keys) {
    timer.SetInterval(50);
    timer.SetOnTimer([this, Target, Keys](TObject*) {
      timer.SetEnabled(false);
      for (Word k : Keys) SimulateKeyStroke(Target, k);
    });
  }
};

}  // namespace

TEST(AsgEditBtn, StartsAtZeroWithTheButtonInsideItsRightEdge) {
  TEditForm<TAsgEditBtn> f;
  EXPECT_EQ(f.edit->Text(), u"0");
  EXPECT_TRUE(f.edit->EditorEnabled());
  EXPECT_FALSE(f.edit->RightAlign());
  TAsgEditButton* b = f.edit->Button();
  EXPECT_FALSE(b->TabStop());
  EXPECT_EQ(b->Width(), 18);
  EXPECT_EQ(b->Left(), f.edit->Width() - 18 - 5);
  EXPECT_EQ(b->Height(), f.edit->Height() - 5);
  // The inner button fills its window.
  EXPECT_EQ(b->Button()->Width(), b->Width());
  EXPECT_EQ(b->Button()->Height(), b->Height());
  f.edit->SetButtonWidth(30);
  EXPECT_EQ(b->Width(), 30);
}

TEST(AsgEditBtn, TheButtonAndF4FireTheEventAndAltF4DoesNot) {
  TEditForm<TAsgEditBtn> f;
  f.next->SetFocus();
  const TPoint p = f.ButtonCentre();
  SimulateClick(f.edit, p.X, p.Y);
  ASSERT_EQ(f.clicks.size(), 1u);
  EXPECT_EQ(f.clicks[0], f.edit->Button());
  EXPECT_TRUE(f.edit->Focused());
  SimulateKeyStroke(f.edit, VK_F4);
  ASSERT_EQ(f.clicks.size(), 2u);
  EXPECT_EQ(f.clicks[1], f.edit);
  SimulateKeyStroke(f.edit, VK_F4, {ssAlt});
  SimulateKeyStroke(f.edit, VK_F4, {ssCtrl});
  EXPECT_EQ(f.clicks.size(), 2u);
  // A right click is no click.
  SimulateClick(f.edit, p.X, p.Y, mbRight);
  EXPECT_EQ(f.clicks.size(), 2u);
}

TEST(AsgEditBtn, APickOnlyEditTakesNoTypingPasteOrCutButItsButtonWorks) {
  TEditForm<TAsgEditBtn> f;
  f.edit->SetEditorEnabled(false);
  f.edit->SetText(u"12");
  f.edit->SetFocus();
  f.edit->SelectAll();
  SimulateTyping(f.edit, u"ab\b");
  Clipboard()->SetAsText(u"99");
  SimulateKeyStroke(f.edit, 'V', {ssCtrl});
  SimulateKeyStroke(f.edit, 'X', {ssCtrl});
  ProcessPendingEvents();
  EXPECT_EQ(f.edit->Text(), u"12");
  SimulateKeyStroke(f.edit, VK_F4);
  const TPoint p = f.ButtonCentre();
  SimulateClick(f.edit, p.X, p.Y);
  EXPECT_EQ(f.clicks.size(), 2u);

  f.edit->SetEditorEnabled(true);
  f.edit->SetReadOnly(true);
  f.edit->SelectAll();
  SimulateKeyStroke(f.edit, 'V', {ssCtrl});
  EXPECT_EQ(f.edit->Text(), u"12");
  f.edit->SetReadOnly(false);
  f.edit->SelectAll();
  SimulateTyping(f.edit, u"7");
  EXPECT_EQ(f.edit->Text(), u"7");
}

TEST(AsgEditBtn, ColouredAndCaptionedButtonFaces) {
  TEditForm<TAsgEditBtn> f;
  TAsgEditButton* b = f.edit->Button();
  b->SetButtonColor(clLime);
  b->SetButtonColorHot(clYellow);
  b->SetButtonColorDown(clRed);
  auto face = [&] {
    std::unique_ptr<TBitmap> img = RenderControl(b->Button());
    return PixelColor(*img, 2, 2);
  };
  EXPECT_EQ(face(), clLime);
  EXPECT_TRUE(b->Button()->Flat());  // coloured faces are flat
  const TPoint p = f.ButtonCentre();
  SimulateMouseMove(f.edit, 2, 2);
  SimulateMouseMove(f.edit, p.X, p.Y);
  EXPECT_TRUE(b->Button()->Hot());
  EXPECT_EQ(face(), clYellow);
  SimulateMouseDown(f.edit, mbLeft, p.X, p.Y);
  EXPECT_EQ(face(), clRed);
  SimulateMouseUp(f.edit, mbLeft, p.X, p.Y);

  // A caption shows in black in the middle.
  b->SetButtonColor(clWhite);
  b->SetButtonColorHot(clWhite);
  f.edit->SetButtonCaption(u"X");
  std::unique_ptr<TBitmap> img = RenderControl(b->Button());
  bool dark = false;
  for (int x = 0; x < img->Width(); ++x)
    for (int y = 0; y < img->Height(); ++y) {
      const TColor px = PixelColor(*img, x, y);
      dark = dark || ((px & 0xFF) < 0x40 && ((px >> 8) & 0xFF) < 0x40 && ((px >> 16) & 0xFF) < 0x40);
    }
  EXPECT_TRUE(dark);

  // Themed and classic faces differ.
  b->SetButtonColor(clNone);
  f.edit->SetButtonCaption(u"");
  std::unique_ptr<TBitmap> classic = RenderControl(b->Button());
  XPVSThemeBinding.Load();
  f.edit->SetIsWinXP(true);
  std::unique_ptr<TBitmap> themed = RenderControl(b->Button());
  bool differs = false;
  for (int x = 0; x < classic->Width(); ++x)
    for (int y = 0; y < classic->Height(); ++y) differs = differs || PixelColor(*classic, x, y) != PixelColor(*themed, x, y);
  EXPECT_TRUE(differs);
  XPVSThemeBinding.Free();
}

// ---------------------------------------------------------------------------
// Units

struct UnitCase {
  const char* name;
  const char16_t* value;
  const char16_t* text;
  const char16_t* unit;
};

class AsgUnitSplit : public ::testing::TestWithParam<UnitCase> {};

TEST_P(AsgUnitSplit, SplitsAtTheFirstUnitThatOnlyEndsTheValue) {
  const UnitCase& c = GetParam();
  TEditForm<TAsgUnitEditBtn> f;
  f.edit->Units()->Add(u"m");
  f.edit->Units()->Add(u"mm");
  f.edit->Units()->Add(u"");
  f.edit->SetText(u"old");
  f.edit->SetUnitID(u"kg");
  f.edit->SetTextAndUnit(c.value);
  EXPECT_EQ(f.edit->Text(), c.text);
  EXPECT_EQ(f.edit->UnitID(), c.unit);
  EXPECT_EQ(f.edit->TextAndUnit(), String(c.text) + c.unit);
}

const UnitCase kUnits[] = {
    {"LaterUnitWhenTheFirstOccursEarlier", u"12.5 mm", u"12.5 ", u"mm"},
    {"FirstUnit", u"3m", u"3", u"m"},
    {"NoUnitKeepsBoth", u"12 kg", u"old", u"kg"},
    {"UnitInsideOnly", u"m2", u"old", u"kg"},
    {"Empty", u"", u"old", u"kg"},
};

INSTANTIATE_TEST_SUITE_P(Table, AsgUnitSplit, ::testing::ValuesIn(kUnits), [](const auto& info) {
  return std::string(info.param.name);
});

TEST(AsgUnitEditBtn, DefaultsRightAlignedWithRoomForTheUnit) {
  TEditForm<TAsgUnitEditBtn> f;
  EXPECT_TRUE(f.edit->RightAlign());
  EXPECT_EQ(f.edit->UnitSpace(), 20);
  TStringList list;
  list.Add(u"V");
  f.edit->SetUnits(&list);
  f.edit->SetUnits(nullptr);
  EXPECT_EQ(f.edit->Units()->Count(), 1);
}

TEST(AsgUnitEditBtn, TheButtonOffersTheUnitsAndReportsOnlyAChange) {
  TEditForm<TAsgUnitEditBtn> f;
  f.edit->Units()->Add(u"mV");
  f.edit->Units()->Add(u"V");
  f.edit->SetUnitID(u"mV");
  std::vector<String> changes;
  f.edit->OnUnitChanged = [&](TObject* Sender, const String& NewUnit) {
    EXPECT_EQ(Sender, f.edit);
    changes.push_back(NewUnit);
  };
  const TPoint p = f.ButtonCentre();
  {
    TMenuKeys keys(f.edit, {VK_DOWN, VK_DOWN, VK_RETURN});
    SimulateClick(f.edit, p.X, p.Y);
  }
  ASSERT_EQ(f.clicks.size(), 1u);
  EXPECT_EQ(f.clicks[0], f.edit);  // the unit edit reports itself
  EXPECT_EQ(f.edit->UnitID(), u"V");
  EXPECT_EQ(changes, std::vector<String>{u"V"});
  {
    // The unit already shown: no change reported.
    TMenuKeys keys(f.edit, {VK_DOWN, VK_DOWN, VK_RETURN});
    SimulateKeyStroke(f.edit, VK_F4);
  }
  EXPECT_EQ(f.edit->UnitID(), u"V");
  EXPECT_EQ(changes.size(), 1u);
  // Commands beyond the list and the edit's own change notices are not units.
  f.edit->Perform(WM_COMMAND, 3, 0);
  f.edit->Perform(WM_COMMAND, MAKELPARAM(1, 0x0300), 0);
  EXPECT_EQ(f.edit->UnitID(), u"V");
  f.edit->Perform(WM_COMMAND, 1, 0);
  EXPECT_EQ(f.edit->UnitID(), u"mV");
}

TEST(AsgUnitEditBtn, PaintsTheUnitBetweenTheTextAndTheButton) {
  TEditForm<TAsgUnitEditBtn> f;
  f.edit->SetColor(clWhite);
  f.edit->Font()->SetColor(clBlack);
  f.edit->SetText(u"");
  auto inkInUnitSpace = [&] {
    std::unique_ptr<TBitmap> img = RenderControl(f.edit);
    const int right = f.edit->Button()->Left() - 3;
    int ink = 0;
    for (int x = right - 20; x < right; ++x)
      for (int y = 3; y < f.edit->Height() - 3; ++y) ink += PixelNear(*img, x, y, clBlack) ? 1 : 0;
    return ink;
  };
  EXPECT_EQ(inkInUnitSpace(), 0);
  f.edit->SetUnitID(u"mm");
  EXPECT_GT(inkInUnitSpace(), 0);
}
