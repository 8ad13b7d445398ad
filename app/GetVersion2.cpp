#include "app/GetVersion2.h"

#include <cstring>
#include <vector>

#include "platform/rtl/SysUtils.h"
#include "platform/win/Comm.h"  // GetLastError
#include "platform/win/Version.h"

namespace {
[[noreturn]] void RaiseVersionError() { RaiseLastOSError(static_cast<int>(GetLastError())); }
}  // namespace

void ReadVersionData(const String& FileName, TEXEVersionData& Data) {
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeW(FileName.c_str(), &handle);
  if (size == 0) RaiseVersionError();
  std::vector<uint8_t> block(size);
  if (!GetFileVersionInfoW(FileName.c_str(), handle, size, block.data())) RaiseVersionError();

  void* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(block.data(), u"\\VarFileInfo\\Translation\\", &value, &length)) RaiseVersionError();
  if (length < 4) {
    SetLastError(ERROR_INVALID_DATA);
    RaiseVersionError();
  }
  uint32_t translation;
  std::memcpy(&translation, value, 4);
  const String blockName = Format(u"%.4x%.4x", {static_cast<int32_t>(translation & 0xFFFF),
                                                static_cast<int32_t>(translation >> 16)});

  struct Field {
    const char16_t* Name;
    String TEXEVersionData::*Member;
  };
  static const Field fields[] = {
      {u"CompanyName", &TEXEVersionData::CompanyName},
      {u"FileDescription", &TEXEVersionData::FileDescription},
      {u"FileVersion", &TEXEVersionData::FileVersion},
      {u"InternalName", &TEXEVersionData::InternalName},
      {u"LegalCopyright", &TEXEVersionData::LegalCopyright},
      {u"LegalTrademarks", &TEXEVersionData::LegalTrademarks},
      {u"OriginalFileName", &TEXEVersionData::OriginalFileName},
      {u"ProductName", &TEXEVersionData::ProductName},
      {u"ProductVersion", &TEXEVersionData::ProductVersion},
      {u"Comments", &TEXEVersionData::Comments},
      {u"PrivateBuild", &TEXEVersionData::PrivateBuild},
      {u"SpecialBuild", &TEXEVersionData::SpecialBuild},
  };
  for (const Field& f : fields) {
    const String path = u"\\StringFileInfo\\" + blockName + u"\\" + f.Name;
    if (!VerQueryValueW(block.data(), path.c_str(), &value, &length)) continue;
    // The text as long as the block says, without its terminating nulls.
    String text(length, u'\0');
    if (length) std::memcpy(text.data(), value, length * sizeof(char16_t));
    while (!text.empty() && text.back() == u'\0') text.pop_back();
    Data.*f.Member = text;
  }
}
