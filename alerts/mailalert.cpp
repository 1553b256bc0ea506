#include "alerts/mailalert.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

#include "alerts/mailsettings.h"
#include "alerts/sockettransport.h"
#include "base/codepage.h"

namespace {

// The alert threads still running, so that tests (and whoever must not cut
// an alert short) can wait for them.
std::mutex gRunningLock;
std::condition_variable gRunningChanged;
int gRunning = 0;

void CountAlert(int change) {
  std::lock_guard<std::mutex> hold(gRunningLock);
  gRunning += change;
  gRunningChanged.notify_all();
}

}  // namespace

int StartMailAlert(const char* subject, const char* body, SettingsStore& store) {
  auto* job = new MailJob{subject ? subject : "", body ? body : "", &store};
  CountAlert(1);
  try {
    std::thread(AlertThread, job).detach();
  } catch (const std::system_error&) {
    // No thread: the alert is lost, quietly like any other failed alert.
    delete job;
    CountAlert(-1);
    return 0;
  }
  return 1;
}

int AlertThread(MailJob* job) {
  if (!job) return 0;
  int sent;
  {
    SocketTransport transport;
    sent = SendAlert(*job->store, transport, job->subject.c_str(), job->body.c_str());
  }
  delete job;
  CountAlert(-1);
  return sent;
}

int SendAlert(SettingsStore& store, MailTransport& transport, const char* subject, const char* body,
              int timeoutMs) {
  const MailSettings settings = ReadMailSettings(store);
  const uint16_t port = MailPort(settings.port);
  if (settings.server.empty() || settings.sendTo.empty() || port == 0) return 0;
  // The message says it is UTF-8.
  const std::string subjectText = ProgramTextToUtf8(subject ? subject : "");
  const std::string bodyText = ProgramTextToUtf8(body ? body : "");
  SmtpRequest request{settings.server.c_str(),
                      port,
                      settings.username.c_str(),
                      settings.password.c_str(),
                      settings.sendTo.c_str(),
                      settings.sendTo.c_str(),
                      subjectText.c_str(),
                      bodyText.c_str()};
  return SmtpSend(transport, request, timeoutMs);
}

bool WaitForMailAlerts(int timeoutMs) {
  std::unique_lock<std::mutex> hold(gRunningLock);
  return gRunningChanged.wait_for(hold, std::chrono::milliseconds(timeoutMs), [] { return gRunning == 0; });
}
