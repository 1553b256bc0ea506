// The SMTP dialogue as transcripts against a scripted server, the settings
// an alert is sent with, and the text of the message. (The reply reader
// alone is fuzzed: fuzz/smtpreply_fuzz.cpp.)
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "alerts/mailalert.h"
#include "alerts/mailsettings.h"
#include "alerts/smtp.h"
#include "base/settingsstore.h"
#include "fakes/memorysettings.h"
#include "scripted_transport.h"

namespace {

using Names = std::vector<std::string>;
const char kAddress[] = "anna@example.com";

SmtpRequest Request(const char* user, const char* password) {
  return SmtpRequest{"mail.example.com", 587,       user,        password, kAddress,
                     kAddress,           "Subject", "Today\r\n", false};
}

// The commands sent, each by a short name.
Names Transcript(const ScriptedTransport& server, const SmtpRequest& r) {
  const std::string user = r.username ? r.username : "", password = r.password ? r.password : "";
  const std::string plain = std::string(1, '\0') + user + std::string(1, '\0') + password;
  const std::pair<std::string, const char*> known[] = {
      {"EHLO [127.0.0.1]\r\n", "EHLO"},
      {"STARTTLS\r\n", "STARTTLS"},
      {"AUTH PLAIN\r\n", "AUTH PLAIN"},
      {Base64(plain.data(), plain.size()) + "\r\n", "<plain>"},
      {"AUTH LOGIN\r\n", "AUTH LOGIN"},
      {Base64(user.data(), user.size()) + "\r\n", "<user>"},
      {Base64(password.data(), password.size()) + "\r\n", "<password>"},
      {"MAIL FROM:<anna@example.com>\r\n", "MAIL"},
      {"RCPT TO:<anna@example.com>\r\n", "RCPT"},
      {"DATA\r\n", "DATA"},
      {MessageText(r.from, r.to, r.subject, r.body), "<message>"},
      {"QUIT\r\n", "QUIT"},
  };
  Names names;
  for (const std::string& sent : server.sent) {
    names.push_back("?" + sent);
    for (const auto& k : known)
      if (sent == k.first) names.back() = k.second;
  }
  return names;
}

TEST(SmtpDialogue, Transcripts) {
  const Names sent = {"MAIL", "RCPT", "DATA", "<message>", "QUIT"};
  const std::vector<std::string> delivered = {"250 ok", "250 ok", "354 go", "250 queued"};
  auto then = [](std::vector<std::string> head, const std::vector<std::string>& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
  };
  using R = MailResult;
  const struct {
    const char* what;
    std::vector<std::string> replies;
    Names transcript;
    SmtpStep last;  // kDone when the message went
    MailResult result;
    const char* user;
    MailFault tlsFault = MailFault::kNone;
    bool anyCertificate = false;
    const char* trace = "";
  } cases[] = {
      {"TLS and AUTH PLAIN",
       then({"220 ready", "250-mail.example.com\n250-STARTTLS\n250 AUTH PLAIN", "220 go", "250 hi", "334 ",
             "235 ok"},
            delivered),
       then({"EHLO", "STARTTLS", "EHLO", "AUTH PLAIN", "<plain>"}, sent), SmtpStep::kDone, R::kSent, "anna"},
      {"a greeting of 421 ends at once", {"421 busy"}, {}, SmtpStep::kGreeting, R::kDialogueFailed, "anna"},
      {"502 to STARTTLS without credentials: on in the clear, no second EHLO",
       then({"220 hi", "250 hi", "502 no"}, delivered), then({"EHLO", "STARTTLS"}, sent), SmtpStep::kDone,
       R::kSent, ""},
      {"502 to STARTTLS with credentials: QUIT, no AUTH in the clear",
       {"220 hi", "250 hi", "502 no"},
       {"EHLO", "STARTTLS", "QUIT"},
       SmtpStep::kStartTls,
       R::kNoTls,
       "anna"},
      {"a failed handshake with credentials: QUIT, no AUTH in the clear",
       {"220 hi", "250 hi", "220 go", "250 hi", "334 ", "235 ok"},
       {"EHLO", "STARTTLS", "QUIT"},
       SmtpStep::kStartTls,
       R::kNoTls,
       "anna",
       MailFault::kTlsFailed},
      {"an untrusted certificate: nothing more, not even QUIT",
       {"220 hi", "250 hi", "220 go", "250 hi"},
       {"EHLO", "STARTTLS"},
       SmtpStep::kStartTls,
       R::kUntrusted,
       "",
       MailFault::kUntrusted},
      {"any certificate accepted when asked to",
       then({"220 hi", "250 hi", "220 go", "250 hi", "334 ", "235 ok"}, delivered),
       then({"EHLO", "STARTTLS", "EHLO", "AUTH PLAIN", "<plain>"}, sent), SmtpStep::kDone, R::kSent, "anna",
       MailFault::kUntrusted, true},
      {"504 to AUTH PLAIN, then AUTH LOGIN",
       then({"220 hi", "250 hi", "220 go", "250 hi", "504 no", "334 VXNlcm5hbWU6", "334 UGFzc3dvcmQ6",
             "235 ok"},
            delivered),
       then({"EHLO", "STARTTLS", "EHLO", "AUTH PLAIN", "AUTH LOGIN", "<user>", "<password>"}, sent),
       SmtpStep::kDone, R::kSent, "anna"},
      {"504 to both: on unauthenticated",
       then({"220 hi", "250 hi", "220 go", "250 hi", "504 no", "504 no"}, delivered),
       then({"EHLO", "STARTTLS", "EHLO", "AUTH PLAIN", "AUTH LOGIN"}, sent), SmtpStep::kDone, R::kSent,
       "anna"},
      {"a username refused in AUTH LOGIN: traced; the password still goes, and its reply decides",
       {"220 hi", "250 hi", "220 go", "250 hi", "504 no", "334 VXNlcm5hbWU6", "535 who?", "535 no"},
       {"EHLO", "STARTTLS", "EHLO", "AUTH PLAIN", "AUTH LOGIN", "<user>", "<password>"},
       SmtpStep::kAuthLoginPassword,
       R::kAuthRefused,
       "anna",
       MailFault::kNone,
       false,
       "Error in authentication\n"},
      {"a refused password",
       {"220 hi", "250 hi", "220 go", "250 hi", "334 ", "535 no"},
       {"EHLO", "STARTTLS", "EHLO", "AUTH PLAIN", "<plain>"},
       SmtpStep::kAuthPlainCredential,
       R::kAuthRefused,
       "anna"},
      {"a refused sender",
       {"220 hi", "250 hi", "502 no", "553 who?"},
       {"EHLO", "STARTTLS", "MAIL"},
       SmtpStep::kMailFrom,
       R::kSenderRefused,
       ""},
      {"a refused recipient",
       {"220 hi", "250 hi", "502 no", "250 ok", "550 no such user"},
       {"EHLO", "STARTTLS", "MAIL", "RCPT"},
       SmtpStep::kRcptTo,
       R::kRecipientRefused,
       ""},
      {"a refused message gets no QUIT",
       {"220 hi", "250 hi", "502 no", "250 ok", "250 ok", "354 go", "554 spam"},
       {"EHLO", "STARTTLS", "MAIL", "RCPT", "DATA", "<message>"},
       SmtpStep::kMessage,
       R::kMessageRefused,
       ""},
      {"a failed handshake without credentials: the second EHLO goes in the clear and its reply decides",
       {"220 hi", "250 hi", "220 go", "500 what?"},
       {"EHLO", "STARTTLS", "EHLO"},
       SmtpStep::kEhloOverTls,
       R::kDialogueFailed,
       "",
       MailFault::kTlsFailed},
      // A reply slipped in after the 220 to STARTTLS, in the clear, is not
      // taken for the reply to the EHLO over TLS.
      {"bytes after STARTTLS's 220 are dropped",
       {"220 hi", "250 hi", "220 go\n250 slipped in", "500 no"},
       {"EHLO", "STARTTLS", "EHLO"},
       SmtpStep::kEhloOverTls,
       R::kDialogueFailed,
       ""},
      // Without the whole-reply rule the EHLO reply's second line would be
      // taken for the reply to STARTTLS.
      {"replies in pieces, a multi-line one cut inside its lines",
       then({"22|0 re|ady", "250-mail.exa|mple.com\n250-STA|RTTLS\n|250 AUTH PLAIN", "22|0 go", "250 hi",
             "33|4 ", "235 ok"},
            delivered),
       then({"EHLO", "STARTTLS", "EHLO", "AUTH PLAIN", "<plain>"}, sent), SmtpStep::kDone, R::kSent, "anna"},
      {"a server that says nothing after EHLO",
       {"220 ready"},
       {"EHLO"},
       SmtpStep::kEhlo,
       R::kTimedOut,
       "anna"},
      {"a reply that is not SMTP",
       {"220 ready", "HTTP/1.1 400"},
       {"EHLO"},
       SmtpStep::kEhlo,
       R::kDialogueFailed,
       "anna"},
  };
  for (const auto& c : cases) {
    ScriptedTransport server(c.replies);
    server.tlsFault = c.tlsFault;
    SmtpRequest request = Request(c.user, "s3cret");
    request.anyCertificate = c.anyCertificate;
    SmtpReport report{SmtpStep::kFailed, MailResult::kNotSet, ""};
    testing::internal::CaptureStdout();
    EXPECT_EQ(SmtpSend(server, request, 1000, &report), c.last == SmtpStep::kDone ? 1 : 0) << c.what;
    EXPECT_EQ(testing::internal::GetCapturedStdout(), c.trace) << c.what;
    EXPECT_EQ(Transcript(server, request), c.transcript) << c.what;
    EXPECT_EQ(report.last, c.last) << c.what;
    EXPECT_EQ(report.result, c.result) << c.what;
    if (server.tlsStarts) {
      EXPECT_EQ(server.checkedCertificate, !c.anyCertificate) << c.what;
    }
    EXPECT_GE(server.closes, 1) << c.what << ": the connection is closed on every way out";
  }
}

TEST(SmtpDialogue, ABodyBeyondAsciiGoes8BitOnlyWhenTheLastEhloOffers8BitMime) {
  const std::string offers = "250-mail.example.com\n250-SIZE 1000\n250 8bitmime";
  const struct {
    const char* what;
    std::vector<std::string> replies;
    std::string body;
    std::vector<std::string> mail;  // the MAIL commands sent
    const char* encoding;
  } cases[] = {
      {"offered over TLS", {"220 hi", "250 hi", "220 go", offers, "334 ", "235 ok"}, "\xC3\xA9\r\n",
       {"MAIL FROM:<anna@example.com> BODY=8BITMIME\r\n"}, "8bit"},
      {"offered before TLS only", {"220 hi", offers, "220 go", "250 hi", "334 ", "235 ok"}, "\xC3\xA9\r\n",
       {"MAIL FROM:<anna@example.com>\r\n"}, "quoted-printable"},
      {"offered, the body ASCII", {"220 hi", "250 hi", "220 go", offers, "334 ", "235 ok"}, "Today\r\n",
       {"MAIL FROM:<anna@example.com>\r\n"}, "7bit"},
      {"the server's name alone is no offer", {"220 hi", "250 hi", "220 go", "250 8BITMIME", "334 ", "235 ok"},
       "\xC3\xA9\r\n", {"MAIL FROM:<anna@example.com>\r\n"}, "quoted-printable"},
      // A message line may hold 998 bytes.
      {"offered, a line too long for 8bit", {"220 hi", "250 hi", "220 go", offers, "334 ", "235 ok"},
       std::string(998, 'x') + "\r\n" + std::string(997, 'y') + "\xC3\xA9", {"MAIL FROM:<anna@example.com>\r\n"},
       "quoted-printable"},
      {"offered, a line of exactly 998 bytes", {"220 hi", "250 hi", "220 go", offers, "334 ", "235 ok"},
       std::string(996, 'y') + "\xC3\xA9", {"MAIL FROM:<anna@example.com> BODY=8BITMIME\r\n"}, "8bit"},
      {"a longer keyword is no offer", {"220 hi", "250 hi", "220 go", "250-hi\n250 8BITMIMEX", "334 ", "235 ok"},
       "\xC3\xA9", {"MAIL FROM:<anna@example.com>\r\n"}, "quoted-printable"},
      {"offered, then BODY= refused: once more without it",
       {"220 hi", "250 hi", "220 go", offers, "334 ", "235 ok", "555 5.5.4 BODY not supported"}, "\xC3\xA9",
       {"MAIL FROM:<anna@example.com> BODY=8BITMIME\r\n", "MAIL FROM:<anna@example.com>\r\n"},
       "quoted-printable"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> replies = c.replies;
    replies.insert(replies.end(), {"250 ok", "250 ok", "354 go", "250 queued"});
    ScriptedTransport server(replies);
    SmtpRequest request = Request("anna", "s3cret");
    request.body = c.body.c_str();
    EXPECT_EQ(SmtpSend(server, request, 1000), 1) << c.what;
    std::vector<std::string> mail;
    for (const std::string& sent : server.sent)
      if (sent.rfind("MAIL ", 0) == 0) mail.push_back(sent);
    EXPECT_EQ(mail, c.mail) << c.what;
    ASSERT_GE(server.sent.size(), 2u) << c.what;
    const std::string& message = server.sent[server.sent.size() - 2];  // before QUIT
    EXPECT_NE(message.find(std::string("Content-Transfer-Encoding: ") + c.encoding + "\r\n"), std::string::npos)
        << c.what << ": " << message;
  }
}

TEST(SmtpDialogue, TheServersReplyIsGivenBackUnlessItEchoesThePassword) {
  const std::string plain = std::string(1, '\0') + "anna" + std::string(1, '\0') + "s3cret";
  const struct {
    std::string refusal;
    const char* given;
  } cases[] = {
      {"535 5.7.8 Authentication credentials invalid", "535 5.7.8 Authentication credentials invalid"},
      {"535 no such login: anna/s3cret", ""},
      {"535 bad " + Base64(plain.data(), plain.size()), ""},
      {"535 bad " + Base64("s3cret", 6), ""},
  };
  for (const auto& c : cases) {
    ScriptedTransport server({"220 hi", "250 hi", "220 go", "250 hi", "334 ", c.refusal});
    SmtpReport report{SmtpStep::kFailed, MailResult::kSent, "?"};
    EXPECT_EQ(SmtpSend(server, Request("anna", "s3cret"), 1000, &report), 0);
    EXPECT_EQ(report.result, MailResult::kAuthRefused) << c.refusal;
    EXPECT_EQ(report.reply, c.given) << c.refusal;
  }
}

TEST(SmtpDialogue, AuthNeedsBothAUsernameAndAPassword) {
  for (const auto& pair : {std::make_pair("", "s3cret"), std::make_pair("anna", "")}) {
    ScriptedTransport server(
        {"220 hi", "250 hi", "220 go", "250 hi", "250 ok", "250 ok", "354 go", "250 ok"});
    const SmtpRequest request = Request(pair.first, pair.second);
    EXPECT_EQ(SmtpSend(server, request, 1000), 1);
    EXPECT_EQ(Transcript(server, request),
              (Names{"EHLO", "STARTTLS", "EHLO", "MAIL", "RCPT", "DATA", "<message>", "QUIT"}));
  }
}

TEST(SmtpAlert, TheSettingsDecideWhereAndWhetherTheAlertGoes) {
  const struct {
    const char* server;
    const char* port;
    const char* sendTo;
    uint16_t connectsTo;  // 0: no connection at all
  } cases[] = {
      {"mail.example.com", "", kAddress, 25},
      {"mail.example.com", "2525", kAddress, 2525},
      {"mail.example.com", "65535", kAddress, 65535},
      {"mail.example.com", "70000", kAddress, 0},
      {"", "25", kAddress, 0},
      {"mail.example.com", "25", "", 0},
      // An address that would add a command to the dialogue.
      {"mail.example.com", "25", "a@b.c\r\nRCPT TO:<x@evil>", 0},
  };
  for (const auto& c : cases) {
    MemorySettingsStore store;
    WriteMailSettings(store, MailSettings{c.server, c.port, "", "", c.sendTo});
    ScriptedTransport server({"421 busy"});
    SendAlert(store, server, "s", "b", 1000);
    EXPECT_EQ(server.port, c.connectsTo) << c.server << ":" << c.port << " to " << c.sendTo;
  }
}

TEST(SmtpMessage, HeaderLinesThenTheBodyWithItsDotsDoubled) {
  const std::string mime = "MIME-Version: 1.0\r\nContent-Type: text/plain; charset=UTF-8\r\n";
  const std::string plain = mime + "Content-Transfer-Encoding: 7bit\r\n\r\n";
  const std::string quoted = mime + "Content-Transfer-Encoding: quoted-printable\r\n\r\n";
  const std::string eight = mime + "Content-Transfer-Encoding: 8bit\r\n\r\n";
  const struct {
    const char* subject;
    std::string body;
    std::string expected;  // after the From and To lines
    bool serverTakes8Bit = false;
  } cases[] = {
      {"Velkin Task Activation: Buy milk", "Today\r\n\tBuy milk\r\n",
       "Subject: Velkin Task Activation: Buy milk\r\n" + plain + "Today\r\n\tBuy milk\r\n.\r\n"},
      // A task named "." must not end the message.
      {"s", ".\r\n\t.x\r\n..two\r\n", "Subject: s\r\n" + plain + "..\r\n\t.x\r\n...two\r\n.\r\n"},
      // A name with a line break from an edited file adds no header.
      {"x\r\nBcc: all@evil", "x\r\n", "Subject: x  Bcc: all@evil\r\n" + plain + "x\r\n.\r\n"},
      // Bare line ends become CR LF; a last line without one gets it.
      {"s", "a\n.\rb", "Subject: s\r\n" + plain + "a\r\n..\r\nb\r\n.\r\n"},
      {"s", "", "Subject: s\r\n" + plain + ".\r\n"},
      // Beyond ASCII: the subject as encoded-words of whole characters on
      // lines within 76, the body quoted-printable ("=" and a blank at a
      // line's end too), long lines broken softly, dots still doubled.
      {"\xC4\x8C" "aj \xE2\x9C\x93", "\t\xC4\x8C" "aj \xE2\x9C\x93 a=b \r\n.\xC3\xA9\r\n",
       "Subject: =?UTF-8?B?xIxhaiDinJM=?=\r\n" + quoted + "\t=C4=8Caj =E2=9C=93 a=3Db=20\r\n..=C3=A9\r\n.\r\n"},
      {"\xE6\x97\xA5\xE6\x97\xA5\xE6\x97\xA5\xE6\x97\xA5\xE6\x97\xA5\xE6\x97\xA5\xE6\x97\xA5\xE6\x97\xA5"
       "\xE6\x97\xA5\xE6\x97\xA5\xE6\x97\xA5\xE6\x97\xA5\xE6\x97\xA5\xE6\x97\xA5",
       std::string(74, 'x') + "\xC3\xA9.\r\n",
       "Subject: =?UTF-8?B?5pel5pel5pel5pel5pel5pel5pel5pel5pel5pel5pel5pel5pel?=\r\n =?UTF-8?B?5pel?=\r\n" +
           quoted + std::string(74, 'x') + "=\r\n=C3=A9.\r\n.\r\n"},
      // To a server that takes 8BITMIME: the body as it is, dots doubled.
      {"s", "\t\xC4\x8C" "aj a=b \r\n.\xC3\xA9\n", "Subject: s\r\n" + eight + "\t\xC4\x8C" "aj a=b \r\n..\xC3\xA9\r\n.\r\n",
       true},
  };
  for (const auto& c : cases)
    EXPECT_EQ(MessageText("a@b.c", "a@b.c", c.subject, c.body.c_str(), c.serverTakes8Bit),
              std::string("From: a@b.c\r\nTo: a@b.c\r\n") + c.expected);
  EXPECT_EQ(Base64("\0u\0p", 4), "AHUAcA==");
  // 60 bytes make 80 characters, which must stay on one command line.
  EXPECT_EQ(Base64(std::string(60, 'x').data(), 60).find('\n'), std::string::npos);
}

}  // namespace
