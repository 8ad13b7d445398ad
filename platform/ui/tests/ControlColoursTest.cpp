// Colours that reach the screen: a container's system colour, an edit's font colour.
#include <gtest/gtest.h>

#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"
#include "testing/TestSupport.h"

TEST(ControlColours, ContainerPaintsItsSystemColourAsThatColour) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 200, 120);
  auto* box = new TWinControl(&form);
  box->SetParent(&form);
  box->SetBounds(10, 10, 100, 60);
  box->SetColor(clBtnFace);
  form.Show();
  auto image = RenderControl(box);
  EXPECT_EQ(PixelColor(*image, 50, 30), ColorToRGB(clBtnFace) & 0xFFFFFF);
}

TEST(ControlColours, EditAndMemoTextTakeTheFontColour) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 300, 200);
  auto* edit = new TEdit(&form);
  auto* memo = new TMemo(&form);
  edit->SetParent(&form);
  memo->SetParent(&form);
  edit->SetBounds(0, 0, 200, 24);
  memo->SetBounds(0, 30, 200, 60);
  for (TCustomEdit* e : {static_cast<TCustomEdit*>(edit), static_cast<TCustomEdit*>(memo)}) {
    e->SetColor(clBlack);
    e->Font()->SetColor(clWhite);
    e->SetText(u"WWWWWWWW");
  }
  form.Show();
  for (TControl* c : {static_cast<TControl*>(edit), static_cast<TControl*>(memo)}) {
    auto image = RenderControl(c);
    int light = 0;
    for (int y = 0; y < image->Height(); ++y)
      for (int x = 0; x < image->Width(); ++x)
        if ((PixelColor(*image, x, y) & 0xFF) > 0xC0) ++light;
    EXPECT_GT(light, 30) << StringToUTF8(c->ClassName());
  }
}

TEST(ControlColours, LabelDrawsInItsFontColour) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 200, 100);
  auto* label = new TLabel(&form);
  label->SetParent(&form);
  label->SetBounds(10, 10, 120, 30);
  label->Font()->SetHeight(-20);
  label->Font()->SetColor(clRed);
  label->SetCaption(u"WWWW");
  form.Show();
  auto image = RenderControl(label);
  int red = 0;
  for (int y = 0; y < image->Height(); ++y)
    for (int x = 0; x < image->Width(); ++x)
      if (PixelColor(*image, x, y) == clRed) ++red;
  EXPECT_GT(red, 30);
}
