#include "app/settings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "base/appstate.h"

namespace {

const char kSub[] = "Software\\Test";

TEST(MemorySettingsTest, TextIsWrittenWithItsZeroAndReadBackWhole) {
  MemorySettingsStore store;
  ASSERT_EQ(store.WriteValue(kSub, "Mail Server", "smtp.example.org", 0), 1);
  const MemorySettingsStore::Value* value = store.Find(kSub, "Mail Server");
  ASSERT_NE(value, nullptr);
  EXPECT_EQ(value->type, kValueText);
  EXPECT_EQ(value->data, std::string("smtp.example.org", 17));

  char buffer[64];
  EXPECT_EQ(store.ReadValue(kSub, "Mail Server", buffer, sizeof buffer), 17u);
  EXPECT_STREQ(buffer, "smtp.example.org");
  // Names of keys and values compare as in the registry, without case.
  EXPECT_EQ(store.ReadValue("SOFTWARE\\test", "mail server", buffer, sizeof buffer), 17u);
}

TEST(MemorySettingsTest, BytesAreWrittenToTheExactLength) {
  MemorySettingsStore store;
  const unsigned char scrambled[6] = {0x91, 0x00, 0x7F, 0xFF, 0x00, 0x00};
  ASSERT_EQ(store.WriteBytes("Password", scrambled, sizeof scrambled), 1);
  const MemorySettingsStore::Value* value = store.Find(kProductKey, "Password");
  ASSERT_NE(value, nullptr);
  EXPECT_EQ(value->type, kValueBytes);
  EXPECT_EQ(value->data.size(), 6u);

  unsigned char buffer[1024];
  ASSERT_EQ(store.ReadSetting("Password", buffer, sizeof buffer), 6u);
  EXPECT_EQ(std::memcmp(buffer, scrambled, 6), 0);
  // Bytes are never mistaken for text, not even when the length is 0.
  ASSERT_EQ(store.WriteBytes("Empty", "x", 0), 1);
  EXPECT_EQ(store.Find(kProductKey, "Empty")->type, kValueBytes);
  EXPECT_EQ(store.Find(kProductKey, "Empty")->data.size(), 0u);
  char text[8];
  EXPECT_EQ(store.ReadTextSetting("Password", text, sizeof text), 0u);
}

TEST(MemorySettingsTest, NumbersAreDwordsAndOnlyDwordsReadAsNumbers) {
  MemorySettingsStore store;
  ASSERT_EQ(store.WriteNumber(kSub, "left", static_cast<uint32_t>(-120)), 1);
  EXPECT_EQ(store.Find(kSub, "left")->type, kValueNumber);
  EXPECT_EQ(store.Find(kSub, "left")->data, std::string("\x88\xff\xff\xff", 4));
  uint32_t number = 5;
  ASSERT_EQ(store.ReadNumber(kSub, "left", &number), 1);
  EXPECT_EQ(static_cast<int32_t>(number), -120);

  // Text or four loose bytes are not numbers; the destination stays.
  store.WriteValue(kSub, "text", "123", 0);
  store.WriteValue(kSub, "bytes", "\1\0\0\0", 4);
  number = 77;
  EXPECT_EQ(store.ReadNumber(kSub, "text", &number), 0);
  EXPECT_EQ(store.ReadNumber(kSub, "bytes", &number), 0);
  EXPECT_EQ(store.ReadNumber(kSub, "absent", &number), 0);
  EXPECT_EQ(number, 77u);
}

TEST(MemorySettingsTest, AValueLargerThanTheCapacityReadsAsNothing) {
  MemorySettingsStore store;
  ASSERT_EQ(store.WriteText("Port", "2525"), 1);
  char buffer[8];
  std::memcpy(buffer, "xxxxxxx", 8);
  EXPECT_EQ(store.ReadSetting("Port", buffer, 4), 0u);
  EXPECT_STREQ(buffer, "xxxxxxx");  // untouched
  EXPECT_EQ(store.ReadSetting("Port", buffer, 5), 5u);
  EXPECT_STREQ(buffer, "2525");
}

TEST(MemorySettingsTest, TextStoredWithoutItsZeroStillArrivesTerminated) {
  MemorySettingsStore store;
  // As another program may leave it: REG_SZ without the zero.
  ASSERT_EQ(store.SetValue(kSub, "skin", kValueText, "abcd", 4, true), 1);
  char buffer[8];
  std::memset(buffer, 'z', sizeof buffer);
  EXPECT_EQ(store.ReadValue(kSub, "skin", buffer, 4), 0u);  // no room for the zero
  EXPECT_EQ(buffer[0], 'z');
  EXPECT_EQ(store.ReadText(kSub, "skin", buffer, 5), 5u);
  EXPECT_STREQ(buffer, "abcd");
  // An empty text value reads as an empty text.
  ASSERT_EQ(store.SetValue(kSub, "empty", kValueText, "", 0, true), 1);
  EXPECT_EQ(store.ReadText(kSub, "empty", buffer, sizeof buffer), 1u);
  EXPECT_STREQ(buffer, "");
}

TEST(MemorySettingsTest, ReadingNeverCreatesAKey) {
  MemorySettingsStore store;
  char buffer[16];
  uint32_t number;
  EXPECT_EQ(store.ReadSetting("skin", buffer, sizeof buffer), 0u);
  EXPECT_EQ(store.ReadNumberSetting("left", &number), 0);
  EXPECT_EQ(store.Delete(kProductKey, "skin"), 0);
  EXPECT_FALSE(store.ProductKeyExists());
  EXPECT_EQ(store.KeyCount(), 0u);
  // Writing creates the key and its parents.
  ASSERT_EQ(store.WriteText("skin", "a"), 1);
  EXPECT_TRUE(store.ProductKeyExists());
  EXPECT_TRUE(store.KeyExists("software"));
}

TEST(MemorySettingsTest, DeleteRemovesOneValue) {
  MemorySettingsStore store;
  store.WriteText("Username", "ann");
  store.WriteText("Send To", "bob");
  EXPECT_EQ(store.Delete(kProductKey, "Username"), 1);
  EXPECT_EQ(store.Delete(kProductKey, "Username"), 0);
  char buffer[16];
  EXPECT_EQ(store.ReadSetting("Username", buffer, sizeof buffer), 0u);
  EXPECT_EQ(store.ReadSetting("Send To", buffer, sizeof buffer), 4u);
}

TEST(StartupEntryTest, EntryQuotesThePathAndAsksForAHiddenStart) {
  MemorySettingsStore store;
  store.CreateKey(kStartupKey);
  ASSERT_EQ(store.AddStartupEntry("C:\\Apps\\x.exe"), 1);
  char buffer[kPathSize];
  ASSERT_EQ(store.ReadText(kStartupKey, "Velkin 1.0", buffer, sizeof buffer), 25u);
  EXPECT_STREQ(buffer, "\"C:\\Apps\\x.exe\" -autorun");
  EXPECT_EQ(store.RemoveStartupEntry(), 1);
  EXPECT_EQ(store.RemoveStartupEntry(), 0);
}

TEST(StartupEntryTest, TheStartupKeyIsNeverCreated) {
  MemorySettingsStore store;
  EXPECT_EQ(store.AddStartupEntry("C:\\Apps\\x.exe"), 0);
  EXPECT_FALSE(store.KeyExists(kStartupKey));
  EXPECT_EQ(store.RemoveStartupEntry(), 0);
}

TEST(StartupEntryTest, AnEntryThatWouldBeCutIsNotWritten) {
  MemorySettingsStore store;
  store.CreateKey(kStartupKey);
  EXPECT_EQ(store.AddStartupEntry(""), 0);
  EXPECT_EQ(store.AddStartupEntry(nullptr), 0);
  // Two quotes and " -autorun" take 11 characters of the 2047.
  std::string longest(kStartupTextMax - 11, 'p');
  EXPECT_EQ(store.AddStartupEntry((longest + "p").c_str()), 0);
  EXPECT_EQ(store.Find(kStartupKey, "Velkin 1.0"), nullptr);
  ASSERT_EQ(store.AddStartupEntry(longest.c_str()), 1);
  EXPECT_EQ(store.Find(kStartupKey, "Velkin 1.0")->data.size(), kStartupTextMax + 1);
}

// The application state as start-up leaves it before reading the settings.
struct WindowSettingsTest : ::testing::Test {
  MemorySettingsStore store;
  MemorySettingsWindow window;
  const Rect start = {1030, 734, 1280, 984};

  void SetUp() override {
    ResetAppState();
    App().vscroll = 1;
    window.rect = start;
    window.screens = {{0, 0, 1280, 984}};
    store.CreateKey(kStartupKey);
  }
  void TearDown() override { ResetAppState(); }

  void StoreRect(int left, int top, int right, int bottom) {
    store.WriteNumberSetting("left", static_cast<uint32_t>(left));
    store.WriteNumberSetting("top", static_cast<uint32_t>(top));
    store.WriteNumberSetting("right", static_cast<uint32_t>(right));
    store.WriteNumberSetting("bottom", static_cast<uint32_t>(bottom));
  }
};

TEST_F(WindowSettingsTest, FirstStartRemovesTheLogonEntryAndTouchesNothingElse) {
  store.AddStartupEntry("C:\\Apps\\x.exe");
  ReadSettings(store, window);
  EXPECT_EQ(store.Find(kStartupKey, "Velkin 1.0"), nullptr);
  EXPECT_EQ(window.moves, 0);
  EXPECT_TRUE(window.skinsLoaded.empty());
  EXPECT_EQ(App().vscroll, 1);
  EXPECT_STREQ(App().skinPath, "");
  EXPECT_FALSE(store.ProductKeyExists());
}

TEST_F(WindowSettingsTest, StoredPlaceFlagsAndSkinAreTaken) {
  StoreRect(100, 120, 400, 500);
  store.WriteNumberSetting("vscroll", 0);
  store.WriteNumberSetting("hscroll", 1);
  store.WriteNumberSetting("autorun", 1);
  store.WriteText("skin", "C:\\Velkin\\skins\\Blue");
  store.AddStartupEntry("C:\\Apps\\x.exe");

  ReadSettings(store, window);
  EXPECT_EQ(window.moves, 1);
  EXPECT_EQ(window.rect.left, 100);
  EXPECT_EQ(window.rect.top, 120);
  EXPECT_EQ(window.rect.right, 400);
  EXPECT_EQ(window.rect.bottom, 500);
  EXPECT_EQ(App().vscroll, 0);
  EXPECT_EQ(App().hscroll, 1);
  EXPECT_EQ(App().autorun, 1);
  EXPECT_STREQ(App().skinPath, "C:\\Velkin\\skins\\Blue");
  ASSERT_EQ(window.skinsLoaded.size(), 1u);
  EXPECT_EQ(window.skinsLoaded[0], "C:\\Velkin\\skins\\Blue");
  // The logon entry belongs to the user's choice once settings exist.
  EXPECT_NE(store.Find(kStartupKey, "Velkin 1.0"), nullptr);
}

TEST_F(WindowSettingsTest, AbsentValuesLeaveTheDefaultsAndAnEmptySkinIsStillLoaded) {
  // The key made by the Settings dialog before the window was ever closed.
  store.WriteText("Mail Server", "smtp.example.org");
  std::strcpy(App().skinPath, "");
  ReadSettings(store, window);
  EXPECT_EQ(App().vscroll, 1);
  EXPECT_EQ(App().hscroll, 0);
  EXPECT_EQ(App().autorun, 0);
  EXPECT_EQ(window.moves, 0);
  ASSERT_EQ(window.skinsLoaded.size(), 1u);
  EXPECT_EQ(window.skinsLoaded[0], "");
}

TEST_F(WindowSettingsTest, PartOfTheRectangleKeepsTheStartPlace) {
  store.WriteNumberSetting("left", 10);
  store.WriteNumberSetting("top", 10);
  store.WriteNumberSetting("right", 300);
  ReadSettings(store, window);
  EXPECT_EQ(window.moves, 0);
  EXPECT_EQ(window.rect.left, start.left);
}

TEST_F(WindowSettingsTest, APlaceOnAMonitorThatIsGoneKeepsTheStartPlace) {
  // Last closed on a second monitor to the right.
  StoreRect(1500, 100, 1750, 350);
  ReadSettings(store, window);
  EXPECT_EQ(window.moves, 0);
  EXPECT_EQ(window.rect.left, start.left);
  // With the monitor back, the place is taken.
  window.screens.push_back({1280, 0, 3200, 1080});
  ReadSettings(store, window);
  EXPECT_EQ(window.moves, 1);
  EXPECT_EQ(window.rect.left, 1500);
}

TEST_F(WindowSettingsTest, FlagsKeepTheLowByteAndPathsThatDoNotFitAreIgnored) {
  store.WriteNumberSetting("hscroll", 0x101);
  store.WriteNumberSetting("vscroll", 0x100);
  store.WriteText("skin", std::string(kPathSize, 's').c_str());  // 2049 bytes with the zero
  std::strcpy(App().skinPath, "kept");
  ReadSettings(store, window);
  EXPECT_EQ(App().hscroll, 1);
  EXPECT_EQ(App().vscroll, 0);
  EXPECT_STREQ(App().skinPath, "kept");
  // A skin value that is not text is no path.
  store.WriteBytes("skin", "abcd", 4);
  ReadSettings(store, window);
  EXPECT_STREQ(App().skinPath, "kept");
}

TEST_F(WindowSettingsTest, SaveThenReadComesBackTheSame) {
  window.rect = {-1800, 200, -1500, 560};
  App().vscroll = 0;
  App().hscroll = 1;
  App().autorun = 1;
  std::strcpy(App().skinPath, "D:\\skins\\Green");
  SaveSettings(store, window);

  const MemorySettingsStore::Value* skin = store.Find(kProductKey, "skin");
  ASSERT_NE(skin, nullptr);
  EXPECT_EQ(skin->type, kValueText);
  EXPECT_EQ(skin->data.size(), std::strlen("D:\\skins\\Green") + 1);
  EXPECT_EQ(store.Find(kProductKey, "vscroll")->type, kValueNumber);

  ResetAppState();
  App().vscroll = 1;
  window.rect = start;
  window.screens = {{-1920, 0, 0, 1080}, {0, 0, 1280, 984}};
  ReadSettings(store, window);
  EXPECT_EQ(window.rect.left, -1800);
  EXPECT_EQ(window.rect.top, 200);
  EXPECT_EQ(window.rect.right, -1500);
  EXPECT_EQ(window.rect.bottom, 560);
  EXPECT_EQ(App().vscroll, 0);
  EXPECT_EQ(App().hscroll, 1);
  EXPECT_EQ(App().autorun, 1);
  EXPECT_STREQ(App().skinPath, "D:\\skins\\Green");
}

TEST_F(WindowSettingsTest, AFailingSaveStepDoesNotStopTheOthers) {
  window.rect = {1, 2, 3, 4};
  App().autorun = 1;
  std::strcpy(App().skinPath, "p");
  store.FailWritesOf("top");
  SaveSettings(store, window);
  EXPECT_EQ(store.Find(kProductKey, "top"), nullptr);
  EXPECT_NE(store.Find(kProductKey, "bottom"), nullptr);
  EXPECT_NE(store.Find(kProductKey, "autorun"), nullptr);
  EXPECT_NE(store.Find(kProductKey, "skin"), nullptr);
}

TEST_F(WindowSettingsTest, AWindowWhoseRectangleCannotBeReadKeepsTheStoredPlace) {
  StoreRect(100, 120, 400, 500);
  window.rectKnown = false;
  SaveSettings(store, window);
  uint32_t left = 0;
  ASSERT_EQ(store.ReadNumberSetting("left", &left), 1);
  EXPECT_EQ(left, 100u);
  EXPECT_NE(store.Find(kProductKey, "skin"), nullptr);
}

}  // namespace
