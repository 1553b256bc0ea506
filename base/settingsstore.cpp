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

// ---- MemorySettingsStore

std::string MemorySettingsStore::Fold(const std::string& text) {
  std::string folded = text;
  for (char& c : folded)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return folded;
}

void MemorySettingsStore::CreateKey(const char* subkey) {
  if (!subkey) return;
  std::string path = Fold(subkey);
  // Every parent exists along with the key, as in the registry.
  for (size_t at = path.find('\\'); at != std::string::npos; at = path.find('\\', at + 1))
    keys_[path.substr(0, at)];
  keys_[path];
}

int MemorySettingsStore::DeleteKey(const char* subkey) {
  if (!subkey) return 0;
  std::string path = Fold(subkey);
  auto found = keys_.find(path);
  if (found == keys_.end()) return 0;
  keys_.erase(found);
  std::string prefix = path + "\\";
  for (auto it = keys_.lower_bound(prefix);
       it != keys_.end() && it->first.compare(0, prefix.size(), prefix) == 0;)
    it = keys_.erase(it);
  return 1;
}

const MemorySettingsStore::Value* MemorySettingsStore::Find(const char* subkey, const char* name) const {
  if (!subkey || !name) return nullptr;
  auto key = keys_.find(Fold(subkey));
  if (key == keys_.end()) return nullptr;
  auto value = key->second.find(Fold(name));
  return value == key->second.end() ? nullptr : &value->second;
}

int MemorySettingsStore::SetValue(const char* subkey, const char* name, uint32_t type, const void* data,
                                  size_t size, bool createKey) {
  if (!subkey || !name || (!data && size)) return 0;
  if (!createKey && !KeyExists(subkey)) return 0;
  if (!failName_.empty() && Fold(name) == failName_) return 0;
  CreateKey(subkey);
  Value& value = keys_[Fold(subkey)][Fold(name)];
  value.type = type;
  value.data.assign(static_cast<const char*>(data), size);
  return 1;
}

int MemorySettingsStore::QueryValue(const char* subkey, const char* name, uint32_t* type, std::string* data) {
  const Value* value = Find(subkey, name);
  if (!value) return 0;
  if (type) *type = value->type;
  if (data) *data = value->data;
  return 1;
}

int MemorySettingsStore::DeleteValue(const char* subkey, const char* name) {
  if (!subkey || !name) return 0;
  auto key = keys_.find(Fold(subkey));
  if (key == keys_.end()) return 0;
  return key->second.erase(Fold(name)) ? 1 : 0;
}

bool MemorySettingsStore::KeyExists(const char* subkey) {
  return subkey && keys_.count(Fold(subkey)) != 0;
}
