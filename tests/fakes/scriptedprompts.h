#pragma once

#include <functional>
#include <string>
#include <vector>

#include "base/prompts.h"

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
