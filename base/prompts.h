// The prompts: message boxes through which the organiser warns and asks.
#pragma once

#include <string>

#include "base/platform.h"

// The message-box styles and answers the program uses, with their Win32
// values so that the Win32 adapter passes them straight through.
enum : unsigned {
  kBoxOk = 0x0,
  kBoxYesNoCancel = 0x3,
  kBoxYesNo = 0x4,
  kBoxIconError = 0x10,
  kBoxIconQuestion = 0x20,
  kBoxIconWarning = 0x30,
  kBoxIconInformation = 0x40,
};
enum : int {
  kAnswerOk = 1,
  kAnswerCancel = 2,
  kAnswerYes = 6,
  kAnswerNo = 7,
};

class Prompts {
 public:
  virtual ~Prompts() = default;
  // Shows a modal box and returns the button pressed. An owner (a window)
  // is disabled while the box is up; none leaves every window usable.
  virtual int Show(Handle owner, const char* text, const char* title, unsigned style) = 0;
};

// The title of every box the organiser shows.
extern const char kAppTitle[];  // "Velkin 1.0"

// The warning box: title "Velkin 1.0", warning icon, OK; "NULL" for no text.
int ShowWarning(const char* text);
// A box titled "Velkin 1.0" with OK and the given icon (kBoxIcon...),
// owned by `owner`.
int ShowNotice(const char* text, unsigned icon, Handle owner);
// A question with Yes and No; true only for Yes. An owner window cannot be
// used while the question is open.
bool AskYesNo(const char* text, Handle owner = nullptr);
// A question with Yes, No and Cancel; returns the answer.
int AskYesNoCancel(const char* text, Handle owner = nullptr);

// The host's own message boxes (MessageBoxA on Windows).
Prompts* HostPrompts();
