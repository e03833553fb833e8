#include "app/update_check.h"

#include <curl/curl.h>

#include <cctype>
#include <mutex>

namespace plavesk {

namespace {

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
    s.remove_suffix(1);
  return s;
}

bool allDigits(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s)
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  return true;
}

bool isLeapYear(int y) {
  return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

bool isDate(std::string_view s) {
  if (s.size() != 10 || s[4] != '-' || s[7] != '-') return false;
  if (!allDigits(s.substr(0, 4)) || !allDigits(s.substr(5, 2)) || !allDigits(s.substr(8, 2)))
    return false;
  const int year = std::stoi(std::string(s.substr(0, 4)));
  const int month = std::stoi(std::string(s.substr(5, 2)));
  const int day = std::stoi(std::string(s.substr(8, 2)));
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (year < 1990 || month < 1 || month > 12 || day < 1) return false;
  return day <= kDays[month - 1] + (month == 2 && isLeapYear(year) ? 1 : 0);
}

std::string lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = char(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

// The host part of an address with the scheme already removed.
std::string hostOf(std::string_view rest) {
  const size_t end = rest.find_first_of("/?#");
  std::string_view authority = rest.substr(0, end);
  if (authority.find('@') != std::string_view::npos) return {};  // no user info
  if (!authority.empty() && authority.front() == '[') {
    const size_t close = authority.find(']');
    return close == std::string_view::npos ? std::string() : lower(authority.substr(0, close + 1));
  }
  return lower(authority.substr(0, authority.find(':')));
}

bool hasNoBlanksOrControls(const std::string& url) {
  for (unsigned char c : url)
    if (c <= ' ' || c == 0x7f) return false;
  return true;
}

struct Download {
  std::string body;
  bool tooLarge = false;
};

size_t collect(char* data, size_t size, size_t count, void* user) {
  auto* download = static_cast<Download*>(user);
  const size_t n = size * count;
  if (download->body.size() + n > kMaxVersionFileBytes) {
    download->tooLarge = true;
    return 0;  // aborts the transfer
  }
  download->body.append(data, n);
  return n;
}

void initialiseCurlOnce() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

}  // namespace

bool isVersionNumber(std::string_view text) {
  if (text.empty() || text.size() > 32) return false;
  size_t start = 0;
  while (true) {
    const size_t dot = text.find('.', start);
    const std::string_view part = text.substr(start, dot - start);
    if (!allDigits(part) || part.size() > 6) return false;
    if (dot == std::string_view::npos) return true;
    start = dot + 1;
  }
}

int compareVersions(std::string_view a, std::string_view b) {
  while (!a.empty() || !b.empty()) {
    auto next = [](std::string_view& s) {
      const size_t dot = s.find('.');
      const std::string_view part = s.substr(0, dot);
      s = dot == std::string_view::npos ? std::string_view() : s.substr(dot + 1);
      return part.empty() ? 0L : std::stol(std::string(part));
    };
    const long x = next(a), y = next(b);
    if (x != y) return x < y ? -1 : 1;
  }
  return 0;
}

std::optional<TVersionFile> parseVersionFile(std::string_view text, std::string& error) {
  if (text.size() > kMaxVersionFileBytes) {
    error = "the version file is too large";
    return std::nullopt;
  }
  for (unsigned char c : text)
    if ((c < ' ' && c != '\n' && c != '\r' && c != '\t') || c == 0x7f) {
      error = "the version file is not text";
      return std::nullopt;
    }
  TVersionFile file;
  bool haveVersion = false, haveDate = false, haveSize = false, havePage = false;
  size_t lineNumber = 0;
  while (!text.empty()) {
    ++lineNumber;
    const size_t end = text.find('\n');
    const std::string_view line = trim(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (line.empty() || line.front() == '#') continue;
    const size_t eq = line.find('=');
    if (eq == std::string_view::npos) {
      error = "line " + std::to_string(lineNumber) + " is not \"key = value\"";
      return std::nullopt;
    }
    const std::string key = lower(trim(line.substr(0, eq)));
    const std::string_view value = trim(line.substr(eq + 1));
    if (key == "version") {
      if (!isVersionNumber(value)) {
        error = "the version is not a dotted number";
        return std::nullopt;
      }
      file.version = value;
      haveVersion = true;
    } else if (key == "date") {
      if (!isDate(value)) {
        error = "the date is not YYYY-MM-DD";
        return std::nullopt;
      }
      file.date = value;
      haveDate = true;
    } else if (key == "size") {
      // Up to 1 TB; a larger "size" is no program of ours.
      if (!allDigits(value) || value.size() > 13) {
        error = "the size is not a number of bytes";
        return std::nullopt;
      }
      file.size = std::stoll(std::string(value));
      haveSize = true;
    } else if (key == "page") {
      if (!isAllowedDownloadPage(std::string(value))) {
        error = "the download page is not an https address";
        return std::nullopt;
      }
      file.page = value;
      havePage = true;
    }
  }
  if (!haveVersion || !haveDate || !haveSize || !havePage) {
    error = std::string("the version file lacks \"") +
            (!haveVersion ? "version"
             : !haveDate  ? "date"
             : !haveSize  ? "size"
                          : "page") +
            "\"";
    return std::nullopt;
  }
  return file;
}

bool isAllowedUpdateAddress(const std::string& url) {
  if (url.size() > 2000 || !hasNoBlanksOrControls(url)) return false;
  const std::string l = lower(url);
  if (l.rfind("https://", 0) == 0) return !hostOf(std::string_view(url).substr(8)).empty();
  if (l.rfind("http://", 0) == 0) {
    const std::string host = hostOf(std::string_view(url).substr(7));
    return host == "127.0.0.1" || host == "localhost" || host == "[::1]";
  }
  return false;
}

bool isAllowedDownloadPage(const std::string& url) {
  if (url.size() > 2000 || !hasNoBlanksOrControls(url)) return false;
  return lower(url).rfind("https://", 0) == 0 && !hostOf(std::string_view(url).substr(8)).empty();
}

int64_t kilobytes(int64_t bytes) {
  const int64_t q = bytes / 1024, r = bytes % 1024;
  if (r > 512 || (r == 512 && q % 2 == 1)) return q + 1;
  return q;
}

TUpdateResult checkForUpdate(const std::string& url, const std::string& running,
                             long timeoutSeconds) {
  TUpdateResult result;
  if (!isAllowedUpdateAddress(url)) {
    result.outcome = TUpdateOutcome::refused;
    result.detail = "the update address must be an https address";
    return result;
  }
  initialiseCurlOnce();
  CURL* curl = curl_easy_init();
  if (!curl) {
    result.detail = "the network library could not start";
    return result;
  }
  Download download;
  char errorText[CURL_ERROR_SIZE] = {};
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 0L);
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_TIMEOUT, timeoutSeconds);
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, timeoutSeconds);
  curl_easy_setopt(curl, CURLOPT_FAILONERROR, 1L);
  curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, curl_off_t(kMaxVersionFileBytes));
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, collect);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &download);
  curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorText);
  curl_easy_setopt(curl, CURLOPT_USERAGENT, ("Plavesk/" + running).c_str());
  const CURLcode code = curl_easy_perform(curl);
  curl_easy_cleanup(curl);

  if (download.tooLarge || code == CURLE_FILESIZE_EXCEEDED) {
    result.outcome = TUpdateOutcome::invalid;
    result.detail = "the answer is too large for a version file";
    return result;
  }
  if (code != CURLE_OK) {
    result.outcome = TUpdateOutcome::unreachable;
    result.detail = errorText[0] ? errorText : curl_easy_strerror(code);
    return result;
  }
  std::string error;
  const std::optional<TVersionFile> file = parseVersionFile(download.body, error);
  if (!file) {
    result.outcome = TUpdateOutcome::invalid;
    result.detail = error;
    return result;
  }
  result.available = *file;
  const int order = isVersionNumber(running) ? compareVersions(file->version, running) : 1;
  result.outcome = order > 0    ? TUpdateOutcome::newer
                   : order == 0 ? TUpdateOutcome::same
                                : TUpdateOutcome::older;
  return result;
}

}  // namespace plavesk
