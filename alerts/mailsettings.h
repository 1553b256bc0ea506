// The outgoing-mail settings and the three options of the Settings dialog,
// between the settings store and the dialog's controls. The mail values
// are read afresh by every alert, so a change counts from the next one.
#pragma once

#include <cstdint>
#include <string>

class SettingsStore;

// Registry value names.
extern const char kMailServerValue[];  // "Mail Server"
extern const char kPortValue[];        // "Port"
extern const char kUsernameValue[];    // "Username"
extern const char kPasswordValue[];    // "Password"
extern const char kSendToValue[];      // "Send To"
extern const char kAnyCertValue[];     // "smtpanycert": REG_DWORD, absent means 0

// The port when none is set.
constexpr uint16_t kDefaultMailPort = 25;
// What an edit keeps: 1023 characters (a registry text's room).
constexpr size_t kMailTextMax = 1023;

struct MailSettings {
  std::string server;
  std::string port;
  std::string username;
  std::string password;  // in the clear
  std::string sendTo;
  bool anyCertificate = false;  // the server's certificate is not checked
};

// The six values; a value that is missing or too long reads as empty. The
// password is unscrambled with the username, and is empty when it cannot
// be (no username); one that an earlier version stored in the legacy code
// page reads as the same characters.
MailSettings ReadMailSettings(SettingsStore& store);
// Writes "Mail Server", "Port", "Username", then "Password" (the password
// and two zeros, scrambled with the username, as bytes; on an earlier
// Windows one zero, as earlier versions), then "Send To" and "smtpanycert".
// With an empty username the password cannot be scrambled and the stored
// one is left as it was. Texts are cut to kMailTextMax bytes, never inside
// a character.
void WriteMailSettings(SettingsStore& store, const MailSettings& settings);
// The port a text names: kDefaultMailPort for an empty text, the number
// for 1 to 65535 (digits only, surrounding blanks allowed), else 0: no
// port (the alert is then not sent, rather than sent elsewhere).
uint16_t MailPort(const std::string& text);

// The Settings dialog's controls.
struct SettingsForm {
  MailSettings mail;
  bool hideHorizontal;  // 240
  bool hideVertical;    // 241
  bool runAtStartup;    // 242
};

// Filling: the mail values and the application state's options.
SettingsForm ReadSettingsForm(SettingsStore& store);
// OK: the logon entry added or removed when the box changed (for the
// program at `programPath`), the option flags, then the mail values.
void StoreSettingsForm(SettingsStore& store, const SettingsForm& form, const char* programPath);
