#include "app/win32/alerthost.h"

#include <windows.h>

#include <memory>

#include "alerts/activation.h"
#include "alerts/mailalert.h"
#include "alerts/win32/mailnotice.h"
#include "alerts/win32/settingsdialog.h"
#include "app/win32/tray.h"
#include "app/win32/windowsettings.h"
#include "base/appstate.h"
#include "base/win32/handles.h"

namespace {

class Win32ActivationOutlet final : public ActivationOutlet {
 public:
  void ShowBalloon(const char* title, const char* text) override {
    ::ShowBalloon(Window(App().mainWindow), title, text);
  }
  void SendMailAlert(const char* subject, const char* body) override {
    StartMailAlert(subject, body, MainSettingsStore(), PostMailOutcome, Window(App().mainWindow));
  }
};

Win32ActivationOutlet gOutlet;
ActivationTimer gTimer = {};

}  // namespace

void RunMainActivationCheck() {
  RunActivationCheck(gOutlet);
}

LRESULT OnMailAlertOutcome(LPARAM lParam) {
  const std::unique_ptr<MailOutcome> outcome = TakeMailOutcome(lParam);
  if (!outcome) return 0;
  NoteAlertOutcome(*outcome);
  if (outcome->result != MailResult::kSent)
    ::ShowBalloon(Window(App().mainWindow), "Velkin E-mail Alert", AlertFailureText(*outcome).c_str());
  HWND settings = Window(App().settingsDialog);
  if (settings && IsWindowVisible(settings)) ShowLastAlert(settings);
  return 0;
}

void MainActivationTick() {
  ActivationTimerTick(gTimer, gOutlet);
}
