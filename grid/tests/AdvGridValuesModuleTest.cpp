// The grid module's start-up: classes by name, the clipboard format and the messages.
#include <gtest/gtest.h>

#include "GridTestSupport.h"
#include "grid/AdvGrid.h"
#include "grid/GridFocusWindow.h"
#include "grid/AdvGridValuesModule.h"
#include "platform/rtl/ClassRegistry.h"
#include "platform/ui/Clipbrd.h"
#include "platform/win/WinUser.h"

namespace {

class TForeign : public TComponent {
public:
  explicit TForeign(TComponent* AOwner) : TComponent(AOwner) {}
};

TEST(GridModuleTest, StartUpRegistersTheClassesTheFormatAndTheMessagesOnce) {
  InitGridModule();
  InitGridModule();
  EXPECT_TRUE(GridModuleStarted());
  TComponentClass make = GetClass(u"DEreDuzeroVaro");
  ASSERT_TRUE(make);
  std::unique_ptr<TComponent> grid(make(nullptr));
  EXPECT_NE(dynamic_cast<DEreDuzeroVaro*>(grid.get()), nullptr);
  EXPECT_TRUE(GetClass(u"TArrowWindow"));
  EXPECT_TRUE(GetClass(u"TScrollBar"));
  EXPECT_TRUE(GetClass(u"TGridCombo"));
  EXPECT_TRUE(GetClass(u"TControlCombo"));
  EXPECT_TRUE(GetClass(u"TAdvRichEdit"));
  for (const char16_t* name : {u"TGridTransEdit", u"TGridTransCombo", u"TFooterPanel", u"THeaderDragButton"}) {
    TComponentClass cls = GetClass(name);
    ASSERT_TRUE(cls);
    std::unique_ptr<TComponent> made(cls(nullptr));
    EXPECT_EQ(made->ClassName(), name);
  }
  EXPECT_THROW(std::unique_ptr<TComponent>(GetClass(u"TAdvRichEdit")(nullptr)), EInvalidCast);
  EXPECT_THROW(std::unique_ptr<TComponent>(GetClass(u"TDropList")(nullptr)), EInvalidCast);
  EXPECT_EQ(std::unique_ptr<TComponent>(GetClass(u"TDropList")(grid.get()))->ClassName(), u"TDropList");
  std::unique_ptr<TComponent> rich(GetClass(u"TAdvRichEdit")(grid.get()));
  EXPECT_EQ(rich->ClassName(), u"TAdvRichEdit");
  rich.release();  // the grid owns it
  EXPECT_NE(GridCellsFormat, 0);
  EXPECT_EQ(GridCellsFormat, RegisterClipboardFormat(u"DEreDuzeroVaro Cells"));
  EXPECT_EQ(GridEditDoneMsg, RegisterWindowMessage(u"GridEditDone"));
  EXPECT_EQ(DTPShiftFocusMsg, RegisterWindowMessage(u"DTPShiftFocus"));
  EXPECT_NE(GridEditDoneMsg, DTPShiftFocusMsg);
  EXPECT_GE(GridEditDoneMsg, 0xC000);
  EXPECT_TRUE(CommonControls470);
}

TEST(GridModuleTest, ANameTakenByAnotherClassEndsTheRegistrationsQuietly) {
  UnRegisterClass(u"TArrowWindow");
  UnRegisterClass(u"TScrollBar");
  RegisterClass<TForeign>(u"TArrowWindow");
  int before = RegisterGridModuleClasses();
  EXPECT_EQ(before, 2);  // DEreDuzeroVaro and TDropList only: TArrowWindow fails, the rest stay out
  EXPECT_FALSE(GetClass(u"TScrollBar"));
  UnRegisterClass(u"TArrowWindow");
  EXPECT_GE(RegisterGridModuleClasses(), 20);
  EXPECT_TRUE(GetClass(u"TScrollBar"));
}

TEST(GridModuleTest, TheFocusFrameFollowsItsCellWhenTheFormMoves) {
  InitGridModule();
  EXPECT_TRUE(GridFocusFrameHookInstalled());
  TGridForm f;
  DEreDuzeroVaro& g = *f.grid;
  g.FocusCell(2, 2);
  g.ShowFocusFrame(g.CellRect(2, 2));
  ASSERT_EQ(FocusFrameGrid, &g);
  TGridFocusWindow* glow = g.FocusWindow();
  ASSERT_NE(glow, nullptr);
  TPoint before(glow->Left(), glow->Top());
  f.form.SetBounds(f.form.Left() + 40, f.form.Top() + 30, f.form.Width(), f.form.Height());
  ProcessPendingEvents();
  EXPECT_EQ(glow->Left(), before.X + 40);
  EXPECT_EQ(glow->Top(), before.Y + 30);
  g.HideFocusFrame();
  EXPECT_EQ(FocusFrameGrid, nullptr);
  f.form.SetBounds(f.form.Left() + 10, f.form.Top(), f.form.Width(), f.form.Height());
  ProcessPendingEvents();
  EXPECT_FALSE(glow->Visible());
}

}  // namespace
