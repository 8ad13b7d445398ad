// What an edit window answers and sends beyond typing: character positions, change
// notifications, clipboard messages, styles, keypad key data; and the hint window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QMenu>
#include <QInputMethodEvent>
#include <algorithm>
#include <vector>

#include "platform/ui/Clipbrd.h"
#include "platform/ui/Controls_p.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"
#include "testing/TestSupport.h"

namespace {

// An edit that records the messages it gets and can refuse clipboard messages.
class TProbeEdit : public TEdit {
public:
  using TEdit::TEdit;
  std::vector<UINT> Seen;
  std::vector<LPARAM> KeyData;
  bool RefuseClipboard = false;
  DWORD ExtraStyle = 0;
  std::vector<Char> Chars;  // characters the control got while InputAsChars
  bool& InputAsChars = FInputAsChars;
  using TCustomEdit::UpdateWindowStyle;

protected:
  void CreateParams(TCreateParams& Params) override {
    TEdit::CreateParams(Params);
    Params.Style |= ExtraStyle;
  }
  void WndProc(TMessage& Message) override {
    if (Message.Msg == WM_PASTE || Message.Msg == WM_COPY || Message.Msg == WM_CUT || Message.Msg == CN_COMMAND) {
      Seen.push_back(Message.Msg);
      if (RefuseClipboard && Message.Msg != CN_COMMAND) return;
    }
    if (Message.Msg == WM_CHAR) {
      if (FInputAsChars) {
        Chars.push_back(static_cast<Char>(Message.WParam));
        return;  // taken by the control
      }
      KeyData.push_back(Message.LParam);
    }
    TEdit::WndProc(Message);
  }
};

struct Shown {
  TForm form{nullptr};
  TProbeEdit* edit;
  Shown() {
    form.SetBounds(0, 0, 300, 200);
    edit = new TProbeEdit(&form);
    edit->SetParent(&form);
    edit->SetBounds(10, 10, 200, 24);
    form.Show();
    ProcessPendingEvents();
  }
};

TEST(EditMessages, CharFromPosFindsTheCharacterAlsoPastTheEnd) {
  Shown s;
  s.edit->SetText(u"abcdef");
  auto posOf = [&](int i) { return static_cast<int16_t>(LOWORD(uintptr_t(s.edit->Perform(EM_POSFROMCHAR, i, 0)))); };
  auto charAt = [&](int x) { return int(LOWORD(uintptr_t(s.edit->Perform(EM_CHARFROMPOS, 0, MAKELPARAM(WORD(x), 10))))); };
  for (int i = 0; i < 6; ++i) EXPECT_EQ(charAt(posOf(i) + 1), i) << i;
  EXPECT_EQ(charAt(190), 6);  // past the last character: the text's length
  EXPECT_EQ(charAt(0), 0);
}

TEST(EditMessages, EveryChangeIsNotifiedThroughCnCommand) {
  Shown s;
  int changes = 0;
  s.edit->OnChange = [&](TObject*) { ++changes; };
  s.edit->SetText(u"x");
  SimulateTyping(s.edit, u"yz");
  EXPECT_EQ(changes, 3);
  EXPECT_EQ(std::count(s.edit->Seen.begin(), s.edit->Seen.end(), CN_COMMAND), 3);
}

TEST(EditMessages, ClipboardKeysBecomeMessagesTheControlMayRefuse) {
  Shown s;
  s.edit->SetText(u"hello");
  s.edit->SetFocus();
  ProcessPendingEvents();
  s.edit->Select(0, 4);
  s.edit->Seen.clear();
  Clipboard()->SetAsText(u"before");
  SimulateKeyStroke(s.edit, 'C', {ssCtrl});
  EXPECT_EQ(Clipboard()->AsText(), u"hell");
  SimulateKeyStroke(s.edit, 'X', {ssCtrl});
  EXPECT_EQ(s.edit->Text(), u"o");
  s.edit->SetSelStart(1);
  SimulateKeyStroke(s.edit, 'V', {ssCtrl});
  EXPECT_EQ(s.edit->Text(), u"ohell");
  SimulateKeyStroke(s.edit, VK_INSERT, {ssShift});
  EXPECT_EQ(s.edit->Text(), u"ohellhell");
  EXPECT_EQ(s.edit->Seen, (std::vector<UINT>{WM_COPY, WM_CUT, CN_COMMAND, WM_PASTE, CN_COMMAND, WM_PASTE, CN_COMMAND}));
  s.edit->RefuseClipboard = true;
  SimulateKeyStroke(s.edit, 'V', {ssCtrl});
  EXPECT_EQ(s.edit->Text(), u"ohellhell");
}

TEST(EditMessages, StylesAlignTheTextAndMayChangeInPlace) {
  Shown s;
  s.edit->SetText(u"ab");
  s.edit->ExtraStyle = ES_RIGHT;
  s.edit->UpdateWindowStyle();
  // Right-aligned: the first character stands near the right edge.
  EXPECT_GT(static_cast<int16_t>(LOWORD(uintptr_t(s.edit->Perform(EM_POSFROMCHAR, 0, 0)))), 150);
  EXPECT_EQ(s.edit->Text(), u"ab");
  s.edit->ExtraStyle = 0;
  s.edit->UpdateWindowStyle();
  EXPECT_LT(static_cast<int16_t>(LOWORD(uintptr_t(s.edit->Perform(EM_POSFROMCHAR, 0, 0)))), 20);
  // A window made again keeps the text typed into the old one.
  s.edit->SetFocus();
  SimulateTyping(s.edit, u"c");
  const String typed = s.edit->Text();
  s.edit->RecreateWnd();
  EXPECT_EQ(s.edit->Text(), typed);
}

TEST(EditMessages, KeypadKeysCarryBit22) {
  Shown s;
  s.edit->SetFocus();
  ProcessPendingEvents();
  SimulateKeyStroke(s.edit, VK_DECIMAL);
  SimulateKeyStroke(s.edit, VK_OEM_PERIOD);
  ASSERT_EQ(s.edit->KeyData.size(), 2u);
  EXPECT_TRUE(s.edit->KeyData[0] & 0x00400000);
  EXPECT_FALSE(s.edit->KeyData[1] & 0x00400000);
}

TEST(EditMessages, AColourSetLaterShowsInEditsAndMemos) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 300, 200);
  auto* edit = new TEdit(&form);
  edit->SetParent(&form);
  edit->SetBounds(10, 10, 100, 24);
  auto* memo = new TMemo(&form);
  memo->SetParent(&form);
  memo->SetBounds(10, 50, 100, 60);
  form.Show();
  ProcessPendingEvents();
  edit->SetColor(clNavy);
  memo->SetColor(clNavy);
  EXPECT_EQ(PixelColor(*RenderControl(edit), 50, 12), clNavy);
  EXPECT_EQ(PixelColor(*RenderControl(memo), 50, 30), clNavy);
}

TEST(EditMessages, ComposedTextCanArriveAsCharacters) {
  Shown s;
  s.edit->SetFocus();
  ProcessPendingEvents();
  s.edit->KeyData.clear();
  QWidget* w = TControlHost::Widget(s.edit);
  QInputMethodEvent plain;
  plain.setCommitString(QStringLiteral("ab"));
  QCoreApplication::sendEvent(w, &plain);
  EXPECT_EQ(s.edit->Text(), u"ab");
  EXPECT_TRUE(s.edit->KeyData.empty());  // straight into the window
  s.edit->InputAsChars = true;
  QInputMethodEvent composed;
  composed.setCommitString(QStringLiteral("\u30a2x"));
  QCoreApplication::sendEvent(w, &composed);
  EXPECT_EQ(s.edit->Chars, (std::vector<Char>{0x30A2, u'x'}));
}

TEST(EditMessages, ComposedCharactersTheKeyHandlingLetThroughGoIntoTheWindow) {
  struct TComposingEdit : TEdit {
    explicit TComposingEdit(TComponent* AOwner) : TEdit(AOwner) { FInputAsChars = true; }
  };
  TForm form(nullptr);
  form.SetBounds(0, 0, 300, 200);
  auto* e = new TComposingEdit(&form);
  e->SetParent(&form);
  e->SetBounds(10, 10, 200, 24);
  // The class library's key handling upper-cases one character and drops another; what it
  // lets through is inserted at the caret.
  e->OnKeyPress = [](TObject*, Char& Key) {
    if (Key == u'x') Key = 0;
    else if (Key == u'a') Key = u'A';
  };
  form.Show();
  e->SetText(u"[]");
  e->SetFocus();
  ProcessPendingEvents();
  e->SetSelStart(1);
  QInputMethodEvent composed;
  composed.setCommitString(QStringLiteral("ax\u30a2"));
  QCoreApplication::sendEvent(TControlHost::Widget(e), &composed);
  EXPECT_EQ(e->Text(), u"[A\u30a2]");
  EXPECT_EQ(e->SelStart(), 3);
}

// The user right-clicks the edit and picks an entry of its own menu.
void ChooseFromEditMenu(TWinControl* Control, const QString& Name) {
  SimulateClick(Control, 20, 5, mbRight);
  ProcessPendingEvents();
  auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
  ASSERT_NE(menu, nullptr);
  for (QAction* a : menu->actions())
    if (a->objectName() == Name) a->trigger();
  menu->close();
  ProcessPendingEvents();
}

TEST(EditMessages, TheEditsOwnMenuUsesTheClipboardMessages) {
  Shown s;
  s.edit->SetText(u"hello");
  s.edit->SetFocus();
  ProcessPendingEvents();
  s.edit->Select(0, 2);
  s.edit->Seen.clear();
  ChooseFromEditMenu(s.edit, QStringLiteral("edit-copy"));
  EXPECT_EQ(Clipboard()->AsText(), u"he");
  s.edit->RefuseClipboard = true;
  Clipboard()->SetAsText(u"XY");
  ChooseFromEditMenu(s.edit, QStringLiteral("edit-paste"));
  EXPECT_EQ(s.edit->Text(), u"hello");
  EXPECT_EQ(s.edit->Seen, (std::vector<UINT>{WM_COPY, WM_PASTE}));
  s.edit->RefuseClipboard = false;
  s.edit->Select(0, 2);
  ChooseFromEditMenu(s.edit, QStringLiteral("edit-paste"));
  EXPECT_EQ(s.edit->Text(), u"XYllo");
}

// ---- Hint window

class TCornerHint : public THintWindow {
public:
  using THintWindow::THintWindow;
  bool Activated = false;

protected:
  void Dispatch(TMessage& Message) override {
    if (Message.Msg == WM_NCHITTEST) {
      TPoint p = ScreenToClient(TWMNCHitTest(Message).Pos());
      Message.Result = p.X > Width() - 10 && p.Y > Height() - 10 ? HTBOTTOMRIGHT : HTCLIENT;
      return;
    }
    THintWindow::Dispatch(Message);
  }
};

TEST(HintWindow, ShowsFramedOnTopAndSizesFromItsCorner) {
  TCornerHint hint(nullptr);
  hint.SetColor(clWhite);
  hint.ActivateHint(Rect(100, 100, 200, 160), u"");
  ProcessPendingEvents();
  EXPECT_TRUE(hint.Visible());
  EXPECT_TRUE(hint.WindowParams().Style & WS_BORDER);
  EXPECT_TRUE(hint.WindowParams().ExStyle & WS_EX_TOPMOST);
  EXPECT_EQ(hint.ClientRect().Left, 1);
  std::unique_ptr<TBitmap> b = RenderControl(&hint);
  EXPECT_NE(PixelColor(*b, 0, 30), PixelColor(*b, 50, 30));  // the frame
  // A drag from the corner makes it larger; one from the middle does not.
  SimulateMouseDown(&hint, mbLeft, 95, 55);
  SimulateMouseMove(&hint, 115, 75, {ssLeft});
  SimulateMouseUp(&hint, mbLeft, 115, 75);
  EXPECT_EQ(hint.Width(), 120);
  EXPECT_EQ(hint.Height(), 80);
  SimulateMouseDown(&hint, mbLeft, 40, 30);
  SimulateMouseMove(&hint, 60, 50, {ssLeft});
  SimulateMouseUp(&hint, mbLeft, 60, 50);
  EXPECT_EQ(hint.Width(), 120);
  hint.SetVisible(false);
  EXPECT_FALSE(hint.Visible());
}

}  // namespace
