#include "alerts/win32/settingsdialog.h"

#include <windows.h>

#include <memory>
#include <string>

#include "alerts/mailalert.h"
#include "alerts/mailsettings.h"
#include "alerts/win32/mailnotice.h"
#include "alerts/win32/hotkeyfield.h"
#include "base/appstate.h"
#include "base/prompts.h"
#include "base/win32/activedialog.h"
#include "base/win32/dialogdata.h"
#include "base/win32/handles.h"

namespace {

SettingsStore* StoreOf(HWND dialog) {
  return DialogData<SettingsStore>(dialog);
}

const int kMailEdits[] = {kMailServerEdit, kUsernameEdit, kPasswordEdit, kSendToEdit};

std::string TextOf(HWND dialog, int id) {
  char text[kMailTextMax + 1] = "";
  GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}

void Check(HWND dialog, int id, bool checked) {
  CheckDlgButton(dialog, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool IsChecked(HWND dialog, int id) {
  return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

SettingsForm ReadForm(HWND dialog) {
  SettingsForm form;
  form.mail.server = TextOf(dialog, kMailServerEdit);
  form.mail.port = TextOf(dialog, kPortEdit);
  form.mail.username = TextOf(dialog, kUsernameEdit);
  form.mail.password = TextOf(dialog, kPasswordEdit);
  form.mail.sendTo = TextOf(dialog, kSendToEdit);
  form.mail.anyCertificate = IsChecked(dialog, kAnyCertificateBox);
  form.hideHorizontal = IsChecked(dialog, kHideHorizontalBox);
  form.hideVertical = IsChecked(dialog, kHideVerticalBox);
  form.runAtStartup = IsChecked(dialog, kRunAtStartupBox);
  return form;
}

// The trees recompute their frames (WM_NCCALCSIZE), showing or hiding
// their scroll bars by the options.
void RefreshTreeFrames() {
  const AppState& app = App();
  for (Handle tree : {app.listsTree, app.activeTree, app.doneTree})
    if (tree)
      SetWindowPos(Window(tree), nullptr, 0, 0, 0, 0,
                   SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR OnInitDialog(HWND dialog, LPARAM store) {
  KeepDialogData(dialog, store);
  for (int id : kMailEdits) SendDlgItemMessageA(dialog, id, EM_LIMITTEXT, kMailTextMax, 0);
  // Five digits hold every port.
  SendDlgItemMessageA(dialog, kPortEdit, EM_LIMITTEXT, 5, 0);
  return TRUE;
}

// A port that MailPort refuses would keep every alert from being sent,
// without a word: said, with the focus on it.
bool PortUsable(HWND dialog, const SettingsForm& form) {
  if (MailPort(form.mail.port)) return true;
  ShowWarning("The port must be a number from 1 to 65535.");
  SetFocus(GetDlgItem(dialog, kPortEdit));
  return false;
}

INT_PTR OnTestMailDone(HWND dialog, LPARAM lParam) {
  const std::unique_ptr<MailOutcome> outcome = TakeMailOutcome(lParam);
  EnableWindow(GetDlgItem(dialog, kSendTestButton), TRUE);
  if (!outcome) return TRUE;
  const bool sent = outcome->result == MailResult::kSent;
  ShowNotice(TestMailText(*outcome).c_str(), sent ? kBoxIconInformation : kBoxIconWarning, dialog);
  return TRUE;
}

INT_PTR OnCommand(HWND dialog, int id) {
  switch (id) {
    case IDOK:
      StoreSettings(dialog);
      return TRUE;
    case kSendTestButton:
      SendTestMail(dialog);
      return TRUE;
    case IDCANCEL:
      ShowWindow(dialog, SW_HIDE);
      return TRUE;
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog(dialog, lParam);
    case WM_ACTIVATE:
      NoteActiveDialog(dialog, wParam);
      return FALSE;
    case WM_COMMAND:
      return OnCommand(dialog, LOWORD(wParam));
    case WM_SYSCOMMAND:
      return HideOnClose(dialog, wParam);
    case kMailOutcomeMessage:
      return OnTestMailDone(dialog, lParam);
    default:
      return FALSE;
  }
}

}  // namespace

HWND CreateSettingsDialog(HINSTANCE instance, HWND owner, SettingsStore* store) {
  return CreateDialogParamA(instance, MAKEINTRESOURCEA(kSettingsDialogId), owner, SettingsDialogProc,
                            reinterpret_cast<LPARAM>(store));
}

void ShowSettings(HWND dialog) {
  SettingsStore* store = dialog ? StoreOf(dialog) : nullptr;
  if (!store) return;
  const SettingsForm form = ReadSettingsForm(*store);
  SetDlgItemTextA(dialog, kMailServerEdit, form.mail.server.c_str());
  SetDlgItemTextA(dialog, kPortEdit, form.mail.port.c_str());
  SetDlgItemTextA(dialog, kUsernameEdit, form.mail.username.c_str());
  SetDlgItemTextA(dialog, kPasswordEdit, form.mail.password.c_str());
  SetDlgItemTextA(dialog, kSendToEdit, form.mail.sendTo.c_str());
  Check(dialog, kHideHorizontalBox, form.hideHorizontal);
  Check(dialog, kHideVerticalBox, form.hideVertical);
  Check(dialog, kRunAtStartupBox, form.runAtStartup);
  Check(dialog, kAnyCertificateBox, form.mail.anyCertificate);
  ShowLastAlert(dialog);
  FillHotKeyField(dialog, *store);
  ShowWindow(dialog, SW_SHOW);
  SetForegroundWindow(dialog);
}

void StoreSettings(HWND dialog) {
  SettingsStore* store = StoreOf(dialog);
  if (!store) return;
  const SettingsForm form = ReadForm(dialog);
  if (!PortUsable(dialog, form)) return;
  if (!StoreHotKeyField(dialog, *store)) return;
  char program[kPathSize] = "";
  DWORD length = GetModuleFileNameA(nullptr, program, sizeof program);
  if (length == 0 || length >= sizeof program) program[0] = '\0';
  StoreSettingsForm(*store, form, program);
  ShowWindow(dialog, SW_HIDE);
  RefreshTreeFrames();
}

void SendTestMail(HWND dialog) {
  HWND button = GetDlgItem(dialog, kSendTestButton);
  if (!IsWindowEnabled(button)) return;
  const SettingsForm form = ReadForm(dialog);
  if (!PortUsable(dialog, form)) return;
  EnableWindow(button, FALSE);
  if (!StartMailWith(form.mail, kTestMailSubject, kTestMailBody, PostMailOutcome, dialog)) {
    EnableWindow(button, TRUE);
    ShowNotice("Test e-mail not sent: no thread could be started to send it.", kBoxIconWarning, dialog);
  }
}

void ShowLastAlert(HWND dialog) {
  SetDlgItemTextA(dialog, kLastAlertLabel, LastAlertText().c_str());
}
