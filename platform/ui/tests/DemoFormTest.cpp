// A small form with one of each standard control, captioned in half-width katakana,
// rendered offscreen: every control must show its text in a font that has the glyphs.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>
#include <QWidget>

#include "platform/ui/Controls_p.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"

namespace {

const char16_t* const kKatakana = u"ｺﾝﾄﾛｰﾙ";

// Pixels in r that differ clearly from the colour at r's top-left corner.
int InkPixels(const QImage& img, const QRect& r) {
  QRect a = r.intersected(img.rect());
  if (a.isEmpty()) return 0;
  QColor bg = img.pixelColor(a.topLeft());
  int n = 0;
  for (int y = a.top(); y <= a.bottom(); ++y)
    for (int x = a.left(); x <= a.right(); ++x) {
      QColor c = img.pixelColor(x, y);
      if (std::abs(c.red() - bg.red()) + std::abs(c.green() - bg.green()) + std::abs(c.blue() - bg.blue()) > 150) ++n;
    }
  return n;
}

TEST(DemoForm, EveryStandardControlShowsHalfWidthKatakana) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 520, 300);
  form.Font()->SetName(U("ＭＳ Ｐゴシック"));
  form.Font()->SetHeight(-12);

  auto* label = new TLabel(&form);
  label->SetParent(&form);
  label->SetBounds(8, 8, 120, 16);
  label->SetCaption(kKatakana);
  auto* edit = new TEdit(&form);
  edit->SetParent(&form);
  edit->SetBounds(8, 30, 120, 22);
  edit->SetText(kKatakana);
  auto* memo = new TMemo(&form);
  memo->SetParent(&form);
  memo->SetBounds(8, 58, 120, 60);
  memo->SetText(String(kKatakana) + u"\r\n" + kKatakana);
  auto* combo = new TComboBox(&form);
  combo->SetParent(&form);
  combo->SetBounds(8, 124, 120, 22);
  combo->Items()->Add(kKatakana);
  combo->SetItemIndex(0);
  auto* list = new TListBox(&form);
  list->SetParent(&form);
  list->SetBounds(8, 152, 120, 60);
  list->Items()->Add(kKatakana);
  auto* button = new TButton(&form);
  button->SetParent(&form);
  button->SetBounds(140, 8, 120, 25);
  button->SetCaption(kKatakana);
  auto* check = new TCheckBox(&form);
  check->SetParent(&form);
  check->SetBounds(140, 40, 120, 20);
  check->SetCaption(kKatakana);
  auto* group = new TGroupBox(&form);
  group->SetParent(&form);
  group->SetBounds(140, 70, 160, 80);
  group->SetCaption(kKatakana);
  auto* radio = new TRadioButton(&form);
  radio->SetParent(group);
  radio->SetBounds(8, 24, 120, 20);
  radio->SetCaption(kKatakana);
  auto* bar = new TScrollBar(&form);
  bar->SetParent(&form);
  bar->SetBounds(140, 160, 160, 17);

  form.Show();
  QWidget* top = TControlHost::Widget(&form);
  ASSERT_NE(top, nullptr);

  // Native controls: the widget's font must have every glyph of the caption.
  for (TWinControl* c : std::initializer_list<TWinControl*>{edit, memo, combo, list, button, check, radio}) {
    QWidget* w = TControlHost::Widget(c);
    ASSERT_NE(w, nullptr) << StringToUTF8(c->ClassName());
    QFontMetrics fm(w->font());
    for (char16_t ch : String(kKatakana)) EXPECT_TRUE(fm.inFont(QChar(ch))) << StringToUTF8(c->ClassName());
    QImage shot = w->grab().toImage();
    EXPECT_GT(InkPixels(shot, shot.rect().adjusted(2, 2, -2, -2)), 20) << StringToUTF8(c->ClassName());
  }
  // The painted captions (label, group box) use the form's Japanese font.
  EXPECT_EQ(label->Font()->Name(), U("ＭＳ Ｐゴシック"));
  EXPECT_EQ(group->Font()->Name(), U("ＭＳ Ｐゴシック"));
}

}  // namespace
