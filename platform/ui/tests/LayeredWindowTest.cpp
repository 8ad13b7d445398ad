// Layered windows: opacity, colour key and pictures shown through UpdateLayeredWindow, and the
// per-process menu animation setting.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QWidget>

#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/win/Gdi_p.h"
#include "platform/win/Modules.h"
#include "platform/win/WinUser_p.h"
#include "testing/TestSupport.h"

namespace {

// A shown form painted red with a blue square at the top left.
class LayeredTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Form = std::make_unique<TForm>(nullptr);
    Form->SetBounds(40, 40, 60, 40);
    Form->OnPaint = [this](TObject*) {
      Form->Canvas()->Brush()->SetColor(clRed);
      Form->Canvas()->FillRect(TRect(0, 0, 60, 40));
      Form->Canvas()->Brush()->SetColor(clBlue);
      Form->Canvas()->FillRect(TRect(0, 0, 10, 10));
    };
    Form->Show();
    ProcessPendingEvents();
  }
  QImage Shown() { return Top()->grab().toImage().convertToFormat(QImage::Format_ARGB32); }
  QWidget* Top() { return WindowTopWidget(Form->Handle()); }

  std::unique_ptr<TForm> Form;
};

TEST_F(LayeredTest, AttributesSetOpacityAndColourKey) {
  EXPECT_FALSE(SetLayeredWindowAttributes(nullptr, 0, 128, LWA_ALPHA));
  TPanel* Child = new TPanel(Form.get());
  Child->SetParent(Form.get());
  EXPECT_FALSE(SetLayeredWindowAttributes(Child->Handle(), 0, 128, LWA_ALPHA)) << "child windows are not layered";
  delete Child;

  ASSERT_TRUE(SetLayeredWindowAttributes(Form->Handle(), 0, 128, LWA_ALPHA));
  EXPECT_NEAR(Top()->windowOpacity(), 128 / 255.0, 0.01);

  ASSERT_TRUE(SetLayeredWindowAttributes(Form->Handle(), RGB(0, 0, 255), 0, LWA_COLORKEY));
  EXPECT_DOUBLE_EQ(Top()->windowOpacity(), 1.0);
  QImage img = Shown();
  EXPECT_EQ(qAlpha(img.pixel(3, 3)), 0) << "the key colour is transparent";
  EXPECT_EQ(img.pixel(30, 20), qRgb(255, 0, 0));

  ASSERT_TRUE(SetLayeredWindowAttributes(Form->Handle(), RGB(0, 0, 255), 0, 0));
  EXPECT_EQ(Shown().pixel(3, 3), qRgb(0, 0, 255)) << "no key: painted as before";
}

TEST_F(LayeredTest, UpdateShowsTheSourcePictureWithItsAlpha) {
  QImage source(20, 10, QImage::Format_ARGB32_Premultiplied);
  source.fill(Qt::transparent);
  QPainter(&source).fillRect(0, 0, 10, 10, QColor(0, 255, 0));
  HDC Src = CreateDeviceDC(&source);
  POINT Dst{100, 80};
  SIZE Size{10, 10};
  POINT From{5, 0};
  BLENDFUNCTION Blend;
  Blend.AlphaFormat = AC_SRC_ALPHA;
  ASSERT_TRUE(UpdateLayeredWindow(Form->Handle(), nullptr, &Dst, &Size, Src, &From, 0, &Blend, ULW_ALPHA));
  EXPECT_EQ(Top()->pos(), QPoint(100, 80));
  EXPECT_EQ(Top()->size(), QSize(10, 10));
  QImage img = Shown();
  EXPECT_EQ(img.pixel(2, 5), qRgb(0, 255, 0)) << "source column 7: green";
  EXPECT_EQ(qAlpha(img.pixel(7, 5)), 0) << "source column 12: transparent";

  Blend.SourceConstantAlpha = 128;
  ASSERT_TRUE(UpdateLayeredWindow(Form->Handle(), nullptr, nullptr, nullptr, Src, &From, 0, &Blend, ULW_ALPHA));
  EXPECT_NEAR(qAlpha(Shown().pixel(2, 5)), 128, 2);

  ASSERT_TRUE(UpdateLayeredWindow(Form->Handle(), nullptr, nullptr, nullptr, Src, &From, 0, &Blend, ULW_OPAQUE));
  EXPECT_EQ(qAlpha(Shown().pixel(7, 5)), 255);

  POINT Outside{15, 0};
  EXPECT_FALSE(UpdateLayeredWindow(Form->Handle(), nullptr, nullptr, nullptr, Src, &Outside, 0, &Blend, ULW_ALPHA))
      << "source rectangle beyond the picture";
  SIZE Empty{0, 5};
  EXPECT_FALSE(UpdateLayeredWindow(Form->Handle(), nullptr, nullptr, &Empty, Src, &From, 0, &Blend, ULW_ALPHA));
  EXPECT_FALSE(UpdateLayeredWindow(nullptr, nullptr, nullptr, nullptr, Src, &From, 0, &Blend, ULW_ALPHA));
  DeleteDeviceDC(Src);
}

TEST(SystemParameters, MenuAnimationIsThisProgramsOwnAndAnnouncedToItsWindows) {
  struct Listener : TForm {
    using TForm::TForm;
    int Changes = 0;
    WPARAM Action = 0;
    void WndProc(TMessage& Message) override {
      if (Message.Msg == WM_SETTINGCHANGE) {
        ++Changes;
        Action = Message.WParam;
      }
      TForm::WndProc(Message);
    }
  } Window(nullptr);
  Window.HandleNeeded();
  BOOL On = TRUE;
  ASSERT_TRUE(SystemParametersInfo(SPI_SETMENUANIMATION, 0, nullptr, 0));
  ASSERT_TRUE(SystemParametersInfo(SPI_GETMENUANIMATION, 0, &On, 0));
  EXPECT_FALSE(On);
  EXPECT_EQ(Window.Changes, 0);
  ASSERT_TRUE(SystemParametersInfo(SPI_SETMENUANIMATION, 0, reinterpret_cast<void*>(1), SPIF_SENDCHANGE));
  ASSERT_TRUE(SystemParametersInfo(SPI_GETMENUANIMATION, 0, &On, 0));
  EXPECT_TRUE(On);
  EXPECT_EQ(Window.Changes, 1);
  EXPECT_EQ(Window.Action, SPI_SETMENUANIMATION);
  EXPECT_FALSE(SystemParametersInfo(SPI_GETMENUANIMATION, 0, nullptr, 0));
  EXPECT_FALSE(SystemParametersInfo(0x0001, 0, &On, 0)) << "other actions are not offered";
}

}  // namespace
