#pragma once
// Shell: opening documents, folders and links with the desktop's default program.

#include <cstdint>

#include "platform/win/WinUser.h"  // the SW_ show commands
#include "platform/win/Windows.h"

using HINSTANCE = intptr_t;  // the result: > 32 on success, an error code (<= 32) otherwise

// Error results, as the shell reports them.
constexpr HINSTANCE SE_ERR_FNF = 2;            // file not found
constexpr HINSTANCE SE_ERR_PNF = 3;            // path not found
constexpr HINSTANCE SE_ERR_ACCESSDENIED = 5;
constexpr HINSTANCE SE_ERR_NOASSOC = 31;       // no program for the verb or the document
constexpr HINSTANCE SE_ERR_OK = 42;            // what a successful call returns

// Opens File with its default program: a folder in the file manager, a document in its
// viewer, a URL ("http:", "https:", "mailto:", "file:" ...) in the browser. A relative path is
// taken from Directory when given. Operation may be null, "open" or "explore"; Parameters
// and ShowCmd are accepted and unused. Returns > 32 on success.
HINSTANCE ShellExecute(HWND hwnd, const Char* Operation, const Char* File, const Char* Parameters,
                       const Char* Directory, int ShowCmd);
inline HINSTANCE ShellExecuteW(HWND hwnd, const Char* Operation, const Char* File, const Char* Parameters,
                               const Char* Directory, int ShowCmd) {
  return ShellExecute(hwnd, Operation, File, Parameters, Directory, ShowCmd);
}

// ---- the system image lists: icons of files and folders from the desktop's icon theme ----
struct HIMAGELIST__;
using HIMAGELIST = HIMAGELIST__*;

constexpr UINT SHGFI_LARGEICON = 0x0000;
constexpr UINT SHGFI_SMALLICON = 0x0001;
constexpr UINT SHGFI_USEFILEATTRIBUTES = 0x0010;
constexpr UINT SHGFI_SYSICONINDEX = 0x4000;
constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;

struct SHFILEINFOW {
  HICON hIcon = nullptr;
  int iIcon = 0;
  DWORD dwAttributes = 0;
  Char szDisplayName[260] = {};
  Char szTypeName[80] = {};
};

// With SHGFI_SYSICONINDEX: Info->iIcon becomes the index of Path's icon in the system image
// lists and the result is the list of the size asked for (SHGFI_SMALLICON 16 x 16, else 32 x
// 32). The icon is that of the file or folder Path names; with SHGFI_USEFILEATTRIBUTES, or when
// nothing is there, that of a file of that name by its type (a folder when Attributes hold
// FILE_ATTRIBUTE_DIRECTORY). Icon numbers of other systems mean nothing here. 0 without
// SHGFI_SYSICONINDEX or Info.
uintptr_t SHGetFileInfo(const Char* Path, DWORD Attributes, SHFILEINFOW* Info, UINT Size, UINT Flags);
inline uintptr_t SHGetFileInfoW(const Char* Path, DWORD Attributes, SHFILEINFOW* Info, UINT Size, UINT Flags) {
  return SHGetFileInfo(Path, Attributes, Info, Size, Flags);
}

constexpr UINT ILD_NORMAL = 0x0000;
constexpr UINT ILD_TRANSPARENT = 0x0001;

BOOL ImageList_GetIconSize(HIMAGELIST List, int* cx, int* cy);
int ImageList_GetImageCount(HIMAGELIST List);
// Draws icon Index with its transparency at (x, y); an index the list does not hold, or an
// icon the theme does not have, draws nothing.
BOOL ImageList_Draw(HIMAGELIST List, int Index, HDC dc, int x, int y, UINT Style);
