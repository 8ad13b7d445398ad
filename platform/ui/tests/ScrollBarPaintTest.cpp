// A scroll bar whose thumb moves repaints only the thumb's old and new places: what the window
// then shows is the bar painted anew, for moves from code and from the user.

#include <gtest/gtest.h>

#include <QEvent>
#include <QPaintEvent>
#include <QObject>
#include <QRegion>
#include <QWidget>
#include <functional>
#include <string>

#include "platform/ui/Controls_p.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"
#include "testing/TestSupport.h"

namespace {

// The area the bar's paint events covered since the last reset.
struct TPaintedArea : QObject {
  QRegion area;
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint) area += static_cast<QPaintEvent*>(e)->region();
    return false;
  }
};

std::string Differences(TBitmap& A, TBitmap& B) {
  int count = 0;
  std::string out;
  for (int y = 0; y < A.Height(); ++y)
    for (int x = 0; x < A.Width(); ++x)
      if (PixelColor(A, x, y) != PixelColor(B, x, y) && ++count <= 4)
        out += std::to_string(x) + "," + std::to_string(y) + " ";
  return count ? std::to_string(count) + " pixels: " + out : std::string();
}

TEST(ScrollBarPaint, MovedThumbShowsAsTheBarPaintedAnew) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 300, 520);
  for (TScrollBarKind kind : {sbVertical, sbHorizontal}) {
    SCOPED_TRACE(kind == sbVertical ? "vertical" : "horizontal");
    auto* bar = new TScrollBar(&form);
    bar->SetParent(&form);
    bar->SetKind(kind);
    if (kind == sbVertical) bar->SetBounds(10, 10, 17, 480);
    else bar->SetBounds(40, 10, 240, 17);
    bar->SetParams(0, 0, 10000);
    bar->SetPageSize(40);
    bar->SetLargeChange(40);
    form.Show();
    ProcessPendingEvents();
    TPaintedArea painted;
    TControlHost::Widget(bar)->installEventFilter(&painted);
    const int length = kind == sbVertical ? bar->Height() : bar->Width();
    auto pageArea = [&](bool After) {  // a point of the page area before or after the thumb
      const int at = After ? length - 25 : 25;
      return kind == sbVertical ? std::pair{8, at} : std::pair{at, 8};
    };
    // Moves from code, and clicks (which press and hover parts of the bar: Qt repaints it).
    const struct {
      const char* what;
      std::function<void()> step;
      bool fromCode;
    } steps[] = {
        {"one step", [&] { bar->SetPosition(bar->Position() + 1); }, true},
        {"far down", [&] { bar->SetPosition(6000); }, true},
        {"to the end", [&] { bar->SetPosition(10000); }, true},
        {"page up by a click", [&] { SimulateClick(bar, pageArea(false).first, pageArea(false).second); }, false},
        {"the same steps again", [&] { bar->SetPageSize(40); }, true},
        {"to the start", [&] { bar->SetPosition(0); }, true},
        {"page down by a click", [&] { SimulateClick(bar, pageArea(true).first, pageArea(true).second); }, false},
    };
    for (const auto& [what, step, fromCode] : steps) {
      SCOPED_TRACE(what);
      painted.area = QRegion();
      step();
      ProcessPendingEvents();
      // A move from code painted only the thumb's places: well under half of the bar.
      int extent = 0;
      for (const QRect& r : painted.area) extent += kind == sbVertical ? r.height() : r.width();
      if (fromCode) {
        EXPECT_LT(extent, length / 2);
      }
      std::unique_ptr<TBitmap> shown = ShownPixels(bar);
      ASSERT_NE(shown, nullptr);
      std::unique_ptr<TBitmap> fresh = RenderControl(bar);
      EXPECT_EQ(Differences(*shown, *fresh), "") << "position " << bar->Position();
    }
    delete bar;
  }
}

}  // namespace
