#include <gtest/gtest.h>

#include <QFrame>
#include <QLineEdit>
#include <QTimer>
#include <string>
#include <vector>

#include "platform/ui/Controls_p.h"
#include "platform/ui/Forms.h"
#include "testing/TestSupport.h"

namespace {

// A painted window filled with one colour; it takes the arrow keys itself.
class TPaintedBox : public TCustomControl {
public:
  using TCustomControl::TCustomControl;
  TColor Fill = clBlue;

protected:
  void WMGetDlgCode(TWMGetDlgCode& Message) override { Message.SetResult(DLGC_WANTARROWS); }
  void Paint() override {
    Canvas()->Brush()->SetColor(Fill);
    Canvas()->FillRect(ClientRect());
  }
};

// A windowless control filled red by its parent's painting.
class TGraphicBox : public TGraphicControl {
public:
  using TGraphicControl::TGraphicControl;

protected:
  void Paint() override {
    Canvas()->Brush()->SetColor(clRed);
    Canvas()->FillRect(ClientRect());
  }
};

// A native widget that paints itself (no WM_PAINT): a green frame.
class TNativeBox : public TWinControl {
public:
  using TWinControl::TWinControl;

protected:
  void CreateWnd() override {
    auto* f = new QFrame;
    f->setAutoFillBackground(true);
    QPalette p = f->palette();
    p.setColor(QPalette::Window, Qt::green);
    f->setPalette(p);
    TControlHost::Attach(this, f, false);
  }
};

// A native line edit, to see typed text arrive through Qt.
class TNativeEdit : public TWinControl {
public:
  using TWinControl::TWinControl;
  QString Typed() const { return qobject_cast<QLineEdit*>(TControlHost::Widget(this))->text(); }

protected:
  void CreateWnd() override { TControlHost::Attach(this, new QLineEdit, false); }
};

struct TSupportForm {
  TForm Form{nullptr};
  TPaintedBox* Painted;
  TGraphicBox* Graphic;
  TNativeBox* Native;
  TSupportForm() {
    Form.SetBounds(0, 0, 200, 120);
    Form.SetColor(clWhite);
    Painted = Add<TPaintedBox>(10, 10, 40, 30);
    Graphic = Add<TGraphicBox>(60, 10, 30, 20);
    Native = Add<TNativeBox>(100, 10, 50, 40);
  }
  template <typename T>
  T* Add(int l, int t, int w, int h) {
    T* c = new T(&Form);
    c->SetParent(&Form);
    c->SetBounds(l, t, w, h);
    return c;
  }
};

}  // namespace

TEST(TestSupport, RendersFormsAndEveryKindOfControlWithoutShowingThem) {
  TSupportForm f;  // never shown
  auto form = RenderControl(&f.Form);
  ASSERT_EQ(form->Width(), 200);
  ASSERT_EQ(form->Height(), 120);
  struct Case { const char* what; TBitmap* bmp; int x, y; TColor expected; };
  auto painted = RenderControl(f.Painted);
  auto graphic = RenderControl(f.Graphic);
  auto native = RenderControl(f.Native);
  const Case cases[] = {
      {"form: painted child", form.get(), 10, 10, clBlue},
      {"form: painted child's last pixel", form.get(), 49, 39, clBlue},
      {"form: right of painted child", form.get(), 50, 39, clWhite},
      {"form: graphic child", form.get(), 60, 10, clRed},
      {"form: graphic child's last pixel", form.get(), 89, 29, clRed},
      {"form: below graphic child", form.get(), 89, 30, clWhite},
      {"form: native child", form.get(), 120, 30, clLime},
      {"form: own background", form.get(), 5, 100, clWhite},
      {"painted control", painted.get(), 0, 0, clBlue},
      {"graphic control at its own origin", graphic.get(), 0, 0, clRed},
      {"graphic control's last pixel", graphic.get(), 29, 19, clRed},
      {"native control", native.get(), 25, 20, clLime},
  };
  for (const Case& c : cases) EXPECT_EQ(PixelColor(*c.bmp, c.x, c.y), c.expected) << c.what;
  EXPECT_EQ(graphic->Width(), 30);
  EXPECT_EQ(graphic->Height(), 20);
}

TEST(TestSupport, RenderingDoesPendingPaintingAndKeepsDrawingDoneOutsidePaint) {
  TSupportForm f;
  f.Form.Show();
  EXPECT_EQ(PixelColor(*RenderControl(f.Painted), 5, 5), clBlue);
  f.Painted->Fill = clYellow;
  f.Painted->Invalidate();
  EXPECT_EQ(PixelColor(*RenderControl(f.Painted), 5, 5), clYellow);
  // A line drawn on the window's DC outside WM_PAINT stays until the next paint.
  HDC dc = GetDC(f.Painted->Handle());
  HBRUSH b = CreateSolidBrush(static_cast<COLORREF>(clBlack));
  RECT r = Rect(0, 0, 40, 1);
  FillRect(dc, &r, b);
  DeleteObject(b);
  ReleaseDC(f.Painted->Handle(), dc);
  auto shot = RenderControl(f.Painted);
  EXPECT_EQ(PixelColor(*shot, 20, 0), clBlack);
  EXPECT_EQ(PixelColor(*shot, 20, 1), clYellow);
}

TEST(TestSupport, MouseInputArrivesAsMessagesWithButtonsShiftAndPosition) {
  TSupportForm f;
  f.Form.Show();
  std::vector<std::string> log;
  auto shiftText = [](TShiftState s) {
    std::string t;
    if (s.Contains(ssShift)) t += "S";
    if (s.Contains(ssCtrl)) t += "C";
    if (s.Contains(ssAlt)) t += "A";
    if (s.Contains(ssLeft)) t += "l";
    if (s.Contains(ssRight)) t += "r";
    if (s.Contains(ssMiddle)) t += "m";
    if (s.Contains(ssDouble)) t += "d";
    return t;
  };
  auto hook = [&](TControl* c, const std::string& name) {
    const char* buttons[] = {"L", "R", "M"};
    c->OnMouseDown = [&, name, buttons](TObject*, TMouseButton b, TShiftState s, int x, int y) {
      log.push_back(name + " down " + buttons[b] + " " + shiftText(s) + " " + std::to_string(x) + "," + std::to_string(y));
    };
    c->OnMouseUp = [&, name, buttons](TObject*, TMouseButton b, TShiftState s, int x, int y) {
      log.push_back(name + " up " + buttons[b] + " " + shiftText(s) + " " + std::to_string(x) + "," + std::to_string(y));
    };
    c->OnMouseMove = [&, name](TObject*, TShiftState s, int x, int y) {
      log.push_back(name + " move " + shiftText(s) + " " + std::to_string(x) + "," + std::to_string(y));
    };
    c->OnClick = [&, name](TObject*) { log.push_back(name + " click"); };
    c->OnDblClick = [&, name](TObject*) { log.push_back(name + " dblclick"); };
    c->OnMouseEnter = [&, name](TObject*) { log.push_back(name + " enter"); };
    c->OnMouseLeave = [&, name](TObject*) { log.push_back(name + " leave"); };
    c->OnMouseWheel = [&, name](TObject*, TShiftState s, int delta, TPoint, bool& handled) {
      log.push_back(name + " wheel " + std::to_string(delta) + " " + shiftText(s));
      handled = true;
    };
  };
  TControlStyle style = f.Painted->ControlStyle();
  style.Include(csClickEvents);
  style.Include(csDoubleClicks);
  f.Painted->SetControlStyle(style);
  hook(f.Painted, "box");
  hook(f.Graphic, "g");

  struct Step {
    std::function<void()> act;
    std::vector<std::string> expected;
  };
  // Input comes as a user's does: the pointer moves to a new point before a button is pressed there.
  const std::vector<Step> steps = {
      {[&] { SimulateMouseMove(f.Painted, 3, 4); }, {"box enter", "box move  3,4"}},
      {[&] { SimulateClick(f.Painted, 5, 6); }, {"box move  5,6", "box down L l 5,6", "box click", "box up L  5,6"}},
      {[&] { SimulateMouseDown(f.Painted, mbRight, 7, 8, TShiftState{ssShift, ssCtrl}); },
       {"box move SC 7,8", "box down R SCr 7,8"}},
      {[&] { SimulateMouseUp(f.Painted, mbRight, 7, 8); }, {"box up R  7,8"}},
      {[&] { SimulateDblClick(f.Painted, 2, 2); },
       {"box move  2,2", "box down L l 2,2", "box click", "box up L  2,2", "box dblclick", "box down L ld 2,2",
        "box up L  2,2"}},
      {[&] { SimulateMouseWheel(f.Painted, -120, 1, 1, TShiftState{ssCtrl}); }, {"box wheel -120 C"}},
      // A button held from its press shows in the moves until its release.
      {[&] {
         SimulateMouseDown(f.Painted, mbMiddle, 2, 2);
         SimulateMouseMove(f.Painted, 4, 4);
         SimulateMouseUp(f.Painted, mbMiddle, 4, 4);
       },
       {"box down M m 2,2", "box move m 4,4", "box up M  4,4"}},
      // The graphic control gets input in its own coordinates, through its parent's window.
      {[&] { SimulateMouseMove(f.Graphic, 2, 3); }, {"box leave", "g enter", "g move  2,3"}},
      {[&] { SimulateMouseDown(f.Graphic, mbMiddle, 4, 5); }, {"g move  4,5", "g down M m 4,5"}},
      {[&] { SimulateMouseUp(f.Graphic, mbMiddle, 4, 5); }, {"g up M  4,5"}},
      // Disabled controls get no input (entering and leaving still show).
      {[&] {
         f.Painted->SetEnabled(false);
         f.Graphic->SetEnabled(false);
         SimulateClick(f.Painted, 5, 5);
         SimulateMouseWheel(f.Painted, 120, 5, 5);
         SimulateClick(f.Graphic, 5, 5);
       },
       {"box enter", "g leave", "box leave"}},
  };
  for (size_t i = 0; i < steps.size(); ++i) {
    log.clear();
    steps[i].act();
    EXPECT_EQ(log, steps[i].expected) << "step " << i;
  }
}

TEST(TestSupport, KeysArriveAsKeyDownCharAndKeyUpWithTheirShiftState) {
  TSupportForm f;
  f.Form.Show();
  std::vector<std::string> log;
  f.Painted->OnKeyDown = [&](TObject*, Word& k, TShiftState s) {
    log.push_back("down " + std::to_string(k) + (s.Contains(ssShift) ? "S" : "") + (s.Contains(ssCtrl) ? "C" : "") +
                  (s.Contains(ssAlt) ? "A" : ""));
  };
  f.Painted->OnKeyPress = [&](TObject*, Char& c) { log.push_back("char " + std::to_string(c)); };
  f.Painted->OnKeyUp = [&](TObject*, Word& k, TShiftState) { log.push_back("up " + std::to_string(k)); };
  struct Case {
    Word key;
    TShiftState shift;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {'A', {}, {"down 65", "char 97", "up 65"}},
      {'A', {ssShift}, {"down 65S", "char 65", "up 65"}},
      {'C', {ssCtrl}, {"down 67C", "char 3", "up 67"}},
      {'7', {}, {"down 55", "char 55", "up 55"}},
      {VK_NUMPAD5, {}, {"down 101", "char 53", "up 101"}},
      {VK_DECIMAL, {}, {"down 110", "char 46", "up 110"}},
      {VK_RETURN, {}, {"down 13", "char 13", "up 13"}},
      {VK_ESCAPE, {}, {"down 27", "char 27", "up 27"}},
      {VK_BACK, {}, {"down 8", "char 8", "up 8"}},
      {VK_SPACE, {}, {"down 32", "char 32", "up 32"}},
      {VK_F2, {}, {"down 113", "up 113"}},
      {VK_DELETE, {ssShift}, {"down 46S", "up 46"}},
      {VK_LEFT, {}, {"down 37", "up 37"}},
      {VK_NEXT, {}, {"down 34", "up 34"}},
      {VK_OEM_PERIOD, {}, {"down 190", "char 46", "up 190"}},
  };
  for (const Case& c : cases) {
    log.clear();
    SimulateKeyStroke(f.Painted, c.key, c.shift);
    EXPECT_EQ(log, c.expected) << "key " << c.key;
  }
  // A character with no key of its own comes as a character only.
  log.clear();
  SimulateChar(f.Painted, u'ｱ');
  EXPECT_EQ(log, (std::vector<std::string>{"char " + std::to_string(u'ｱ')}));
}

TEST(TestSupport, TypingReachesANativeWidgetThroughTheControlsKeyHandling) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 200, 60);
  auto* edit = new TNativeEdit(&form);
  edit->SetParent(&form);
  edit->SetBounds(5, 5, 150, 24);
  form.Show();
  // KeyPress may change or swallow a character before the widget sees it.
  edit->OnKeyPress = [](TObject*, Char& c) {
    if (c == u'x') c = 0;
    else if (c == u'a') c = u'A';
  };
  SimulateTyping(edit, u"abxcｱ");
  EXPECT_EQ(edit->Typed(), QString::fromUtf16(u"Abcｱ"));
  SimulateKeyStroke(edit, VK_BACK);
  EXPECT_EQ(edit->Typed(), QStringLiteral("Abc"));
  // The form sees the keys first with KeyPreview.
  form.SetKeyPreview(true);
  form.OnKeyPress = [](TObject*, Char& c) {
    if (c == u'q') c = u'Q';
  };
  SimulateChar(edit, u'q');
  EXPECT_EQ(edit->Typed(), QStringLiteral("AbcQ"));
}

TEST(TestSupport, WaitUntilRunsTheLoopUntilTheConditionOrTheDeadline) {
  bool fired = false;
  QTimer::singleShot(30, [&] { fired = true; });
  EXPECT_TRUE(WaitUntil([&] { return fired; }));
  // Posted messages are handled while waiting.
  int got = 0;
  HWND h = AllocateHWnd([&](TMessage& m) {
    if (m.Msg == 1124) ++got;
  });
  PostMessage(h, 1124, 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return got == 1; }));
  DeallocateHWnd(h);
  // A condition that never holds gives false once the deadline has passed.
  EXPECT_FALSE(WaitUntil([] { return false; }, 50));
}
