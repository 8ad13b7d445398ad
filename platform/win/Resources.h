#pragma once
// The program's resources: data compiled into the executable (cursors, bitmaps, raw data),
// each under a type and a name or number, found and read as the API's resource calls do.
//
// A resource is the bytes of a whole file: a cursor is a .cur file, a bitmap a .bmp file,
// raw data anything. The build embeds them (cmake/Resources.cmake: project_resources) in a
// unit that adds each to the table before main runs. There is one module, the program:
// every module handle (HInstance, or null) means it.

#include <cstdint>

#include "platform/win/Windows.h"

using LPCWSTR = const Char*;

struct HMODULE__;
using HMODULE = HMODULE__*;
struct HRSRC__;
using HRSRC = HRSRC__*;
using HGLOBAL = const void*;

// The program's module handle.
extern const HMODULE HInstance;

// A resource number in place of a name or type, as the API writes it.
inline LPCWSTR MAKEINTRESOURCEW(WORD Id) { return reinterpret_cast<LPCWSTR>(static_cast<uintptr_t>(Id)); }
inline LPCWSTR MAKEINTRESOURCE(WORD Id) { return MAKEINTRESOURCEW(Id); }
inline bool IS_INTRESOURCE(LPCWSTR Name) { return (reinterpret_cast<uintptr_t>(Name) >> 16) == 0; }

// Resource types.
inline LPCWSTR const RT_CURSOR = MAKEINTRESOURCEW(1);
inline LPCWSTR const RT_BITMAP = MAKEINTRESOURCEW(2);
inline LPCWSTR const RT_ICON = MAKEINTRESOURCEW(3);
inline LPCWSTR const RT_RCDATA = MAKEINTRESOURCEW(10);

// Errors (errno values, as the facade's other calls report them).
constexpr DWORD ERROR_RESOURCE_NAME_NOT_FOUND = 2;  // ENOENT
constexpr DWORD ERROR_RESOURCE_DATA_INVALID = 74;   // EBADMSG

// Adds Size bytes at Data (kept, not copied: static data) to the table under Type and Name;
// a name or number may be given as text ("#12" is number 12). A second resource of the same
// type and name replaces the first. False for an empty name or a null type.
bool RegisterResource(LPCWSTR Type, LPCWSTR Name, const void* Data, DWORD Size);
// Takes a resource out of the table (tests).
void UnregisterResource(LPCWSTR Type, LPCWSTR Name);

// The resource of that type and name (names compare without regard to case); null, with
// ERROR_RESOURCE_NAME_NOT_FOUND as the last error, when there is none.
HRSRC FindResourceW(HMODULE Module, LPCWSTR Name, LPCWSTR Type);
inline HRSRC FindResource(HMODULE Module, LPCWSTR Name, LPCWSTR Type) { return FindResourceW(Module, Name, Type); }
// Its data (valid for the program's life) and its size in bytes.
HGLOBAL LoadResource(HMODULE Module, HRSRC Resource);
const void* LockResource(HGLOBAL Data);
DWORD SizeofResource(HMODULE Module, HRSRC Resource);

// The cursor of that name (a .cur resource) with its hot spot, shared: the same handle for
// every load, never to be destroyed. Null, with the last error set, when the name is not in
// the table or its data is no cursor.
HCURSOR LoadCursorW(HMODULE Module, LPCWSTR Name);
inline HCURSOR LoadCursor(HMODULE Module, LPCWSTR Name) { return LoadCursorW(Module, Name); }

// Registers one resource from static initialisation (the generated resource unit).
struct TResourceRegistration {
  TResourceRegistration(LPCWSTR Type, LPCWSTR Name, const void* Data, DWORD Size) {
    RegisterResource(Type, Name, Data, Size);
  }
};
