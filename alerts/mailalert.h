// E-mail alerts: each on a thread of its own, which reads the mail
// settings, sends the one message and ends. Nothing is reported: an alert
// that cannot be sent fails quietly.
#pragma once

#include <string>

#include "alerts/smtp.h"

class MailTransport;
class SettingsStore;

// What an alert thread owns: its texts, and the store it reads the mail
// settings from (which outlives every alert).
struct MailJob {
  std::string subject;
  std::string body;
  SettingsStore* store;
};

// Copies both texts into a new mail job and starts its thread; returns at
// once. 1 when the thread started.
int StartMailAlert(const char* subject, const char* body, SettingsStore& store);
// The thread's work; frees the job. A missing job does nothing.
int AlertThread(MailJob* job);
// Reads the mail settings and sends: 1 when the server accepted the
// message. Nothing is sent without a server, a usable Send To address or a
// usable port.
int SendAlert(SettingsStore& store, MailTransport& transport, const char* subject, const char* body,
              int timeoutMs = kMailTimeoutMs);
// Waits until no alert thread is running, at most `timeoutMs`; true when
// none is.
bool WaitForMailAlerts(int timeoutMs);
