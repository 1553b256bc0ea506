// The registry store on Wine's registry. Every key lives under a test key of
// its own, deleted afterwards, so a developer's settings are never touched.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/settings.h"
#include "base/win32/registry_store.h"

namespace {

struct RegistryStoreTest : ::testing::Test {
  std::string root;
  std::string product;
  std::string run;

  RegistryStoreTest() {
    root = "Software\\Velkin Test " + std::to_string(GetCurrentProcessId());
    product = root + "\\Velkin 1.0";
    run = root + "\\Run";
  }
  void SetUp() override { RegDeleteTreeA(HKEY_CURRENT_USER, root.c_str()); }
  void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, root.c_str()); }

  // Reads a value straight from the registry, bypassing the store.
  bool Raw(const std::string& key, const char* name, DWORD* type, std::string* data) {
    HKEY handle;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS)
      return false;
    char buffer[4096];
    DWORD size = sizeof buffer;
    LONG result = RegQueryValueExA(handle, name, nullptr, type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(handle);
    if (result != ERROR_SUCCESS) return false;
    data->assign(buffer, size);
    return true;
  }
  bool KeyThere(const std::string& key) {
    HKEY handle;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS)
      return false;
    RegCloseKey(handle);
    return true;
  }
};

TEST_F(RegistryStoreTest, TextIsRegSzWithItsZero) {
  RegistrySettingsStore store(product.c_str(), run.c_str());
  ASSERT_EQ(store.WriteText("Mail Server", "smtp.example.org"), 1);
  DWORD type = 0;
  std::string data;
  ASSERT_TRUE(Raw(product, "Mail Server", &type, &data));
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(data, std::string("smtp.example.org", 17));

  char buffer[1024];
  EXPECT_EQ(store.ReadSetting("Mail Server", buffer, sizeof buffer), 17u);
  EXPECT_STREQ(buffer, "smtp.example.org");
}

TEST_F(RegistryStoreTest, BytesAreRegBinaryOfTheExactLength) {
  RegistrySettingsStore store(product.c_str(), run.c_str());
  const unsigned char scrambled[5] = {0xA1, 0x00, 0x13, 0xFE, 0x00};
  ASSERT_EQ(store.WriteBytes("Password", scrambled, sizeof scrambled), 1);
  DWORD type = 0;
  std::string data;
  ASSERT_TRUE(Raw(product, "Password", &type, &data));
  EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
  EXPECT_EQ(data, std::string(reinterpret_cast<const char*>(scrambled), 5));

  unsigned char buffer[1024];
  ASSERT_EQ(store.ReadSetting("Password", buffer, sizeof buffer), 5u);
  EXPECT_EQ(std::memcmp(buffer, scrambled, 5), 0);
}

TEST_F(RegistryStoreTest, NumbersAreRegDword) {
  RegistrySettingsStore store(product.c_str(), run.c_str());
  ASSERT_EQ(store.WriteNumberSetting("left", static_cast<uint32_t>(-42)), 1);
  DWORD type = 0;
  std::string data;
  ASSERT_TRUE(Raw(product, "left", &type, &data));
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
  ASSERT_EQ(data.size(), 4u);
  DWORD raw;
  std::memcpy(&raw, data.data(), 4);
  EXPECT_EQ(static_cast<int32_t>(raw), -42);

  uint32_t number = 0;
  ASSERT_EQ(store.ReadNumberSetting("left", &number), 1);
  EXPECT_EQ(static_cast<int32_t>(number), -42);
  EXPECT_EQ(store.ReadNumberSetting("top", &number), 0);
}

TEST_F(RegistryStoreTest, CapacityAndTerminationRules) {
  RegistrySettingsStore store(product.c_str(), run.c_str());
  ASSERT_EQ(store.WriteText("Port", "2525"), 1);
  char buffer[8];
  std::memcpy(buffer, "xxxxxxx", 8);
  EXPECT_EQ(store.ReadSetting("Port", buffer, 4), 0u);
  EXPECT_STREQ(buffer, "xxxxxxx");
  EXPECT_EQ(store.ReadSetting("Port", buffer, 5), 5u);
  EXPECT_STREQ(buffer, "2525");

  // A REG_SZ set by another program without its zero.
  HKEY key;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, product.c_str(), 0, KEY_SET_VALUE, &key), ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueExA(key, "skin", 0, REG_SZ, reinterpret_cast<const BYTE*>("abc"), 3), ERROR_SUCCESS);
  RegCloseKey(key);
  std::memset(buffer, 'z', sizeof buffer);
  EXPECT_EQ(store.ReadTextSetting("skin", buffer, 3), 0u);
  EXPECT_EQ(store.ReadTextSetting("skin", buffer, sizeof buffer), 4u);
  EXPECT_STREQ(buffer, "abc");
}

TEST_F(RegistryStoreTest, ReadingAndDeletingNeverCreateTheKey) {
  RegistrySettingsStore store(product.c_str(), run.c_str());
  char buffer[16];
  uint32_t number;
  EXPECT_EQ(store.ReadSetting("skin", buffer, sizeof buffer), 0u);
  EXPECT_EQ(store.ReadNumberSetting("left", &number), 0);
  EXPECT_EQ(store.Delete(product.c_str(), "skin"), 0);
  EXPECT_FALSE(store.ProductKeyExists());
  EXPECT_FALSE(KeyThere(product));

  ASSERT_EQ(store.WriteText("Username", "ann"), 1);
  EXPECT_TRUE(store.ProductKeyExists());
  EXPECT_EQ(store.Delete(product.c_str(), "Username"), 1);
  EXPECT_EQ(store.Delete(product.c_str(), "Username"), 0);
  EXPECT_EQ(store.ReadSetting("Username", buffer, sizeof buffer), 0u);
}

TEST_F(RegistryStoreTest, StartupEntryNeedsAnExistingKey) {
  RegistrySettingsStore store(product.c_str(), run.c_str());
  EXPECT_EQ(store.AddStartupEntry("C:\\Apps\\x.exe"), 0);
  EXPECT_FALSE(KeyThere(run));
  EXPECT_EQ(store.RemoveStartupEntry(), 0);

  HKEY key;
  ASSERT_EQ(
      RegCreateKeyExA(HKEY_CURRENT_USER, run.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
      ERROR_SUCCESS);
  RegCloseKey(key);
  ASSERT_EQ(store.AddStartupEntry("C:\\Apps\\x.exe"), 1);
  DWORD type = 0;
  std::string data;
  ASSERT_TRUE(Raw(run, "Velkin 1.0", &type, &data));
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(data, std::string("\"C:\\Apps\\x.exe\" -autorun", 25));
  EXPECT_EQ(store.RemoveStartupEntry(), 1);
  EXPECT_FALSE(Raw(run, "Velkin 1.0", &type, &data));
}

TEST_F(RegistryStoreTest, WindowSettingsRoundTrip) {
  RegistrySettingsStore store(product.c_str(), run.c_str());
  WindowSettings saved{};
  saved.rect = {-300, 20, 50, 400};
  saved.rectRead = 1;
  saved.vscroll = 0;
  saved.hscroll = 1;
  saved.autorun = 1;
  std::strcpy(saved.skinPath, "C:\\Velkin\\skins\\Default");
  ASSERT_EQ(WriteWindowSettings(store, saved), 1);

  WindowSettings read{};
  read.vscroll = 1;
  ASSERT_EQ(ReadWindowSettings(store, &read), 1);
  EXPECT_EQ(read.rectRead, 1);
  EXPECT_EQ(read.rect.left, -300);
  EXPECT_EQ(read.rect.bottom, 400);
  EXPECT_EQ(read.vscroll, 0);
  EXPECT_EQ(read.hscroll, 1);
  EXPECT_EQ(read.autorun, 1);
  EXPECT_STREQ(read.skinPath, "C:\\Velkin\\skins\\Default");
}

}  // namespace
