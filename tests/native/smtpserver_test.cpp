// E-mail alerts against a real SMTP server: Debian's aiosmtpd, started by
// each test on 127.0.0.1 and stopped with it, reached through the POSIX
// socket transport with OpenSSL as the program reaches a server through
// Windows Sockets.
#include <gtest/gtest.h>

#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "alerts/mailalert.h"
#include "alerts/mailsettings.h"
#include "alerts/sockettransport.h"
#include "base/settingsstore.h"
#include "fixture.h"
#include "tree/commands.h"
#include "tree/tasktree.h"

extern char** environ;

namespace {

const char kSubject[] = "Velkin Task Activation: Buy milk";
const char kBody[] = "Today\r\n\tBuy milk\r\n\t.\r\nTomorrow\r\n";
const char kMessage[] =
    "From: alerts@example.com\r\nTo: alerts@example.com\r\nSubject: Velkin Task Activation: Buy milk\r\n"
    "MIME-Version: 1.0\r\nContent-Type: text/plain; charset=UTF-8\r\nContent-Transfer-Encoding: 7bit\r\n\r\n"
    "Today\r\n\tBuy milk\r\n\t.\r\nTomorrow\r\n";

std::string ReadFile(const std::string& path) {
  std::stringstream bytes;
  bytes << std::ifstream(path, std::ios::binary).rdbuf();
  return bytes.str();
}

// Tries `test` every 20 ms until it holds or the time is up.
template <typename Test>
bool WaitFor(int milliseconds, Test test) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  for (; !test(); std::this_thread::sleep_for(std::chrono::milliseconds(20)))
    if (std::chrono::steady_clock::now() > end) return false;
  return true;
}

// One aiosmtpd (tests/smtp/smtpserver.py) in a folder of its own, stopped
// and removed with the object whatever the test's outcome.
class SmtpServer {
 public:
  explicit SmtpServer(std::vector<std::string> args) {
    char folder[] = "/tmp/velkin-smtp.XXXXXX";
    if (!mkdtemp(folder)) return;
    folder_ = folder;
    args.insert(args.begin(), {"/usr/bin/python3", VELKIN_TEST_DATA "/../smtp/smtpserver.py", folder_,
                               "--parent", std::to_string(getpid())});
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(&arg[0]);
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, argv[0], nullptr, nullptr, argv.data(), environ) != 0) pid_ = 0;
    // Until it listens, or has ended.
    WaitFor(30000,
            [&] { return !pid_ || !ReadFile(folder_ + "/port").empty() || waitpid(pid_, nullptr, WNOHANG); });
    port_ = std::atoi(ReadFile(folder_ + "/port").c_str());
  }
  ~SmtpServer() {
    if (pid_ && kill(pid_, SIGTERM) == 0) waitpid(pid_, nullptr, 0);
    if (!folder_.empty()) std::system(("rm -rf '" + folder_ + "'").c_str());
  }
  SmtpServer(const SmtpServer&) = delete;
  SmtpServer& operator=(const SmtpServer&) = delete;

  int port() const { return port_; }
  // Message n (from 1) as received, and what the server noted about it
  // (TLS, AUTH); empty when it has not come within the time.
  std::string Message(int n, std::string* envelope, int waitMs) {
    const std::string base = folder_ + "/message-" + std::to_string(n);
    if (!WaitFor(waitMs, [&] { return !ReadFile(base + ".json").empty(); })) return std::string();
    *envelope = ReadFile(base + ".json");
    return ReadFile(base + ".eml");
  }

 private:
  std::string folder_;
  pid_t pid_ = 0;
  int port_ = 0;
};

void Configure(MemorySettingsStore& store, int port, const std::string& user, const std::string& password) {
  WriteMailSettings(store,
                    MailSettings{"127.0.0.1", std::to_string(port), user, password, "alerts@example.com"});
}

TEST(SmtpServerAlert, TheMessageArrivesWithItsThreeHeadersAndTheListingOverEachRoute) {
  const std::string user(40, 'u'), password(30, 'p');  // together beyond one line of base64
  const struct {
    const char* what;
    std::vector<std::string> server;
    std::string user, password;
    const char* envelope;  // none: nothing may arrive
  } cases[] = {
      {"in the clear, no AUTH", {}, "", "", "\"tls\": false, \"auth\": null"},
      {"STARTTLS, AUTH PLAIN",
       {"--tls", "--user", "anna", "--password", "pw 1"},
       "anna",
       "pw 1",
       "\"tls\": true, \"auth\": \"PLAIN\""},
      {"STARTTLS, AUTH LOGIN",
       {"--tls", "--user", "anna", "--password", "pw", "--no-plain"},
       "anna",
       "pw",
       "\"tls\": true, \"auth\": \"LOGIN\""},
      {"AUTH LOGIN in the clear",
       {"--user", "anna", "--password", "pw", "--no-plain"},
       "anna",
       "pw",
       "\"tls\": false, \"auth\": \"LOGIN\""},
      {"long credentials",
       {"--tls", "--user", user, "--password", password},
       user,
       password,
       "\"tls\": true, \"auth\": \"PLAIN\""},
      {"a wrong password", {"--tls", "--user", "anna", "--password", "right"}, "anna", "wrong", nullptr},
  };
  for (const auto& c : cases) {
    SmtpServer server(c.server);
    ASSERT_GT(server.port(), 0) << c.what << ": the server did not start";
    MemorySettingsStore store;
    Configure(store, server.port(), c.user, c.password);
    SocketTransport transport;
    EXPECT_EQ(SendAlert(store, transport, kSubject, kBody, 10000), c.envelope ? 1 : 0) << c.what;
    std::string envelope;
    EXPECT_EQ(server.Message(1, &envelope, c.envelope ? 10000 : 0), c.envelope ? kMessage : "") << c.what;
    if (c.envelope) {
      EXPECT_NE(envelope.find(c.envelope), std::string::npos) << c.what << ": " << envelope;
    }
  }
}

using SmtpServerTaskAlert = AppFixture;

TEST_F(SmtpServerTaskAlert, AnAlertThreadSendsWithTheSettingsAndEnds) {
  SmtpServer server({"--tls", "--user", "anna", "--password", "pw"});
  ASSERT_GT(server.port(), 0);
  static MemorySettingsStore store;  // read by the thread: it outlives the test
  Configure(store, server.port(), "anna", "pw");
  // The alert of a task whose name goes beyond ASCII arrives as the
  // server's mail reader decodes it.
  Node task = InsertTask(lists, kRootNode, kLastNode, "\xC4\x8C" "aj \xE2\x9C\x93");
  ASSERT_EQ(ActivateTask(lists, task), 1);
  ActivationAlert alert;
  ASSERT_EQ(BuildActivationAlert(lists, task, &alert), 1);
  ASSERT_EQ(StartMailAlert(alert.subject.c_str(), alert.body.c_str(), store), 1);
  EXPECT_TRUE(WaitForMailAlerts(30000));
  std::string envelope;
  EXPECT_NE(server.Message(1, &envelope, 10000).find("charset=UTF-8"), std::string::npos);
  EXPECT_NE(envelope.find("\"subject\": \"Velkin Task Activation: \xC4\x8C" "aj \xE2\x9C\x93\""), std::string::npos)
      << envelope;
  EXPECT_NE(envelope.find("\"body\": \"Today\\r\\n\\t\xC4\x8C" "aj \xE2\x9C\x93\\r\\n\""), std::string::npos) << envelope;
}

TEST(SmtpServerAlert, AServerThatSaysNothingFailsTheAlertWithinItsTimeLimit) {
  // Connections are accepted by the system's backlog and never answered.
  const int listener = socket(AF_INET, SOCK_STREAM, 0);
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
