// The modeless Settings dialog (resource 103): the trees' scroll-bar
// options, the start with Windows, and the outgoing-mail settings with a
// test e-mail and the last alert's outcome. Made hidden at start-up; the
// tray's "Settings" and the Properties dialog's question fill and show it;
// OK stores and hides.
#pragma once

#include <windows.h>

class SettingsStore;

constexpr int kSettingsDialogId = 103;

// Control ids.
enum SettingsControl : int {
  kMailServerEdit = 218,
  kPortEdit = 219,
  kUsernameEdit = 223,
  kPasswordEdit = 224,
  kDefaultPortLabel = 225,
  kSendToEdit = 226,
  kLastAlertLabel = 227,
  kAnyCertificateBox = 228,
  kSendTestButton = 229,
  kHideHorizontalBox = 240,
  kHideVerticalBox = 241,
  kRunAtStartupBox = 242,
  kHotKeyControl = 243,
  kHotKeyWinBox = 244,
  kHotKeyStatus = 245,
};

// Makes the dialog, hidden, owned by `owner`, reading and writing the mail
// settings in `store`.
HWND CreateSettingsDialog(HINSTANCE instance, HWND owner, SettingsStore* store);
// Fills the dialog from the store and the application state, and shows it.
void ShowSettings(HWND dialog);
// OK: the start-up entry, the mail settings and the options, then the
// dialog hides and the trees show or hide their scroll bars at once. A
// port outside 1 to 65535 is said and nothing is stored.
void StoreSettings(HWND dialog);
// "Send Test E-mail": the message goes on a thread of its own over the
// alert's path with the values as the dialog shows them (not stored); the
// button is disabled until the outcome comes back as a box "Velkin 1.0".
void SendTestMail(HWND dialog);
// Shows the last alert's outcome (LastAlertText) in the dialog.
void ShowLastAlert(HWND dialog);
