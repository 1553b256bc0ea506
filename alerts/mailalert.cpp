#include "alerts/mailalert.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

#include "alerts/mailsettings.h"
#include "alerts/sockettransport.h"
#include "data/datetext.h"
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

// The last alert's outcome, as Settings shows it; empty before one.
std::string gLastAlert;

int StartJob(MailJob* job) {
  CountAlert(1);
  try {
    std::thread(AlertThread, job).detach();
  } catch (const std::system_error&) {
    // No thread: the alert is lost, as one the server refused.
    delete job;
    CountAlert(-1);
    return 0;
  }
  return 1;
}

}  // namespace

const char kTestMailSubject[] = "Velkin Test E-mail";
const char kTestMailBody[] =
    "This is a test e-mail from Velkin. Your task alerts will reach you at this address.\r\n";

std::string MailOutcomeText(const MailOutcome& outcome) {
  return MailResultText(outcome.result, outcome.reply, outcome.server.c_str(), outcome.to.c_str());
}

std::string TestMailText(const MailOutcome& outcome) {
  return std::string(outcome.result == MailResult::kSent ? "Test e-mail " : "Test e-mail not sent: ") +
         MailOutcomeText(outcome);
}

std::string AlertFailureText(const MailOutcome& outcome) {
  return "The e-mail alert was not sent: " + MailOutcomeText(outcome);
}

void NoteAlertOutcome(const MailOutcome& outcome) {
  gLastAlert = "Last e-mail alert, " + StampNow() +
               (outcome.result == MailResult::kSent ? ": " : ": not sent: ") + MailOutcomeText(outcome);
}

std::string LastAlertText() {
  return gLastAlert.empty() ? "No e-mail alert sent since Velkin started." : gLastAlert;
}

int StartMailAlert(const char* subject, const char* body, SettingsStore& store, MailNotify notify,
                   void* target) {
  return StartJob(
      new MailJob{subject ? subject : "", body ? body : "", &store, MailSettings(), notify, target});
}

int StartMailWith(const MailSettings& settings, const char* subject, const char* body, MailNotify notify,
                  void* target) {
  return StartJob(new MailJob{subject ? subject : "", body ? body : "", nullptr, settings, notify, target});
}

int AlertThread(MailJob* job) {
  if (!job) return 0;
  MailOutcome outcome;
  int sent;
  {
    SocketTransport transport;
    const MailSettings settings = job->store ? ReadMailSettings(*job->store) : job->settings;
    sent = SendMail(settings, transport, job->subject.c_str(), job->body.c_str(), kMailTimeoutMs, &outcome);
  }
  if (job->notify) job->notify(job->target, outcome);
  delete job;
  CountAlert(-1);
  return sent;
}

int SendMail(const MailSettings& settings, MailTransport& transport, const char* subject, const char* body,
             int timeoutMs, MailOutcome* outcome) {
  const uint16_t port = MailPort(settings.port);
  SmtpReport report{SmtpStep::kGreeting, MailResult::kNotSet, std::string()};
  if (!settings.server.empty() && !settings.sendTo.empty() && port != 0) {
    // The message says it is UTF-8.
    const std::string subjectText = ProgramTextToUtf8(subject ? subject : "");
    const std::string bodyText = ProgramTextToUtf8(body ? body : "");
    const SmtpRequest request{settings.server.c_str(),
                              port,
                              settings.username.c_str(),
                              settings.password.c_str(),
                              settings.sendTo.c_str(),
                              settings.sendTo.c_str(),
                              subjectText.c_str(),
                              bodyText.c_str(),
                              settings.anyCertificate};
    SmtpSend(transport, request, timeoutMs, &report);
  }
  if (outcome) *outcome = MailOutcome{report.result, report.reply, settings.server, settings.sendTo};
  return report.result == MailResult::kSent ? 1 : 0;
}

int SendAlert(SettingsStore& store, MailTransport& transport, const char* subject, const char* body,
              int timeoutMs, MailOutcome* outcome) {
  return SendMail(ReadMailSettings(store), transport, subject, body, timeoutMs, outcome);
}

bool WaitForMailAlerts(int timeoutMs) {
  std::unique_lock<std::mutex> hold(gRunningLock);
  return gRunningChanged.wait_for(hold, std::chrono::milliseconds(timeoutMs), [] { return gRunning == 0; });
}
