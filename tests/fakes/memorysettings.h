#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

#include "base/settingsstore.h"

// Keys and values in memory, with the registry's rules: creating a key
// creates its parents, names compare without regard to case, reading never
// creates anything. Keys can be made or removed by hand (to stand for a
// system with or without a start-up key) and writes of a given value name
// can be made to fail.
class MemorySettingsStore final : public SettingsStore {
 public:
  struct Value {
    uint32_t type;
    std::string data;
  };

  using SettingsStore::SettingsStore;

  int SetValue(const char* subkey, const char* name, uint32_t type, const void* data, size_t size,
               bool createKey) override;
  int QueryValue(const char* subkey, const char* name, uint32_t* type, std::string* data) override;
  int DeleteValue(const char* subkey, const char* name) override;
  bool KeyExists(const char* subkey) override;

  // Creates the key and its parents; an existing key is kept as it is.
  void CreateKey(const char* subkey);
  // Removes the key with its values and subkeys; 0 when it did not exist.
  int DeleteKey(const char* subkey);
  // The stored value, or null.
  const Value* Find(const char* subkey, const char* name) const;
  // Every write of a value with this name (any key) fails; "" for none.
  void FailWritesOf(const char* name) { failName_ = Fold(name ? name : ""); }
  size_t KeyCount() const { return keys_.size(); }

 private:
  static std::string Fold(const std::string& text);
  std::map<std::string, std::map<std::string, Value>> keys_;
  std::string failName_;
};
