#pragma once
// The tool's settings file beside the executable: the keys the main window reads at
// creation, their defaults, and the read-and-write-back every reading window does.

#include <cstdint>
#include <memory>

#include "platform/rtl/IniFiles.h"
#include "platform/rtl/System.h"

// The executable's full name with the extension ".ini" (or the file set below).
String SettingsFilePath();
// Points SettingsFilePath at another file; empty restores the file beside the executable.
// Tests running side by side use it to keep one settings file each.
void SetSettingsFilePath(const String& Path);

// The whole file in memory. A file that exists but cannot be read gives an empty store
// and Readable False, so that nothing is written back over it.
struct TSettingsStore {
  std::unique_ptr<TMemIniFile> Ini;
  bool Readable = true;
  String Path;
};
TSettingsStore OpenSettings(const String& Path);
// Writes the store back (normalising the file). A file or folder that cannot be written
// is not an error at start-up: False comes back and the values read stay in use.
bool WriteBackSettings(TSettingsStore& Store);
// Writes the store on a save button: a file that cannot be written, or that was not
// readable text (and so is never written over), raises EFCreateError naming it.
void SaveSettings(TSettingsStore& Store);

// The twenty colours, 0x00BBGGRR, named after their keys ("ContWin color" Font/Back,
// "Graph color" c1.../c2...).
struct TColorSettings {
  int32_t Font = 0xFFFFFF;
  int32_t Back = 0x800000;
  int32_t c1Main = 0xF0CAA6;
  int32_t c1Over = 0xFF0000;
  int32_t c1Peak = 0x808080;
  int32_t c1Start = 0xC4CCD2;
  int32_t c1End = 0xFFFFFF;
  int32_t c1ThreLine = 0xFF0000;
  int32_t c1AnaLine1 = 0x0000FF;
  int32_t c1AnaLine2 = 0x808000;
  int32_t c1CenterLine = 0x808080;
  int32_t c2Main = 0xF0CAA6;
  int32_t c2Over = 0xFF0000;
  int32_t c2Start = 0xC4CCD2;
  int32_t c2End = 0xFFFFFF;
  int32_t c2ThreLine = 0xFF0000;
  int32_t c2AnaLine = 0x0000FF;
  int32_t c2CenterLine = 0x808080;
  int32_t c2Point = 0xFF0000;
  int32_t c2AreaLine = 0x000000;
};

// What the main window reads at creation.
struct TAppSettings {
  String FormCaption = u"Error !!";
  String AppTitle = u"Error!!";
  String AppIcon = u"Error !!";
  int32_t RTScontrol = 0;
  int32_t CPUpower = 1;
  int32_t TimeD_interval = 320;
  String Destination = u"All";
  TColorSettings Colors;
};

// Reads every key of the main window from Ini (defaults for missing or unparsable values).
TAppSettings ReadAppSettings(TCustomIniFile& Ini);
// Writes the two colour sections (the options window's save).
void WriteColorSettings(TCustomIniFile& Ini, const TColorSettings& Colors);
// Opens Path, reads the main window's keys and writes the file back; a write-back
// failure is ignored.
TAppSettings LoadAppSettings(const String& Path);
