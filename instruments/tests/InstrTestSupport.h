#pragma once
// Rendering and input helpers for the instrument controls' tests.
#include <memory>

#include "platform/ui/Forms.h"
#include "platform/ui/Graphics.h"
#include "platform/win/Gdi.h"
#include "platform/win/WinUser.h"

// A form that owns and hosts the controls under test, with its window created.
struct TTestForm {
  std::unique_ptr<TForm> Form;
  TTestForm(int w = 400, int h = 400) : Form(std::make_unique<TForm>(nullptr)) {
    Form->SetBounds(0, 0, w, h);
    Form->SetColor(clWhite);
    Form->HandleNeeded();
  }
  template <typename T>
  T* Add(int left, int top, int w = -1, int h = -1) {
    T* c = new T(Form.get());
    c->SetParent(Form.get());
    c->SetBounds(left, top, w < 0 ? c->Width() : w, h < 0 ? c->Height() : h);
    return c;
  }
};

// Paints the control afresh into a white bitmap of its size.
inline std::unique_ptr<TBitmap> Render(TControl* c) {
  auto b = std::make_unique<TBitmap>(c->Width(), c->Height());
  b->Canvas()->Brush()->SetColor(clWhite);
  b->Canvas()->FillRect(TRect(0, 0, c->Width(), c->Height()));
  c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(b->Canvas()->Handle()), 0);
  return b;
}

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

inline TColor Pixel(TBitmap& b, int x, int y) { return ColorToRGB(b.Canvas()->Pixels(x, y)); }

inline LPARAM Pt(int x, int y) { return static_cast<LPARAM>((static_cast<uint16_t>(y) << 16) | static_cast<uint16_t>(x)); }
inline void LeftDown(TControl* c, int x, int y) { c->Perform(WM_LBUTTONDOWN, MK_LBUTTON, Pt(x, y)); }
inline void LeftUp(TControl* c, int x, int y) { c->Perform(WM_LBUTTONUP, 0, Pt(x, y)); }
inline void RightDown(TControl* c, int x, int y) { c->Perform(WM_RBUTTONDOWN, MK_RBUTTON, Pt(x, y)); }
inline void RightUp(TControl* c, int x, int y) { c->Perform(WM_RBUTTONUP, 0, Pt(x, y)); }
inline void MouseMoveTo(TControl* c, int x, int y, WPARAM keys = MK_LBUTTON) { c->Perform(WM_MOUSEMOVE, keys, Pt(x, y)); }
inline void KeyDown(TControl* c, WORD key) { c->Perform(WM_KEYDOWN, key, 0); }
inline void KeyUp(TControl* c, WORD key) { c->Perform(WM_KEYUP, key, 0); }
inline void KeyChar(TControl* c, Char ch) { c->Perform(WM_CHAR, ch, 0); }
