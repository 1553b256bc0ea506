// E-mail alerts against a real SMTP server: Debian's aiosmtpd, started by
// each test on 127.0.0.1 and stopped with it, reached through the POSIX
// socket transport with OpenSSL, as the program reaches a server through
// Windows Sockets.
#include <gtest/gtest.h>

#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "alerts/mailalert.h"
#include "alerts/mailsettings.h"
#include "alerts/sockettransport.h"
#include "base/settingsstore.h"

extern char** environ;

namespace {

const char kAddress[] = "alerts@example.com";
const char kSubject[] = "Velkin Task Activation: Buy milk";
const char kBody[] = "Today\r\n\tBuy milk\r\n\t.\r\nTomorrow\r\n";

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

template <typename Test>
bool WaitFor(int milliseconds, Test test) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  while (!test()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

// One aiosmtpd process with a folder of its own; stopped and removed with
// the object, whatever the test's outcome.
class SmtpServer {
 public:
  explicit SmtpServer(std::vector<std::string> options) {
    char folder[] = "/tmp/velkin-smtp.XXXXXX";
    if (!mkdtemp(folder)) return;
    folder_ = folder;
    std::vector<std::string> args = {"/usr/bin/python3", VELKIN_TEST_DATA "/../smtp/smtpserver.py", folder_,
                                     "--parent", std::to_string(getpid())};
    args.insert(args.end(), options.begin(), options.end());
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(&arg[0]);
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, argv[0], nullptr, nullptr, argv.data(), environ) != 0) pid_ = 0;
    if (pid_ && WaitFor(30000, [&] { return !ReadFile(folder_ + "/port").empty() || Ended(); }))
      port_ = std::atoi(ReadFile(folder_ + "/port").c_str());
  }
  ~SmtpServer() {
    if (pid_) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
    if (!folder_.empty()) std::system(("rm -rf '" + folder_ + "'").c_str());
  }
  SmtpServer(const SmtpServer&) = delete;
  SmtpServer& operator=(const SmtpServer&) = delete;

  int port() const { return port_; }
  // Message n (from 1) as received, and what the server noted about it;
  // empty when it has not come within the time.
  std::string Message(int n, std::string* envelope = nullptr, int waitMs = 10000) {
    const std::string base = folder_ + "/message-" + std::to_string(n);
    if (!WaitFor(waitMs, [&] { return !ReadFile(base + ".json").empty(); })) return std::string();
    if (envelope) *envelope = ReadFile(base + ".json");
    return ReadFile(base + ".eml");
  }

 private:
  bool Ended() { return waitpid(pid_, nullptr, WNOHANG) == pid_ && !(pid_ = 0); }

  std::string folder_;
  pid_t pid_ = 0;
  int port_ = 0;
};

void Configure(MemorySettingsStore& store, int port, const char* user, const char* password) {
  MailSettings mail;
  mail.server = "127.0.0.1";
  mail.port = std::to_string(port);
  mail.username = user;
  mail.password = password;
  mail.sendTo = kAddress;
  WriteMailSettings(store, mail);
}

std::string Expected(const char* body) {
  return std::string("From: ") + kAddress + "\r\nTo: " + kAddress + "\r\nSubject: " + kSubject + "\r\n\r\n" +
         body;
}

TEST(SmtpServerAlert, TheMessageArrivesWithItsThreeHeadersAndTheListingOverEachRoute) {
  struct Case {
    const char* what;
    std::vector<std::string> server;
    const char* user;
    const char* password;
    const char* tls;
    const char* auth;
  } cases[] = {
      {"in the clear, no AUTH", {}, "", "", "false", "null"},
      {"STARTTLS and AUTH PLAIN",
       {"--tls", "--user", "anna", "--password", "pw 1"},
       "anna",
       "pw 1",
       "true",
       "\"PLAIN\""},
      {"STARTTLS and AUTH LOGIN",
       {"--tls", "--user", "anna", "--password", "pw", "--no-plain"},
       "anna",
       "pw",
       "true",
       "\"LOGIN\""},
      {"AUTH LOGIN in the clear",
       {"--user", "anna", "--password", "pw", "--no-plain"},
       "anna",
       "pw",
       "false",
       "\"LOGIN\""},
      // 64 characters of credential: base64 beyond one 64-character line.
      {"long credentials",
       {"--tls", "--user", std::string(40, 'u'), "--password", std::string(30, 'p')},
       "uuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuu",
       "pppppppppppppppppppppppppppppp",
       "true",
       "\"PLAIN\""},
  };
  for (const Case& c : cases) {
    SmtpServer server(c.server);
    ASSERT_GT(server.port(), 0) << c.what << ": the server did not start";
    MemorySettingsStore store;
    Configure(store, server.port(), c.user, c.password);
    SocketTransport transport;
    EXPECT_EQ(SendAlert(store, transport, kSubject, kBody, 10000), 1) << c.what;
    std::string envelope;
    EXPECT_EQ(server.Message(1, &envelope), Expected(kBody)) << c.what;
    EXPECT_NE(envelope.find(std::string("\"tls\": ") + c.tls), std::string::npos) << c.what << envelope;
    EXPECT_NE(envelope.find(std::string("\"auth\": ") + c.auth), std::string::npos) << c.what << envelope;
    EXPECT_NE(envelope.find("\"mail_from\": \"alerts@example.com\", \"rcpt_tos\": [\"alerts@example.com\"]"),
              std::string::npos)
        << envelope;
  }
}

TEST(SmtpServerAlert, AWrongPasswordSendsNothing) {
  SmtpServer server({"--tls", "--user", "anna", "--password", "right"});
  ASSERT_GT(server.port(), 0);
  MemorySettingsStore store;
  Configure(store, server.port(), "anna", "wrong");
  SocketTransport transport;
  EXPECT_EQ(SendAlert(store, transport, kSubject, kBody, 10000), 0);
  EXPECT_EQ(server.Message(1, nullptr, 200), "");
}

TEST(SmtpServerAlert, AnAlertThreadSendsWithTheSettingsAndEnds) {
  SmtpServer server({"--tls", "--user", "anna", "--password", "pw"});
  ASSERT_GT(server.port(), 0);
  static MemorySettingsStore store;  // read by the thread: it outlives the test
  Configure(store, server.port(), "anna", "pw");
  ASSERT_EQ(StartMailAlert(kSubject, kBody, store), 1);
  EXPECT_TRUE(WaitForMailAlerts(30000));
  EXPECT_EQ(server.Message(1), Expected(kBody));
}

TEST(SmtpServerAlert, AServerThatSaysNothingFailsTheAlertWithinItsTimeLimit) {
  // Accepted by the system's backlog, never answered.
  const int listener = socket(AF_INET, SOCK_STREAM, 0);
  ASSERT_GE(listener, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), size), 0);
  ASSERT_EQ(listen(listener, 4), 0);
  ASSERT_EQ(getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size), 0);
  MemorySettingsStore store;
  Configure(store, ntohs(address.sin_port), "", "");
  SocketTransport transport;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(SendAlert(store, transport, kSubject, kBody, 300), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  close(listener);
}

}  // namespace
