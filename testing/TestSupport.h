#pragma once
// Test support for windows and controls on the offscreen platform: renders a control or
// form to a bitmap, gives it mouse and key input where the window system gives a user's,
// and processes pending events.
//
// Input enters Qt at the control's top-level window, at the point in that window and on the
// screen, through the entry points the window system uses; Qt then does the hit-testing,
// propagation, grabs, capture, pop-ups and focus a user gets. Coordinates are the
// control's client coordinates, converted to the top-level window's. The control must be
// showing (visible, with its form shown): input to a hidden control throws. Input to a
// window that a modal window blocks, or outside an open pop-up, goes where a user's would.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/ui/Controls.h"
#include "platform/ui/Graphics.h"

// ---- Rendering
// The control as it shows: its window with the windows and graphic controls inside it (a
// graphic control: its area of the parent's window; a form: its whole window, menu bar
// included). Pending painting is done first. The
// control needs no visible form; a windowed control gets its window if it has none yet.
std::unique_ptr<TBitmap> RenderControl(TControl* Control);
// The control's pixels as its shown window holds them now (the window's backing store, as
// painting left it), painting nothing; null when the window keeps no image of itself.
std::unique_ptr<TBitmap> ShownPixels(TControl* Control);
// The colour of one pixel as plain RGB.
TColor PixelColor(TBitmap& Bitmap, int X, int Y);
// Whether the pixel is within Tolerance of the colour in each of red, green and blue: smoothed
// text reaches its full colour only in some pixels of its strokes.
bool PixelNear(TBitmap& Bitmap, int X, int Y, TColor Color, int Tolerance = 64);

// ---- Mouse. Shift gives the keys and other buttons held (ssShift, ssCtrl, ssAlt, ssLeft ...).
void SimulateMouseDown(TControl* Control, TMouseButton Button, int X, int Y, TShiftState Shift = {});
void SimulateMouseUp(TControl* Control, TMouseButton Button, int X, int Y, TShiftState Shift = {});
void SimulateMouseMove(TControl* Control, int X, int Y, TShiftState Shift = {});
// Press and release at one point.
void SimulateClick(TControl* Control, int X, int Y, TMouseButton Button = mbLeft, TShiftState Shift = {});
// Press, release, the second press (a double click) and its release.
void SimulateDblClick(TControl* Control, int X, int Y, TMouseButton Button = mbLeft, TShiftState Shift = {});
// One wheel turn of WheelDelta (120 a notch, positive away from the user) at a point.
void SimulateMouseWheel(TControl* Control, int WheelDelta, int X, int Y, TShiftState Shift = {});
// The mouse leaves the window it was last moved over.
void SimulateMouseLeave();
// A click at a point of the screen (global coordinates), for windows that are no controls:
// an open drop-down list, a pop-up menu. It goes to the open pop-up when the point is in
// it, else to the top-level window showing there.
void SimulateScreenClick(int X, int Y, TMouseButton Button = mbLeft);

// ---- Keys. Key is a virtual key (VK_RETURN, 'A', VK_F2 ...). A key that types a character
// on a keyboard (letters, digits, space, Enter, Tab, Backspace, Escape) brings its
// character with the key-down, as a real key does: the control gets WM_KEYDOWN then WM_CHAR.
// Keys go to the focused widget of the active window, as a keyboard's do. When the control
// does not have the focus, a key press first gives it the focus the way a user does: its
// window is brought to the front and activated and its form focuses it (SetFocus). A key
// release goes where the keyboard is (after Tab, the next control). While a pop-up (an open
// drop-down list or menu) is up, the keys go to the pop-up, as they would for a user.
void SimulateKeyDown(TWinControl* Control, Word Key, TShiftState Shift = {});
void SimulateKeyUp(TWinControl* Control, Word Key, TShiftState Shift = {});
// Down and up.
void SimulateKeyStroke(TWinControl* Control, Word Key, TShiftState Shift = {});
// Types one character (any, e.g. half-width katakana): a key press carrying it, and the release.
void SimulateChar(TWinControl* Control, Char Ch, TShiftState Shift = {});
void SimulateTyping(TWinControl* Control, const String& Text);

// ---- Exceptions
// An exception that reaches the application's default handler (no OnException anywhere)
// goes to Report instead of a modal message box, so a test never blocks on it; null
// restores the message box. Returns the previous report. The GUI test main installs one
// that fails the running test.
using TExceptionReport = std::function<void(const String& Message)>;
TExceptionReport SetExceptionReport(TExceptionReport Report);

// ---- Modal windows
// Runs Step from inside the next modal loop, as soon as a modal window (a message box, or a
// form shown modally) is up, within TimeoutMs. Step gets the window's text: a message
// box's message, a form's caption. Returns at once; Step runs later, from a timer.
void WhenModal(std::function<void(const String& Text)> Step, int TimeoutMs = 20000);
// Closes the active modal window as its close box would: a message box gives its escape
// answer (its only button's when it has one), a modal form mrCancel.
void CloseModal();

// ---- Common dialogs, answered through their own controls with keys (TestSupportDialogs.cpp).
// Each raises EInvalidOperation when no such dialog is the active modal window.
// What the active file dialog shows: title, folder, chosen filter, the name in its name field.
struct TFileDialogView {
  String Title, Folder, Filter, FileName;
};
TFileDialogView ActiveFileDialog();
// Types Name (a name or a full path) into the file dialog's name field and presses Enter.
void AnswerFileDialog(const String& Name);
// Presses the button with this caption (mnemonic '&' left out) of the active modal window.
void PressModalButton(const String& Caption);
// Chooses the print dialog's PDF-file entry, types FileName as its file and presses Enter.
void AnswerPrintDialogToPdf(const String& FileName);

// ---- Events
// Handles every pending event, sent message, posted message and synchronised call, without idling.
void ProcessPendingEvents();
// Processes events until Predicate holds or TimeoutMs passes; returns the last Predicate result.
bool WaitUntil(const std::function<bool()>& Predicate, int TimeoutMs = 10000);

// ---- Clock and screens (TestSupportPopup.cpp)
// Holds the platform's tick count (GetTickCount, GetTickCount64) at a fixed time while it
// lives; it moves only when told. The system's clock comes back when it ends.
class TTestClock {
public:
  explicit TTestClock(uint64_t StartMs = 10'000'000);
  ~TTestClock();
  TTestClock(const TTestClock&) = delete;
  TTestClock& operator=(const TTestClock&) = delete;
  void Advance(uint64_t Ms);
  void Set(uint64_t Ms);
  uint64_t Now() const { return FNow; }

private:
  uint64_t FNow;
};

// Gives the platform a fixed set of monitors while it lives (the first is the primary), so
// placement over several monitors, some at negative coordinates, is the same on any display.
// Screen, GetSystemMetrics and the MonitorFrom calls all see it; windows stay where they are.
struct TTestMonitor {
  TRect Bounds;
  TRect WorkArea;
};
class TTestScreen {
public:
  explicit TTestScreen(const std::vector<TTestMonitor>& Monitors);
  ~TTestScreen();
  TTestScreen(const TTestScreen&) = delete;
  TTestScreen& operator=(const TTestScreen&) = delete;
};

// ---- Activation and pop-up windows (TestSupportPopup.cpp)
class TCustomForm;
// The window system makes Form's window the active one (the user switched to it) and the
// program has seen it when this returns.
void SimulateActivate(TCustomForm* Form);
// Another program's window becomes the active one: none of this program's stays active.
void SimulateActivateOtherApplication();
// The left button pressed and let go at a screen point outside Popup: on the program's window
// showing there (see SimulateScreenClick), else on another program's window, which becomes
// active. Throws when the point lies inside the pop-up.
void SimulatePressOutside(TCustomForm* Popup, int X, int Y);
// The window system hides Form's window by itself (not through the form).
void SimulateWindowSystemHide(TCustomForm* Form);
// What the open pop-up menu shows: its screen rectangle and each item's caption (access-key
// marks left out) and screen rectangle, separators left out. Bounds is empty when no menu is up.
struct TPopupMenuView {
  TRect Bounds;
  std::vector<std::pair<String, TRect>> Items;
};
TPopupMenuView ActivePopupMenu();
// Runs Step from inside the next pop-up menu the program shows, as soon as it is up, within
// TimeoutMs (Step does not run when none comes). Returns at once; Step runs later, from a timer.
void WhenPopupMenu(std::function<void()> Step, int TimeoutMs = 5000);

// ---- Drags (TestSupportDrag.cpp)
// Runs Steps from inside the next drag the program starts (DoDragDrop), once it is under way;
// Steps move the mouse and end the drag with a release or Escape, as a user does. Returns at
// once: schedule it before the input that starts the drag.
void WhileDragging(std::function<void()> Steps);
// Another program's drag of Text (and of the local Files) entering the top-level window at a
// client point of Control and dropped there, with the keys Shift; the drop's effect
// (DROPEFFECT_COPY, DROPEFFECT_MOVE or DROPEFFECT_NONE).
uint32_t SimulateOutsideDrop(TControl* Control, int X, int Y, const String& Text,
                             const std::vector<String>& Files = {}, TShiftState Shift = {});
// The same with the drag's data as it comes: MIME types ("text/uri-list", ...) and their bytes.
uint32_t SimulateOutsideDrop(TControl* Control, int X, int Y,
                             const std::vector<std::pair<std::string, std::string>>& Formats, TShiftState Shift = {});
