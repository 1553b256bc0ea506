// Names in any script: the list files, typed names and the stored password
// between UTF-8, the program's texts and the legacy code page of files and
// settings that earlier versions wrote.
#include <gtest/gtest.h>

#include <string>

#include "alerts/mailsettings.h"
#include "alerts/scrambler.h"
#include "base/codepage.h"
#include "base/settingsstore.h"
#include "data/listwriter.h"
#include "data_helpers.h"
#include "fakes/memorysettings.h"
#include "fixture.h"

namespace {

const char kUtf8Header[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";
const char kLegacyHeader[] = "<?xml version=\"1.0\" encoding=\"Windows-1252\"?>\r\n";

std::string Repeat(const std::string& text, int times) {
  std::string out;
  while (times-- > 0) out += text;
  return out;
}

// A list file of one task of that name.
std::string OneTask(const char* header, const std::string& name) {
  return std::string(header) + "\r\n<list version=\"1.0\">\r\n<item>\r\n\t<name>" + name +
         "</name>\r\n</item>\r\n</list>\r\n";
}

struct Conversion : AppFixture {
  Windows1252CodePage codePage;
  MemorySettingsStore store;
};

TEST_F(Conversion, NamesReachTheProgramAndTheFilesWhole) {
  const std::string cafe = "Caf\xC3\xA9 cr\xC3\xA8me";
  const std::string cjk = "\xE6\x97\xA5";  // one character, three bytes
  enum Kind { kFile, kTyped, kOldPassword, kPassword };
  const struct {
    const char* what;
    Kind kind;
    bool programUtf8;
    std::string input;    // file bytes, typed name, or password
    std::string program;  // the name or password the program holds
    std::string written;  // the list file saved again (files only)
  } cases[] = {
      {"UTF-8 in and out", kFile, true, OneTask(kUtf8Header, "\xC4\x8C" "aj " + cjk + " \xE2\x9C\x93"),
       "\xC4\x8C" "aj " + cjk + " \xE2\x9C\x93", "\xC4\x8C" "aj " + cjk + " \xE2\x9C\x93"},
      {"a file of an earlier version", kFile, true, OneTask(kLegacyHeader, "Caf\xE9 cr\xE8me"), cafe, cafe},
      {"the 1252 letters beyond Latin-1", kFile, true, OneTask(kLegacyHeader, "\x80\x8B\x9B\x9C\x83"),
       "\xE2\x82\xAC\xE2\x80\xB9\xE2\x80\xBA\xC5\x93\xC6\x92", "\xE2\x82\xAC\xE2\x80\xB9\xE2\x80\xBA\xC5\x93\xC6\x92"},
      {"UTF-8 declared, bytes that are not", kFile, true, OneTask(kUtf8Header, "\xE9t\xE9"), "\xC3\xA9t\xC3\xA9",
       "\xC3\xA9t\xC3\xA9"},
      {"no declaration, valid UTF-8", kFile, true, OneTask("<?xml version=\"1.0\"?>\r\n", cafe), cafe, cafe},
      {"259 letters of an old file all kept", kFile, true, OneTask(kLegacyHeader, std::string(259, '\xE9')),
       Repeat("\xC3\xA9", 259), Repeat("\xC3\xA9", 259)},
      {"cut at 259 characters, never inside one", kFile, true, OneTask(kUtf8Header, Repeat(cjk, 300)),
       Repeat(cjk, 259), Repeat(cjk, 259)},
      {"earlier Windows: UTF-8 read in its code page", kFile, false, OneTask(kUtf8Header, cafe),
       "Caf\xE9 cr\xE8me", "Caf\xE9 cr\xE8me"},
      {"earlier Windows: its own files as before", kFile, false, OneTask(kLegacyHeader, "Caf\xE9\x8B"),
       "Caf\xE9\x8B", "Caf\xE9\x8B"},
      {"typed: guillemets for the brackets", kTyped, true, "<b>", "\xE2\x80\xB9" "b\xE2\x80\xBA", ""},
      {"typed: the limit keeps the last whole character", kTyped, true, std::string(258, 'a') + cjk + "x",
       std::string(258, 'a') + cjk, ""},
      {"typed: a bracket's guillemet at the limit", kTyped, true, std::string(258, 'a') + "<>",
       std::string(258, 'a') + "\xE2\x80\xB9", ""},
      {"typed on earlier Windows: its single bytes", kTyped, false, std::string(300, '>'),
       std::string(259, '\x9B'), ""},
      {"a password written the old way", kOldPassword, true, "p\xE4ss w\xF6rd\x80", "p\xC3\xA4ss w\xC3\xB6rd\xE2\x82\xAC",
       ""},
      {"an ASCII password written the old way", kOldPassword, true, "pass5", "pass5", ""},
      {"a password written now", kPassword, true, "\xC4\x8C" "aj \xE2\x9C\x93", "\xC4\x8C" "aj \xE2\x9C\x93", ""},
      {"a password on earlier Windows", kPassword, false, "p\xE4ss", "p\xE4ss", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    codePage = Windows1252CodePage(c.programUtf8);
    App().codePage = &codePage;
    std::string program;
    switch (c.kind) {
      case kFile:
        EXPECT_EQ(ReadText(lists, c.input), 1);
        program = TaskName(lists, NodeAt(lists, {0}));
        EXPECT_EQ(FormatListFile(lists).rfind(c.programUtf8 ? kUtf8Header : kLegacyHeader, 0), 0u);
        EXPECT_NE(FormatListFile(lists).find("<name>" + c.written + "</name>"), std::string::npos);
        break;
      case kTyped:
        program = CleanTaskName(c.input.c_str());
        break;
      case kOldPassword: {
        // An earlier version: the username as text (the registry gives it
        // back in the program's code page), the password scrambled in the
        // legacy code page with the legacy username.
        store.WriteText("Username", "J\xC3\xBCrgen");
        std::string bytes = c.input + '\0';
        ScramblePassword(&bytes[0], bytes.size(), "J\xFCrgen");
        store.WriteBytes("Password", bytes.data(), bytes.size());
        program = ReadMailSettings(store).password;
        break;
      }
      case kPassword:
        WriteMailSettings(store, MailSettings{"s", "", c.programUtf8 ? "J\xC3\xBCrgen" : "J\xFCrgen", c.input, "a@b.c"});
        program = ReadMailSettings(store).password;
        break;
    }
    EXPECT_EQ(program, c.program);
    FreeForestRecords(lists);
    ClearRegister(App().tasks);
  }
}

}  // namespace
