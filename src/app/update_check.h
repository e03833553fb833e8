// The update check: fetches a small version file over HTTPS and compares it
// with the running version. It never downloads or starts a program; a newer
// version only leads the user to the download page. Free of widgets so the
// tests can run it against a server of their own.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace plavesk {

// Where the version file is asked for unless the settings name another
// address (section "Update", key "Adresse").
inline constexpr const char* kDefaultUpdateAddress =
    "https://plavesk.example/update/plavesk-version.txt";
inline constexpr long kUpdateTimeoutSeconds = 15;
// A version file is a few lines; anything longer is not one.
inline constexpr size_t kMaxVersionFileBytes = 16 * 1024;

// The version file, lines of "key = value":
//   version = 4.1            dotted numbers
//   date = 2027-03-01        the release date, YYYY-MM-DD
//   size = 6815744           the download's size in bytes
//   page = https://...       the download page, opened in the browser
// Blank lines, lines starting with '#' and unknown keys are skipped.
struct TVersionFile {
  std::string version;
  std::string date;
  int64_t size = 0;
  std::string page;
};

// Nothing with a message when a key is missing or a value is malformed, the
// text holds control bytes or is longer than kMaxVersionFileBytes.
std::optional<TVersionFile> parseVersionFile(std::string_view text, std::string& error);

// Compares dotted version numbers ("4.0" < "4.0.1" < "4.10"): <0, 0, >0.
// Missing parts count as 0. Both must be valid (see isVersionNumber).
int compareVersions(std::string_view a, std::string_view b);
bool isVersionNumber(std::string_view text);

// The addresses the check may ask: https anywhere, plain http only on the
// loopback address (a local test server).
bool isAllowedUpdateAddress(const std::string& url);
// The download page must be https.
bool isAllowedDownloadPage(const std::string& url);

enum class TUpdateOutcome {
  newer,        // the server offers a newer version
  same,         // the running version is the latest
  older,        // the server's version is older than the running one
  unreachable,  // no connection, time-out, HTTP error
  invalid,      // an answer that is no version file (garbage, too large)
  refused,      // the address is not one the check may ask
};

struct TUpdateResult {
  TUpdateOutcome outcome = TUpdateOutcome::unreachable;
  TVersionFile available;  // filled for newer, same and older
  std::string detail;      // why it failed, for the window's status line
};

// Fetches `url` (time-out `timeoutSeconds` for the whole transfer, no
// redirects, at most kMaxVersionFileBytes) and compares with `running`.
TUpdateResult checkForUpdate(const std::string& url, const std::string& running,
                             long timeoutSeconds = kUpdateTimeoutSeconds);

// Size in kB as the window shows it: bytes / 1024, rounded half to even.
int64_t kilobytes(int64_t bytes);

}  // namespace plavesk
