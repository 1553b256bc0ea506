// The modeless Properties dialog (resource 101): a task's three stamps,
// its due date and its auto-activation. Made hidden at start-up; the
// trees' Properties command fills and shows it; OK stores and hides.
#pragma once

#include <windows.h>

class SettingsStore;
struct TaskRecord;

constexpr int kPropertiesDialogId = 101;

// Control ids.
enum PropertiesControl : int {
  kEnteredLabel = 201,
  kActivatedLabel = 202,
  kCompletedLabel = 203,
  kAutoActivateBox = 204,
  kAutoDatePicker = 205,
  kStartupRadio = 210,
  kAtTimeRadio = 211,
  kAutoTimePicker = 212,
  kNotifyBox = 213,
  kAtLabel = 214,
  kDueDateBox = 215,
  kDueDatePicker = 216,
  kEmailBox = 217,
};

// Makes the dialog, hidden, owned by `owner`. `store` is where "Mail
// Server" is looked up when the e-mail box is clicked; the application
// state's Settings dialog is shown when the user asks to set one.
HWND CreatePropertiesDialog(HINSTANCE instance, HWND owner, SettingsStore* store);
// Fills the dialog from `record` and shows it; not editable leaves only OK
// enabled. A missing record is reported ("Error: This item is
// corrupted.") and the dialog stays as it was.
void FillProperties(HWND dialog, TaskRecord* record, bool editable);
// OK: the controls into the record the dialog was filled from (unless that
// record has been released since), then the dialog hides.
void StoreProperties(HWND dialog);
