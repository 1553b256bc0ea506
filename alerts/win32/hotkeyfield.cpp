#include "alerts/win32/hotkeyfield.h"

#include <commctrl.h>

#include <string>

#include "alerts/win32/settingsdialog.h"
#include "base/appstate.h"
#include "base/hotkey.h"
#include "base/prompts.h"
#include "base/settingsstore.h"
#include "base/win32/handles.h"
#include "base/win32/hotkey_win32.h"

namespace {

const char kHeldText[] = "This hot key is held by another program.";

HotKey ChosenHotKey(HWND dialog) {
  const unsigned value =
      static_cast<unsigned>(SendDlgItemMessageA(dialog, kHotKeyControl, HKM_GETHOTKEY, 0, 0));
  return HotKeyFromControl(value, IsDlgButtonChecked(dialog, kHotKeyWinBox) == BST_CHECKED);
}

}  // namespace

void FillHotKeyField(HWND dialog, SettingsStore& store) {
  const HotKey key = ReadHotKey(store);
  SendDlgItemMessageA(dialog, kHotKeyControl, HKM_SETHOTKEY, ControlValueOf(key), 0);
  CheckDlgButton(dialog, kHotKeyWinBox, (key.modifiers & kModWin) ? BST_CHECKED : BST_UNCHECKED);
  SetDlgItemTextA(dialog, kHotKeyStatus, QuickAddHotKeyRefused() ? kHeldText : "");
}

bool StoreHotKeyField(HWND dialog, SettingsStore& store) {
  const HotKey chosen = ChosenHotKey(dialog);
  HWND main = Window(App().mainWindow);
  if (!IsUsableHotKey(chosen)) {
    ShowWarning("The hot key needs Ctrl, Alt or Win, or must be a function key.");
    SetFocus(GetDlgItem(dialog, kHotKeyControl));
    return false;
  }
  if (main && !RegisterQuickAddHotKey(main, chosen)) {
    RegisterQuickAddHotKey(main, ReadHotKey(store));
    SetDlgItemTextA(dialog, kHotKeyStatus, kHeldText);
    ShowWarning((std::string("The hot key ") + HotKeyText(chosen) +
                 " is held by another program. Choose another, or none.")
                    .c_str());
    SetFocus(GetDlgItem(dialog, kHotKeyControl));
    return false;
  }
  SetDlgItemTextA(dialog, kHotKeyStatus, "");
  WriteHotKey(store, chosen);
  return true;
}
