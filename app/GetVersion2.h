#pragma once
// The string entries of a file's version block.

#include "platform/rtl/System.h"

// The twelve standard strings of a version block, in the block's order.
struct TEXEVersionData {
  String CompanyName;
  String FileDescription;
  String FileVersion;
  String InternalName;
  String LegalCopyright;
  String LegalTrademarks;
  String OriginalFileName;
  String ProductName;
  String ProductVersion;
  String Comments;
  String PrivateBuild;
  String SpecialBuild;
};

// Reads FileName's version block into Data: each string the block's first translation holds
// replaces its field; the others keep their values. A file without a readable block raises
// EOSError with the system's error code.
void ReadVersionData(const String& FileName, TEXEVersionData& Data);
