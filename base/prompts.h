// The prompts: message boxes through which the organiser warns and asks.
#pragma once

#include <functional>
#include <string>
#include <vector>

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

// Prompts answered from a script: every box shown is recorded, and each
// answer is taken from the queue, or is the box's natural default (OK for a
// warning, No for a question) when the queue is empty.
class ScriptedPrompts final : public Prompts {
 public:
  struct Shown {
    Handle owner;
    std::string text;
    std::string title;
    unsigned style;
  };

  int Show(Handle owner, const char* text, const char* title, unsigned style) override;
  // Called while a box is up, before it is answered: what the user might do
  // meanwhile in the windows the box leaves usable.
  void WhileShown(std::function<void()> action) { whileShown_ = std::move(action); }
  void Answer(int answer) { answers_.push_back(answer); }
  const std::vector<Shown>& shown() const { return shown_; }
  std::vector<std::string> Texts() const;
  void Clear() {
    shown_.clear();
    answers_.clear();
    next_ = 0;
  }

 private:
  std::vector<Shown> shown_;
  std::vector<int> answers_;
  size_t next_ = 0;
  std::function<void()> whileShown_;
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
