// The registry store on Wine's registry, under the contract every settings
// store keeps. Every key lives under a test key of its own, deleted
// afterwards, so a developer's settings are never touched.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "alerts/mailsettings.h"
#include "alerts/scrambler.h"
#include "base/win32/registry_store.h"
#include "tests/conformance/settings_conformance.h"

namespace {

// The registry store under a test key of its own, deleted before and after.
class RegistryBackend {
 public:
  RegistryBackend()
      : root_("Software\\Velkin Test " + std::to_string(GetCurrentProcessId())),
        product_(root_ + "\\Velkin 1.0"),
        startup_(root_ + "\\Run"),
        registry_(product_.c_str(), startup_.c_str()) {
    RegDeleteTreeA(HKEY_CURRENT_USER, root_.c_str());
  }
  ~RegistryBackend() { RegDeleteTreeA(HKEY_CURRENT_USER, root_.c_str()); }
  SettingsStore& store() { return registry_; }
  void CreateStartupKey() {
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, startup_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) == ERROR_SUCCESS)
      RegCloseKey(key);
  }
  const char* product() const { return product_.c_str(); }
  const char* startup() const { return startup_.c_str(); }

 private:
  std::string root_;
  std::string product_;
  std::string startup_;
  RegistrySettingsStore registry_;
};

}  // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(Registry, SettingsStoreContract, RegistryBackend);

namespace {

// An earlier version wrote its texts through the ANSI calls in the legacy
// code page (the registry keeps them as Unicode) and the password as bytes
// scrambled in that code page; the program, whose ANSI calls carry UTF-8,
// reads both as the same characters.
TEST(RegistryOfEarlierVersions, TextsAndThePasswordReadAsTheSameCharacters) {
  EXPECT_EQ(GetACP(), static_cast<UINT>(CP_UTF8)) << "the manifest's code page is not honoured";
  RegistryBackend backend;
  HKEY key;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, std::wstring(backend.product(), backend.product() +
                                                          std::strlen(backend.product())).c_str(),
                            0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  const wchar_t username[] = L"J\u00FCrgen";
  RegSetValueExW(key, L"Username", 0, REG_SZ, reinterpret_cast<const BYTE*>(username), sizeof username);
  std::string password = "p\xE4ss\x80";  // Windows-1252, with its zero
  password.push_back('\0');
  ScramblePassword(&password[0], password.size(), "J\xFCrgen");
  RegSetValueExW(key, L"Password", 0, REG_BINARY, reinterpret_cast<const BYTE*>(password.data()),
                 static_cast<DWORD>(password.size()));
  RegCloseKey(key);

  const MailSettings read = ReadMailSettings(backend.store());
  EXPECT_EQ(read.username, "J\xC3\xBCrgen");
  EXPECT_EQ(read.password, "p\xC3\xA4ss\xE2\x82\xAC");
}

}  // namespace
