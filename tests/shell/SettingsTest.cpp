// Options read from the real key under HKEY_CURRENT_USER.
#include "shell/Registry.h"
#include "shell/Settings.h"
#include "support/Platform.h"

#include <gtest/gtest.h>

using namespace ContextM;

class SettingsTest : public ::testing::Test {
protected:
  Testing::TOptionsKey Options;
};

TEST_F(SettingsTest, AbsentKeyReadsAsEmptyValues) {
  TOptionValues options = ReadOptions();
  EXPECT_TRUE(options.DecryptFilter);
  EXPECT_TRUE(options.CarrierFilter);
  EXPECT_EQ(options.CarrierMask, "");
  EXPECT_EQ(ReadExeName(), "");
}

TEST_F(SettingsTest, AbsentValuesInAPresentKeyReadAsEmpty) {
  Options.SetString("Other", "1");
  Options.SetBytes("UnhideMask", "", 0, REG_SZ);
  TOptionValues options = ReadOptions();
  EXPECT_TRUE(options.DecryptFilter);
  EXPECT_TRUE(options.CarrierFilter);
  EXPECT_EQ(options.CarrierMask, "");
}

TEST_F(SettingsTest, OnlyTheExactTextZeroSwitchesAFilterOff) {
  struct {
    const char* Text;
    bool On;
  } cases[] = {{"0", false}, {"1", true}, {"00", true}, {" 0", true}, {"0 ", true}, {"false", true}, {"", true}};
  for (const auto& c : cases) {
    Options.SetString("DecryptSec", c.Text);
    Options.SetString("UnhideInst", c.Text);
    TOptionValues options = ReadOptions();
    EXPECT_EQ(options.DecryptFilter, c.On) << '"' << c.Text << '"';
    EXPECT_EQ(options.CarrierFilter, c.On) << '"' << c.Text << '"';
  }
}

TEST_F(SettingsTest, MaskIsUpperCasedInLettersAToZOnly) {
  Options.SetString("UnhideMask", "*.bmp;*.jpg;\xE9t\xE9");
  EXPECT_EQ(ReadOptions().CarrierMask, "*.BMP;*.JPG;\xE9T\xE9");
  EXPECT_EQ(CurrentOptions().CarrierMask, "*.BMP;*.JPG;\xE9T\xE9");
}

TEST_F(SettingsTest, ExpandableStringIsUsedAsStored) {
  Options.SetString("ExeName", "%ProgramFiles%\\Tarnwick\\main.exe", REG_EXPAND_SZ);
  EXPECT_EQ(ReadExeName(), "%ProgramFiles%\\Tarnwick\\main.exe");
}

TEST_F(SettingsTest, EmbeddedNulCutsTheText) {
  const char stored[] = "C:\\Apps\\main.exe\0C:\\Other\\evil.exe";
  Options.SetBytes("ExeName", stored, sizeof stored, REG_SZ);
  EXPECT_EQ(ReadExeName(), "C:\\Apps\\main.exe");
}

TEST_F(SettingsTest, ValuesOfEveryLengthAreReadWhole) {
  // Around the size of the reader's first buffer, and far beyond it.
  for (std::size_t length : {254u, 255u, 256u, 257u, 4000u}) {
    std::string path = "C:\\" + std::string(length - 3, 'p');
    Options.SetString("ExeName", path);
    EXPECT_EQ(ReadExeName(), path) << length;
  }
  // Without a terminator, exactly filling the first buffer.
  std::string unterminated(256, 'u');
  Options.SetBytes("ExeName", unterminated.data(), 256, REG_SZ);
  EXPECT_EQ(ReadExeName(), unterminated);
  // A long value of another type is refused like a short one.
  std::string bytes(1000, '\x01');
  Options.SetBytes("ExeName", bytes.data(), 1000, REG_BINARY);
  EXPECT_THROW(ReadExeName(), ERegistryException);
}

TEST_F(SettingsTest, StringWithoutTerminatorIsReadWhole) {
  Options.SetBytes("ExeName", "C:\\m.exe", 8, REG_SZ);
  EXPECT_EQ(ReadExeName(), "C:\\m.exe");
}

TEST_F(SettingsTest, OtherTypesAreRefusedWithTheValuesName) {
  Options.SetDword("DecryptSec", 0);
  try {
    ReadOptions();
    FAIL() << "a DWORD was accepted";
  } catch (const ERegistryException& failure) {
    EXPECT_STREQ(failure.what(), "Invalid data type for 'DecryptSec'");
  }
  Options.SetBytes("ExeName", "\x01\x02", 2, REG_BINARY);
  EXPECT_THROW(ReadExeName(), ERegistryException);
}

TEST_F(SettingsTest, FailedReadLeavesTheModuleValuesAsTheyWere) {
  Options.SetString("DecryptSec", "0");
  Options.SetString("UnhideInst", "0");
  Options.SetString("UnhideMask", "*.bmp");
  ReadOptions();
  Options.SetString("DecryptSec", "1");
  Options.SetDword("UnhideInst", 1);
  EXPECT_THROW(ReadOptions(), ERegistryException);
  TOptionValues kept = CurrentOptions();
  EXPECT_FALSE(kept.DecryptFilter);
  EXPECT_FALSE(kept.CarrierFilter);
  EXPECT_EQ(kept.CarrierMask, "*.BMP");
}

TEST_F(SettingsTest, ChangesTakeEffectAtTheNextRead) {
  Options.SetString("ExeName", "C:\\one.exe");
  EXPECT_EQ(ReadExeName(), "C:\\one.exe");
  Options.SetString("ExeName", "C:\\two.exe");
  EXPECT_EQ(ReadExeName(), "C:\\two.exe");
}

TEST_F(SettingsTest, UnloadEmptiesOnlyTheMask) {
  Options.SetString("DecryptSec", "0");
  Options.SetString("UnhideMask", "*.bmp");
  ReadOptions();
  ClearCarrierMask();
  EXPECT_EQ(CurrentOptions().CarrierMask, "");
  EXPECT_FALSE(CurrentOptions().DecryptFilter);
}

namespace {

// Grants everyone the given access to the options key, and nothing else; the handle keeps the right to
// change that back, since access is checked when a key is opened.
class TKeyAccess {
public:
  TKeyAccess() { ::RegOpenKeyExA(HKEY_CURRENT_USER, OptionsKeyPath, 0, READ_CONTROL | WRITE_DAC, FKey.put()); }
  ~TKeyAccess() { Grant(KEY_ALL_ACCESS); }
  LONG Grant(REGSAM access) {
    alignas(DWORD) BYTE everyone[SECURITY_MAX_SID_SIZE];
    DWORD sidSize = sizeof everyone;
    ::CreateWellKnownSid(WinWorldSid, nullptr, everyone, &sidSize);
    alignas(DWORD) BYTE aclBytes[256];
    auto* acl = reinterpret_cast<ACL*>(aclBytes);
    ::InitializeAcl(acl, sizeof aclBytes, ACL_REVISION);
    ::AddAccessAllowedAce(acl, ACL_REVISION, access, everyone);
    SECURITY_DESCRIPTOR descriptor;
    ::InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
    ::SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE);
    return ::RegSetKeySecurity(FKey.get(), DACL_SECURITY_INFORMATION, &descriptor);
  }

private:
  Win32::TRegKey FKey;
};

}  // namespace

TEST_F(SettingsTest, KeyThatGrantsOnlyReadingIsRead) {
  Options.SetString("UnhideMask", "*.twk");
  Options.SetString("ExeName", "C:\\Apps\\main.exe");
  TKeyAccess access;
  ASSERT_EQ(access.Grant(KEY_READ), ERROR_SUCCESS);
  Win32::TRegKey full;
  ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, OptionsKeyPath, 0, KEY_ALL_ACCESS, full.put()), ERROR_ACCESS_DENIED)
      << "the platform enforces the key's security";
  EXPECT_EQ(ReadOptions().CarrierMask, "*.TWK");
  EXPECT_EQ(ReadExeName(), "C:\\Apps\\main.exe");
}
