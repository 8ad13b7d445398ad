#include "controls/AdvStyleIF.h"

#include "platform/rtl/RegistryNotify.h"
#include "platform/rtl/ScopeGuard.h"
#include "platform/ui/Forms.h"
#include "platform/win/WinUser.h"

const String OfficeKey2007 = u"Software\\Microsoft\\Office\\12.0\\Common";
const String OfficeKey2010 = u"Software\\Microsoft\\Office\\14.0\\Common";

namespace {

// The notifier of the application; cleared when it is destroyed.
TThemeNotifier* gThemeNotifier = nullptr;

}  // namespace

// ---------------------------------------------------------------------------
// Detection

bool HasThemedComCtl() { return true; }
bool IsWinVistaOrLater() { return true; }
bool IsWinXPOrLater() { return true; }

int InstalledOfficeVersion() {
  TRegistry reg;
  reg.SetRootKey(HKEY_CURRENT_USER);
  // A later (newer) hit overrides an earlier one.
  int version = 0;
  if (reg.KeyExists(u"Software\\Microsoft\\Office\\11.0\\Common\\General")) version = 0;
  if (reg.KeyExists(u"Software\\Microsoft\\Office\\12.0\\Common\\General")) version = 1;
  if (reg.KeyExists(u"Software\\Microsoft\\Office\\14.0\\Common\\General")) version = 2;
  return version;
}

// The desktop offers no visual-style colour scheme.
int GetXPColorScheme() { return 0; }

int32_t ReadOfficeThemeValue(TRegistry& Reg, const String& Key) {
  if (!Reg.KeyExists(Key)) return -1;
  int32_t value = -1;
  if (Reg.OpenKeyReadOnly(Key)) {
    try {
      if (Reg.ValueExists(u"Theme")) value = Reg.ReadInteger(u"Theme");
    } catch (...) {
      Reg.CloseKey();
      throw;
    }
    Reg.CloseKey();
  }
  return value;
}

TOfficeTheme DetectOfficeTheme() {
  TRegistry reg;
  reg.SetRootKey(HKEY_CURRENT_USER);
  // Office 2010, then Office 2007: 1..3 name its theme, another value ends the search.
  const struct {
    const String& key;
    TOfficeTheme first;
  } suites[] = {{OfficeKey2010, ot2010Blue}, {OfficeKey2007, ot2007Blue}};
  for (const auto& suite : suites) {
    const int32_t theme = ReadOfficeThemeValue(reg, suite.key);
    if (theme == -1) continue;
    if (theme >= 1 && theme <= 3) return static_cast<TOfficeTheme>(suite.first + theme - 1);
    return ot2003Blue;
  }
  switch (GetXPColorScheme()) {
    case 1: return ot2003Blue;
    case 2: return ot2003Olive;
    case 3: return ot2003Silver;
    default: return ot2003Classic;
  }
}

String GetDefaultFontName() { return IsWinVistaOrLater() ? u"Segoe UI" : u"Tahoma"; }

// ---------------------------------------------------------------------------
// THandleList

void THandleList::Check(int Index) const {
  if (Index < 0 || Index >= Count()) throw EListError(u"List index out of bounds (" + IntToStr(Index) + u")");
}

void THandleList::Insert(int Index, intptr_t Value) {
  if (Index != Count()) Check(Index);
  FItems.insert(FItems.begin() + Index, Value);
}

void THandleList::Delete(int Index) {
  Check(Index);
  FItems.erase(FItems.begin() + Index);
}

void THandleList::DeleteValue(intptr_t Value) {
  for (auto it = FItems.begin(); it != FItems.end(); ++it)
    if (*it == Value) {
      FItems.erase(it);
      return;
    }
}

bool THandleList::HasValue(intptr_t Value) const {
  for (intptr_t v : FItems)
    if (v == Value) return true;
  return false;
}

intptr_t THandleList::GetInteger(int Index) const {
  Check(Index);
  return FItems[static_cast<size_t>(Index)];
}

void THandleList::SetInteger(int Index, intptr_t Value) {
  Check(Index);
  FItems[static_cast<size_t>(Index)] = Value;
}

// ---------------------------------------------------------------------------
// TRegMonitorThread

TRegMonitorThread::TRegMonitorThread() : TThread(true) {}

TRegMonitorThread::~TRegMonitorThread() {
  Stop();
  TerminateAndWait();
}

void TRegMonitorThread::Stop() {
  Terminate();
  FEvent.SetEvent();
}

void TRegMonitorThread::AddWindow(HWND Wnd) {
  std::lock_guard<std::mutex> lock(FListLock);
  const auto value = reinterpret_cast<intptr_t>(Wnd);
  if (!FWinList.HasValue(value)) FWinList.Add(value);
}

void TRegMonitorThread::RemoveWindow(HWND Wnd) {
  std::lock_guard<std::mutex> lock(FListLock);
  FWinList.DeleteValue(reinterpret_cast<intptr_t>(Wnd));
}

std::vector<HWND> TRegMonitorThread::Windows() const {
  std::lock_guard<std::mutex> lock(FListLock);
  std::vector<HWND> out;
  for (int i = 0; i < FWinList.Count(); ++i) out.push_back(reinterpret_cast<HWND>(FWinList.GetInteger(i)));
  return out;
}

void TRegMonitorThread::OpenWatchedKey() {
  FReg.SetRootKey(FRootKey);
  if (!FReg.OpenKeyReadOnly(FKey)) throw ERegistryException(u"Unable to open registry key " + FKey);
}

void TRegMonitorThread::Execute() {
  // Whatever happens here, a caller of WaitArmed goes on.
  TScopeGuard armed([this] { FArmed.SetEvent(); });
  OpenWatchedKey();
  const uint32_t filter = FFilter != 0 ? FFilter : 15;
  const auto arm = [&] { return RegNotifyChangeKeyValue(FRootKey, FKey, true, filter, FEvent); };
  std::unique_ptr<TRegChangeWatch> watch;
  // A Stop before the first wait has already set the event; arming must not hide it.
  if (!Terminated()) watch = arm();
  FArmed.SetEvent();
  while (!Terminated()) {
    if (FEvent.WaitFor(INFINITE) != wrSignaled) continue;
    if (Terminated()) break;
    // Armed again before the windows hear of it, so a change while they handle the
    // message is not lost.
    FEvent.ResetEvent();
    watch = arm();
    const auto wparam = reinterpret_cast<WPARAM>(FRootKey);
    const auto lparam = reinterpret_cast<LPARAM>(FKey.c_str());
    if (FWnd != nullptr) SendMessage(FWnd, WM_OFFICETHEMECHANGE, wparam, lparam);
    // A copy, so the GUI thread may register windows while it handles the messages.
    for (HWND wnd : Windows()) SendMessage(wnd, WM_OFFICETHEMECHANGE, wparam, lparam);
  }
}

void TRegMonitorThread::WaitArmed() {
  if (Started()) FArmed.WaitFor(INFINITE);
}

// ---------------------------------------------------------------------------
// TThemeNotifierWindow

TThemeNotifierWindow::TThemeNotifierWindow(TComponent* AOwner) : TWinControl(AOwner) {}

void TThemeNotifierWindow::WndProc(TMessage& Message) {
  if (Message.Msg == WM_OFFICETHEMECHANGE && OnOfficeThemeChange) OnOfficeThemeChange(this);
  TWinControl::WndProc(Message);
}

// ---------------------------------------------------------------------------
// TThemeNotifier

TThemeNotifier::TThemeNotifier(TComponent* AOwner) : TComponent(AOwner) {
  const int version = InstalledOfficeVersion();
  if (version != 1 && version != 2) return;

  FNotifier = new TThemeNotifierWindow(this);
  FNotifier->SetVisible(false);
  // An owner that is no windowed control leaves the hidden window without a parent.
  if (auto* parent = dynamic_cast<TWinControl*>(AOwner)) FNotifier->SetParent(parent);
  FNotifier->OnOfficeThemeChange = [this](TObject* Sender) { HandleThemeChange(Sender); };

  FRegMonitorThread = std::make_unique<TRegMonitorThread>();
  FRegMonitorThread->FWnd = FNotifier->Handle();
  FRegMonitorThread->FFilter = REG_NOTIFY_CHANGE_LAST_SET;
  FRegMonitorThread->FKey = version == 2 ? OfficeKey2010 : OfficeKey2007;
  FRegMonitorThread->FRootKey = HKEY_CURRENT_USER;
  FRegMonitorThread->FWatchSub = true;
  FRegMonitorThread->Start();
  // Watching from the moment the notifier exists.
  FRegMonitorThread->WaitArmed();
}

TThemeNotifier::~TThemeNotifier() {
  // The thread is waited for (messages it sends meanwhile are still handled), so it never
  // outlives the window it notifies.
  if (FRegMonitorThread) {
    FRegMonitorThread->Stop();
    FRegMonitorThread->WaitFor();
    FRegMonitorThread.reset();
  }
  if (gThemeNotifier == this) gThemeNotifier = nullptr;
}

void TThemeNotifier::RegisterWindow(HWND Hwnd) {
  if (FRegMonitorThread) FRegMonitorThread->AddWindow(Hwnd);
}

void TThemeNotifier::UnRegisterWindow(HWND Hwnd) {
  if (FRegMonitorThread) FRegMonitorThread->RemoveWindow(Hwnd);
}

void TThemeNotifier::HandleThemeChange(TObject*) {
  if (OnOfficeThemeChange) OnOfficeThemeChange(this);
}

TThemeNotifier* GetThemeNotifier(TComponent* AOwner) {
  if (gThemeNotifier != nullptr) return gThemeNotifier;
  TComponent* owner = AOwner;
  if (Application != nullptr && Application->MainForm() != nullptr && Application->MainForm()->HandleAllocated())
    owner = Application->MainForm();
  gThemeNotifier = new TThemeNotifier(owner);
  return gThemeNotifier;
}
