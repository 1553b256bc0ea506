// The settings store: the organiser's settings live in the current user's
// part of the registry, under the product key, plus one entry in the list of
// programs the system starts at logon.
//
// SettingsStore is the interface; RegistrySettingsStore (base/win32) keeps
// the values in the registry, the tests' MemorySettingsStore keeps them in memory
// with the same rules. An adapter supplies four primitives; the organiser's
// operations are built on them once, here, so every adapter reads and writes
// alike.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "base/appstate.h"

// Value types, with their registry numbers so the Win32 adapter passes them
// straight through.
enum : uint32_t {
  kValueText = 1,    // REG_SZ: text with its terminating zero
  kValueBytes = 3,   // REG_BINARY
  kValueNumber = 4,  // REG_DWORD: 32 bits, little-endian
};

// Key paths, relative to the current user's root.
extern const char kProductKey[];  // "Software\\Velkin 1.0"
extern const char kStartupKey[];  // "Software\\Microsoft\\Windows\\CurrentVersion\\Run"
// The name of the logon entry under the start-up key: "Velkin 1.0".
extern const char kStartupValue[];
// The logon entry's text is at most this many characters.
constexpr size_t kStartupTextMax = kPathSize - 1;

class SettingsStore {
 public:
  // `productKey` and `startupKey` are where the product's values and the
  // logon entry live; tests point them at keys of their own so that a
  // developer's real settings are never touched.
  explicit SettingsStore(const char* productKey = kProductKey, const char* startupKey = kStartupKey);
  virtual ~SettingsStore() = default;
  SettingsStore(const SettingsStore&) = delete;
  SettingsStore& operator=(const SettingsStore&) = delete;

  // ---- Primitives every adapter supplies. Paths are relative to the user's
  // root, names of keys and values compare without regard to case.

  // Sets value `name` of key `subkey` to `size` bytes of `data`, of the
  // given type. When `createKey` is set the key (and any missing parent) is
  // created; otherwise it must already exist. 1 on success, 0 on failure.
  virtual int SetValue(const char* subkey, const char* name, uint32_t type, const void* data, size_t size,
                       bool createKey) = 0;
  // Fetches value `name` of `subkey`: its type and its bytes exactly as
  // stored. 0 when the key or the value does not exist. Never creates a key.
  virtual int QueryValue(const char* subkey, const char* name, uint32_t* type, std::string* data) = 0;
  // Deletes value `name` of the existing key `subkey`. 1 when it was
  // deleted, 0 when the key or the value is missing or cannot be changed.
  virtual int DeleteValue(const char* subkey, const char* name) = 0;
  // True when the key can be opened.
  virtual bool KeyExists(const char* subkey) = 0;

  // ---- The organiser's operations.

  // Write value: `length` 0 means text, written as REG_SZ with its
  // terminating zero; any other length writes exactly that many bytes as
  // REG_BINARY. Creates the key. 1/0.
  int WriteValue(const char* subkey, const char* name, const void* data, size_t length);
  // A 32-bit number as REG_DWORD. Creates the key. 1/0.
  int WriteNumber(const char* subkey, const char* name, uint32_t value);
  // Read value: copies the value into `buffer` and answers the number of
  // bytes placed, or 0 when the key or value is missing or the value does
  // not fit in `capacity`; the buffer is left as it was in every 0 case.
  // Text always arrives terminated: a text value stored without its zero
  // gets one, which counts towards the capacity. Other types arrive as
  // stored, so a caller that treats them as text must terminate them; see
  // ReadText.
  size_t ReadValue(const char* subkey, const char* name, void* buffer, size_t capacity);
  // As ReadValue, for text values only: any other type reads as absent, so
  // the buffer always holds terminated text after a nonzero answer.
  size_t ReadText(const char* subkey, const char* name, char* buffer, size_t capacity);
  // A REG_DWORD value into `value`. 0, leaving `value`, when it is missing
  // or of another type or size.
  int ReadNumber(const char* subkey, const char* name, uint32_t* value);
  // Delete value; see the primitive.
  int Delete(const char* subkey, const char* name) { return DeleteValue(subkey, name); }

  // The same on the product key.
  int WriteText(const char* name, const char* text) { return WriteValue(productKey_.c_str(), name, text, 0); }
  // Bytes on the product key. Unlike WriteValue, a length of 0 writes an
  // empty REG_BINARY value: bytes are never taken for text, whose zero
  // might not be there.
  int WriteBytes(const char* name, const void* data, size_t length);
  size_t ReadSetting(const char* name, void* buffer, size_t capacity) {
    return ReadValue(productKey_.c_str(), name, buffer, capacity);
  }
  size_t ReadTextSetting(const char* name, char* buffer, size_t capacity) {
    return ReadText(productKey_.c_str(), name, buffer, capacity);
  }
  int WriteNumberSetting(const char* name, uint32_t value) {
    return WriteNumber(productKey_.c_str(), name, value);
  }
  int ReadNumberSetting(const char* name, uint32_t* value) {
    return ReadNumber(productKey_.c_str(), name, value);
  }
  bool ProductKeyExists() { return KeyExists(productKey_.c_str()); }

  // The logon entry: the program path in double quotes followed by
  // " -autorun". The start-up key belongs to the system and is never
  // created: 0 when it is missing, when the path is empty, or when the text
  // would be longer than kStartupTextMax (a cut entry would start the
  // wrong program or start it shown).
  int AddStartupEntry(const char* programPath);
  // 1 when the entry was deleted; 0 when the key or the entry is missing.
  int RemoveStartupEntry() { return DeleteValue(startupKey_.c_str(), kStartupValue); }

  const char* productKey() const { return productKey_.c_str(); }
  const char* startupKey() const { return startupKey_.c_str(); }

 private:
  std::string productKey_;
  std::string startupKey_;
};

// Builds the logon entry's text into `text`; 0 when the path is empty or
// the text would exceed kStartupTextMax characters.
int BuildStartupText(const char* programPath, std::string* text);
