// E-mail alerts: each on a thread of its own, which reads the mail
// settings, sends the one message and ends, then hands how it fared to
// whoever asked (the program posts it to a window: the thread touches none).
#pragma once

#include <string>

#include "alerts/mailsettings.h"
#include "alerts/smtp.h"

class MailTransport;
class SettingsStore;

// How one message fared, with what its text needs.
struct MailOutcome {
  MailResult result;
  std::string reply;  // the server's, when the result came from one
  std::string server;
  std::string to;
};
// "sent to <address>." or the reason it was not, for the user.
std::string MailOutcomeText(const MailOutcome& outcome);

// Called on the mail thread when the message went or failed.
using MailNotify = void (*)(void* target, const MailOutcome& outcome);

// What a mail thread owns: its texts, and either the store it reads the
// mail settings from (which outlives every alert) or, with no store, the
// settings to use as they are.
struct MailJob {
  std::string subject;
  std::string body;
  SettingsStore* store;
  MailSettings settings;
  MailNotify notify;  // may be null
  void* target;
};

// Copies both texts into a new mail job and starts its thread; returns at
// once. 1 when the thread started.
int StartMailAlert(const char* subject, const char* body, SettingsStore& store, MailNotify notify = nullptr,
                   void* target = nullptr);
// The same path with `settings` as given, not read from a store (the
// Settings dialog's test e-mail).
int StartMailWith(const MailSettings& settings, const char* subject, const char* body, MailNotify notify,
                  void* target);
// The thread's work; frees the job. A missing job does nothing.
int AlertThread(MailJob* job);
// Sends with `settings`: 1 when the server accepted the message. Nothing
// is sent without a server, a usable Send To address or a usable port.
// `outcome` (optional) gets how it fared.
int SendMail(const MailSettings& settings, MailTransport& transport, const char* subject, const char* body,
             int timeoutMs = kMailTimeoutMs, MailOutcome* outcome = nullptr);
// SendMail with the settings read from `store`.
int SendAlert(SettingsStore& store, MailTransport& transport, const char* subject, const char* body,
              int timeoutMs = kMailTimeoutMs, MailOutcome* outcome = nullptr);
// Waits until no mail thread is running, at most `timeoutMs`; true when
// none is.
bool WaitForMailAlerts(int timeoutMs);

// What the user is told of a test e-mail: "Test e-mail sent to <address>."
// or "Test e-mail not sent: <reason>".
std::string TestMailText(const MailOutcome& outcome);
// The balloon of an e-mail alert that was not sent: "The e-mail alert was
// not sent: <reason>".
std::string AlertFailureText(const MailOutcome& outcome);
// Keeps the last e-mail alert's outcome, stamped with the application
// clock's time, for the Settings dialog (the UI thread's, not the mail
// threads').
void NoteAlertOutcome(const MailOutcome& outcome);
// "Last e-mail alert, <stamp>: sent to <address>." or "..., <stamp>: not
// sent: <reason>"; "No e-mail alert sent since Velkin started." before one.
std::string LastAlertText();

// The subject and body of the Settings dialog's test e-mail.
extern const char kTestMailSubject[];  // "Velkin Test E-mail"
extern const char kTestMailBody[];
