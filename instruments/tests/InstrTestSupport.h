#pragma once
// Helpers of the instrument controls' tests beside the platform's test support: a form
// hosting the controls, and the window image as drawn so far.
#include <memory>

#include "platform/ui/Forms.h"
#include "platform/ui/Graphics.h"
#include "platform/win/Gdi.h"
#include "platform/win/WinUser.h"

// A form that owns and hosts the controls under test, shown, so input reaches them as a
// user's does.
struct TTestForm {
  std::unique_ptr<TForm> Form;
  TTestForm(int w = 400, int h = 400) : Form(std::make_unique<TForm>(nullptr)) {
    Form->SetBounds(0, 0, w, h);
    Form->SetColor(clWhite);
    Form->Show();
  }
  template <typename T>
  T* Add(int left, int top, int w = -1, int h = -1) {
    T* c = new T(Form.get());
    c->SetParent(Form.get());
    c->SetBounds(left, top, w < 0 ? c->Width() : w, h < 0 ? c->Height() : h);
    return c;
  }
};

// What the window image holds now under the control (drawing outside paint included).
inline std::unique_ptr<TBitmap> Snapshot(TControl* c) {
  auto* win = dynamic_cast<TWinControl*>(c);
  TWinControl* host = win ? win : c->Parent();
  auto b = std::make_unique<TBitmap>(c->Width(), c->Height());
  HDC dc = GetDC(host->Handle());
  BitBlt(b->Canvas()->Handle(), 0, 0, c->Width(), c->Height(), dc, win ? 0 : c->Left(), win ? 0 : c->Top(), SRCCOPY);
  ReleaseDC(host->Handle(), dc);
  return b;
}
