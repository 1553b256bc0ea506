#include "alerts/win32/mailnotice.h"

void PostMailOutcome(void* target, const MailOutcome& outcome) {
  std::unique_ptr<MailOutcome> copy(new MailOutcome(outcome));
  if (PostMessageA(static_cast<HWND>(target), kMailOutcomeMessage, 0, reinterpret_cast<LPARAM>(copy.get())))
    copy.release();
}

std::unique_ptr<MailOutcome> TakeMailOutcome(LPARAM lParam) {
  return std::unique_ptr<MailOutcome>(reinterpret_cast<MailOutcome*>(lParam));
}
