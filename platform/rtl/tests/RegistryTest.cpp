#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "testing/TempFolder.h"
#include "platform/rtl/Registry.h"

namespace {

// Points the configuration folder at a fresh temporary folder for one test.
class RegistryTest : public ::testing::Test {
protected:
  void SetUp() override {
    if (const char* old = std::getenv("XDG_CONFIG_HOME")) saved_ = old;
    ::setenv("XDG_CONFIG_HOME", dir_.Path().c_str(), 1);
  }
  void TearDown() override {
    if (saved_) ::setenv("XDG_CONFIG_HOME", saved_->c_str(), 1);
    else ::unsetenv("XDG_CONFIG_HOME");
  }
  TempFolder dir_;
  std::optional<std::string> saved_;
};

}  // namespace

TEST_F(RegistryTest, ValuesKeepTheirKindsInAnIniFileInTheConfigFolder) {
  EXPECT_EQ(RegistryFileName(), UTF8ToString(dir_.Path()) + u"/rcv910x/registry.ini");
  {
    TRegistry reg;
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(reg.OpenKey(u"Software\\Tool\\ComPort1", true));
    reg.WriteString(u"Port", u"COM3");
    reg.WriteString(u"Empty", u"");
    reg.WriteInteger(u"Buffer.InputSize", -1);
    reg.WriteBool(u"On", true);
  }
  EXPECT_EQ(dir_.Read("rcv910x/registry.ini"),
            "[HKEY_LOCAL_MACHINE\\Software\\Tool\\ComPort1]\r\n"
            "Port=sz:COM3\r\nEmpty=sz:\r\nBuffer.InputSize=dword:-1\r\nOn=dword:1\r\n\r\n");

  TRegistry reg;
  reg.SetRootKey(HKEY_LOCAL_MACHINE);
  ASSERT_TRUE(reg.OpenKeyReadOnly(u"\\software\\TOOL\\comport1"));  // key names ignore case
  EXPECT_EQ(reg.ReadString(u"port"), u"COM3");
  EXPECT_EQ(reg.ReadString(u"Empty"), u"");
  EXPECT_EQ(reg.ReadInteger(u"BUFFER.INPUTSIZE"), -1);
  EXPECT_TRUE(reg.ReadBool(u"On"));
  EXPECT_EQ(reg.ReadString(u"Missing"), u"");             // a missing text reads empty
  EXPECT_THROW(reg.ReadInteger(u"Missing"), ERegistryException);  // a missing integer fails
  EXPECT_THROW(reg.ReadInteger(u"Port"), ERegistryException);     // wrong kinds fail
  EXPECT_THROW(reg.ReadString(u"On"), ERegistryException);
  EXPECT_THROW(reg.WriteString(u"Port", u"x"), ERegistryException);  // opened read-only
  EXPECT_EQ(reg.GetDataType(u"On"), rdInteger);
  EXPECT_EQ(reg.GetDataType(u"Port"), rdString);
  EXPECT_EQ(reg.GetDataType(u"Missing"), rdUnknown);

  // The same path under another root is another key.
  TRegistry user;
  EXPECT_EQ(user.RootKey(), HKEY_CURRENT_USER);
  EXPECT_FALSE(user.OpenKey(u"Software\\Tool\\ComPort1", false));
  EXPECT_FALSE(user.HasOpenKey());
}

TEST_F(RegistryTest, WithoutAnOpenKeyReadsAndWritesFail) {
  TRegistry reg;
  EXPECT_THROW(reg.WriteString(u"Port", u"COM1"), ERegistryException);
  EXPECT_THROW(reg.ReadString(u"Port"), ERegistryException);
  EXPECT_THROW(reg.ReadInteger(u"Port"), ERegistryException);
  EXPECT_FALSE(reg.ValueExists(u"Port"));
  ASSERT_TRUE(reg.OpenKey(u"A", true));
  reg.CloseKey();
  EXPECT_THROW(reg.WriteInteger(u"x", 1), ERegistryException);
}

TEST_F(RegistryTest, KeysNestCreateListAndDelete) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(u"Software\\App", true));
  reg.WriteInteger(u"v", 1);
  ASSERT_TRUE(reg.OpenKey(u"Columns", true));  // relative to the open key
  EXPECT_EQ(reg.CurrentPath(), u"Software\\App\\Columns");
  reg.WriteString(u"Width", u"80");
  EXPECT_TRUE(reg.CreateKey(u"\\Software\\App\\Deep\\Er"));
  EXPECT_TRUE(reg.KeyExists(u"\\Software\\App\\Deep"));  // a parent of a created key exists

  ASSERT_TRUE(reg.OpenKey(u"\\Software\\App", false));
  TStringList l;
  reg.GetKeyNames(&l);
  EXPECT_EQ(l.CommaText(), u"Columns,Deep");
  EXPECT_TRUE(reg.HasSubKeys());
  reg.GetValueNames(&l);
  EXPECT_EQ(l.CommaText(), u"v");
  EXPECT_TRUE(reg.ValueExists(u"V"));
  EXPECT_TRUE(reg.DeleteValue(u"v"));
  EXPECT_FALSE(reg.DeleteValue(u"v"));
  EXPECT_FALSE(reg.ValueExists(u"v"));

  EXPECT_TRUE(reg.DeleteKey(u"\\Software\\App\\Deep"));
  EXPECT_FALSE(reg.KeyExists(u"\\Software\\App\\Deep\\Er"));
  EXPECT_FALSE(reg.DeleteKey(u"\\Software\\App\\Deep"));
  EXPECT_TRUE(reg.KeyExists(u"\\Software\\App\\Columns"));
  EXPECT_FALSE(reg.OpenKeyReadOnly(u"\\Nowhere"));
}

TEST_F(RegistryTest, AnUnwritableStoreRaisesARegistryError) {
  // A folder where the file should be cannot be written, whoever runs the test.
  std::filesystem::create_directories(dir_.File("rcv910x/registry.ini"));
  TRegistry reg;
  EXPECT_THROW(reg.OpenKey(u"Software\\X", true), ERegistryException);
}

TEST_F(RegistryTest, RegistryIniFileMapsSectionsToSubkeys) {
  {
    TRegistryIniFile ini(u"Software\\Grid");
    ini.WriteInteger(u"Col0", u"Width", 64);
    ini.WriteString(u"Col0", u"Title", u"ID");
    ini.WriteString(u"Col1", u"Width", u"80");
    ini.WriteInteger(u"Col1", u"Width", 90);  // a text value stays text
  }
  TRegistryIniFile ini(u"Software\\Grid");
  EXPECT_EQ(ini.ReadInteger(u"col0", u"width", 0), 64);
  EXPECT_EQ(ini.ReadString(u"Col0", u"Width", u""), u"64");
  EXPECT_EQ(ini.ReadInteger(u"Col1", u"Width", 0), 90);
  EXPECT_EQ(ini.ReadInteger(u"Col9", u"Width", 5), 5);
  TStringList l;
  ini.ReadSections(&l);
  EXPECT_EQ(l.CommaText(), u"Col0,Col1");
  ini.ReadSectionValues(u"Col0", &l);
  EXPECT_EQ(l.CommaText(), u"Width=64,Title=ID");
  ini.EraseSection(u"Col0");
  EXPECT_FALSE(ini.SectionExists(u"Col0"));
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKeyReadOnly(u"Software\\Grid\\Col1"));
  EXPECT_EQ(reg.GetDataType(u"Width"), rdString);
}
