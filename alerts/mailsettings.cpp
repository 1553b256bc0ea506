#include "alerts/mailsettings.h"

#include <cctype>
#include <vector>

#include "alerts/scrambler.h"
#include "base/appstate.h"
#include "base/codepage.h"
#include "base/settingsstore.h"

const char kMailServerValue[] = "Mail Server";
const char kPortValue[] = "Port";
const char kUsernameValue[] = "Username";
const char kPasswordValue[] = "Password";
const char kSendToValue[] = "Send To";
const char kAnyCertValue[] = "smtpanycert";

namespace {

std::string ReadText(SettingsStore& store, const char* name, size_t room) {
  std::vector<char> buffer(room + 1, '\0');
  if (!store.ReadTextSetting(name, buffer.data(), buffer.size())) return std::string();
  return buffer.data();
}

// Never inside a character of UTF-8.
std::string Cut(const std::string& text, size_t most) {
  if (text.size() <= most) return text;
  if (ProgramCodePage().ProgramTextIsUtf8()) most = Utf8CutBefore(text.data(), most);
  return text.substr(0, most);
}

}  // namespace

namespace {

// A password stored by this version ends in two zeros and is UTF-8, keyed
// by the username's UTF-8; one of earlier versions ends in one zero and is
// in the legacy code page, keyed by the username in it. Earlier versions
// read either up to its first zero.
bool IsUtf8Password(const std::string& bytes) {
  const size_t size = bytes.size();
  return size >= 2 && bytes[size - 1] == '\0' && bytes[size - 2] == '\0' &&
         bytes.find('\0') == size - 2 && IsUtf8(bytes.data(), size - 2);
}

std::string UnscrambledPassword(const std::string& stored, const std::string& username) {
  CodePage& codePage = ProgramCodePage();
  std::string bytes = stored;
  if (!ScramblePassword(&bytes[0], bytes.size(), ProgramTextToUtf8(username).c_str())) return std::string();
  if (IsUtf8Password(bytes)) return Utf8ToProgramText(bytes.c_str());
  const std::string legacyUsername = codePage.ProgramTextIsUtf8() ? codePage.Utf8ToLegacy(username) : username;
  bytes = stored;
  if (!ScramblePassword(&bytes[0], bytes.size(), legacyUsername.c_str())) return std::string();
  const std::string password = bytes.c_str();
  return codePage.ProgramTextIsUtf8() ? codePage.LegacyToUtf8(password) : password;
}

}  // namespace

MailSettings ReadMailSettings(SettingsStore& store) {
  MailSettings settings;
  settings.server = ReadText(store, kMailServerValue, kMailTextMax);
  // Read with a text's whole room: a long value cut off as absent would
  // mean port 25, where MailPort refuses it.
  settings.port = ReadText(store, kPortValue, kMailTextMax);
  settings.username = ReadText(store, kUsernameValue, kMailTextMax);
  settings.sendTo = ReadText(store, kSendToValue, kMailTextMax);
  uint32_t anyCertificate = 0;
  settings.anyCertificate = store.ReadNumberSetting(kAnyCertValue, &anyCertificate) && anyCertificate != 0;
  // The longest password and its two zeros.
  char password[kMailTextMax + 2] = {};
  const size_t count = store.ReadSetting(kPasswordValue, password, sizeof password);
  if (count > 0) settings.password = UnscrambledPassword(std::string(password, count), settings.username);
  return settings;
}

void WriteMailSettings(SettingsStore& store, const MailSettings& settings) {
  const std::string username = Cut(settings.username, kMailTextMax);
  store.WriteText(kMailServerValue, Cut(settings.server, kMailTextMax).c_str());
  store.WriteText(kPortValue, Cut(settings.port, kMailTextMax).c_str());
  store.WriteText(kUsernameValue, username.c_str());
  // On an earlier Windows (legacy program texts) as earlier versions wrote it.
  const bool utf8 = ProgramCodePage().ProgramTextIsUtf8();
  std::string password = Cut(settings.password, kMailTextMax);
  password.append(utf8 ? 2 : 1, '\0');
  if (ScramblePassword(&password[0], password.size(), username.c_str()))
    store.WriteBytes(kPasswordValue, password.data(), password.size());
  store.WriteText(kSendToValue, Cut(settings.sendTo, kMailTextMax).c_str());
  store.WriteNumberSetting(kAnyCertValue, settings.anyCertificate ? 1 : 0);
}

uint16_t MailPort(const std::string& text) {
  size_t at = 0;
  while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at]))) ++at;
  size_t end = text.size();
  while (end > at && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
  if (at == end) return kDefaultMailPort;
  unsigned long port = 0;
  for (; at < end; ++at) {
    if (!std::isdigit(static_cast<unsigned char>(text[at]))) return 0;
    port = port * 10 + static_cast<unsigned long>(text[at] - '0');
    if (port > 65535) return 0;
  }
  return static_cast<uint16_t>(port);
}

SettingsForm ReadSettingsForm(SettingsStore& store) {
  const AppState& app = App();
  SettingsForm form;
  form.mail = ReadMailSettings(store);
  form.hideHorizontal = !app.hscroll;
  form.hideVertical = !app.vscroll;
  form.runAtStartup = app.autorun != 0;
  return form;
}

void StoreSettingsForm(SettingsStore& store, const SettingsForm& form, const char* programPath) {
  AppState& app = App();
  if (form.runAtStartup != (app.autorun != 0)) {
    // The option follows the box even when the system refuses the entry.
    if (form.runAtStartup)
      store.AddStartupEntry(programPath);
    else
      store.RemoveStartupEntry();
    app.autorun = form.runAtStartup ? 1 : 0;
  }
  WriteMailSettings(store, form.mail);
  app.hscroll = form.hideHorizontal ? 0 : 1;
  app.vscroll = form.hideVertical ? 0 : 1;
}
