#include "platform/win/Modules.h"

#include <cstring>

#include "platform/rtl/SysUtils.h"
#include "platform/win/FlatSB_p.h"
#include "platform/win/UxTheme.h"

// A loaded module: its name, its exports and the references LoadLibrary has handed out.
struct HMODULE__ {
  const char16_t* name;
  FARPROC (*find)(const char* proc);
  int references = 0;
};

namespace {

HRESULT ComCtlGetVersion(DLLVERSIONINFO* Info) {
  if (!Info || Info->cbSize < sizeof(DLLVERSIONINFO)) return E_INVALIDARG;
  Info->dwMajorVersion = 6;
  Info->dwMinorVersion = 10;
  Info->dwBuildNumber = 7601;
  Info->dwPlatformID = VER_PLATFORM_WIN32_NT;
  return S_OK;
}

FARPROC User32Export(const char* proc) {
  if (std::strcmp(proc, "UpdateLayeredWindow") == 0) return ToFarProc(&UpdateLayeredWindow);
  if (std::strcmp(proc, "SetLayeredWindowAttributes") == 0) return ToFarProc(&SetLayeredWindowAttributes);
  return nullptr;
}
FARPROC Kernel32Export(const char* proc) {
  return std::strcmp(proc, "GetLocaleInfoEx") == 0 ? ToFarProc(&GetLocaleInfoEx) : nullptr;
}
FARPROC ComCtlExport(const char* proc) {
  if (std::strcmp(proc, "DllGetVersion") == 0) return ToFarProc(&ComCtlGetVersion);
  return FlatSBExport(proc);
}

HMODULE__ Table[] = {
    {u"UXTHEME", &UxThemeExport},
    {u"USER32", &User32Export},
    {u"KERNEL32", &Kernel32Export},
    {u"COMCTL32", &ComCtlExport},
};

HMODULE Find(LPCWSTR FileName) {
  if (!FileName) return nullptr;
  String name = UpperCase(Trim(String(FileName)));
  if (name.size() > 4 && name.compare(name.size() - 4, 4, u".DLL") == 0) name.resize(name.size() - 4);
  for (HMODULE__& m : Table)
    if (name == m.name) return &m;
  return nullptr;
}

bool Loaded(HMODULE Module) {
  for (HMODULE__& m : Table)
    if (&m == Module) return m.references > 0;
  return false;
}

}  // namespace

HMODULE LoadLibraryW(LPCWSTR FileName) {
  HMODULE m = Find(FileName);
  if (m) ++m->references;
  return m;
}

FARPROC GetProcAddress(HMODULE Module, const char* ProcName) {
  if (!ProcName || !Loaded(Module)) return nullptr;
  return Module->find(ProcName);
}

BOOL FreeLibrary(HMODULE Module) {
  if (!Loaded(Module)) return FALSE;
  --Module->references;
  return TRUE;
}

int ModuleReferences(LPCWSTR FileName) {
  HMODULE m = Find(FileName);
  return m ? m->references : 0;
}

DWORD GetVersion() { return 6u | (1u << 8) | (7601u << 16); }

BOOL GetVersionExW(OSVERSIONINFOW* Info) {
  if (!Info || Info->dwOSVersionInfoSize < sizeof(OSVERSIONINFOW)) return FALSE;
  Info->dwMajorVersion = 6;
  Info->dwMinorVersion = 1;
  Info->dwBuildNumber = 7601;
  Info->dwPlatformId = VER_PLATFORM_WIN32_NT;
  const char16_t sp[] = u"Service Pack 1";
  std::memcpy(Info->szCSDVersion, sp, sizeof(sp));
  return TRUE;
}

int GetLocaleInfoEx(LPCWSTR, DWORD, Char*, int) { return 0; }
