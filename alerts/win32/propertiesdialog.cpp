#include "alerts/win32/propertiesdialog.h"

#include <windows.h>

#include <commctrl.h>

#include <vector>

#include "alerts/mailsettings.h"
#include "alerts/properties.h"
#include "alerts/win32/settingsdialog.h"
#include "base/appstate.h"
#include "base/clock.h"
#include "base/prompts.h"
#include "base/settingsstore.h"
#include "base/taskrecord.h"
#include "base/win32/activedialog.h"
#include "base/win32/dialogdata.h"
#include "base/win32/handles.h"

namespace {

struct PropertiesDialog {
  SettingsStore* store;
  // Set while the controls are filled, so that the pickers' change
  // notifications are not taken for the user's.
  bool filling;
};

PropertiesDialog* DataOf(HWND dialog) {
  return DialogData<PropertiesDialog>(dialog);
}

const int kEditableControls[] = {kAutoActivateBox, kAutoDatePicker, kStartupRadio, kAtTimeRadio,
                                 kAutoTimePicker,  kNotifyBox,      kAtLabel,      kDueDateBox,
                                 kDueDatePicker,   kEmailBox};

void Check(HWND dialog, int id, bool checked) {
  CheckDlgButton(dialog, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool IsChecked(HWND dialog, int id) {
  return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

bool SetPicker(HWND dialog, int id, const DateTime& value) {
  SYSTEMTIME time = ToSystemTime(value);
  return SendDlgItemMessageA(dialog, id, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time)) != 0;
}

DateTime PickerValue(HWND dialog, int id) {
  SYSTEMTIME time = {};
  SendDlgItemMessageA(dialog, id, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time));
  return ToDateTime(time);
}

// The message for a picker that refuses its value, or none.
const char* SetDate(HWND dialog, int id, const DateTime& value, bool fromRecord) {
  if (SetPicker(dialog, id, value)) return nullptr;
  return fromRecord ? "Date set failed!" : "Date set failed";
}

// Sets every control, and answers what failed rather than saying it: a box
// lets the user delete the task or open another's Properties, so it comes
// only once the controls show one task whole.
std::vector<const char*> Fill(HWND dialog, const PropertiesForm& form) {
  SetDlgItemTextA(dialog, kEnteredLabel, form.entered.c_str());
  SetDlgItemTextA(dialog, kActivatedLabel, form.activated.c_str());
  SetDlgItemTextA(dialog, kCompletedLabel, form.completed.c_str());
  Check(dialog, kDueDateBox, form.dueDateSet);
  Check(dialog, kAutoActivateBox, form.autoActivate);
  Check(dialog, kStartupRadio, !form.atTime);
  Check(dialog, kAtTimeRadio, form.atTime);
  Check(dialog, kNotifyBox, form.notify);
  Check(dialog, kEmailBox, form.email);
  std::vector<const char*> failures;
  for (const char* failure :
       {SetDate(dialog, kDueDatePicker, form.dueDate, form.dueDateFromRecord),
        SetDate(dialog, kAutoDatePicker, form.autoDate, form.autoDateFromRecord),
        SetPicker(dialog, kAutoTimePicker, form.autoTime) ? nullptr : "Time set failed!"})
    if (failure) failures.push_back(failure);
  return failures;
}

PropertiesForm ReadForm(HWND dialog) {
  PropertiesForm form{};
  form.dueDateSet = IsChecked(dialog, kDueDateBox);
  form.autoActivate = IsChecked(dialog, kAutoActivateBox);
  form.atTime = IsChecked(dialog, kAtTimeRadio);
  form.notify = IsChecked(dialog, kNotifyBox);
  form.email = IsChecked(dialog, kEmailBox);
  form.dueDate = PickerValue(dialog, kDueDatePicker);
  form.autoDate = PickerValue(dialog, kAutoDatePicker);
  form.autoTime = PickerValue(dialog, kAutoTimePicker);
  return form;
}

// Each click on "Email on auto-activate" while no server is set asks
// whether to set one now; the box keeps its new state either way.
void OnEmailClicked(HWND dialog) {
  PropertiesDialog* data = DataOf(dialog);
  if (!data || !data->store) return;
  if (!ReadMailSettings(*data->store).server.empty()) return;
  if (AskYesNo("You will not be able to receive email alerts until you have configured your server "
               "settings. Would you like to open the settings window now?",
               App().mainWindow) &&
      App().settingsDialog)
    ShowSettings(Window(App().settingsDialog));
}

// A picker the user changed turns on what it is for.
void OnPickerChanged(HWND dialog, int id) {
  PropertiesDialog* data = DataOf(dialog);
  if (data && data->filling) return;
  switch (id) {
    case kDueDatePicker:
      Check(dialog, kDueDateBox, true);
      break;
    case kAutoDatePicker:
      Check(dialog, kAutoActivateBox, true);
      break;
    case kAutoTimePicker:
      Check(dialog, kAutoActivateBox, true);
      Check(dialog, kAtTimeRadio, true);
      Check(dialog, kStartupRadio, false);
      break;
    default:
      break;
  }
}

// Whether the dialog still holds the record it was being filled from: a
// box of Fill lets the user delete the task, or open another's Properties.
bool StillHeld(const TaskRecord* record, uint64_t serial) {
  const TaskRecord* held = HeldPropertiesRecord();
  return held == record && held->serial == serial;
}

// A date or time picker can be used only while its box is checked: the
// due date with "Due Date", the activation date and time with
// "Auto-activate".
void EnablePickers(HWND dialog) {
  const bool due = IsWindowEnabled(GetDlgItem(dialog, kDueDateBox)) && IsChecked(dialog, kDueDateBox);
  const bool autoActivate =
      IsWindowEnabled(GetDlgItem(dialog, kAutoActivateBox)) && IsChecked(dialog, kAutoActivateBox);
  EnableWindow(GetDlgItem(dialog, kDueDatePicker), due);
  EnableWindow(GetDlgItem(dialog, kAutoDatePicker), autoActivate);
  EnableWindow(GetDlgItem(dialog, kAutoTimePicker), autoActivate);
}

INT_PTR OnInitDialog(HWND dialog, LPARAM parameter) {
  KeepDialogData(dialog, parameter);
  SendDlgItemMessageA(dialog, kAutoTimePicker, DTM_SETFORMATA, 0, reinterpret_cast<LPARAM>(" h:mm tt"));
  return TRUE;
}

INT_PTR OnCommand(HWND dialog, int id, int code) {
  switch (id) {
    case IDOK:
      StoreProperties(dialog);
      return TRUE;
    case IDCANCEL:
      ShowWindow(dialog, SW_HIDE);
      return TRUE;
    case kEmailBox:
      if (code == BN_CLICKED) OnEmailClicked(dialog);
      return TRUE;
    case kDueDateBox:
    case kAutoActivateBox:
      if (code == BN_CLICKED) EnablePickers(dialog);
      return TRUE;
    default:
      return FALSE;
  }
}

INT_PTR OnNotify(HWND dialog, const NMHDR* header) {
  if (header && header->code == DTN_DATETIMECHANGE) OnPickerChanged(dialog, static_cast<int>(header->idFrom));
  return FALSE;
}

INT_PTR OnDestroy(HWND dialog) {
  DeleteDialogData<PropertiesDialog>(dialog);
  return FALSE;
}

INT_PTR CALLBACK PropertiesDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog(dialog, lParam);
    case WM_ACTIVATE:
      NoteActiveDialog(dialog, wParam);
      return FALSE;
    case WM_COMMAND:
      return OnCommand(dialog, LOWORD(wParam), HIWORD(wParam));
    case WM_NOTIFY:
      return OnNotify(dialog, reinterpret_cast<const NMHDR*>(lParam));
    case WM_SYSCOMMAND:
      return HideOnClose(dialog, wParam);
    case WM_DESTROY:
      return OnDestroy(dialog);
    default:
      return FALSE;
  }
}

}  // namespace

HWND CreatePropertiesDialog(HINSTANCE instance, HWND owner, SettingsStore* store) {
  auto* data = new PropertiesDialog{store, false};
  HWND dialog = CreateDialogParamA(instance, MAKEINTRESOURCEA(kPropertiesDialogId), owner,
                                   PropertiesDialogProc, reinterpret_cast<LPARAM>(data));
  if (!dialog) delete data;
  return dialog;
}

void FillProperties(HWND dialog, TaskRecord* record, bool editable) {
  if (!record) {
    ShowWarning("Error: This item is corrupted.");
    return;
  }
  if (!dialog) return;
  Clock* clock = App().clock ? App().clock : SystemClock();
  // Held before any box: a task deleted while one is up is let go of, and
  // OK never writes into its freed record.
  HoldPropertiesRecord(record);
  const uint64_t serial = record->serial;
  PropertiesDialog* data = DataOf(dialog);
  if (data) data->filling = true;
  const std::vector<const char*> failures = Fill(dialog, PropertiesFormOf(*record, clock->Now()));
  if (data) data->filling = false;
  for (const char* failure : failures) ShowWarning(failure);
  if (!StillHeld(record, serial)) {
    // Deleted: nothing left to show. Another task's Properties: shown already.
    if (!HeldPropertiesRecord()) ShowWindow(dialog, SW_HIDE);
    return;
  }
  for (int id : kEditableControls) EnableWindow(GetDlgItem(dialog, id), editable);
  EnablePickers(dialog);
  ShowWindow(dialog, SW_SHOW);
}

void StoreProperties(HWND dialog) {
  // Nothing is stored when the task was deleted while the dialog was open.
  StoreHeldProperties(ReadForm(dialog));
  ShowWindow(dialog, SW_HIDE);
}
