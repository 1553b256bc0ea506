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

#include <algorithm>
#include <chrono>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "alerts/mailalert.h"
#include "alerts/mailsettings.h"
#include "alerts/sockettransport.h"
#include "base/settingsstore.h"
#include "fakes/memorysettings.h"
#include "fixture.h"
#include "tree/commands.h"
#include "tree/tasktree.h"
#include "tree/treetext.h"

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
  // The authority a server started with --ca issues its certificate from.
  std::string authority() const { return folder_ + "/ca.pem"; }
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

void Configure(MemorySettingsStore& store, int port, const std::string& user, const std::string& password,
               bool anyCertificate = false, const char* host = "127.0.0.1") {
  WriteMailSettings(
      store, MailSettings{host, std::to_string(port), user, password, "alerts@example.com", anyCertificate});
}

// A port on which nothing listens (bound, never listened on, closed).
int ClosedPort() {
  const int probe = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  bind(probe, reinterpret_cast<sockaddr*>(&address), size);
  getsockname(probe, reinterpret_cast<sockaddr*>(&address), &size);
  close(probe);
  return ntohs(address.sin_port);
}

TEST(SmtpServerAlert, TheMessageArrivesOverEachRouteAndEachFailureSaysWhy) {
  const std::string user(40, 'u'), password(30, 'p');  // together beyond one line of base64
  using R = MailResult;
  const struct {
    const char* what;
    std::vector<std::string> server;  // empty: nothing listens
    std::string user, password;
    const char* envelope;  // none: nothing may arrive
    MailResult result;
    bool anyCertificate = false;
    const char* host = "127.0.0.1";
    const char* said = "";  // part of the reason given
  } cases[] = {
      {"in the clear, no AUTH", {"--no-plain"}, "", "", "\"tls\": false, \"auth\": null", R::kSent},
      {"STARTTLS, AUTH PLAIN",
       {"--tls", "--ca", "--user", "anna", "--password", "pw 1"},
       "anna",
       "pw 1",
       "\"tls\": true, \"auth\": \"PLAIN\"",
       R::kSent},
      {"STARTTLS, AUTH LOGIN, the server named as its certificate names it",
       {"--tls", "--ca", "--user", "anna", "--password", "pw", "--no-plain"},
       "anna",
       "pw",
       "\"tls\": true, \"auth\": \"LOGIN\"",
       R::kSent,
       false,
       "localhost"},
      {"long credentials",
       {"--tls", "--ca", "--user", user, "--password", password},
       user,
       password,
       "\"tls\": true, \"auth\": \"PLAIN\"",
       R::kSent},
      {"a self-signed certificate accepted when asked to",
       {"--tls", "--user", "anna", "--password", "pw"},
       "anna",
       "pw",
       "\"tls\": true, \"auth\": \"PLAIN\"",
       R::kSent,
       true},
      {"a self-signed certificate: nothing sent",
       {"--tls", "--user", "anna", "--password", "pw"},
       "anna",
       "pw",
       nullptr,
       R::kUntrusted,
       false,
       "127.0.0.1",
       "is not trusted"},
      {"a server without STARTTLS gets no credentials in the clear",
       {"--user", "anna", "--password", "pw", "--no-plain"},
       "anna",
       "pw",
       nullptr,
       R::kNoTls,
       false,
       "127.0.0.1",
       "were not sent"},
      {"a wrong password",
       {"--tls", "--ca", "--user", "anna", "--password", "right"},
       "anna",
       "wrong",
       nullptr,
       R::kAuthRefused,
       false,
       "127.0.0.1",
       "(it said \"535 5.7.8 Authentication credentials invalid\")"},
      {"a refused recipient",
       {"--tls", "--ca", "--refuse", "alerts@example.com"},
       "",
       "",
       nullptr,
       R::kRecipientRefused,
       false,
       "127.0.0.1",
       "the recipient alerts@example.com (it said \"550 5.1.1"},
      {"nothing listening", {}, "", "", nullptr, R::kRefused, false, "127.0.0.1", "refused it"},
      {"a name not found",
       {},
       "",
       "",
       nullptr,
       R::kNameNotFound,
       false,
       "no-such-host.invalid",
       "\"no-such-host.invalid\" was not found"},
  };
  for (const auto& c : cases) {
    const bool listening = !c.server.empty();
    std::unique_ptr<SmtpServer> server(listening ? new SmtpServer(c.server) : nullptr);
    if (listening) {
      ASSERT_GT(server->port(), 0) << c.what << ": the server did not start";
    }
    MemorySettingsStore store;
    Configure(store, listening ? server->port() : ClosedPort(), c.user, c.password, c.anyCertificate, c.host);
    SocketTransport transport;
    if (listening) transport.caFile = server->authority();
    MailOutcome outcome;
    EXPECT_EQ(SendAlert(store, transport, kSubject, kBody, 10000, &outcome), c.envelope ? 1 : 0) << c.what;
    EXPECT_EQ(outcome.result, c.result) << c.what;
    const std::string text = MailOutcomeText(outcome);
    EXPECT_NE(text.find(c.said), std::string::npos) << c.what << ": " << text;
    EXPECT_EQ(text.find(c.password.empty() ? "\n" : c.password), std::string::npos) << c.what << ": " << text;
    if (!listening) continue;
    std::string envelope;
    EXPECT_EQ(server->Message(1, &envelope, c.envelope ? 10000 : 0), c.envelope ? kMessage : "") << c.what;
    if (c.envelope) {
      EXPECT_NE(envelope.find(c.envelope), std::string::npos) << c.what << ": " << envelope;
    }
  }
}

using SmtpServerTaskAlert = AppFixture;

TEST_F(SmtpServerTaskAlert, AnAlertThreadSendsWithTheSettingsAndEnds) {
  static MemorySettingsStore store;  // read by the thread: it outlives the test
  // The alert of a task whose name goes beyond ASCII arrives as the
  // server's mail reader decodes it, as 8bit where the server offers
  // 8BITMIME and quoted-printable where it does not.
  Node task = InsertTask(lists, kRootNode, kLastNode, "\xC4\x8C" "aj \xE2\x9C\x93");
  ASSERT_EQ(ActivateTask(lists, task), 1);
  ActivationAlert alert;
  ASSERT_EQ(BuildActivationAlert(lists, task, &alert), 1);
  for (const bool offers8Bit : {true, false}) {
    std::vector<std::string> options = {"--tls", "--user", "anna", "--password", "pw"};
    if (!offers8Bit) options.push_back("--no-8bitmime");
    SmtpServer server(options);
    ASSERT_GT(server.port(), 0);
    // The server's certificate is its own: the stored choice must reach the
    // thread, or nothing arrives.
    Configure(store, server.port(), "anna", "pw", true);
    ASSERT_EQ(StartMailAlert(alert.subject.c_str(), alert.body.c_str(), store), 1);
    EXPECT_TRUE(WaitForMailAlerts(30000));
    std::string envelope;
    const std::string message = server.Message(1, &envelope, 10000);
    EXPECT_NE(message.find("charset=UTF-8"), std::string::npos);
    EXPECT_NE(message.find(offers8Bit ? "Encoding: 8bit" : "Encoding: quoted-printable"), std::string::npos)
        << message;
    EXPECT_EQ(envelope.find("\"mail_options\": [\"BODY=8BITMIME\"]") != std::string::npos, offers8Bit) << envelope;
    EXPECT_NE(envelope.find("\"subject\": \"Velkin Task Activation: \xC4\x8C" "aj \xE2\x9C\x93\""), std::string::npos)
        << envelope;
    EXPECT_NE(envelope.find("\"body\": \"Today\\r\\n\\t\xC4\x8C" "aj \xE2\x9C\x93\\r\\n\""), std::string::npos)
        << envelope;
  }
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
  MailOutcome outcome;
  EXPECT_EQ(SendAlert(store, transport, kSubject, kBody, 300, &outcome), 0);
  EXPECT_EQ(MailOutcomeText(outcome), "127.0.0.1 did not answer in time.");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  close(listener);
}

}  // namespace
