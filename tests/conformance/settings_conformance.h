// What every settings store must do as the registry does: the in-memory
// store runs these cases natively, the registry store under Wine against the
// real registry. Reads and writes go through the store's own primitives, so
// a value "another program" left (text without its zero) is set the same way
// on both.
//
// Instantiate with a backend type, made afresh for each case:
//   struct MyBackend {
//     SettingsStore& store();       // product and start-up keys of its own
//     void CreateStartupKey();      // as the system has it
//     const char* product() const;  // the product key's path
//     const char* startup() const;  // the start-up key's path
//   };
//   INSTANTIATE_TYPED_TEST_SUITE_P(Mine, SettingsStoreContract, MyBackend);
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "base/appstate.h"
#include "base/settingsstore.h"

template <typename Backend>
class SettingsStoreContract : public ::testing::Test {
 protected:
  Backend backend;
  SettingsStore& store() { return backend.store(); }
  // The type and bytes exactly as stored.
  std::string Raw(const char* key, const char* name, uint32_t* type) {
    std::string data;
    *type = 0;
    if (!store().QueryValue(key, name, type, &data)) return "<absent>";
    return data;
  }
};

TYPED_TEST_SUITE_P(SettingsStoreContract);

TYPED_TEST_P(SettingsStoreContract, TextIsTextWithItsZeroAndNamesIgnoreCase) {
  SettingsStore& store = this->store();
  ASSERT_EQ(store.WriteText("Mail Server", "smtp.example.org"), 1);
  uint32_t type;
  EXPECT_EQ(this->Raw(this->backend.product(), "Mail Server", &type), std::string("smtp.example.org", 17));
  EXPECT_EQ(type, kValueText);
  char buffer[64];
  EXPECT_EQ(store.ReadSetting("Mail Server", buffer, sizeof buffer), 17u);
  EXPECT_STREQ(buffer, "smtp.example.org");
  EXPECT_EQ(store.ReadSetting("MAIL server", buffer, sizeof buffer), 17u);
}

TYPED_TEST_P(SettingsStoreContract, BytesAreBinaryOfTheExactLengthAndNeverText) {
  SettingsStore& store = this->store();
  const unsigned char scrambled[6] = {0x91, 0x00, 0x7F, 0xFF, 0x00, 0x00};
  ASSERT_EQ(store.WriteBytes("Password", scrambled, sizeof scrambled), 1);
  uint32_t type;
  EXPECT_EQ(this->Raw(this->backend.product(), "Password", &type),
            std::string(reinterpret_cast<const char*>(scrambled), 6));
  EXPECT_EQ(type, kValueBytes);
  unsigned char buffer[1024];
  ASSERT_EQ(store.ReadSetting("Password", buffer, sizeof buffer), 6u);
  EXPECT_EQ(std::memcmp(buffer, scrambled, 6), 0);
  char text[8];
  EXPECT_EQ(store.ReadTextSetting("Password", text, sizeof text), 0u);
  // Not even an empty value is taken for text.
  ASSERT_EQ(store.WriteBytes("Empty", "x", 0), 1);
  EXPECT_EQ(this->Raw(this->backend.product(), "Empty", &type), "");
  EXPECT_EQ(type, kValueBytes);
}

TYPED_TEST_P(SettingsStoreContract, NumbersAreDwordsAndOnlyDwordsReadAsNumbers) {
  SettingsStore& store = this->store();
  ASSERT_EQ(store.WriteNumberSetting("left", static_cast<uint32_t>(-120)), 1);
  uint32_t type;
  EXPECT_EQ(this->Raw(this->backend.product(), "left", &type), std::string("\x88\xff\xff\xff", 4));
  EXPECT_EQ(type, kValueNumber);
  uint32_t number = 5;
  ASSERT_EQ(store.ReadNumberSetting("left", &number), 1);
  EXPECT_EQ(static_cast<int32_t>(number), -120);
  // Text or four loose bytes are not numbers; the destination stays.
  store.WriteText("text", "123");
  store.WriteBytes("bytes", "\1\0\0\0", 4);
  number = 77;
  EXPECT_EQ(store.ReadNumberSetting("text", &number), 0);
  EXPECT_EQ(store.ReadNumberSetting("bytes", &number), 0);
  EXPECT_EQ(store.ReadNumberSetting("absent", &number), 0);
  EXPECT_EQ(number, 77u);
}

TYPED_TEST_P(SettingsStoreContract, ATooSmallBufferIsLeftAsItWasAndTextAlwaysArrivesTerminated) {
  SettingsStore& store = this->store();
  ASSERT_EQ(store.WriteText("Port", "2525"), 1);
  char buffer[8];
  std::memcpy(buffer, "xxxxxxx", 8);
  EXPECT_EQ(store.ReadSetting("Port", buffer, 4), 0u);
  EXPECT_STREQ(buffer, "xxxxxxx");
  EXPECT_EQ(store.ReadSetting("Port", buffer, 5), 5u);
  EXPECT_STREQ(buffer, "2525");
  // Text another program stored without its zero gets one, which counts.
  const char* product = this->backend.product();
  ASSERT_EQ(store.SetValue(product, "skin", kValueText, "abcd", 4, true), 1);
  std::memset(buffer, 'z', sizeof buffer);
  EXPECT_EQ(store.ReadTextSetting("skin", buffer, 4), 0u);
  EXPECT_EQ(buffer[0], 'z');
  EXPECT_EQ(store.ReadTextSetting("skin", buffer, 5), 5u);
  EXPECT_STREQ(buffer, "abcd");
  ASSERT_EQ(store.SetValue(product, "empty", kValueText, "", 0, true), 1);
  EXPECT_EQ(store.ReadTextSetting("empty", buffer, sizeof buffer), 1u);
  EXPECT_STREQ(buffer, "");
}

TYPED_TEST_P(SettingsStoreContract, ReadingAndDeletingNeverCreateTheKey) {
  SettingsStore& store = this->store();
  char buffer[16];
  uint32_t number;
  EXPECT_EQ(store.ReadSetting("skin", buffer, sizeof buffer), 0u);
  EXPECT_EQ(store.ReadNumberSetting("left", &number), 0);
  EXPECT_EQ(store.Delete(this->backend.product(), "skin"), 0);
  EXPECT_FALSE(store.ProductKeyExists());
  // Writing creates the key; a delete removes one value only.
  ASSERT_EQ(store.WriteText("Username", "ann"), 1);
  ASSERT_EQ(store.WriteText("Send To", "bob"), 1);
  EXPECT_TRUE(store.ProductKeyExists());
  EXPECT_EQ(store.Delete(this->backend.product(), "Username"), 1);
  EXPECT_EQ(store.Delete(this->backend.product(), "Username"), 0);
  EXPECT_EQ(store.ReadSetting("Username", buffer, sizeof buffer), 0u);
  EXPECT_EQ(store.ReadSetting("Send To", buffer, sizeof buffer), 4u);
}

TYPED_TEST_P(SettingsStoreContract, TheStartupEntryQuotesThePathInAKeyItNeverCreates) {
  SettingsStore& store = this->store();
  EXPECT_EQ(store.AddStartupEntry("C:\\Apps\\x.exe"), 0);
  EXPECT_FALSE(store.KeyExists(this->backend.startup()));
  EXPECT_EQ(store.RemoveStartupEntry(), 0);

  this->backend.CreateStartupKey();
  ASSERT_EQ(store.AddStartupEntry("C:\\Apps\\x.exe"), 1);
  uint32_t type;
  EXPECT_EQ(this->Raw(this->backend.startup(), "Velkin 1.0", &type),
            std::string("\"C:\\Apps\\x.exe\" -autorun", 25));
  EXPECT_EQ(type, kValueText);
  EXPECT_EQ(store.RemoveStartupEntry(), 1);
  EXPECT_EQ(store.RemoveStartupEntry(), 0);

  // An entry that would be cut (or is empty) is not written at all.
  EXPECT_EQ(store.AddStartupEntry(""), 0);
  EXPECT_EQ(store.AddStartupEntry(nullptr), 0);
  std::string longest(kStartupTextMax - 11, 'p');  // quotes and " -autorun" take 11
  EXPECT_EQ(store.AddStartupEntry((longest + "p").c_str()), 0);
  EXPECT_EQ(this->Raw(this->backend.startup(), "Velkin 1.0", &type), "<absent>");
  ASSERT_EQ(store.AddStartupEntry(longest.c_str()), 1);
  EXPECT_EQ(this->Raw(this->backend.startup(), "Velkin 1.0", &type).size(), kStartupTextMax + 1);
}

REGISTER_TYPED_TEST_SUITE_P(SettingsStoreContract, TextIsTextWithItsZeroAndNamesIgnoreCase,
                            BytesAreBinaryOfTheExactLengthAndNeverText,
                            NumbersAreDwordsAndOnlyDwordsReadAsNumbers,
                            ATooSmallBufferIsLeftAsItWasAndTextAlwaysArrivesTerminated,
                            ReadingAndDeletingNeverCreateTheKey,
                            TheStartupEntryQuotesThePathInAKeyItNeverCreates);
