#include <gtest/gtest.h>

#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "StdCtrlsTestSupport.h"

namespace {

TEST(RadioGroup, LaysItemsOutInColumnsAndReportsSelections) {
  TForm form(nullptr);
  auto* group = new TRadioGroup(&form);
  group->SetParent(&form);
  group->SetBounds(0, 0, 410, 60);
  for (const char16_t* s : {u"EMF", u"WMF", u"BMP", u"JPG"}) group->Items()->Add(s);
  group->SetColumns(4);
  ASSERT_EQ(group->ControlCount(), 4);
  for (int i = 1; i < 4; ++i) {
    EXPECT_EQ(group->Buttons(i)->Top(), group->Buttons(0)->Top());
    EXPECT_EQ(group->Buttons(i)->Left() - group->Buttons(i - 1)->Left(), (410 - 10) / 4);
  }
  EXPECT_EQ(group->Buttons(2)->Caption(), u"BMP");

  form.SetBounds(0, 0, 450, 100);  // the whole group on screen
  form.Show();
  std::vector<int> clicks;
  group->OnClick = [&](TObject*) { clicks.push_back(group->ItemIndex()); };
  group->SetItemIndex(0);  // in code: checks the button and clicks, like the class library
  group->SetItemIndex(0);
  EXPECT_EQ(clicks, (std::vector<int>{0}));
  EXPECT_TRUE(group->Buttons(0)->Checked());

  // The user clicks another button.
  ClickCentre(group->Buttons(3));
  EXPECT_EQ(group->ItemIndex(), 3);
  EXPECT_FALSE(group->Buttons(0)->Checked());
  EXPECT_EQ(clicks, (std::vector<int>{0, 3}));

  group->SetItemIndex(9);  // past the end: the last item
  EXPECT_EQ(group->ItemIndex(), 3);
  group->SetItemIndex(-5);
  EXPECT_EQ(group->ItemIndex(), -1);
  EXPECT_FALSE(group->Buttons(3)->Checked());

  // One column: the buttons stack.
  group->Items()->Delete(3);
  group->SetColumns(1);
  group->SetHeight(120);
  ASSERT_EQ(group->ControlCount(), 3);
  EXPECT_GT(group->Buttons(2)->Top(), group->Buttons(1)->Top());
  EXPECT_EQ(group->Buttons(2)->Left(), group->Buttons(0)->Left());
}

TEST(Panel, BevelsAndBorderNarrowTheClientAreaAndShowTheirColours) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 300, 200);
  auto* panel = new TPanel(&form);
  panel->SetParent(&form);
  panel->SetBounds(10, 10, 200, 100);
  panel->SetColor(clSilver);
  panel->SetBevelOuter(bvRaised);
  panel->SetBevelInner(bvLowered);
  panel->SetBevelWidth(2);
  panel->SetBorderWidth(3);
  auto* inner = new TPanel(&form);
  inner->SetParent(panel);
  inner->SetBevelOuter(bvNone);
  inner->SetAlign(alClient);
  EXPECT_EQ(inner->BoundsRect(), TRect(7, 7, 193, 93));

  inner->SetVisible(false);
  panel->SetCaption(u"ﾊﾟﾈﾙ");
  form.Show();
  QImage img = Render(panel);
  EXPECT_EQ(CountColor(img, TRect(0, 0, 200, 1), clBtnHighlight, 0), 199);  // raised: light top edge
  EXPECT_GE(CountColor(img, TRect(0, 99, 200, 100), clBtnShadow, 0), 199);
  EXPECT_EQ(CountColor(img, TRect(5, 5, 7, 95), clBtnShadow, 0), 2 * 88);  // inner bevel lowered
  EXPECT_GT(InkPixels(img, TRect(60, 30, 140, 70)), 10);                    // the caption in the middle
  EXPECT_EQ(InkPixels(img, TRect(10, 10, 50, 90)), 0);
}

TEST(Image, PlacesThePictureByItsFlags) {
  struct Case {
    int pw, ph;
    bool stretch, proportional, center;
    TRect expected;
  };
  const Case cases[] = {
      {200, 100, false, false, false, TRect(0, 0, 200, 100)},
      {200, 100, true, false, false, TRect(0, 0, 100, 100)},
      {200, 100, false, true, false, TRect(0, 0, 100, 50)},
      {200, 100, false, true, true, TRect(0, 25, 100, 75)},
      {100, 400, false, true, true, TRect(37, 0, 62, 100)},
      {50, 20, false, true, true, TRect(25, 40, 75, 60)},  // smaller pictures are not enlarged
      {50, 20, true, true, false, TRect(0, 0, 100, 40)},   // unless stretched
      {200, 100, false, false, true, TRect(-50, 0, 150, 100)},
  };
  TImage image(nullptr);
  image.SetBounds(0, 0, 100, 100);
  for (const Case& c : cases) {
    TBitmap b(c.pw, c.ph);
    image.Picture()->Assign(&b);
    image.SetStretch(c.stretch);
    image.SetProportional(c.proportional);
    image.SetCenter(c.center);
    EXPECT_EQ(image.DestRect(), c.expected) << c.pw << "x" << c.ph << " " << c.stretch << c.proportional << c.center;
  }
}

TEST(Image, PaintsOnItsParentAndClearsWithThePicture) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 200, 150);
  form.SetColor(clWhite);
  auto* image = new TImage(&form);
  image->SetParent(&form);
  image->SetBounds(20, 20, 100, 100);
  image->SetProportional(true);
  image->SetCenter(true);
  TBitmap b(40, 20);
  b.Canvas()->Brush()->SetColor(clRed);
  b.Canvas()->FillRect(TRect(0, 0, 40, 20));
  image->Picture()->Assign(&b);
  int clicks = 0;
  image->OnClick = [&](TObject*) { ++clicks; };
  form.Show();
  QImage img = Render(&form);
  EXPECT_EQ(CountColor(img, TRect(20, 20, 120, 120), clRed, 0), 40 * 20);
  EXPECT_EQ(CountColor(img, Bounds(20 + 30, 20 + 40, 40, 20), clRed, 0), 40 * 20);  // centred
  ClickCentre(image);
  EXPECT_EQ(clicks, 1);

  image->Picture()->Assign(nullptr);
  img = Render(&form);
  EXPECT_EQ(CountColor(img, TRect(20, 20, 120, 120), clRed, 0), 0);

  // Drawing on the canvas of an empty image makes a bitmap of the control's size.
  image->Canvas()->Brush()->SetColor(clBlue);
  image->Canvas()->FillRect(TRect(0, 0, 10, 10));
  EXPECT_EQ(image->Picture()->Width(), 100);
  img = Render(&form);
  EXPECT_EQ(CountColor(img, Bounds(20, 20, 10, 10), clBlue, 0), 100);
}

TEST(LabeledEdit, KeepsItsLabelBesideItAndFollowsParentAndVisibility) {
  TForm form(nullptr);
  auto* panel = new TPanel(&form);
  panel->SetParent(&form);
  panel->SetBounds(0, 0, 300, 200);
  auto* edit = new TLabeledEdit(&form);
  edit->EditLabel()->SetCaption(u"ﾃﾞｰﾀ数");
  edit->SetParent(panel);
  edit->SetBounds(100, 60, 80, 21);
  TBoundLabel* label = edit->EditLabel();
  EXPECT_EQ(label->Parent(), panel);
  EXPECT_EQ(label->Left(), 100);
  EXPECT_EQ(label->Top(), 60 - label->Height() - 3);

  edit->SetLabelPosition(lpLeft);
  edit->SetLabelSpacing(5);
  EXPECT_EQ(label->Left() + label->Width() + 5, 100);
  EXPECT_EQ(label->Top(), 60 + (21 - label->Height()) / 2);
  edit->SetLeft(120);
  EXPECT_EQ(label->Left() + label->Width() + 5, 120);
  const int width = label->Width();
  label->SetCaption(u"ﾗｲﾝ数 (長い)");  // a wider label moves left to keep the spacing
  EXPECT_GT(label->Width(), width);
  EXPECT_EQ(label->Left() + label->Width() + 5, 120);

  edit->SetVisible(false);
  EXPECT_FALSE(label->Visible());
  edit->SetEnabled(false);
  EXPECT_FALSE(label->Enabled());

  edit->SetParent(&form);
  EXPECT_EQ(label->Parent(), &form);
  delete panel;  // the label no longer sits there
  delete edit;   // and goes with its edit
  EXPECT_EQ(form.ControlCount(), 0);
}

TEST(Shape, DrawsACircleInsideASquare) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 200, 100);
  form.SetColor(clWhite);
  auto* shape = new TShape(&form);
  shape->SetParent(&form);
  shape->SetBounds(0, 0, 100, 50);
  shape->SetShape(stCircle);
  shape->Brush()->SetColor(clLime);
  form.Show();
  QImage img = Render(&form);
  EXPECT_EQ(CountColor(img, Bounds(48, 23, 4, 4), clLime, 0), 16);  // centre
  EXPECT_EQ(CountColor(img, TRect(0, 0, 24, 50), clLime, 0), 0);    // left of the circle
  EXPECT_EQ(CountColor(img, Bounds(25, 0, 50, 50), clBlack, 0) > 0, true);
}

}  // namespace
