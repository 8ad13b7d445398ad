#pragma once
// Component looks and the Office colour theme: the style enumerations and interfaces the
// drop-downs and the grid implement, detection of the installed Office version and theme
// from the current user's registry, and the notifier that tells registered windows when
// the Office theme changes.

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/rtl/Registry.h"
#include "platform/rtl/SyncObjs.h"
#include "platform/ui/Controls.h"
#include "platform/win/Windows.h"

// The sixteen looks a component can take on. Stored forms keep these ordinals.
enum TZOLStyle : uint8_t {
  tsOffice2003Blue,
  tsOffice2003Silver,
  tsOffice2003Olive,
  tsOffice2003Classic,
  tsOffice2007Luna,
  tsOffice2007Obsidian,
  tsWindowsXP,
  tsWhidbey,
  tsCustom,
  tsOffice2007Silver,
  tsWindowsVista,
  tsWindows7,
  tsTerminal,
  tsOffice2010Blue,
  tsOffice2010Silver,
  tsOffice2010Black
};

enum TOfficeTheme : uint8_t {
  ot2003Blue,
  ot2003Silver,
  ot2003Olive,
  ot2003Classic,
  ot2007Blue,
  ot2007Silver,
  ot2007Black,
  ot2010Blue,
  ot2010Silver,
  ot2010Black,
  otUnknown
};

struct TColorTone {
  TColor BrushColor = 0;
  TColor BorderColor = 0;
  TColor TextColor = 0;
};

// One tone per visual state.
struct TColorTones {
  TColorTone Background;
  TColorTone Foreground;
  TColorTone Selected;
  TColorTone Hover;
  TColorTone Disabled;
};

// Implemented by the components that take on a named look.
class IZOLStyle {
public:
  static constexpr const char16_t* IID = u"{11AC2DDC-C087-4298-AB6E-EA1B5017511B}";
  virtual ~IZOLStyle() = default;
  virtual void SetComponentStyle(TZOLStyle AStyle) = 0;
};

// Implemented by the components that take on a set of colour tones.
class IZOLTones {
public:
  static constexpr const char16_t* IID = u"{1F492643-6699-4F25-8B34-3233FA735036}";
  virtual ~IZOLTones() = default;
  virtual void SetColorTones(const TColorTones& ATones) = 0;
};

// ---- Detection. Each call reads the registry afresh; nothing is cached.

// The themed common controls, Windows XP and Vista are what this platform always offers.
bool HasThemedComCtl();
bool IsWinVistaOrLater();
bool IsWinXPOrLater();
// 0: no Office or Office 2003; 1: Office 2007; 2: Office 2010 (the newest key found).
int InstalledOfficeVersion();
// The desktop's colour scheme: 0 none, 1 "NormalColor", 2 "HomeStead", 3 "Metallic".
// This desktop has no such scheme: always 0.
int GetXPColorScheme();
// The "Theme" value under Key, or -1 when the key or the value is missing. A value that is
// not an integer raises ERegistryException.
int32_t ReadOfficeThemeValue(TRegistry& Reg, const String& Key);
// The Office colour theme the controls should follow; never otUnknown.
TOfficeTheme DetectOfficeTheme();
String GetDefaultFontName();

// ---- Notifier

// Sent to the notifier's window and every registered window when the watched Office key
// changes: WParam the root key (HKEY_CURRENT_USER), LParam the key path as a
// zero-terminated UTF-16 string, valid while the message is handled.
constexpr UINT WM_OFFICETHEMECHANGE = 2993;

extern const String OfficeKey2007;  // "Software\Microsoft\Office\12.0\Common"
extern const String OfficeKey2010;  // "Software\Microsoft\Office\14.0\Common"

// Window handles held as integers.
class THandleList {
public:
  int Count() const { return static_cast<int>(FItems.size()); }
  void Add(intptr_t Value) { FItems.push_back(Value); }
  void Insert(int Index, intptr_t Value);
  void Delete(int Index);
  // Removes the first equal entry; nothing when there is none.
  void DeleteValue(intptr_t Value);
  bool HasValue(intptr_t Value) const;
  intptr_t GetInteger(int Index) const;
  void SetInteger(int Index, intptr_t Value);

private:
  void Check(int Index) const;
  std::vector<intptr_t> FItems;
};

// Watches a registry key and sends WM_OFFICETHEMECHANGE to its window and then to the
// registered windows, in order, after every change the filter names.
class TRegMonitorThread : public TThread {
public:
  TRegMonitorThread();
  ~TRegMonitorThread() override;
  String ClassName() const override { return u"TRegMonitorThread"; }

  // Asks the thread to end and wakes its wait; does not wait for the end.
  void Stop();
  // Returns once the watch is armed, or the thread has ended without arming it.
  void WaitArmed();

  String FKey;
  HKEY FRootKey = HKEY_CURRENT_USER;
  bool FWatchSub = true;  // the watch covers the subtree whatever this holds
  uint32_t FFilter = 0;   // 0 reads as all four change kinds
  HWND FWnd = nullptr;    // notified first; none when null

  // The registered windows; the GUI thread edits the list while this thread notifies.
  void AddWindow(HWND Wnd);  // no duplicate
  void RemoveWindow(HWND Wnd);
  std::vector<HWND> Windows() const;

protected:
  void Execute() override;

private:
  void OpenWatchedKey();

  TRegistry FReg;
  TEvent FEvent{true, false};  // this thread's own change event
  TEvent FArmed{true, false};
  mutable std::mutex FListLock;
  THandleList FWinList;
};

class TThemeNotifierWindow : public TWinControl {
public:
  explicit TThemeNotifierWindow(TComponent* AOwner);
  String ClassName() const override { return u"TThemeNotifierWindow"; }
  TNotifyEvent OnOfficeThemeChange;

protected:
  void WndProc(TMessage& Message) override;
};

// One per application (see GetThemeNotifier). Without Office 2007 or 2010 it watches
// nothing and registrations do nothing.
class TThemeNotifier : public TComponent {
public:
  explicit TThemeNotifier(TComponent* AOwner);
  ~TThemeNotifier() override;
  String ClassName() const override { return u"TThemeNotifier"; }

  void RegisterWindow(HWND Hwnd);
  void UnRegisterWindow(HWND Hwnd);

  // Fired with the notifier as sender when the theme change reaches its window.
  TNotifyEvent OnOfficeThemeChange;

  // The watch thread, or none while inert.
  TRegMonitorThread* RegMonitorThread() const { return FRegMonitorThread.get(); }
  TThemeNotifierWindow* Notifier() const { return FNotifier; }

private:
  void HandleThemeChange(TObject* Sender);

  std::unique_ptr<TRegMonitorThread> FRegMonitorThread;
  TThemeNotifierWindow* FNotifier = nullptr;  // owned as a component
};

// The application's notifier, made on first use: owned by the main form once its window
// exists, else by AOwner. Callers never free it; when its owner does, the next call makes
// a new one.
TThemeNotifier* GetThemeNotifier(TComponent* AOwner);
