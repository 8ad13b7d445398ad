#include "app/AppSettings.h"

#include "platform/rtl/SysUtils.h"

namespace {
String gSettingsPath;
}

String SettingsFilePath() { return gSettingsPath.empty() ? ChangeFileExt(ExeName(), u".ini") : gSettingsPath; }

void SetSettingsFilePath(const String& Path) { gSettingsPath = Path; }

TSettingsStore OpenSettings(const String& Path) {
  TSettingsStore s;
  s.Path = Path;
  try {
    s.Ini = std::make_unique<TMemIniFile>(Path);
  } catch (Exception&) {
    s.Ini = std::make_unique<TMemIniFile>(u"");
    s.Readable = false;
  }
  return s;
}

bool WriteBackSettings(TSettingsStore& Store) {
  if (!Store.Readable || !Store.Ini) return false;
  try {
    Store.Ini->UpdateFile();
    return true;
  } catch (Exception&) {
    return false;
  }
}

void SaveSettings(TSettingsStore& Store) {
  if (!Store.Readable) throw EFCreateError(u"Cannot write the settings file " + Store.Path +
                                           u": it is not a readable text file");
  Store.Ini->UpdateFile();
}

namespace {

struct ColorKey {
  const char16_t* Section;
  const char16_t* Key;
  int32_t TColorSettings::*Field;
};

// In the order the options window's save writes them.
const ColorKey ColorKeys[] = {
    {u"ContWin color", u"Back", &TColorSettings::Back},
    {u"ContWin color", u"Font", &TColorSettings::Font},
    {u"Graph color", u"c1Main", &TColorSettings::c1Main},
    {u"Graph color", u"c1Over", &TColorSettings::c1Over},
    {u"Graph color", u"c1Peak", &TColorSettings::c1Peak},
    {u"Graph color", u"c1Start", &TColorSettings::c1Start},
    {u"Graph color", u"c1End", &TColorSettings::c1End},
    {u"Graph color", u"c1ThreLine", &TColorSettings::c1ThreLine},
    {u"Graph color", u"c1AnaLine1", &TColorSettings::c1AnaLine1},
    {u"Graph color", u"c1AnaLine2", &TColorSettings::c1AnaLine2},
    {u"Graph color", u"c1CenterLine", &TColorSettings::c1CenterLine},
    {u"Graph color", u"c2Main", &TColorSettings::c2Main},
    {u"Graph color", u"c2Over", &TColorSettings::c2Over},
    {u"Graph color", u"c2Start", &TColorSettings::c2Start},
    {u"Graph color", u"c2End", &TColorSettings::c2End},
    {u"Graph color", u"c2ThreLine", &TColorSettings::c2ThreLine},
    {u"Graph color", u"c2AnaLine", &TColorSettings::c2AnaLine},
    {u"Graph color", u"c2CenterLine", &TColorSettings::c2CenterLine},
    {u"Graph color", u"c2Point", &TColorSettings::c2Point},
    {u"Graph color", u"c2AreaLine", &TColorSettings::c2AreaLine},
};

}  // namespace

TAppSettings ReadAppSettings(TCustomIniFile& Ini) {
  TAppSettings s;
  for (const ColorKey& k : ColorKeys)
    s.Colors.*k.Field = Ini.ReadInteger(k.Section, k.Key, s.Colors.*k.Field);
  s.Destination = Ini.ReadString(u"Information", u"destination", s.Destination);
  s.FormCaption = Ini.ReadString(u"Application", u"FormCaption", s.FormCaption);
  s.AppTitle = Ini.ReadString(u"Application", u"AppTitle", s.AppTitle);
  s.AppIcon = Ini.ReadString(u"Application", u"AppIcon", s.AppIcon);
  s.RTScontrol = Ini.ReadInteger(u"Application", u"RTScontrol", s.RTScontrol);
  s.CPUpower = Ini.ReadInteger(u"Application", u"CPUpower", s.CPUpower);
  s.TimeD_interval = Ini.ReadInteger(u"Application", u"TimeD_interval", s.TimeD_interval);
  return s;
}

void WriteColorSettings(TCustomIniFile& Ini, const TColorSettings& Colors) {
  for (const ColorKey& k : ColorKeys) Ini.WriteInteger(k.Section, k.Key, Colors.*k.Field);
}

TAppSettings LoadAppSettings(const String& Path) {
  TSettingsStore store = OpenSettings(Path);
  TAppSettings s = ReadAppSettings(*store.Ini);
  WriteBackSettings(store);
  return s;
}
