// The test helpers for modal windows: a step runs inside the modal loop and can close it.
#include <gtest/gtest.h>

#include "platform/ui/Forms.h"
#include "testing/TestSupport.h"

TEST(ModalSupport, StepSeesTheMessageAndClosesTheBox) {
  String seen;
  WhenModal([&](const String& Text) {
    seen = Text;
    CloseModal();
  });
  EXPECT_EQ(Application->MessageBox(u"ﾒｯｾｰｼﾞ", u"Title", MB_OK), IDOK);
  EXPECT_EQ(seen, u"ﾒｯｾｰｼﾞ");
}

TEST(ModalSupport, ModalFormClosesWithCancel) {
  TForm form(nullptr);
  form.SetCaption(u"Dialog");
  String seen;
  WhenModal([&](const String& Text) {
    seen = Text;
    CloseModal();
  });
  EXPECT_EQ(form.ShowModal(), mrCancel);
  EXPECT_EQ(seen, u"Dialog");
}
