#include "fakes/memorysettings.h"

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
