// The SMTP dialogue as transcripts against a scripted server, the reply
// reader, and the text of the message.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "alerts/smtp.h"
#include "alerts/smtpreply.h"
#include "scripted_transport.h"

namespace {

const char kUser[] = "anna";
const char kPassword[] = "s3cret";
const char kAddress[] = "anna@example.com";

SmtpRequest Request(const char* user = kUser, const char* password = kPassword) {
  return SmtpRequest{
      "mail.example.com",       587, user, password, kAddress, kAddress, "Velkin Task Activation: Buy milk",
      "Today\r\n\tBuy milk\r\n"};
}

// The commands sent, each by a short name.
std::vector<std::string> Transcript(const ScriptedTransport& server, const SmtpRequest& request) {
  const std::string user = request.username ? request.username : "";
  const std::string password = request.password ? request.password : "";
  const std::string plain = std::string(1, '\0') + user + std::string(1, '\0') + password;
  const struct {
    std::string text;
    const char* name;
  } known[] = {
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
      {MessageText(request.from, request.to, request.subject, request.body), "<message>"},
      {"QUIT\r\n", "QUIT"},
  };
  std::vector<std::string> names;
  for (const std::string& sent : server.sent) {
    std::string name = "?" + sent;
    for (const auto& k : known)
      if (sent == k.text) name = k.name;
    names.push_back(name);
  }
  return names;
}

using Names = std::vector<std::string>;

struct Case {
  const char* what;
  std::vector<std::string> replies;
  Names transcript;
  int result;
  SmtpStep last;
};

TEST(SmtpDialogue, Transcripts) {
  const Names tail = {"MAIL", "RCPT", "DATA", "<message>", "QUIT"};
  auto with = [&](Names head) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
  };
  const std::vector<std::string> delivery = {"250 sender ok", "250 recipient ok", "354 go ahead",
                                             "250 queued"};
  auto script = [&](std::vector<std::string> head) {
    head.insert(head.end(), delivery.begin(), delivery.end());
    return head;
  };
  const Case cases[] = {
      {"TLS and AUTH PLAIN",
       script({"220 ready", "250-mail.example.com\n250-STARTTLS\n250 AUTH PLAIN LOGIN", "220 go ahead",
               "250-mail.example.com\n250 AUTH PLAIN LOGIN", "334 ", "235 ok"}),
       with({"EHLO", "STARTTLS", "EHLO", "AUTH PLAIN", "<plain>"}), 1, SmtpStep::kDone},
      {"a greeting of 421 ends at once", {"421 busy"}, {}, 0, SmtpStep::kGreeting},
      {"502 to STARTTLS goes on in the clear without a second EHLO",
       script({"220 ready", "250 hi", "502 no", "334 ", "235 ok"}),
       with({"EHLO", "STARTTLS", "AUTH PLAIN", "<plain>"}), 1, SmtpStep::kDone},
      {"504 to AUTH PLAIN, then AUTH LOGIN",
       script({"220 ready", "250 hi", "502 no", "504 no", "334 VXNlcm5hbWU6", "334 UGFzc3dvcmQ6", "235 ok"}),
       with({"EHLO", "STARTTLS", "AUTH PLAIN", "AUTH LOGIN", "<user>", "<password>"}), 1, SmtpStep::kDone},
      {"504 to both goes on unauthenticated", script({"220 ready", "250 hi", "502 no", "504 no", "504 no"}),
       with({"EHLO", "STARTTLS", "AUTH PLAIN", "AUTH LOGIN"}), 1, SmtpStep::kDone},
      {"a refused password fails",
       {"220 ready", "250 hi", "502 no", "334 ", "535 bad credentials"},
       {"EHLO", "STARTTLS", "AUTH PLAIN", "<plain>"},
       0,
       SmtpStep::kAuthPlainCredential},
      {"a refused sender fails",
       {"220 ready", "250 hi", "502 no", "334 ", "235 ok", "550 no"},
       {"EHLO", "STARTTLS", "AUTH PLAIN", "<plain>", "MAIL"},
       0,
       SmtpStep::kMailFrom},
      {"a refused message gets no QUIT",
       {"220 ready", "250 hi", "502 no", "334 ", "235 ok", "250 ok", "250 ok", "354 go", "554 spam"},
       {"EHLO", "STARTTLS", "AUTH PLAIN", "<plain>", "MAIL", "RCPT", "DATA", "<message>"},
       0,
       SmtpStep::kMessage},
      {"replies in pieces, a multi-line one cut inside its lines",
       script({"22|0 re|ady", "250-mail.exa|mple.com\n250-STA|RTTLS\n|250 AUTH PLAIN", "502 no", "33|4 ",
               "235 ok"}),
       with({"EHLO", "STARTTLS", "AUTH PLAIN", "<plain>"}), 1, SmtpStep::kDone},
      // Without the whole-reply rule, the EHLO reply's second line would be
      // taken for the reply to STARTTLS.
      {"a multi-line reply is one reply",
       script({"220 ready", "250-a\n250-b\n250 c", "502 no", "334 ", "235 ok"}),
       with({"EHLO", "STARTTLS", "AUTH PLAIN", "<plain>"}), 1, SmtpStep::kDone},
      {"a server that says nothing after EHLO fails the alert", {"220 ready"}, {"EHLO"}, 0, SmtpStep::kEhlo},
      {"a reply that is not SMTP fails", {"220 ready", "HTTP/1.1 400"}, {"EHLO"}, 0, SmtpStep::kEhlo},
  };
  for (const Case& c : cases) {
    ScriptedTransport server(c.replies);
    SmtpStep last = SmtpStep::kFailed;
    const SmtpRequest request = Request();
    EXPECT_EQ(SmtpSend(server, request, 1000, &last), c.result) << c.what;
    EXPECT_EQ(Transcript(server, request), c.transcript) << c.what;
    EXPECT_EQ(last, c.last) << c.what;
    EXPECT_GE(server.closes, 1) << c.what << ": the connection is closed on every way out";
    EXPECT_EQ(server.host, "mail.example.com");
    EXPECT_EQ(server.port, 587);
  }
}

TEST(SmtpDialogue, WithoutUsernameOrPasswordNoAuthIsSent) {
  const char* const credentials[][2] = {{"", kPassword}, {kUser, ""}, {nullptr, nullptr}};
  for (const auto& pair : credentials) {
    ScriptedTransport server(
        {"220 ready", "250 hi", "220 go", "250 hi", "250 ok", "250 ok", "354 go", "250 ok"});
    const SmtpRequest request = Request(pair[0], pair[1]);
    EXPECT_EQ(SmtpSend(server, request, 1000), 1);
    EXPECT_EQ(Transcript(server, request),
              (Names{"EHLO", "STARTTLS", "EHLO", "MAIL", "RCPT", "DATA", "<message>", "QUIT"}));
    EXPECT_EQ(server.tlsStarts, 1);
  }
}

TEST(SmtpDialogue, AFailedHandshakeLetsTheSecondEhloDecide) {
  ScriptedTransport server({"220 ready", "250 hi", "220 go", "500 what?"});
  server.refuseTls = true;
  const SmtpRequest request = Request();
  EXPECT_EQ(SmtpSend(server, request, 1000), 0);
  EXPECT_EQ(Transcript(server, request), (Names{"EHLO", "STARTTLS", "EHLO"}));
}

TEST(SmtpDialogue, AUsernameRefusedInAuthLoginIsSaidAndThePasswordDecides) {
  ScriptedTransport server(
      {"220 ready", "250 hi", "502 no", "504 no", "334 VXNlcm5hbWU6", "535 who?", "535 no"});
  const SmtpRequest request = Request();
  testing::internal::CaptureStdout();
  EXPECT_EQ(SmtpSend(server, request, 1000), 0);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Error in authentication\n");
  EXPECT_EQ(Transcript(server, request),
            (Names{"EHLO", "STARTTLS", "AUTH PLAIN", "AUTH LOGIN", "<user>", "<password>"}));
}

TEST(SmtpDialogue, NothingIsSentWithoutAServerOrWithAnAddressThatWouldBreakTheCommands) {
  const char* const addresses[] = {"", "a@b.c\r\nRCPT TO:<x@evil>", "a@b.c>", "tab\there@b.c"};
  for (const char* address : addresses) {
    ScriptedTransport server({"220 ready"});
    SmtpRequest request = Request();
    request.from = request.to = address;
    EXPECT_EQ(SmtpSend(server, request, 1000), 0) << address;
    EXPECT_TRUE(server.host.empty()) << "no connection for " << address;
  }
  ScriptedTransport server({"220 ready"});
  SmtpRequest request = Request();
  request.server = "";
  EXPECT_EQ(SmtpSend(server, request, 1000), 0);
  EXPECT_TRUE(server.sent.empty());
}

TEST(SmtpDialogue, AConnectionThatCannotBeMadeFails) {
  ScriptedTransport server({"220 ready"});
  server.refuseConnection = true;
  SmtpStep last = SmtpStep::kDone;
  EXPECT_EQ(SmtpSend(server, Request(), 1000, &last), 0);
  EXPECT_EQ(last, SmtpStep::kGreeting);
  EXPECT_TRUE(server.sent.empty());
}

TEST(SmtpCredentials, Base64OfPlainAndOfLongCredentialsStaysOnOneLine) {
  EXPECT_EQ(Base64("\0u\0p", 4), "AHUAcA==");
  EXPECT_EQ(Base64("anna", 4), "YW5uYQ==");
  // 60 bytes: 80 characters, which a line-breaking encoder would cut at 64
  // and the server would read as two commands.
  const std::string longCredential(60, 'x');
  const std::string encoded = Base64(longCredential.data(), longCredential.size());
  EXPECT_EQ(encoded.size(), 80u);
  EXPECT_EQ(encoded.find('\n'), std::string::npos);
}

TEST(SmtpMessage, ThreeHeaderLinesAndTheBodyWithItsDotsDoubled) {
  struct Case {
    const char* subject;
    const char* body;
    const char* expected;
  } cases[] = {
      {"Velkin Task Activation: Buy milk", "Today\r\n\tBuy milk\r\n",
       "From: a@b.c\r\nTo: a@b.c\r\nSubject: Velkin Task Activation: Buy milk\r\n\r\nToday\r\n\tBuy "
       "milk\r\n.\r\n"},
      // A task named "." must not end the message.
      {"s", ".\r\n\t.hidden\r\n..two\r\nend.\r\n",
       "From: a@b.c\r\nTo: a@b.c\r\nSubject: s\r\n\r\n..\r\n\t.hidden\r\n...two\r\nend.\r\n.\r\n"},
      // A name with a line break from an edited file adds no header.
      {"Velkin Task Activation: x\r\nBcc: all@evil", "x\r\n",
       "From: a@b.c\r\nTo: a@b.c\r\nSubject: Velkin Task Activation: x  Bcc: all@evil\r\n\r\nx\r\n.\r\n"},
      // Bare line ends become CR LF, and the dot after one is doubled.
      {"s", "a\n.\rb\r\n", "From: a@b.c\r\nTo: a@b.c\r\nSubject: s\r\n\r\na\r\n..\r\nb\r\n.\r\n"},
      // A last line without its line end gets one before the ".".
      {"s", "a\r\nb", "From: a@b.c\r\nTo: a@b.c\r\nSubject: s\r\n\r\na\r\nb\r\n.\r\n"},
      {"s", "", "From: a@b.c\r\nTo: a@b.c\r\nSubject: s\r\n\r\n.\r\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(MessageText("a@b.c", "a@b.c", c.subject, c.body), c.expected);
}

// ---- The reply reader.

struct Reader {
  ReplyReader reader{};
  Reader() { ResetReplyReader(reader); }
  void Receive(const std::string& bytes) {
    ASSERT_LE(bytes.size(), FreeSpaceSize(reader));
    std::memcpy(FreeSpace(reader), bytes.data(), bytes.size());
    ReplyReceived(reader, bytes.size());
  }
  // The code of the next whole reply, -1 for more needed, -2 for malformed.
  int Next() {
    int code = 0;
    switch (TakeReply(reader, &code)) {
      case ReplyStatus::kComplete:
        return code;
      case ReplyStatus::kIncomplete:
        return -1;
      default:
        return -2;
    }
  }
};

TEST(SmtpReply, WholeRepliesOnlyWithWhatFollowsKeptForTheNext) {
  Reader r;
  r.Receive("250-first\r\n250-sec");
  EXPECT_EQ(r.Next(), -1);
  r.Receive("ond\r\n250 last\r\n354 go");
  EXPECT_EQ(r.Next(), 250);
  EXPECT_EQ(r.Next(), -1) << "the start of the next reply waits for its end";
  r.Receive(" ahead\n220\r\n");
  EXPECT_EQ(r.Next(), 354) << "a bare LF ends a line too";
  EXPECT_EQ(r.Next(), 220) << "a code alone is a last line";
  EXPECT_EQ(r.Next(), -1);
}

TEST(SmtpReply, WhatIsNotAReplyIsMalformed) {
  for (const char* bytes : {"25\r\n", "abc hello\r\n", "250+x\r\n", "\r\n"}) {
    Reader r;
    r.Receive(bytes);
    EXPECT_EQ(r.Next(), -2) << bytes;
  }
  Reader full;
  full.Receive(std::string(kReplyBufferSize, '2'));
  EXPECT_EQ(full.Next(), -2) << "a line longer than the buffer";
  Reader endless;
  for (int i = 0; i < kMaxReplyLines; ++i) {
    endless.Receive("250-more\r\n");
    EXPECT_EQ(endless.Next(), -1);
  }
  endless.Receive("250-more\r\n");
  EXPECT_EQ(endless.Next(), -2) << "continuation lines without end";
}

}  // namespace
