#include "base/settingsstore.h"

#include <cstring>

#include "base/taskrecord.h"

const char kProductKey[] = "Software\\Velkin 1.0";
const char kStartupKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kStartupValue[] = "Velkin 1.0";

namespace {

constexpr uint32_t kValueExpandText = 2;  // REG_EXPAND_SZ, text as well

bool IsText(uint32_t type) {
  return type == kValueText || type == kValueExpandText;
}

}  // namespace

SettingsStore::SettingsStore(const char* productKey, const char* startupKey)
    : productKey_(productKey ? productKey : kProductKey),
      startupKey_(startupKey ? startupKey : kStartupKey) {}

int SettingsStore::WriteValue(const char* subkey, const char* name, const void* data, size_t length) {
  if (!subkey || !name || !data) return 0;
  if (length == 0)
    return SetValue(subkey, name, kValueText, data, std::strlen(static_cast<const char*>(data)) + 1, true);
  return SetValue(subkey, name, kValueBytes, data, length, true);
}

int SettingsStore::WriteBytes(const char* name, const void* data, size_t length) {
  if (!name || (!data && length)) return 0;
  static const char kNothing = 0;
  return SetValue(productKey_.c_str(), name, kValueBytes, data ? data : &kNothing, length, true);
}

int SettingsStore::WriteNumber(const char* subkey, const char* name, uint32_t value) {
  if (!subkey || !name) return 0;
  // REG_DWORD is little-endian whatever the host.
  unsigned char bytes[4] = {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
                            static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)};
  return SetValue(subkey, name, kValueNumber, bytes, sizeof bytes, true);
}

namespace {

// Copies a fetched value into the caller's buffer, or leaves it untouched.
size_t Place(uint32_t type, std::string& data, void* buffer, size_t capacity) {
  // Anything may sit in a registry value; text must come out terminated
  // however it went in.
  if (IsText(type) && (data.empty() || data.back() != '\0')) data.push_back('\0');
  if (data.size() > capacity) return 0;
  std::memcpy(buffer, data.data(), data.size());
  return data.size();
}

}  // namespace

size_t SettingsStore::ReadValue(const char* subkey, const char* name, void* buffer, size_t capacity) {
  if (!subkey || !name || !buffer || capacity == 0) return 0;
  uint32_t type = 0;
  std::string data;
  if (!QueryValue(subkey, name, &type, &data)) return 0;
  return Place(type, data, buffer, capacity);
}

size_t SettingsStore::ReadText(const char* subkey, const char* name, char* buffer, size_t capacity) {
  if (!subkey || !name || !buffer || capacity == 0) return 0;
  uint32_t type = 0;
  std::string data;
  if (!QueryValue(subkey, name, &type, &data) || !IsText(type)) return 0;
  return Place(type, data, buffer, capacity);
}

int SettingsStore::ReadNumber(const char* subkey, const char* name, uint32_t* value) {
  if (!subkey || !name || !value) return 0;
  uint32_t type = 0;
  std::string data;
  if (!QueryValue(subkey, name, &type, &data) || type != kValueNumber || data.size() != 4) return 0;
  const auto* b = reinterpret_cast<const unsigned char*>(data.data());
  *value = uint32_t{b[0]} | uint32_t{b[1]} << 8 | uint32_t{b[2]} << 16 | uint32_t{b[3]} << 24;
  return 1;
}

int BuildStartupText(const char* programPath, std::string* text) {
  if (!programPath || !*programPath || !text) return 0;
  std::string built = "\"";
  built += programPath;
  built += "\" -autorun";
  if (built.size() > kStartupTextMax) return 0;
  *text = built;
  return 1;
}

int SettingsStore::AddStartupEntry(const char* programPath) {
  std::string text;
  if (!BuildStartupText(programPath, &text)) return 0;
  return SetValue(startupKey_.c_str(), kStartupValue, kValueText, text.c_str(), text.size() + 1, false);
}
