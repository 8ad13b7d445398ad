#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "platform/ui/AppEvnts.h"
#include "platform/ui/Controls_p.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Graphics.h"
#include "testing/TestSupport.h"
#include "platform/ui/Timers.h"
#include "platform/win/Gdi_p.h"

namespace {

// A windowless control that fills itself red through its parent's painting.
class TRedBox : public TGraphicControl {
public:
  using TGraphicControl::TGraphicControl;
  int paints = 0;

protected:
  void Paint() override {
    ++paints;
    Canvas()->Brush()->SetColor(clRed);
    TRect r = ClientRect();
    Canvas()->FillRect(r);
  }
};

}  // namespace

TEST(Application, IdleRunsWhileDoneIsFalseAndStopsWhenTrueAlsoInAModalForm) {
  TApplicationEvents events(nullptr);
  int calls = 0;
  bool stayBusy = true;
  events.OnIdle = [&](TObject*, bool& Done) {
    ++calls;
    Done = !stayBusy;
  };
  auto* form = new TForm(nullptr);
  int idleInsideModal = 0;
  QTimer::singleShot(0, [&] {
    // Inside the modal loop now: idle keeps coming while Done is false.
    stayBusy = true;
    calls = 0;
    QTimer::singleShot(100, [&] {
      idleInsideModal = calls;
      form->SetModalResult(mrOk);
    });
  });
  calls = 0;
  stayBusy = true;
  // First outside any modal loop: ProcessMessages never idles; a waiting loop does.
  Application->ProcessMessages();
  EXPECT_EQ(calls, 0);
  // The modal form's loop runs the idle handler repeatedly while Done is false.
  EXPECT_EQ(form->ShowModal(), mrOk);
  EXPECT_GT(idleInsideModal, 5);
  delete form;

  // With Done true the loop blocks: no idle calls pile up while nothing happens.
  stayBusy = false;
  calls = 0;
  int fired = 0;
  for (int ms : {50, 100, 150}) QTimer::singleShot(ms, [&] { ++fired; });
  while (fired < 3) Application->HandleMessage();
  EXPECT_GE(calls, 1);
  EXPECT_LE(calls, 8);  // one per wake-up, not thousands
}

TEST(Application, ExceptionInAClickHandlerReachesOnExceptionAndTheLoopGoesOn) {
  TApplicationEvents events(nullptr);
  std::vector<String> caught;
  events.OnException = [&](TObject*, Exception& E) { caught.push_back(E.Message()); };
  TForm form(nullptr);
  form.SetBounds(0, 0, 200, 100);
  auto* box = new TCustomControl(&form);
  box->SetParent(&form);
  box->SetBounds(10, 10, 50, 30);
  int clicks = 0;
  box->OnClick = [&](TObject*) {
    ++clicks;
    throw EConvertError(u"bad value");
  };
  form.Show();
  SimulateClick(box, 5, 5);
  SimulateClick(box, 5, 5);  // the control still works after the first failure
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(caught, (std::vector<String>{u"bad value", u"bad value"}));

  // Also from a timer or posted message: nothing escapes into Qt's loop.
  HWND h = AllocateHWnd([](TMessage& m) {
    if (m.Msg == WM_USER) throw std::runtime_error("posted");
  });
  PostMessage(h, WM_USER, 0, 0);
  Application->ProcessMessages();
  DeallocateHWnd(h);
  ASSERT_EQ(caught.size(), 3u);
  EXPECT_EQ(caught[2], u"posted");
}

struct TProbeForm : TForm {
  explicit TProbeForm(TComponent* o) : TForm(o) {
    OnCreate = [this](TObject*) { seenSelf = Global == this; };
  }
  static inline TProbeForm* Global = nullptr;
  bool seenSelf = false;
};

TEST(Application, CreateFormSetsTheReferenceBeforeOnCreateAndTheFirstIsMain) {
  TCustomForm* oldMain = Application->MainForm();
  Application->CreateForm(TProbeForm::Global);
  EXPECT_TRUE(TProbeForm::Global->seenSelf);
  if (oldMain == nullptr) {
    EXPECT_EQ(Application->MainForm(), TProbeForm::Global);
  }
  delete TProbeForm::Global;
}

TEST(Controls, GraphicControlIsPaintedByItsParent) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 100, 80);
  form.SetColor(clWhite);
  auto* red = new TRedBox(&form);
  red->SetParent(&form);
  red->SetBounds(20, 10, 30, 40);
  form.Show();
  QWidget* w = TControlHost::Widget(&form);
  QImage img = w->grab().toImage();
  EXPECT_GT(red->paints, 0);
  EXPECT_EQ(QColor(img.pixel(25, 15)), QColor(Qt::red));
  EXPECT_EQ(QColor(img.pixel(49, 49)), QColor(Qt::red));
  EXPECT_EQ(QColor(img.pixel(50, 15)), QColor(Qt::white));  // right edge excluded
  EXPECT_EQ(QColor(img.pixel(5, 5)), QColor(Qt::white));

  // Clicks on it reach it in its own coordinates.
  int x = -1, y = -1;
  red->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int X, int Y) { x = X; y = Y; };
  SimulateClick(&form, 25, 17);
  EXPECT_EQ(x, 5);
  EXPECT_EQ(y, 7);
}

TEST(Application, ExceptionsFromEveryKindOfHandlerReachOnExceptionAndTheLoopGoesOn) {
  TApplicationEvents events(nullptr);
  std::vector<String> caught;
  events.OnException = [&](TObject*, Exception& E) { caught.push_back(E.Message()); };
  TForm form(nullptr);
  form.SetBounds(0, 0, 200, 100);
  form.Show();
  std::unique_ptr<TTimer> timer;
  std::unique_ptr<TThread> worker;
  bool idleThrown = false;
  struct Case {
    const char* source;
    std::function<void()> start;
  };
  const Case cases[] = {
      {"idle", [&] {
         events.OnIdle = [&](TObject*, bool&) {
           if (idleThrown) return;
           idleThrown = true;
           throw EConvertError(u"idle");
         };
       }},
      {"timer", [&] {
         timer = std::make_unique<TTimer>(nullptr);
         timer->SetInterval(5);
         timer->SetOnTimer([&](TObject*) {
           timer->SetEnabled(false);
           throw EConvertError(u"timer");
         });
       }},
      {"queued call", [&] {
         worker = std::make_unique<TAnonymousThread>([](TThread*) {
           TThread::Queue([] { throw EConvertError(u"queued call"); });
         });
         worker->Start();
       }},
      {"Qt callback", [] { QTimer::singleShot(0, [] { throw std::runtime_error("Qt callback"); }); }},
      {"resize", [&] {
         form.OnResize = [](TObject*) { throw EConvertError(u"resize"); };
         TControlHost::Widget(&form)->window()->resize(250, 120);  // as the window system would
       }},
  };
  for (const Case& c : cases) {
    caught.clear();
    c.start();
    EXPECT_TRUE(WaitUntil([&] { return !caught.empty(); })) << c.source;
    EXPECT_EQ(caught, std::vector<String>{UTF8ToString(c.source)}) << c.source;
  }
  events.OnIdle = nullptr;
  form.OnResize = nullptr;
  worker->WaitFor();
}

TEST(Application, WithoutOnExceptionTheMessageIsReportedAndTheLoopGoesOn) {
  std::vector<String> reported;
  TExceptionReport old = SetExceptionReport([&](const String& M) { reported.push_back(M); });
  HWND h = AllocateHWnd([](TMessage& m) {
    if (m.Msg == WM_USER) throw EConvertError(u"Bad value");
    if (m.Msg == WM_USER + 1) throw EAbort(u"silent");
  });
  PostMessage(h, WM_USER + 1, 0, 0);
  PostMessage(h, WM_USER, 0, 0);
  bool reportedInTime = WaitUntil([&] { return !reported.empty(); });
  DeallocateHWnd(h);
  SetExceptionReport(std::move(old));
  EXPECT_TRUE(reportedInTime);
  // EAbort is silent; the message is shown as a sentence.
  EXPECT_EQ(reported, std::vector<String>{u"Bad value."});
}

namespace {

// What the program entry does at its end, with three forms and a thread waiting in SendMessage;
// exits 0 when everything went in order.
[[noreturn]] void EndTheProgram() {
  ::alarm(30);  // a hang ends the child with SIGALRM
  static std::vector<String> freed;
  static bool applicationThere = true;
  TForm* forms[3] = {};
  const char16_t* names[3] = {u"Main", u"Second", u"Third"};
  for (int i = 0; i < 3; ++i) {
    Application->CreateForm(forms[i]);
    String name = names[i];
    forms[i]->OnDestroy = [name](TObject*) {
      freed.push_back(name);
      applicationThere = applicationThere && Application != nullptr;
    };
  }
  static HWND wnd = AllocateHWnd([](TMessage&) {});
  static std::atomic<int> answer{-1};
  std::thread([] { answer = static_cast<int>(SendMessage(wnd, WM_USER, 0, 0)); }).detach();
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  Application->Terminate();
  Application->Run();
  for (int i = 0; i < 10000 && answer < 0; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  if (answer != 0) std::exit(2);
  FreeApplication();
  bool order = freed == std::vector<String>{u"Third", u"Second", u"Main"};
  bool gone = Application == nullptr && Screen == nullptr && QCoreApplication::instance() == nullptr;
  std::exit(!order || !applicationThere ? 3 : !gone ? 4 : 0);
}

}  // namespace

// Once the loop has ended a thread waiting in SendMessage is released; FreeApplication frees
// the forms, last created first (the main form last), then the application object, the
// screen and the Qt application.
TEST(ApplicationDeathTest, ProgramEndReleasesSendersThenFreesFormsMainLastThenQt) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(EndTheProgram(), ::testing::ExitedWithCode(0), "");
}
