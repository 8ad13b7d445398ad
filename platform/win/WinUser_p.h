#pragma once
// Private to platform/: what a window handle is, and the hooks the class library
// uses to create windows over widgets and to route messages and exceptions.

#include <QImage>
#include <QPointer>
#include <QRegion>
#include <QWidget>

#include "platform/win/WinUser.h"

// A window: a widget (null for hidden windows) and its window procedure.
struct HWND__ {
  QPointer<QWidget> widget;
  // A top-level window of ours around the widget (a form's frame with its menu bar): the
  // widget is the client area; showing, moving, sizing, enabling and the window rectangle
  // act on the frame, and the frame's own widgets count as this window.
  QPointer<QWidget> frame;
  TWndMethod proc;
  // Painted windows draw into this image (WM_PAINT, GetDC) and their widget shows it.
  bool painted = false;
  QImage backing;
  bool backingValid = false;  // false until the first WM_PAINT after creation or resize
  QRegion invalid;            // client area that the next WM_PAINT redraws
  bool erase = false;
  QRegion paintRegion;        // the region being painted between BeginPaint and EndPaint
  // Layered top-level windows (Modules.h): an image shown instead of the window's painting,
  // and a colour painted transparent.
  QImage layered;
  bool colorKeyed = false;
  QRgb colorKey = 0;
};

// Creates the handle of a widget's window (GUI thread). The widget may be null for hidden windows.
HWND CreateWindowHandle(QWidget* widget, TWndMethod proc);
// Destroys a handle: its timers stop, queued messages to it are dropped and
// threads waiting on messages sent to it are released with 0.
void DestroyWindowHandle(HWND wnd);
// The window of a widget, or of its nearest ancestor that has one.
HWND WindowOfWidget(const QWidget* widget);
// The client widget of a window.
QWidget* WindowWidget(HWND wnd);
// Puts the window's widget in frame (nullptr: none); see HWND__::frame.
void SetWindowFrame(HWND wnd, QWidget* frame);
// What window-level calls act on: the frame while the widget sits in it, else the widget.
QWidget* WindowTopWidget(HWND wnd);

// Runs the window procedure; an exception escaping it goes to HandleWindowException.
void DeliverMessage(HWND wnd, TMessage& msg);
LRESULT DeliverMessage(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Called inside a catch block for every exception that escapes a message handler;
// the application object sets it. The default writes the message to stderr.
extern std::function<void()> HandleWindowException;
// Runs fn, passing any exception to HandleWindowException.
void GuardedCall(const std::function<void()>& fn);
// The application's end of PostQuitMessage; the default ends the Qt event loop.
extern std::function<void(int)> QuitHook;

// Painting of painted windows: the host widget calls this from its paint event. It
// runs WM_PAINT for the invalid area (all of it when the image is new) and shows the image
// (a layered window's image instead, or its colour key made transparent).
void PaintWindow(HWND wnd, const QRegion& exposed);
// The image as ARGB32 with the pixels whose colour is key (RGB) transparent.
QImage KeyedImage(const QImage& image, QRgb key);
// The backing image, resized to the widget's client size (its content kept where possible).
QImage& BackingImage(HWND wnd);

// Input state seen by the event translation, for GetKeyState.
void NoteInputState(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons);
void NoteKeyState(int vk, bool down);
// Simulated mouse input (tests) moves the pointer: from then on GetCursorPos answers the
// screen point of the last simulated event (the test platform has no pointer of its own).
void NoteInputPointer(int X, int Y);
// The virtual key code of a Qt key (0 when it has none).
WORD VirtualKeyOf(int qtKey, Qt::KeyboardModifiers modifiers);
// The Qt key of a virtual key code (for synthetic input); the keypad keys (VK_NUMPAD0..9,
// VK_ADD, VK_SUBTRACT, VK_MULTIPLY, VK_DIVIDE, VK_DECIMAL) also need Qt::KeypadModifier.
int QtKeyOf(WORD vk);
