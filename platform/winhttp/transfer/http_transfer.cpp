#include "winhttp/transfer/http_transfer.h"

#include "winhttp/transfer/ascii_text.h"
#include "winhttp/transfer/url_escape.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr long kPollSliceMs = 50;
constexpr size_t kReadAllChunk = 65536;

std::string_view Trim(std::string_view text) {
  size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos)
    return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string_view HeaderName(std::string_view line) { return Trim(line.substr(0, line.find(':'))); }

std::string_view HeaderValue(std::string_view line) {
  size_t colon = line.find(':');
  return colon == std::string_view::npos ? std::string_view() : Trim(line.substr(colon + 1));
}

bool IsRedirectStatus(int status) {
  return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

std::optional<std::string> UrlPart(CURLU* url, CURLUPart part) {
  char* text = nullptr;
  if (curl_url_get(url, part, &text, 0) != CURLUE_OK)
    return std::nullopt;
  std::string copy = text;
  curl_free(text);
  return copy;
}

struct UrlParts {
  TransferError error = TransferError::None;
  std::string scheme;
  std::string host;
};

UrlParts SplitUrl(const std::string& text) {
  UrlParts parts;
  CurlUrl url(curl_url());
  if (!url) {
    parts.error = TransferError::OutOfMemory;
    return parts;
  }
  CURLUcode code = curl_url_set(url.get(), CURLUPART_URL, text.c_str(), CURLU_NON_SUPPORT_SCHEME);
  if (code != CURLUE_OK) {
    parts.error = code == CURLUE_OUT_OF_MEMORY ? TransferError::OutOfMemory : TransferError::InvalidUrl;
    return parts;
  }
  parts.scheme = UrlPart(url.get(), CURLUPART_SCHEME).value_or("");
  parts.host = UrlPart(url.get(), CURLUPART_HOST).value_or("");
  if (parts.scheme != "http" && parts.scheme != "https")
    parts.error = TransferError::UnsupportedScheme;
  else if (parts.host.empty())
    parts.error = TransferError::InvalidUrl;
  return parts;
}

// "scheme://authority" of an absolute URL.
std::string OriginOf(const std::string& url) {
  size_t authority = url.find("://");
  if (authority == std::string::npos)
    return url;
  size_t path = url.find_first_of("/?#", authority + 3);
  return url.substr(0, path);
}

TransferError ErrorOf(CURLcode code) {
  switch (code) {
  case CURLE_URL_MALFORMAT:
    return TransferError::InvalidUrl;
  case CURLE_UNSUPPORTED_PROTOCOL:
    return TransferError::UnsupportedScheme;
  case CURLE_COULDNT_RESOLVE_HOST:
  case CURLE_COULDNT_RESOLVE_PROXY:
    return TransferError::NameNotResolved;
  case CURLE_COULDNT_CONNECT:
    return TransferError::CannotConnect;
  case CURLE_OPERATION_TIMEDOUT:
    return TransferError::Timeout;
  case CURLE_PARTIAL_FILE:
  case CURLE_RECV_ERROR:
  case CURLE_SEND_ERROR:
  case CURLE_GOT_NOTHING:
    return TransferError::ConnectionBroken;
  case CURLE_WEIRD_SERVER_REPLY:
  case CURLE_BAD_CONTENT_ENCODING:
    return TransferError::InvalidResponse;
  case CURLE_TOO_MANY_REDIRECTS:
    return TransferError::TooManyRedirects;
  case CURLE_SSL_CONNECT_ERROR:
  case CURLE_PEER_FAILED_VERIFICATION:
  case CURLE_SSL_CERTPROBLEM:
  case CURLE_SSL_CIPHER:
  case CURLE_SSL_CACERT_BADFILE:
    return TransferError::SecureFailure;
  case CURLE_OUT_OF_MEMORY:
    return TransferError::OutOfMemory;
  default:
    return TransferError::Internal;
  }
}

} // namespace

TransferError CheckTransferUrl(const std::string& url) { return SplitUrl(url).error; }

HttpTransfer::HttpTransfer(TransferRequest request) : request_(std::move(request)) {}

HttpTransfer::~HttpTransfer() {
  if (attached_)
    curl_multi_remove_handle(multi_.get(), easy_.get());
}

size_t HttpTransfer::OnHeader(char* data, size_t size, size_t count, void* self) {
  size_t bytes = size * count;
  std::string_view line(data, bytes);
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
    line.remove_suffix(1);
  return static_cast<HttpTransfer*>(self)->headerLine(line) ? bytes : 0;
}

size_t HttpTransfer::OnBody(char* data, size_t size, size_t count, void* self) {
  auto* transfer = static_cast<HttpTransfer*>(self);
  size_t bytes = size * count;
  transfer->lastActivity_ = Clock::now();
  if (transfer->pendingAt_ == transfer->pending_.size()) {
    transfer->pending_.clear();
    transfer->pendingAt_ = 0;
  }
  transfer->pending_.append(data, bytes);
  return bytes;
}

int HttpTransfer::OnProgress(void* self, curl_off_t, curl_off_t, curl_off_t upTotal, curl_off_t upNow) {
  auto* transfer = static_cast<HttpTransfer*>(self);
  if (upNow > 0 && !transfer->bodySent_) {
    transfer->lastActivity_ = Clock::now();
    if (upTotal > 0 && upNow >= upTotal)
      transfer->bodySent_ = true;
  }
  return 0;
}

int HttpTransfer::OnConnected(void* self, char*, char*, int, int) {
  auto* transfer = static_cast<HttpTransfer*>(self);
  transfer->connected_ = true;
  transfer->lastActivity_ = Clock::now();
  return CURL_PREREQFUNC_OK;
}

bool HttpTransfer::headerLine(std::string_view line) {
  lastActivity_ = Clock::now();
  if (headComplete_)
    return true; // trailers after a chunked body
  if (line.starts_with("HTTP/")) {
    building_ = ResponseHead();
    building_.statusLine = std::string(line);
    size_t space = line.find(' ');
    if (space != std::string_view::npos) {
      std::string_view rest = line.substr(space + 1);
      size_t digits = 0;
      while (digits < rest.size() && digits < 3 && rest[digits] >= '0' && rest[digits] <= '9')
        building_.status = building_.status * 10 + (rest[digits++] - '0');
      building_.reason = std::string(Trim(rest.substr(digits)));
    }
    return true;
  }
  if (!line.empty()) {
    building_.lines.emplace_back(line);
    return true;
  }
  if (building_.status < 200)
    return true; // an interim response; the real one follows
  return headEnded();
}

std::optional<std::string> HttpTransfer::redirectTarget() const {
  std::string_view location;
  for (const std::string& line : building_.lines) {
    if (SameAsciiText(HeaderName(line), "Location")) {
      location = HeaderValue(line);
      break;
    }
  }
  if (location.empty())
    return std::nullopt;
  CurlUrl url(curl_url());
  if (!url || curl_url_set(url.get(), CURLUPART_URL, hopUrl_.c_str(), CURLU_NON_SUPPORT_SCHEME) != CURLUE_OK)
    return std::nullopt;
  std::string escaped = PercentEncodeUnsafe(location, true);
  if (curl_url_set(url.get(), CURLUPART_URL, escaped.c_str(), CURLU_NON_SUPPORT_SCHEME) != CURLUE_OK)
    return std::nullopt;
  std::optional<std::string> scheme = UrlPart(url.get(), CURLUPART_SCHEME);
  if (scheme != "http" && scheme != "https")
    return std::nullopt;
  if (*scheme == "http" && hopUrl_.starts_with("https:") && !request_.httpsToHttpRedirects)
    return std::nullopt;
  return UrlPart(url.get(), CURLUPART_URL);
}

// The end of a final (non-interim) head: follow it, or hand it over.
// Returns false to stop the hop, which ends it with a write error.
bool HttpTransfer::headEnded() {
  if (request_.followRedirects && IsRedirectStatus(building_.status)) {
    if (std::optional<std::string> target = redirectTarget()) {
      if (redirects_ >= request_.maxRedirects) {
        tooManyRedirects_ = true;
        return false;
      }
      int status = building_.status;
      bool toGet = (status == 303 && !SameAsciiText(hopMethod_, "HEAD")) ||
                   ((status == 301 || status == 302) && hopMethod_ == "POST");
      if (toGet) {
        hopMethod_ = "GET";
        hopHasBody_ = false;
      }
      followTo_ = std::move(target);
      return false;
    }
  }
  building_.url = hopUrl_;
  head_ = std::move(building_);
  building_ = ResponseHead();
  headComplete_ = true;
  return true;
}

bool HttpTransfer::configureOnce() {
  multi_.reset(curl_multi_init());
  easy_.reset(curl_easy_init());
  if (!multi_ || !easy_)
    return false;
  CURL* e = easy_.get();
  curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(e, CURLOPT_HEADERFUNCTION, &HttpTransfer::OnHeader);
  curl_easy_setopt(e, CURLOPT_HEADERDATA, this);
  curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, &HttpTransfer::OnBody);
  curl_easy_setopt(e, CURLOPT_WRITEDATA, this);
  curl_easy_setopt(e, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(e, CURLOPT_XFERINFOFUNCTION, &HttpTransfer::OnProgress);
  curl_easy_setopt(e, CURLOPT_XFERINFODATA, this);
  curl_easy_setopt(e, CURLOPT_PREREQFUNCTION, &HttpTransfer::OnConnected);
  curl_easy_setopt(e, CURLOPT_PREREQDATA, this);
  curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 0L);
  curl_easy_setopt(e, CURLOPT_PATH_AS_IS, 1L);
  curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(e, CURLOPT_HTTP_CONTENT_DECODING, 0L);
  curl_easy_setopt(e, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
  curl_easy_setopt(e, CURLOPT_HTTP_VERSION, request_.http10 ? CURL_HTTP_VERSION_1_0 : CURL_HTTP_VERSION_1_1);
  // libcurl's 0 would mean its own default of 300 s, not "no limit".
  long connectMs = request_.timeouts.connectMs > 0 ? request_.timeouts.connectMs : 0x7FFFFFFFL;
  curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS, connectMs);
  if (!request_.user.empty()) {
    curl_easy_setopt(e, CURLOPT_USERNAME, request_.user.c_str());
    curl_easy_setopt(e, CURLOPT_PASSWORD, request_.password.c_str());
    curl_easy_setopt(e, CURLOPT_HTTPAUTH, static_cast<long>(CURLAUTH_BASIC));
  }
  if (!request_.proxyUser.empty()) {
    curl_easy_setopt(e, CURLOPT_PROXYUSERNAME, request_.proxyUser.c_str());
    curl_easy_setopt(e, CURLOPT_PROXYPASSWORD, request_.proxyPassword.c_str());
    curl_easy_setopt(e, CURLOPT_PROXYAUTH, static_cast<long>(CURLAUTH_BASIC));
  }

  bool hasAccept = false;
  bool hasContentType = false;
  for (const std::string& line : request_.headers) {
    std::string name(HeaderName(line));
    std::string_view value = HeaderValue(line);
    hasAccept = hasAccept || SameAsciiText(name, "Accept");
    hasContentType = hasContentType || SameAsciiText(name, "Content-Type");
    // "Name;" is how libcurl is told to send a header with an empty value.
    std::string out = value.empty() ? name + ";" : name + ": " + std::string(value);
    if (!CurlListAppend(headerList_, out.c_str()))
      return false;
  }
  // An empty "Name:" removes a header libcurl would add of its own accord.
  if ((!hasAccept && !CurlListAppend(headerList_, "Accept:")) ||
      (!hasContentType && !CurlListAppend(headerList_, "Content-Type:")) ||
      !CurlListAppend(headerList_, "Expect:"))
    return false;
  curl_easy_setopt(e, CURLOPT_HTTPHEADER, headerList_.get());
  return true;
}

void HttpTransfer::configureMethod() {
  CURL* e = easy_.get();
  const std::string& method = hopMethod_;
  curl_easy_setopt(e, CURLOPT_CUSTOMREQUEST, nullptr);
  curl_easy_setopt(e, CURLOPT_NOBODY, 0L);
  const char* custom = nullptr;
  if (hopHasBody_ || method == "POST") {
    // libcurl keeps a pointer to the body, which request_ owns for the whole exchange.
    const char* data = hopHasBody_ ? request_.body->data() : "";
    auto size = static_cast<curl_off_t>(hopHasBody_ ? request_.body->size() : 0);
    curl_easy_setopt(e, CURLOPT_POST, 1L);
    curl_easy_setopt(e, CURLOPT_POSTFIELDS, data);
    curl_easy_setopt(e, CURLOPT_POSTFIELDSIZE_LARGE, size);
    if (method != "POST")
      custom = method.c_str();
  } else if (SameAsciiText(method, "HEAD")) {
    curl_easy_setopt(e, CURLOPT_NOBODY, 1L);
    if (method != "HEAD")
      custom = method.c_str();
  } else {
    curl_easy_setopt(e, CURLOPT_HTTPGET, 1L);
    if (method != "GET")
      custom = method.c_str();
  }
  curl_easy_setopt(e, CURLOPT_CUSTOMREQUEST, custom);
  bodySent_ = !hopHasBody_ || request_.body->empty();
}

bool HttpTransfer::configureHop(const std::string& url, const std::string& rawTarget) {
  UrlParts parts = SplitUrl(url);
  if (parts.error != TransferError::None) {
    fail(parts.error);
    return false;
  }
  hopUrl_ = url;
  connected_ = false;
  building_ = ResponseHead();
  std::string proxy = ProxyFor(request_.proxy, parts.scheme, parts.host);
  CURL* e = easy_.get();
  curl_easy_setopt(e, CURLOPT_URL, hopUrl_.c_str());
  curl_easy_setopt(e, CURLOPT_PROXY, proxy.c_str());
  hopTarget_.clear();
  if (!rawTarget.empty()) {
    // Through an HTTP proxy (no tunnel) the target must name the origin.
    bool absolute = !proxy.empty() && parts.scheme == "http";
    hopTarget_ = absolute ? OriginOf(url) + rawTarget : rawTarget;
  }
  curl_easy_setopt(e, CURLOPT_REQUEST_TARGET, hopTarget_.empty() ? nullptr : hopTarget_.c_str());
  configureMethod();
  return true;
}

bool HttpTransfer::start() {
  if (started_)
    return !finished_;
  started_ = true;
  hopMethod_ = request_.method.empty() ? "GET" : request_.method;
  hopHasBody_ = request_.body.has_value();
  if (!CurlReady()) {
    fail(TransferError::Internal);
    return false;
  }
  if (!configureOnce()) {
    fail(TransferError::OutOfMemory);
    return false;
  }
  if (!configureHop(request_.url, request_.rawTarget))
    return false;
  if (curl_multi_add_handle(multi_.get(), easy_.get()) != CURLM_OK) {
    fail(TransferError::Internal);
    return false;
  }
  attached_ = true;
  lastActivity_ = Clock::now();
  return true;
}

void HttpTransfer::fail(TransferError error) {
  if (error_ == TransferError::None)
    error_ = error;
  finished_ = true;
  if (attached_) {
    curl_multi_remove_handle(multi_.get(), easy_.get());
    attached_ = false;
  }
}

void HttpTransfer::hopDone(CURLcode result) {
  if (followTo_) {
    std::string next = std::move(*followTo_);
    followTo_.reset();
    redirects_++;
    curl_multi_remove_handle(multi_.get(), easy_.get());
    attached_ = false;
    if (!configureHop(next, ""))
      return;
    if (curl_multi_add_handle(multi_.get(), easy_.get()) != CURLM_OK) {
      fail(TransferError::Internal);
      return;
    }
    attached_ = true;
    lastActivity_ = Clock::now();
    return;
  }
  if (tooManyRedirects_) {
    fail(TransferError::TooManyRedirects);
    return;
  }
  if (result != CURLE_OK) {
    fail(ErrorOf(result));
    return;
  }
  if (!headComplete_)
    error_ = TransferError::InvalidResponse;
  finished_ = true;
  curl_multi_remove_handle(multi_.get(), easy_.get());
  attached_ = false;
}

bool HttpTransfer::stalled() const {
  if (!connected_)
    return false; // libcurl's connect time-out governs until then
  long limit = bodySent_ ? request_.timeouts.receiveMs : request_.timeouts.sendMs;
  return limit > 0 && Clock::now() - lastActivity_ > std::chrono::milliseconds(limit);
}

long HttpTransfer::waitMs() const {
  long limit = bodySent_ ? request_.timeouts.receiveMs : request_.timeouts.sendMs;
  if (!connected_ || limit <= 0)
    return kPollSliceMs;
  auto idle = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - lastActivity_).count();
  return std::clamp<long>(limit - static_cast<long>(idle) + 1, 1, kPollSliceMs);
}

void HttpTransfer::drive(const std::function<bool()>& enough) {
  if (!start())
    return;
  while (!enough() && !finished_) {
    int running = 0;
    if (curl_multi_perform(multi_.get(), &running) != CURLM_OK) {
      fail(TransferError::Internal);
      return;
    }
    int queued = 0;
    while (CURLMsg* message = curl_multi_info_read(multi_.get(), &queued)) {
      if (message->msg == CURLMSG_DONE)
        hopDone(message->data.result);
    }
    if (enough() || finished_)
      return;
    if (stalled()) {
      fail(TransferError::Timeout);
      return;
    }
    curl_multi_poll(multi_.get(), nullptr, 0, static_cast<int>(waitMs()), nullptr);
  }
}

bool HttpTransfer::awaitHead() {
  drive([this] { return headComplete_; });
  return headComplete_;
}

size_t HttpTransfer::read(char* out, size_t size) {
  if (size == 0 || !awaitHead())
    return 0;
  drive([this] { return pendingSize() > 0; });
  size_t n = std::min(size, pendingSize());
  std::memcpy(out, pending_.data() + pendingAt_, n);
  pendingAt_ += n;
  return n;
}

TransferError HttpTransfer::readAll(std::string* body) {
  char chunk[kReadAllChunk];
  while (size_t n = read(chunk, sizeof chunk))
    body->append(chunk, n);
  return error_;
}
