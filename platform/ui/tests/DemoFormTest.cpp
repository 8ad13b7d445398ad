// A small form with one of each standard control, its texts in half-width katakana, rendered
// offscreen. A text counts as legible when its render differs clearly from the same control
// with no text, and from the control showing other katakana of the same length: missing
// glyphs would all draw the same box, or nothing.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>
#include <QMenuBar>
#include <QWidget>

#include "platform/ui/Buttons.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/Controls_p.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Menus.h"
#include "platform/ui/Menus_p.h"
#include "platform/ui/StdCtrls.h"
#include "StdCtrlsTestSupport.h"

namespace {

const String kText = u"ｺﾝﾄﾛｰﾙ";
const String kOther = u"ｱｲｳｴｵｶ";

int DifferentPixels(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return a.width() * a.height();
  int n = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) {
      QColor p = a.pixelColor(x, y), q = b.pixelColor(x, y);
      if (std::abs(p.red() - q.red()) + std::abs(p.green() - q.green()) + std::abs(p.blue() - q.blue()) > 120) ++n;
    }
  return n;
}

// A control, how to put a text on it, and what shows it.
struct Shown {
  const char* name;
  std::function<void(const String&)> setText;
  std::function<QImage()> render;
};

struct DemoForm : ::testing::Test {
  TForm form{nullptr};
  std::vector<Shown> shown;

  template <typename C>
  C* Add(TWinControl* parent, int x, int y, int w, int h) {
    return PlaceControl<C>(&form, parent, x, y, w, h);
  }
  void Show(const char* name, TControl* c, std::function<void(const String&)> set) {
    shown.push_back({name, std::move(set), [c] { return Render(c); }});
  }

  DemoForm() {
    form.SetBounds(0, 0, 760, 520);
    form.Font()->SetName(U("ＭＳ Ｐゴシック"));
    form.Font()->SetHeight(-12);

    auto* label = Add<TLabel>(&form, 8, 8, 120, 16);
    label->SetAutoSize(false);
    Show("label", label, [label](const String& s) { label->SetCaption(s); });
    auto* edit = Add<TEdit>(&form, 8, 30, 120, 22);
    Show("edit", edit, [edit](const String& s) { edit->SetText(s); });
    auto* memo = Add<TMemo>(&form, 8, 58, 120, 60);
    Show("memo", memo, [memo](const String& s) { memo->SetText(s + u"\r\n" + s); });
    auto* combo = Add<TComboBox>(&form, 8, 124, 120, 22);
    Show("combo box", combo, [combo](const String& s) { combo->SetText(s); });
    auto* simple = Add<TComboBox>(&form, 8, 150, 120, 80);
    simple->SetStyle(csSimple);
    simple->Items()->Add(u"MD");
    Show("simple combo box", simple, [simple](const String& s) {
      simple->SetText(s);
      simple->Items()->Put(0, s.empty() ? String(u" ") : s);
    });
    auto* list = Add<TListBox>(&form, 8, 236, 120, 60);
    Show("list box", list, [list](const String& s) {
      list->Items()->Clear();
      list->Items()->Add(s);
    });
    auto* button = Add<TButton>(&form, 140, 8, 120, 25);
    Show("button", button, [button](const String& s) { button->SetCaption(s); });
    auto* check = Add<TCheckBox>(&form, 140, 40, 120, 20);
    Show("check box", check, [check](const String& s) { check->SetCaption(s); });
    auto* group = Add<TGroupBox>(&form, 140, 66, 160, 70);
    Show("group box", group, [group](const String& s) { group->SetCaption(s); });
    auto* radio = Add<TRadioButton>(group, 8, 24, 120, 20);
    Show("radio button", radio, [radio](const String& s) { radio->SetCaption(s); });
    Add<TScrollBar>(&form, 140, 142, 160, 17);
    auto* panel = Add<TPanel>(&form, 140, 166, 160, 40);
    Show("panel", panel, [panel](const String& s) { panel->SetCaption(s); });
    Add<TBevel>(&form, 140, 212, 160, 20)->SetShape(bsFrame);
    auto* radios = Add<TRadioGroup>(&form, 140, 238, 160, 60);
    radios->Items()->Add(u"EMF");
    radios->Items()->Add(u"WMF");
    radios->SetItemIndex(0);
    Show("radio group", radios, [radios](const String& s) {
      radios->SetCaption(s);
      radios->Items()->Put(1, s);
    });
    auto* labeled = Add<TLabeledEdit>(&form, 8, 320, 120, 22);
    Show("labelled edit", labeled->EditLabel(), [labeled](const String& s) {
      labeled->EditLabel()->SetCaption(s.empty() ? String(u" ") : s);
    });
    auto* bitbtn = Add<TBitBtn>(&form, 312, 8, 120, 25);
    Show("bitmap button", bitbtn, [bitbtn](const String& s) { bitbtn->SetCaption(s); });
    auto* speed = Add<TSpeedButton>(&form, 312, 40, 120, 25);
    Show("speed button", speed, [speed](const String& s) { speed->SetCaption(s); });
    auto* image = Add<TImage>(&form, 312, 72, 40, 40);
    TBitmap picture(20, 20);
    picture.Canvas()->Brush()->SetColor(clRed);
    picture.Canvas()->FillRect(TRect(0, 0, 20, 20));
    image->Picture()->Assign(&picture);
    auto* shape = Add<TShape>(&form, 360, 72, 40, 40);
    shape->SetShape(stCircle);
    auto* pages = Add<TPageControl>(&form, 312, 120, 200, 100);
    auto* sheet = new TTabSheet(&form);
    sheet->SetPageControl(pages);
    auto* sheet2 = new TTabSheet(&form);
    sheet2->SetPageControl(pages);
    sheet2->SetCaption(u"ID");
    Show("page control", pages, [sheet](const String& s) { sheet->SetCaption(s); });
    Add<TLabel>(sheet, 4, 4, 100, 16)->SetCaption(u"ﾍﾟｰｼﾞ");
    auto* toolbar = Add<TToolBar>(&form, 0, 0, 300, 40);
    toolbar->SetAlign(alNone);
    toolbar->SetBounds(312, 228, 300, 40);
    toolbar->SetShowCaptions(true);
    toolbar->SetButtonWidth(80);
    toolbar->SetButtonHeight(36);
    auto* tool = new TToolButton(&form);
    tool->SetParent(toolbar);
    Show("tool button", tool, [tool](const String& s) { tool->SetCaption(s); });
    Add<TTrackBar>(&form, 312, 276, 150, 30);
    Add<TProgressBar>(&form, 312, 312, 150, 16)->SetPosition(40);
    auto* status = Add<TStatusBar>(&form, 0, 0, 760, 19);
    status->Panels()->Add()->SetWidth(220);
    status->Panels()->Add();
    Show("status bar", status, [status](const String& s) { status->Panels()->Items(0)->SetText(s); });

    auto* menu = new TMainMenu(&form);
    auto* file = new TMenuItem(&form);
    menu->Items()->Add(file);
    auto* popup = new TPopupMenu(&form);
    popup->Items()->Add(new TMenuItem(&form));
    form.SetPopupMenu(popup);
    shown.push_back({"main menu", [file](const String& s) { file->SetCaption(s.empty() ? String(u" ") : s); },
                     [this] { return FormMenuBar(&form)->grab().toImage().convertToFormat(QImage::Format_RGB32); }});
    form.Show();
  }
};

TEST_F(DemoForm, EveryControlShowsHalfWidthKatakanaLegibly) {
  for (Shown& s : shown) {
    s.setText(kText);
    QImage text = s.render();
    s.setText(String());
    QImage blank = s.render();
    s.setText(kOther);
    QImage other = s.render();
    EXPECT_GT(DifferentPixels(text, blank), 40) << s.name << ": the text does not show";
    EXPECT_GT(DifferentPixels(text, other), 20) << s.name << ": different characters look the same";
    s.setText(kText);
  }
}

TEST_F(DemoForm, FontsHaveTheGlyphsAndTheWholeFormRenders) {
  for (QWidget* w : TControlHost::Widget(&form)->findChildren<QWidget*>()) {
    QFontMetrics fm(w->font());
    for (char16_t ch : kText) EXPECT_TRUE(fm.inFont(QChar(ch))) << w->metaObject()->className();
  }
  QImage all = Render(&form);
  ASSERT_FALSE(all.isNull());
  EXPECT_GT(CountColor(all, Bounds(312, 72, 40, 40), clRed, 0), 0);  // the image
  // Painted containers render on their own too (a group box with a native child inside).
  for (int i = 0; i < form.ControlCount(); ++i) {
    if (auto* w = dynamic_cast<TWinControl*>(form.Controls(i))) {
      EXPECT_FALSE(Render(w).isNull());
    }
  }
}

}  // namespace
