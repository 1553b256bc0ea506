#include "app/settings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "base/appstate.h"
#include "conformance/settings_conformance.h"
#include "fakes/memorysettings.h"

namespace {

// The in-memory store under the contract every store keeps.
struct MemoryBackend {
  MemorySettingsStore memory{"Software\\Velkin Test\\Velkin 1.0", "Software\\Velkin Test\\Run"};
  SettingsStore& store() { return memory; }
  void CreateStartupKey() { memory.CreateKey(startup()); }
  const char* product() const { return memory.productKey(); }
  const char* startup() const { return memory.startupKey(); }
};

}  // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(Memory, SettingsStoreContract, MemoryBackend);

namespace {

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
