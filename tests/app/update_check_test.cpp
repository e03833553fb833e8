// The update check against a server on the loopback address run by the test:
// every answer a server could give, and the addresses the check refuses.
#include "app/update_check.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "loopback_server.h"

namespace plavesk {
namespace {

using testing::httpAnswer;
using testing::LoopbackServer;
using testing::versionFile;

TEST(UpdateCheck, ComparesTheServersVersionWithTheRunningOne) {
  struct Case {
    const char* offered;
    TUpdateOutcome expected;
  };
  for (const Case& c : {Case{"4.1", TUpdateOutcome::newer}, Case{"4.0.1", TUpdateOutcome::newer},
                        Case{"4.10", TUpdateOutcome::newer}, Case{"4.0", TUpdateOutcome::same},
                        Case{"4.0.0", TUpdateOutcome::same}, Case{"3.9", TUpdateOutcome::older}}) {
    LoopbackServer server(httpAnswer(versionFile(c.offered)));
    const TUpdateResult result = checkForUpdate(server.url(), "4.0", 5);
    EXPECT_EQ(result.outcome, c.expected) << c.offered << ": " << result.detail;
    EXPECT_EQ(result.available.version, c.offered);
    EXPECT_EQ(result.available.date, "2027-03-01");
    EXPECT_EQ(result.available.size, 6815744);
    EXPECT_EQ(result.available.page, "https://plavesk.example/download");
    EXPECT_EQ(server.requests(), 1);
  }
}

TEST(UpdateCheck, AnswersThatAreNoVersionFileAreInvalid) {
  std::string binary(600, '\0');
  for (size_t i = 0; i < binary.size(); ++i) binary[i] = char(i * 37 % 256);
  struct Case {
    const char* name;
    std::string answer;
    const char* why;  // part of the detail
  };
  const Case cases[] = {
      {"html page", httpAnswer("<html><body>Welcome</body></html>"), "key = value"},
      {"binary", httpAnswer(binary), "not text"},
      {"no version", httpAnswer("date = 2027-03-01\nsize = 1\npage = https://p.example/\n"),
       "version"},
      {"bad date", httpAnswer("version = 5\ndate = 2027-02-30\nsize = 1\npage = https://a.b/\n"),
       "date"},
      {"page not https",
       httpAnswer("version = 5\ndate = 2027-02-03\nsize = 1\npage = javascript:alert(1)\n"),
       "https"},
      // A valid file followed by a 1 MB comment: the transfer stops at the
      // limit although the text would parse.
      {"oversized", httpAnswer(versionFile("5.0") + "#" + std::string(1 << 20, '#')), "too large"},
      // Oversized without a length in advance.
      {"oversized unannounced",
       "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + versionFile("5.0") + "#" +
           std::string(1 << 20, 'x'),
       "too large"},
  };
  for (const Case& c : cases) {
    LoopbackServer server(c.answer);
    const TUpdateResult result = checkForUpdate(server.url(), "4.0", 5);
    EXPECT_EQ(result.outcome, TUpdateOutcome::invalid) << c.name << ": " << result.detail;
    EXPECT_NE(result.detail.find(c.why), std::string::npos) << c.name << ": " << result.detail;
  }
}

TEST(UpdateCheck, NoAnswerIsUnreachable) {
  // A port nobody listens on: bind one, then let it go.
  std::string closedUrl;
  {
    LoopbackServer gone("");
    closedUrl = gone.url();
  }
  TUpdateResult result = checkForUpdate(closedUrl, "4.0", 5);
  EXPECT_EQ(result.outcome, TUpdateOutcome::unreachable);
  EXPECT_FALSE(result.detail.empty());

  LoopbackServer missing(httpAnswer("not here", "404 Not Found"));
  result = checkForUpdate(missing.url(), "4.0", 5);
  EXPECT_EQ(result.outcome, TUpdateOutcome::unreachable) << result.detail;

  // A server that never answers is given up after the time-out.
  LoopbackServer silent(httpAnswer(versionFile("5.0")), 2500);
  const auto start = std::chrono::steady_clock::now();
  result = checkForUpdate(silent.url(), "4.0", 1);
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(result.outcome, TUpdateOutcome::unreachable);
  EXPECT_LT(waited, std::chrono::milliseconds(2400));
}

TEST(UpdateCheck, RedirectsAreNotFollowed) {
  LoopbackServer target(httpAnswer(versionFile("9.0")));
  LoopbackServer redirect("HTTP/1.1 302 Found\r\nLocation: " + target.url() +
                          "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
  const TUpdateResult result = checkForUpdate(redirect.url(), "4.0", 5);
  EXPECT_NE(result.outcome, TUpdateOutcome::newer);
  EXPECT_EQ(target.requests(), 0);
}

TEST(UpdateCheck, OnlyHttpsOrTheLoopbackAddressIsAsked) {
  struct Case {
    const char* url;
    bool allowed;
  };
  for (const Case& c :
       {Case{"https://plavesk.example/v.txt", true},
        Case{"HTTPS://plavesk.example:8443/v.txt", true}, Case{"http://127.0.0.1:8080/v.txt", true},
        Case{"http://localhost/v.txt", true}, Case{"http://[::1]:99/v", true},
        Case{"http://plavesk.example/v.txt", false},
        Case{"http://127.0.0.1.evil.example/v.txt", false},
        Case{"http://user@127.0.0.1/v.txt", false}, Case{"ftp://plavesk.example/v.txt", false},
        Case{"file:///etc/passwd", false}, Case{"https://", false},
        Case{"https://a.example/x y", false}, Case{"", false}}) {
    EXPECT_EQ(isAllowedUpdateAddress(c.url), c.allowed) << c.url;
    if (!c.allowed) {
      EXPECT_EQ(checkForUpdate(c.url, "4.0", 1).outcome, TUpdateOutcome::refused) << c.url;
    }
  }
  EXPECT_TRUE(isAllowedDownloadPage("https://plavesk.example/download"));
  EXPECT_FALSE(isAllowedDownloadPage("http://127.0.0.1/download"));
  EXPECT_FALSE(isAllowedDownloadPage("file:///tmp/setup.sh"));
}

TEST(UpdateCheck, VersionNumbersCompareByParts) {
  struct Case {
    const char* a;
    const char* b;
    int order;
  };
  for (const Case& c : {Case{"4.0", "4.0", 0}, Case{"4", "4.0.0", 0}, Case{"4.0", "4.1", -1},
                        Case{"4.9", "4.10", -1}, Case{"10.0", "9.99", 1}, Case{"4.0.1", "4.0", 1}})
    EXPECT_EQ(compareVersions(c.a, c.b), c.order) << c.a << " vs " << c.b;
  for (const char* bad : {"", ".", "4.", ".4", "4..0", "4.a", "v4", "4.0-beta", "1234567.0"})
    EXPECT_FALSE(isVersionNumber(bad)) << bad;
}

TEST(UpdateCheck, SizeShownInKilobytesRoundsHalfToEven) {
  struct Case {
    int64_t bytes, kb;
  };
  for (const Case& c : {Case{0, 0}, Case{511, 0}, Case{512, 0}, Case{513, 1}, Case{1536, 2},
                        Case{2560, 2}, Case{6815744, 6656}})
    EXPECT_EQ(kilobytes(c.bytes), c.kb) << c.bytes;
}

}  // namespace
}  // namespace plavesk
