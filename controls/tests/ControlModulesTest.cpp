// Start-up and exit of the control library's modules.
#include <gtest/gtest.h>

#include "controls/AdvXPVS.h"
#include "platform/gdiplus/GdiPlusFlat.h"
#include "controls/ControlModules.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/Forms.h"
#include "platform/ui/OleDragDrop.h"
#include "platform/win/WinUser.h"

namespace {

bool MenuAnimationOn() {
  BOOL On = FALSE;
  EXPECT_TRUE(SystemParametersInfo(SPI_GETMENUANIMATION, 0, &On, 0));
  return On != FALSE;
}

void SetMenuAnimation(bool On) {
  SystemParametersInfo(SPI_SETMENUANIMATION, 0, On ? reinterpret_cast<void*>(1) : nullptr, 0);
}

TEST(ControlModules, StartUpRunsOnceAndExitUndoesIt) {
  const int before = ModuleReferences(u"UXTHEME.DLL");
  SetMenuAnimation(true);
  InitializeControlModules();
  EXPECT_TRUE(ComboThemeBinding.Loaded());
  EXPECT_TRUE(XPVSThemeBinding.Loaded());
  EXPECT_TRUE(DropDownThemeBinding.Loaded());
  EXPECT_EQ(ModuleReferences(u"UXTHEME.DLL"), before + 3);
  void* Block = GdipAlloc(16);
  EXPECT_NE(Block, nullptr) << "GDI+ runs";
  GdipFree(Block);
  EXPECT_EQ(ClipboardFormatModule.RichText, RegisterClipboardFormat(u"rich text format"));
  EXPECT_EQ(ClipboardFormatModule.Html, RegisterClipboardFormat(u"HTML FORMAT"));
  EXPECT_NE(ClipboardFormatModule.RichText, 0u);
  EXPECT_NE(ClipboardFormatModule.RichText, ClipboardFormatModule.Html);
  EXPECT_TRUE(LayeredWindowModule.Found);
  EXPECT_NE(LayeredWindowModule.UpdateLayeredWindow, nullptr);
  EXPECT_EQ(ModuleReferences(u"USER32.DLL"), 0) << "the lookup keeps no reference";
  EXPECT_FALSE(MenuAnimationOn()) << "off while the program runs";
  EXPECT_EQ(OleInitialize(nullptr), S_FALSE) << "OLE runs";
  OleUninitialize();

  InitializeControlModules();  // a second start-up loads nothing again
  EXPECT_EQ(ModuleReferences(u"UXTHEME.DLL"), before + 3);
  FinalizeControlModules();
  EXPECT_TRUE(XPVSThemeBinding.Loaded());
  EXPECT_FALSE(MenuAnimationOn());

  FinalizeControlModules();
  EXPECT_FALSE(ComboThemeBinding.Loaded());
  EXPECT_FALSE(XPVSThemeBinding.Loaded());
  EXPECT_FALSE(DropDownThemeBinding.Loaded());
  EXPECT_EQ(ModuleReferences(u"UXTHEME.DLL"), before);
  EXPECT_TRUE(MenuAnimationOn()) << "back as it was before the start-up";
  FinalizeControlModules();  // an exit without a start-up does nothing
  EXPECT_EQ(ModuleReferences(u"UXTHEME.DLL"), before);
}

TEST(ControlModules, MenuAnimationOffBeforeStaysOffAndTheChangeIsAnnounced) {
  struct Listener : TForm {
    using TForm::TForm;
    int Changes = 0;
    void WndProc(TMessage& Message) override {
      if (Message.Msg == WM_SETTINGCHANGE && Message.WParam == SPI_SETMENUANIMATION) ++Changes;
      TForm::WndProc(Message);
    }
  } Window(nullptr);
  Window.HandleNeeded();
  SetMenuAnimation(false);
  InitializeControlModules();
  EXPECT_FALSE(MenuAnimationOn());
  EXPECT_EQ(Window.Changes, 1);
  FinalizeControlModules();
  EXPECT_FALSE(MenuAnimationOn());
  EXPECT_EQ(Window.Changes, 2);
}

}  // namespace
