#include "app/win32/alerthost.h"

#include <windows.h>

#include "alerts/activation.h"
#include "alerts/mailalert.h"
#include "app/win32/mainstate.h"
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
    StartMailAlert(subject, body, MainSettingsStore());
  }
};

Win32ActivationOutlet gOutlet;

}  // namespace

void RunMainActivationCheck() {
  RunActivationCheck(gOutlet);
}

void MainActivationTick() {
  ActivationTimerTick(MainState().activationTimer, gOutlet);
}
