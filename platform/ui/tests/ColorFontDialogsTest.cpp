// The colour and font dialogs driven through their Qt windows.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QGroupBox>
#include <QPushButton>

#include "testing/ModalDriver.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Graphics.h"

namespace {

bool ShownChildOfClass(QWidget* dialog, const char* cls) {
  for (QWidget* w : dialog->findChildren<QWidget*>())
    if (QByteArray(w->metaObject()->className()).endsWith(cls)) return w->isVisibleTo(dialog);
  ADD_FAILURE() << "no " << cls << " in the dialog";
  return false;
}

QPushButton* ApplyButton(QWidget* dialog) {
  auto* box = dialog->findChild<QDialogButtonBox*>();
  return box ? box->button(QDialogButtonBox::Apply) : nullptr;
}

}  // namespace

TEST(ColorDialog, OpensOnItsColourWithTheCustomColoursAndStoresTheChoice) {
  TColorDialog dlg(nullptr);
  dlg.SetColor(0x0080FF);  // orange
  dlg.SetOptions({cdFullOpen, cdSolidColor});
  dlg.CustomColors()->Add(u"ColorA=0000FF");
  dlg.CustomColors()->Add(u"colorc=00FF00");
  dlg.CustomColors()->Add(u"ColorB=zz");      // not a colour: stays white
  dlg.CustomColors()->Add(u"ColorZ=123456");  // no such slot
  int shown = 0, closed = 0;
  dlg.OnShow = [&](TObject*) { ++shown; };
  dlg.OnClose = [&](TObject*) { ++closed; };

  QColor start, customA, customB, customC;
  bool pickerShown = false;
  auto ran = WhenModal([&](QWidget* w) {
    auto* cd = qobject_cast<QColorDialog*>(w);
    ASSERT_NE(cd, nullptr);
    start = cd->currentColor();
    customA = QColorDialog::customColor(0);
    customB = QColorDialog::customColor(1);
    customC = QColorDialog::customColor(2);
    pickerShown = ShownChildOfClass(cd, "QColorPicker");
    QColorDialog::setCustomColor(3, QColor(0, 0, 255));
    cd->setCurrentColor(QColor(0x12, 0x34, 0x56));
    cd->accept();
  });
  ASSERT_TRUE(dlg.Execute());
  EXPECT_TRUE(*ran);
  EXPECT_EQ(start, QColor(255, 128, 0));
  EXPECT_EQ(customA, QColor(255, 0, 0));
  EXPECT_EQ(customB, QColor(255, 255, 255));
  EXPECT_EQ(customC, QColor(0, 255, 0));
  EXPECT_TRUE(pickerShown);
  EXPECT_EQ(dlg.Color(), 0x563412);
  ASSERT_EQ(dlg.CustomColors()->Count(), 16);
  EXPECT_EQ(dlg.CustomColors()->Get(0), u"ColorA=0000FF");
  EXPECT_EQ(dlg.CustomColors()->Get(1), u"ColorB=FFFFFF");
  EXPECT_EQ(dlg.CustomColors()->Get(3), u"ColorD=FF0000");
  EXPECT_EQ(dlg.CustomColors()->Get(15), u"ColorP=FFFFFF");
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(closed, 1);
}

TEST(ColorDialog, CancelKeepsEverythingAndPreventFullOpenHidesTheEditor) {
  TColorDialog dlg(nullptr);
  dlg.SetColor(clBtnFace);  // a system colour opens on its current value
  dlg.SetOptions({cdPreventFullOpen});
  dlg.CustomColors()->Add(u"ColorA=123456");
  bool pickerShown = true;
  QColor start;
  WhenModal([&](QWidget* w) {
    auto* cd = qobject_cast<QColorDialog*>(w);
    ASSERT_NE(cd, nullptr);
    start = cd->currentColor();
    pickerShown = ShownChildOfClass(cd, "QColorPicker");
    cd->setCurrentColor(Qt::red);
    cd->reject();
  });
  EXPECT_FALSE(dlg.Execute());
  EXPECT_FALSE(pickerShown);
  const int32_t face = ColorToRGB(clBtnFace);
  EXPECT_EQ(start, QColor(face & 0xFF, (face >> 8) & 0xFF, (face >> 16) & 0xFF));
  EXPECT_EQ(dlg.Color(), clBtnFace);
  ASSERT_EQ(dlg.CustomColors()->Count(), 1);
  EXPECT_EQ(dlg.CustomColors()->Get(0), u"ColorA=123456");
}

TEST(FontDialog, ApplyHandsOverTheFontWhileTheDialogStaysOpen) {
  TFontDialog dlg(nullptr);
  TFont start;
  start.SetName(u"DejaVu Sans");
  start.SetSize(10);
  start.SetColor(clRed);
  dlg.SetFont(&start);
  dlg.SetOptions({fdEffects, fdApplyButton});
  int changes = 0;
  dlg.Font()->OnChange = [&](TObject*) { ++changes; };

  struct Seen {
    String name;
    int size;
    TFontStyles style;
    bool dialogOpen;
  };
  std::vector<Seen> applied;
  QWidget* dialog = nullptr;
  dlg.OnApply = [&](TObject* Sender, HWND) {
    EXPECT_EQ(Sender, &dlg);
    TFont* f = dlg.Font();
    applied.push_back({f->Name(), f->Size(), f->Style(), dialog && dialog->isVisible()});
  };

  QFont shown;
  WhenModal([&](QWidget* w) {
    auto* fd = qobject_cast<QFontDialog*>(w);
    ASSERT_NE(fd, nullptr);
    dialog = fd;
    shown = fd->currentFont();
    QPushButton* apply = ApplyButton(fd);
    ASSERT_NE(apply, nullptr);
    QFont f(QStringLiteral("DejaVu Sans Mono"), 14);
    f.setBold(true);
    f.setUnderline(true);
    fd->setCurrentFont(f);
    apply->click();
    fd->reject();  // cancelling keeps what was applied
  });
  EXPECT_FALSE(dlg.Execute());
  EXPECT_EQ(shown.family(), QStringLiteral("DejaVu Sans"));
  EXPECT_EQ(shown.pointSize(), 10);
  ASSERT_EQ(applied.size(), 1u);
  EXPECT_EQ(applied[0].name, u"DejaVu Sans Mono");
  EXPECT_EQ(applied[0].size, 14);
  EXPECT_EQ(applied[0].style, (TFontStyles{fsBold, fsUnderline}));
  EXPECT_TRUE(applied[0].dialogOpen);
  EXPECT_EQ(changes, 1);  // one change per apply
  EXPECT_EQ(dlg.Font()->Color(), clRed);

  // Confirming takes the dialog's font; an unchanged family keeps our font name.
  WhenModal([&](QWidget* w) {
    auto* fd = qobject_cast<QFontDialog*>(w);
    ASSERT_NE(fd, nullptr);
    QFont f(QStringLiteral("DejaVu Sans Mono"), 12);
    f.setStyleName(QStringLiteral("Oblique"));
    fd->setCurrentFont(f);
    fd->accept();
  });
  ASSERT_TRUE(dlg.Execute());
  EXPECT_EQ(dlg.Font()->Name(), u"DejaVu Sans Mono");
  EXPECT_EQ(dlg.Font()->Size(), 12);
  EXPECT_EQ(dlg.Font()->Style(), TFontStyles{fsItalic});
  EXPECT_EQ(applied.size(), 1u);
}

TEST(FontDialog, WithoutEffectsTheUnderlineAndApplyButtonStayAway) {
  TFontDialog dlg(nullptr);
  dlg.Font()->SetName(u"DejaVu Sans");
  dlg.Font()->SetStyle({fsStrikeOut});
  dlg.SetOptions({});
  bool effectsShown = true, hasApply = true;
  QFont shown;
  WhenModal([&](QWidget* w) {
    auto* fd = qobject_cast<QFontDialog*>(w);
    ASSERT_NE(fd, nullptr);
    effectsShown = false;
    for (QGroupBox* g : fd->findChildren<QGroupBox*>())
      if (!g->findChildren<QCheckBox*>().isEmpty()) effectsShown = g->isVisibleTo(fd);
    hasApply = ApplyButton(fd) != nullptr;
    shown = fd->currentFont();
    QFont f(QStringLiteral("DejaVu Sans"), 9);
    f.setStyleName(QStringLiteral("Bold"));
    f.setUnderline(true);
    fd->setCurrentFont(f);
    fd->accept();
  });
  ASSERT_TRUE(dlg.Execute());
  EXPECT_FALSE(effectsShown);
  EXPECT_FALSE(hasApply);
  EXPECT_FALSE(shown.italic());  // opened on the upright style
  EXPECT_FALSE(shown.bold());
  EXPECT_EQ(dlg.Font()->Style(), (TFontStyles{fsBold, fsStrikeOut}));
}

TEST(FontDialog, AnErrorInApplyClosesTheDialogAndIsRaisedFromExecute) {
  TFontDialog dlg(nullptr);
  dlg.SetOptions({fdEffects, fdApplyButton});
  dlg.OnApply = [](TObject*, HWND) { throw EConvertError(u"bad font"); };
  WhenModal([&](QWidget* w) {
    QPushButton* apply = ApplyButton(w);
    ASSERT_NE(apply, nullptr);
    apply->click();
  });
  EXPECT_THROW(dlg.Execute(), EConvertError);
}
