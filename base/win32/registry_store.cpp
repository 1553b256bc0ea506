#include "base/win32/registry_store.h"

#include <windows.h>

#include "base/win32/scoped.h"

namespace {

// Opens an existing key with only the access the operation needs, so that a
// key the user may read but not change can still be read.
ScopedKey OpenKey(const char* subkey, REGSAM access) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, subkey, 0, access, &key) != ERROR_SUCCESS) return ScopedKey();
  return ScopedKey(key);
}

}  // namespace

int RegistrySettingsStore::SetValue(const char* subkey, const char* name, uint32_t type, const void* data,
                                    size_t size, bool createKey) {
  if (!subkey || !name || (!data && size) || size > MAXDWORD) return 0;
  ScopedKey key;
  if (createKey) {
    HKEY made = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, subkey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                        nullptr, &made, nullptr) != ERROR_SUCCESS)
      return 0;
    key.reset(made);
  } else {
    key = OpenKey(subkey, KEY_SET_VALUE);
    if (!key) return 0;
  }
  return RegSetValueExA(key.get(), name, 0, type, static_cast<const BYTE*>(data), static_cast<DWORD>(size)) ==
                 ERROR_SUCCESS
             ? 1
             : 0;
}

int RegistrySettingsStore::QueryValue(const char* subkey, const char* name, uint32_t* type,
                                      std::string* data) {
  if (!subkey || !name) return 0;
  ScopedKey key = OpenKey(subkey, KEY_QUERY_VALUE);
  if (!key) return 0;
  std::string bytes;
  DWORD valueType = 0;
  // Ask for the size, then read; the value may grow in between (another
  // program writing), so try again a few times rather than read half of it.
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD size = 0;
    if (RegQueryValueExA(key.get(), name, nullptr, &valueType, nullptr, &size) != ERROR_SUCCESS) return 0;
    bytes.resize(size);
    LONG result = RegQueryValueExA(key.get(), name, nullptr, &valueType,
                                   size ? reinterpret_cast<BYTE*>(&bytes[0]) : nullptr, &size);
    if (result == ERROR_MORE_DATA) continue;
    if (result != ERROR_SUCCESS) return 0;
    bytes.resize(size);
    if (type) *type = valueType;
    if (data) data->swap(bytes);
    return 1;
  }
  return 0;
}

int RegistrySettingsStore::DeleteValue(const char* subkey, const char* name) {
  if (!subkey || !name) return 0;
  ScopedKey key = OpenKey(subkey, KEY_SET_VALUE);
  if (!key) return 0;
  return RegDeleteValueA(key.get(), name) == ERROR_SUCCESS ? 1 : 0;
}

bool RegistrySettingsStore::KeyExists(const char* subkey) {
  return subkey && static_cast<bool>(OpenKey(subkey, KEY_QUERY_VALUE));
}

RegistrySettingsStore& HostSettingsStore() {
  static RegistrySettingsStore store;
  return store;
}
