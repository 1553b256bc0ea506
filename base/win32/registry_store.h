// The settings store in the registry, under HKEY_CURRENT_USER.
#pragma once

#include "base/settingsstore.h"

class RegistrySettingsStore final : public SettingsStore {
 public:
  // Tests give keys of their own; the program uses the defaults.
  explicit RegistrySettingsStore(const char* productKey = kProductKey, const char* startupKey = kStartupKey)
      : SettingsStore(productKey, startupKey) {}

  int SetValue(const char* subkey, const char* name, uint32_t type, const void* data, size_t size,
               bool createKey) override;
  int QueryValue(const char* subkey, const char* name, uint32_t* type, std::string* data) override;
  int DeleteValue(const char* subkey, const char* name) override;
  bool KeyExists(const char* subkey) override;
};

// The program's store (the real keys), made on first use.
RegistrySettingsStore& HostSettingsStore();
