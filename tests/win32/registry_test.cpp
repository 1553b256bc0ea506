// The registry store on Wine's registry, under the contract every settings
// store keeps. Every key lives under a test key of its own, deleted
// afterwards, so a developer's settings are never touched.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

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
