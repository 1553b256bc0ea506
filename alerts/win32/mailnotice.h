// How a mail thread hands its outcome to the UI thread: it posts it, and
// the window that gets the message owns it from then on. The thread never
// touches a window itself.
#pragma once

#include <windows.h>

#include <memory>

#include "alerts/mailalert.h"

// wParam 0, lParam a MailOutcome* for the window to take (TakeMailOutcome).
constexpr UINT kMailOutcomeMessage = WM_APP + 21;

// A MailNotify: posts a copy of the outcome to the window `target` (an
// HWND); the copy is freed here when the window is gone.
void PostMailOutcome(void* target, const MailOutcome& outcome);
// The outcome a kMailOutcomeMessage carries; null for none.
std::unique_ptr<MailOutcome> TakeMailOutcome(LPARAM lParam);
