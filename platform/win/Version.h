#pragma once
// Version resources. A file's version block has the documented layout: a tree of nodes
// (length, value length, type, UTF-16 key, value, children; each 32-bit aligned) whose root
// "VS_VERSION_INFO" holds the fixed file information and the children "StringFileInfo" (one
// string table per language and code page, named like "040904e4") and "VarFileInfo"
// ("Translation": pairs of 16-bit language and code page).
//
// On Linux the block lives in the ELF section VersionSectionName of the executable; the build
// puts the tool's own there. Errors are errno values, read with GetLastError.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/win/Windows.h"

using LPCWSTR = const Char*;

// The ELF section that holds a file's version block.
constexpr const char* VersionSectionName = ".rcv_version";

constexpr DWORD ERROR_RESOURCE_TYPE_NOT_FOUND = 61;  // ENODATA: the file has no version block
constexpr DWORD ERROR_INVALID_DATA = 74;             // EBADMSG: the block or the file is malformed

constexpr DWORD VS_FFI_SIGNATURE = 0xFEEF04BD;
constexpr DWORD VS_FFI_STRUCVERSION = 0x00010000;
constexpr DWORD VOS__WINDOWS32 = 0x00000004;
constexpr DWORD VFT_APP = 0x00000001;

struct VS_FIXEDFILEINFO {
  DWORD dwSignature = VS_FFI_SIGNATURE;
  DWORD dwStrucVersion = VS_FFI_STRUCVERSION;
  DWORD dwFileVersionMS = 0;
  DWORD dwFileVersionLS = 0;
  DWORD dwProductVersionMS = 0;
  DWORD dwProductVersionLS = 0;
  DWORD dwFileFlagsMask = 0x3F;
  DWORD dwFileFlags = 0;
  DWORD dwFileOS = VOS__WINDOWS32;
  DWORD dwFileType = VFT_APP;
  DWORD dwFileSubtype = 0;
  DWORD dwFileDateMS = 0;
  DWORD dwFileDateLS = 0;
};

// The size of FileName's version block; 0 (last error set) when the file cannot be read, is
// no ELF file, has no version block, or its block is malformed. Handle is set to 0.
DWORD GetFileVersionInfoSizeW(LPCWSTR FileName, DWORD* Handle);
// Reads the block into Data. Fails (last error set) as above, or when Len is smaller than the
// block (ERROR_INSUFFICIENT_BUFFER): a block is read whole or not at all.
BOOL GetFileVersionInfoW(LPCWSTR FileName, DWORD Handle, DWORD Len, void* Data);
// Finds SubBlock in a block read by GetFileVersionInfoW: "\" is the fixed file information,
// "\VarFileInfo\Translation" the translation table, "\StringFileInfo\040904e4\FileVersion" a
// string (keys compare without regard to case; empty path parts are skipped). Buffer points
// into Block; Len is in characters for a string (its terminating null included, when the
// block stores one), in bytes otherwise. False (last error set) when there is no such entry.
BOOL VerQueryValueW(const void* Block, LPCWSTR SubBlock, void** Buffer, UINT* Len);

constexpr DWORD ERROR_INSUFFICIENT_BUFFER = 105;  // ENOBUFS

// What a version block holds, for writing one.
struct TVersionInfo {
  VS_FIXEDFILEINFO Fixed;
  WORD Language = 0x0409;
  WORD CodePage = 0x04E4;
  std::vector<std::pair<std::u16string, std::u16string>> Strings;  // name, text, in order
};
// The block in the documented layout: one string table named after the language and code
// page, and their translation entry. Empty when the whole exceeds the layout's 16-bit lengths.
std::vector<uint8_t> MakeVersionBlock(const TVersionInfo& Info);
