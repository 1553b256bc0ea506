#include "fakes/scriptedprompts.h"

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
