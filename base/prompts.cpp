#include "base/prompts.h"

#include "base/appstate.h"

const char kAppTitle[] = "Velkin 1.0";

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
