// The pop-up's header and footer bars: layout of their buttons, their pixels, the footer
// buttons' modal results, the size grip, and the button list's range checks.

#include <gtest/gtest.h>

#include "AdvDropDownTestSupport.h"
#include "dropdowns/AdvDropDownBars.h"

namespace {

// The framework drop-down with its window's sizing counted.
class TSizingDropDown : public TTestDropDown {
public:
  using TTestDropDown::TTestDropDown;
  int Sizings = 0;

protected:
  void DropDownFormSizing() override { ++Sizings; }
};

struct BarsFixture : DropDownFixture {
  BarsFixture() {
    dd->SetDropDownHeight(0);  // header, control and footer decide the height
    dd->SetDropDownWidth(200);
  }
  void Open() {
    dd->ShowDropDown();
    ProcessPendingEvents();
  }
  TAdvHeader* Header() { return dynamic_cast<TAdvHeader*>(dd->DropDownForm()->Header()); }
  TAdvFooter* Footer() { return dynamic_cast<TAdvFooter*>(dd->DropDownForm()->Footer()); }
};

// One solid colour per image.
std::unique_ptr<TImageList> ColourImages(std::initializer_list<TColor> Colours, int Size = 10) {
  auto list = std::make_unique<TImageList>(nullptr);
  list->SetWidth(Size);
  list->SetHeight(Size);
  for (TColor c : Colours) {
    TBitmap bmp;
    bmp.SetSize(Size, Size);
    bmp.Canvas()->Brush()->SetColor(c);
    bmp.Canvas()->FillRect(TRect(0, 0, Size, Size));
    list->Add(&bmp, nullptr);
  }
  return list;
}

TEST(AdvDropDownBars, MadeOnTheFirstOpeningThatShowsThemAndStackedInsideTheBorder) {
  BarsFixture f;
  f.dd->DropDownFooter()->SetVisible(false);
  f.dd->SetDropDownBorderWidth(3);
  f.dd->SetDropDownHeight(120);
  f.Open();
  ASSERT_NE(f.Header(), nullptr);
  EXPECT_EQ(f.dd->DropDownForm()->Footer(), nullptr);
  EXPECT_EQ(f.Header()->Height(), 22);
  EXPECT_EQ(f.Header()->Left(), 3);
  EXPECT_EQ(f.Header()->Top(), 3);
  EXPECT_EQ(f.dd->Inner->Top(), 3 + 22);
  EXPECT_EQ(f.dd->Inner->Height(), 120 - 6 - 22);
  f.dd->HideDropDown(false);
  // The footer comes with its appearance; the header, once made, is only hidden.
  TAdvHeader* header = f.Header();
  f.dd->DropDownFooter()->SetVisible(true);
  f.dd->DropDownHeader()->SetVisible(false);
  f.Open();
  EXPECT_EQ(f.Header(), header);
  EXPECT_FALSE(header->Visible());
  ASSERT_NE(f.Footer(), nullptr);
  EXPECT_TRUE(f.Footer()->Visible());
  EXPECT_EQ(f.Footer()->Top() + f.Footer()->Height(), f.dd->DropDownForm()->Height() - 3);
}

TEST(AdvDropDownBars, ButtonsOfTheRightAlignedHeaderTouchAndTheFirstIsRightmost) {
  BarsFixture f;
  THeaderButtons* b = f.dd->DropDownHeader()->Buttons();
  for (const char16_t* caption : {u"A", u"BB", u"CCC"}) b->Add()->SetCaption(caption);
  b->Add()->SetHeight(40);
  b->Items(1)->SetWidth(30);
  f.Open();
  TAdvHeader* h = f.Header();
  ASSERT_EQ(h->ButtonCount(), 4);
  const TRect area = h->GetButtonArea();
  EXPECT_EQ(area.Left, 2);
  EXPECT_EQ(area.Top, 2);
  EXPECT_EQ(area.Right, h->ClientWidth() - 2);
  EXPECT_EQ(area.Bottom, 19);
  EXPECT_EQ(h->ButtonControl(0)->Left() + h->ButtonControl(0)->Width(), area.Right);
  for (int i = 1; i < 4; ++i)
    EXPECT_EQ(h->ButtonControl(i)->Left() + h->ButtonControl(i)->Width(), h->ButtonControl(i - 1)->Left()) << i;
  EXPECT_EQ(h->ButtonControl(1)->Width(), 30);
  // A description higher than the area is cut to it (17 pixels in a 22-pixel header).
  EXPECT_EQ(h->ButtonControl(3)->Height(), 17);
  EXPECT_EQ(h->ButtonControl(3)->Top(), 2);
  // The caption ends 2 pixels before the last button.
  EXPECT_EQ(h->GetCaptionArea().Right, h->ButtonControl(3)->Left() - 2);
  EXPECT_EQ(h->ButtonControl(2)->Tag(), 2);
}

TEST(AdvDropDownBars, LeftAlignedFooterButtonsAndTheGripsArea) {
  BarsFixture f;
  f.dd->DropDownFooter()->SetButtonAlignment(baLeft);
  f.dd->DropDownFooter()->Buttons()->Add()->SetCaption(u"OK");
  f.dd->DropDownFooter()->Buttons()->Add()->SetCaption(u"Cancel");
  f.Open();
  TAdvFooter* ft = f.Footer();
  ASSERT_EQ(ft->ButtonCount(), 2);
  EXPECT_TRUE(ft->SizeGripVisible());
  EXPECT_EQ(ft->GetButtonArea(), TRect(2, 2, ft->ClientWidth() - 14, ft->ClientHeight() - 2));
  EXPECT_EQ(ft->ButtonControl(0)->Left(), 2);
  EXPECT_EQ(ft->ButtonControl(1)->Left(), 2 + ft->ButtonControl(0)->Width());
  f.dd->HideDropDown(false);
  f.dd->SetDropDownSizeable(false);
  f.Open();
  EXPECT_FALSE(ft->SizeGripVisible());
  EXPECT_EQ(ft->GetButtonArea().Right, ft->ClientWidth() - 2);
  // No buttons, no caption area.
  f.dd->HideDropDown(false);
  f.dd->DropDownFooter()->Buttons()->Clear();
  f.Open();
  EXPECT_EQ(ft->ButtonCount(), 0);
  EXPECT_EQ(ft->GetCaptionArea(), TRect(-1, -1, -1, -1));
}

TEST(AdvDropDownBarsPixels, BackgroundBorderLinesAndHighlightFrame) {
  BarsFixture f;
  THeaderAppearance* h = f.dd->DropDownHeader();
  h->SetColor(0x00C000);
  h->SetColorTo(clNone);
  h->SetBorderColor(0x0000FF);
  TFooterAppearance* ft = f.dd->DropDownFooter();
  ft->SetColor(0xC00000);
  ft->SetColorTo(clNone);
  ft->SetBorderColor(0x0000FF);
  ft->SetSizeGrip(false);
  const TColor light = BlendColor(0x0000FF, clWhite, 20);
  // With the pop-up's own border the header draws only its bottom line, the footer its top.
  f.dd->SetDropDownBorderColor(clBlack);
  f.Open();
  auto head = RenderControl(f.Header());
  const int w = f.Header()->Width();
  EXPECT_EQ(PixelColor(*head, 20, 21), 0x0000FF);
  EXPECT_EQ(PixelColor(*head, 0, 10), light);
  EXPECT_EQ(PixelColor(*head, 20, 0), light);
  EXPECT_EQ(PixelColor(*head, w - 1, 10), light);
  EXPECT_EQ(PixelColor(*head, 20, 10), 0x00C000);
  auto foot = RenderControl(f.Footer());
  EXPECT_EQ(PixelColor(*foot, 20, 0), 0x0000FF);
  EXPECT_EQ(PixelColor(*foot, 20, 1), light);
  EXPECT_EQ(PixelColor(*foot, 20, 21), light);
  EXPECT_EQ(PixelColor(*foot, 20, 10), 0xC00000);
  f.dd->HideDropDown(false);
  // Without it, the header's left and top edge lie under the light frame.
  f.dd->SetDropDownBorderColor(clNone);
  f.Open();
  head = RenderControl(f.Header());
  EXPECT_EQ(PixelColor(*head, 20, 21), 0x0000FF);
  EXPECT_EQ(PixelColor(*head, 0, 10), light);
  // No colours at all: the bar paints no background of its own.
  f.dd->HideDropDown(false);
  h->SetColor(clNone);
  f.Open();
  EXPECT_EQ(PixelColor(*RenderControl(f.Header()), 20, 10), ColorToRGB(f.Header()->Color()));
}

TEST(AdvDropDownBarsPixels, ImageBesideTheBorderAndDrawingLeftToTheOwner) {
  BarsFixture f;
  auto images = ColourImages({0x0000FF, 0x00FF00, 0xFF0000});
  f.dd->SetImages(images.get());
  THeaderAppearance* h = f.dd->DropDownHeader();
  h->SetColor(0xFFFFFF);
  h->SetColorTo(clNone);
  h->SetImageIndex(2);
  h->SetCaption(u"Title");
  f.Open();
  auto bmp = RenderControl(f.Header());
  // Border 1: the image starts at 1 + 4 and is centred in the 20 pixels inside the border.
  EXPECT_EQ(PixelColor(*bmp, 5, 6), 0xFF0000);
  EXPECT_EQ(PixelColor(*bmp, 14, 15), 0xFF0000);
  EXPECT_NE(PixelColor(*bmp, 4, 10), 0xFF0000);
  EXPECT_NE(PixelColor(*bmp, 15, 10), 0xFF0000);
  // The caption starts 4 pixels after the image: something dark right of x = 19 only.
  bool text = false;
  for (int x = 15; x < 19; ++x)
    for (int y = 2; y < 20; ++y) EXPECT_EQ(PixelColor(*bmp, x, y), 0xFFFFFF) << x << "," << y;
  for (int x = 19; x < 60 && !text; ++x)
    for (int y = 2; y < 20; ++y) text = text || PixelColor(*bmp, x, y) != 0xFFFFFF;
  EXPECT_TRUE(text);
  // An owner drawing handler paints everything: no background, border, image or caption.
  f.dd->HideDropDown(false);
  int calls = 0;
  f.dd->OnDrawHeader = [&](TObject* Sender, TCanvas* C, TRect R) {
    ++calls;
    EXPECT_EQ(Sender, f.Header());
    C->Brush()->SetColor(0x123456);
    C->FillRect(R);
  };
  f.Open();
  bmp = RenderControl(f.Header());
  EXPECT_GE(calls, 1);
  EXPECT_EQ(PixelColor(*bmp, 8, 10), 0x123456);
  EXPECT_EQ(PixelColor(*bmp, 30, 21), 0x123456);
}

TEST(AdvDropDownBarsPixels, FooterGripDotsAndTextFromTheHandler) {
  BarsFixture f;
  TFooterAppearance* ft = f.dd->DropDownFooter();
  ft->SetColor(0xC0C0C0);
  ft->SetColorTo(clNone);
  ft->SetBorderColor(0x800000);
  ft->SetCaption(u"Footer");
  int asked = 0;
  f.dd->OnGetFooterText = [&](TObject*, String& Text) {
    ++asked;
    Text.clear();
  };
  f.Open();
  TAdvFooter* footer = f.Footer();
  auto bmp = RenderControl(footer);
  EXPECT_GE(asked, 1);
  // The text handler emptied the caption: nothing but the background left of the grip.
  for (int x = 2; x < footer->Width() - 20; x += 3) EXPECT_EQ(PixelColor(*bmp, x, 11), 0xC0C0C0) << x;
  // The grip's rectangle G starts 17 pixels left of the right edge; dark dots at G.Left + 4,
  // light ones a pixel right and below.
  const int gl = footer->Width() - 1 - 16, gb = footer->Height();
  const int dx = gl + 4, dy = gb - 3;
  EXPECT_EQ(PixelColor(*bmp, dx, dy - 2), 0x800000);
  EXPECT_EQ(PixelColor(*bmp, dx + 1, dy - 1), 0x800000);
  EXPECT_EQ(PixelColor(*bmp, dx + 8, dy - 10), 0x800000);
  EXPECT_EQ(PixelColor(*bmp, dx + 2, dy), 0xFFFFFF);
  EXPECT_EQ(PixelColor(*bmp, dx + 2, dy - 2), 0xC0C0C0);
}

TEST(AdvDropDownBarsPixels, ButtonFacesByState) {
  BarsFixture f;
  TAdvButtonAppearance* a = f.dd->ButtonAppearance();
  a->SetColor(0x00FF00);
  a->SetColorTo(clNone);
  a->SetBorderColor(0x000080);
  a->SetColorHot(0xFFFF00);
  a->SetColorDisabled(0x808080);
  a->SetColorDisabledTo(clNone);
  f.dd->DropDownHeader()->Buttons()->Add()->SetCaption(u"Go");
  THeaderButton* off = f.dd->DropDownHeader()->Buttons()->Add();
  off->SetCaption(u"Off");
  off->SetEnabled(false);
  f.Open();
  TAdvButton* b = f.Header()->ButtonControl(0);
  auto face = RenderControl(b);
  EXPECT_EQ(PixelColor(*face, 0, 3), 0x000080);
  EXPECT_EQ(PixelColor(*face, 2, 2), 0x00FF00);
  EXPECT_EQ(PixelColor(*RenderControl(f.Header()->ButtonControl(1)), 2, 2), 0x808080);
  SimulateMouseMove(b, 3, 3);
  ProcessPendingEvents();
  EXPECT_TRUE(b->MouseInControl());
  EXPECT_EQ(PixelColor(*RenderControl(b), 2, 2), 0xFFFF00);
  // A button without a fill shows the bar behind it.
  a->SetColor(clNone);
  SimulateMouseLeave();
  ProcessPendingEvents();
  const TPoint at(b->Left() + 2, b->Top() + 2);
  EXPECT_EQ(PixelColor(*RenderControl(b), 2, 2), PixelColor(*RenderControl(f.Header()), at.X, at.Y));
}

struct ModalCase {
  const char* name;
  TModalResult result;
  bool closes, cancels;
};

const ModalCase kModal[] = {
    {"yes accepts", mrYes, true, false},
    {"no cancels", mrNo, true, true},
    {"retry stays open", mrRetry, false, false},
    {"none stays open", mrNone, false, false},
    {"cancel cancels", mrCancel, true, true},
};

class AdvDropDownFooterButtons : public ::testing::TestWithParam<ModalCase> {};

TEST_P(AdvDropDownFooterButtons, CloseByTheirModalResultAndReportMouseClicksOnly) {
  const ModalCase& c = GetParam();
  BarsFixture f;
  f.dd->SetText(u"old");
  TFooterButton* fb = f.dd->DropDownFooter()->Buttons()->Add();
  fb->SetCaption(u"Button");
  fb->SetModalResult(c.result);
  std::vector<int> clicks;
  f.dd->OnDropDownFooterButtonClick = [&](TObject* Sender, int Index) {
    EXPECT_EQ(Sender, f.dd);
    clicks.push_back(Index);
  };
  for (bool byKey : {false, true}) {
    f.Open();
    f.dd->SetTextDirect(u"new");
    TAdvButton* b = f.Footer()->ButtonControl(0);
    if (byKey) {
      b->SetFocus();
      ProcessPendingEvents();
      SimulateKeyDown(b, VK_RETURN);
    } else {
      SimulateClick(b, 5, 5);
    }
    ProcessPendingEvents();
    EXPECT_EQ(f.dd->DroppedDown(), !c.closes) << c.name << byKey;
    if (c.closes) {
      EXPECT_EQ(f.dd->Text(), c.cancels ? u"old" : u"new") << c.name;
    }
    EXPECT_EQ(clicks.size(), 1u) << c.name << byKey;  // the Enter key fired none
    if (f.dd->DroppedDown()) f.dd->HideDropDown(true);
    f.dd->SetText(u"old");
  }
  EXPECT_EQ(clicks, std::vector<int>{0});
}

INSTANTIATE_TEST_SUITE_P(Table, AdvDropDownFooterButtons, ::testing::ValuesIn(kModal), [](const auto& info) {
  std::string n = info.param.name;
  for (char& ch : n)
    if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
  return n;
});

TEST(AdvDropDownBars, HeaderButtonClickReportsItsIndex) {
  BarsFixture f;
  f.dd->DropDownHeader()->Buttons()->Add()->SetCaption(u"First");
  f.dd->DropDownHeader()->Buttons()->Add()->SetCaption(u"Second");
  std::vector<int> clicks;
  f.dd->OnDropDownHeaderButtonClick = [&](TObject*, int Index) { clicks.push_back(Index); };
  f.Open();
  SimulateClick(f.Header()->ButtonControl(1), 4, 4);
  ProcessPendingEvents();
  // A press that leaves the button before its release is no click.
  SimulateMouseDown(f.Header()->ButtonControl(0), mbLeft, 4, 4);
  SimulateMouseUp(f.Header()->ButtonControl(0), mbLeft, -30, 4);
  ProcessPendingEvents();
  EXPECT_EQ(clicks, std::vector<int>{1});
  EXPECT_TRUE(f.dd->DroppedDown());  // header buttons never close it
}

TEST(AdvDropDownBars, AClickHandlerMayChangeTheButtonsOfTheOpenPopUp) {
  BarsFixture f;
  f.dd->DropDownHeader()->Buttons()->Add()->SetCaption(u"Off");
  int clicks = 0;
  // The change rebuilds the bar's buttons while the clicked one is still handling its click.
  f.dd->OnDropDownHeaderButtonClick = [&](TObject*, int Index) {
    ++clicks;
    THeaderButton* b = f.dd->DropDownHeader()->Buttons()->Items(Index);
    b->SetCaption(b->Caption() == u"Off" ? u"On" : u"Off");
  };
  f.Open();
  SimulateClick(f.Header()->ButtonControl(0), 4, 4);
  ProcessPendingEvents();
  ASSERT_EQ(f.Header()->ButtonCount(), 1);
  EXPECT_EQ(f.Header()->ButtonControl(0)->Caption(), u"On");
  SimulateClick(f.Header()->ButtonControl(0), 4, 4);
  ProcessPendingEvents();
  EXPECT_EQ(f.Header()->ButtonControl(0)->Caption(), u"Off");
  EXPECT_EQ(clicks, 2);
  // Height changes of a description are not announced; width changes are.
  int changes = 0;
  f.dd->DropDownHeader()->OnButtonsChanged = [&](TObject*) { ++changes; };
  f.dd->DropDownHeader()->Buttons()->Items(0)->SetHeight(12);
  EXPECT_EQ(changes, 0);
  f.dd->DropDownHeader()->Buttons()->Items(0)->SetWidth(40);
  EXPECT_EQ(changes, 1);
}

TEST(AdvDropDownBars, TheGripCornerSizesThePopUpOnlyWhileTheGripShows) {
  TTestScreen screen({{Rect(0, 0, 1024, 768), Rect(0, 0, 1024, 768)}});
  TForm form(nullptr);
  form.SetBorderStyle(bsNone);
  form.SetBounds(100, 100, 400, 300);
  auto* dd = new TSizingDropDown(&form);
  dd->SetParent(&form);
  dd->SetBounds(20, 20, 160, 24);
  dd->SetDropDownWidth(200);
  form.Show();
  ProcessPendingEvents();
  for (bool grip : {true, false}) {
    dd->DropDownFooter()->SetSizeGrip(grip);
    dd->ShowDropDown();
    ProcessPendingEvents();
    TDropDownForm* w = dd->DropDownForm();
    auto* footer = dynamic_cast<TAdvFooter*>(w->Footer());
    ASSERT_NE(footer, nullptr);
    const int width = w->Width(), height = w->Height();
    dd->Sizings = 0;
    const int x = footer->Width() - 5, y = footer->Height() - 5;
    SimulateMouseDown(footer, mbLeft, x, y);
    // The footer moves with the window's bottom edge: the drag goes on in the window's coordinates.
    const int wx = footer->Left() + x, wy = footer->Top() + y;
    SimulateMouseMove(w, wx + 30, wy + 20, {ssLeft});
    SimulateMouseUp(w, mbLeft, wx + 30, wy + 20);
    ProcessPendingEvents();
    if (grip) {
      EXPECT_EQ(w->Width(), width + 30);
      EXPECT_EQ(w->Height(), height + 20);
      EXPECT_GE(dd->Sizings, 1);
    } else {
      EXPECT_EQ(w->Width(), width);
      EXPECT_EQ(w->Height(), height);
      EXPECT_EQ(dd->Sizings, 0);
    }
    dd->HideDropDown(false);
  }
}

TEST(AdvDropDownBars, TheGripCornerShowsTheSizingCursorAndLeavingRestoresIt) {
  BarsFixture f;
  Screen->SetCursor(crDefault);
  f.Open();
  TAdvFooter* footer = f.Footer();
  SimulateMouseMove(footer, 20, 5);
  ProcessPendingEvents();
  EXPECT_EQ(Screen->Cursor(), crDefault);
  SimulateMouseMove(footer, footer->Width() - 4, footer->Height() - 4);
  ProcessPendingEvents();
  EXPECT_EQ(Screen->Cursor(), crSizeNWSE);
  SimulateMouseMove(footer, 20, 5);
  ProcessPendingEvents();
  EXPECT_EQ(Screen->Cursor(), crDefault);
  SimulateMouseMove(footer, footer->Width() - 4, footer->Height() - 4);
  SimulateMouseLeave();
  ProcessPendingEvents();
  EXPECT_EQ(Screen->Cursor(), crDefault);
}

TEST(AdvDropDownBars, GroupedButtonsStayExclusiveAndCheckButtonsToggle) {
  TForm form(nullptr);
  form.SetBounds(100, 100, 300, 100);
  TAdvButtonAppearance appearance;
  auto make = [&](int Left, int Group) {
    auto* b = new TAdvButton(&form);
    b->SetParent(&form);
    b->SetAppearance(&appearance);
    b->SetBounds(Left, 10, 40, 22);
    b->SetGroupIndex(Group);
    return b;
  };
  TAdvButton* a = make(10, 1);
  TAdvButton* b = make(60, 1);
  TAdvButton* plain = make(110, 0);
  TAdvButton* check = make(160, 0);
  check->SetStyle(tasCheck);
  form.Show();
  ProcessPendingEvents();
  SimulateClick(a, 5, 5);
  EXPECT_TRUE(a->Down());
  EXPECT_EQ(a->State(), absExclusive);
  SimulateClick(b, 5, 5);
  EXPECT_TRUE(b->Down());
  EXPECT_FALSE(a->Down());
  SimulateClick(b, 5, 5);  // without AllowAllUp the down button stays down
  EXPECT_TRUE(b->Down());
  plain->SetDown(true);  // a plain button never stays down
  EXPECT_FALSE(plain->Down());
  SimulateClick(check, 5, 5);
  EXPECT_TRUE(check->Down());
  SimulateClick(check, 5, 5);
  EXPECT_FALSE(check->Down());
}

TEST(AdvDropDownBars, ListAccessChecksTheIndex) {
  TDbgList list;
  int a = 1, b = 2;
  list.Add(&a);
  list.Add(&b);
  EXPECT_EQ(list.GetItemsEx(1), &b);
  list.SetItemsEx(0, &b);
  EXPECT_EQ(list.Items(0), &b);
  auto message = [](auto&& f) {
    try {
      f();
    } catch (const Exception& e) {
      return e.Message();
    }
    return String(u"none");
  };
  EXPECT_EQ(message([&] { list.GetItemsEx(2); }), u"Index out of bounds in list read access");
  EXPECT_EQ(message([&] { list.SetItemsEx(5, &a); }), u"Index out of bounds in list write access");
  EXPECT_EQ(message([&] { list.GetItemsEx(-1); }), u"List index out of bounds (-1)");
  TDbgList copy;
  copy.Add(&a);
  copy.AssignList(list);
  EXPECT_EQ(copy.Count(), 2);
  EXPECT_EQ(copy.Items(1), &b);
}

}  // namespace

TEST(AdvDropDownBars, AltWithAButtonsAccessKeyClicksIt) {
  BarsFixture f;
  f.dd->SetText(u"old");
  TFooterButton* fb = f.dd->DropDownFooter()->Buttons()->Add();
  fb->SetCaption(u"&Yes");
  f.dd->DropDownFooter()->Buttons()->Add()->SetCaption(u"&u");
  fb->SetModalResult(mrYes);
  int clicks = 0;
  f.dd->OnDropDownFooterButtonClick = [&](TObject*, int) { ++clicks; };
  f.Open();
  f.dd->SetTextDirect(u"new");
  SimulateKeyStroke(f.KeyTarget(), VK_F5, {ssAlt});  // no character
  SimulateKeyStroke(f.KeyTarget(), VK_F6, {ssAlt});  // 'u' as a character code
  ProcessPendingEvents();
  EXPECT_TRUE(f.dd->DroppedDown());
  f.Stroke(f.KeyTarget(), 'Y', {ssAlt});
  ProcessPendingEvents();
  EXPECT_FALSE(f.dd->DroppedDown());
  EXPECT_EQ(f.dd->Text(), u"new");
  EXPECT_EQ(clicks, 1);
}
