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
