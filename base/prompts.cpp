#include "base/prompts.h"

#include "base/appstate.h"

const char kAppTitle[] = "Velkin 1.0";

int ScriptedPrompts::Show(Handle owner, const char* text, const char* title, unsigned style) {
  shown_.push_back(Shown{owner, text ? text : "", title ? title : "", style});
  if (whileShown_) {
    std::function<void()> action = std::move(whileShown_);
    whileShown_ = nullptr;
    action();
  }
  if (next_ < answers_.size()) return answers_[next_++];
  unsigned buttons = style & 0xF;
  return buttons == kBoxYesNo || buttons == kBoxYesNoCancel ? kAnswerNo : kAnswerOk;
}

std::vector<std::string> ScriptedPrompts::Texts() const {
  std::vector<std::string> texts;
  texts.reserve(shown_.size());
  for (const Shown& box : shown_) texts.push_back(box.text);
  return texts;
}

int ShowWarning(const char* text) {
  if (!App().prompts) return 0;
  return App().prompts->Show(nullptr, text ? text : "NULL", kAppTitle, kBoxIconWarning | kBoxOk);
}

int ShowNotice(const char* text, unsigned icon, Handle owner) {
  if (!App().prompts) return 0;
  return App().prompts->Show(owner, text ? text : "", kAppTitle, icon | kBoxOk);
}

bool AskYesNo(const char* text, Handle owner) {
  if (!App().prompts) return false;
  return App().prompts->Show(owner, text ? text : "", kAppTitle, kBoxIconQuestion | kBoxYesNo) == kAnswerYes;
}

int AskYesNoCancel(const char* text, Handle owner) {
  if (!App().prompts) return kAnswerNo;
  return App().prompts->Show(owner, text ? text : "", kAppTitle, kBoxIconQuestion | kBoxYesNoCancel);
}
