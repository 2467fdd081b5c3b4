#include "winhttp/transfer/proxy_choice.h"

#include "winhttp/transfer/ascii_text.h"

#include <cstdlib>
#include <vector>

namespace {

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::string FirstSet(const char* a, const char* b) {
  std::string value = Environment(a);
  return value.empty() && b ? Environment(b) : value;
}

bool IsSeparator(char c) { return c == ',' || c == ';' || c == ' ' || c == '\t'; }

std::vector<std::string_view> Entries(std::string_view list) {
  std::vector<std::string_view> entries;
  size_t at = 0;
  while (at < list.size()) {
    while (at < list.size() && IsSeparator(list[at]))
      at++;
    size_t end = at;
    while (end < list.size() && !IsSeparator(list[end]))
      end++;
    if (end > at)
      entries.push_back(list.substr(at, end - at));
    at = end;
  }
  return entries;
}

bool EndsWithDomain(std::string_view host, std::string_view domain) {
  if (SameAsciiText(host, domain))
    return true;
  return host.size() > domain.size() && host[host.size() - domain.size() - 1] == '.' &&
         SameAsciiText(host.substr(host.size() - domain.size()), domain);
}

std::string_view WithoutBrackets(std::string_view host) {
  if (host.size() >= 2 && host.front() == '[' && host.back() == ']')
    return host.substr(1, host.size() - 2);
  return host;
}

std::string NamedServerFor(std::string_view servers, std::string_view scheme) {
  std::string_view fallback;
  for (std::string_view entry : Entries(servers)) {
    size_t equals = entry.find('=');
    if (equals == std::string_view::npos) {
      if (fallback.empty())
        fallback = entry;
    } else if (SameAsciiText(entry.substr(0, equals), scheme)) {
      return std::string(entry.substr(equals + 1));
    }
  }
  return std::string(fallback);
}

} // namespace

bool ProxyBypassMatches(std::string_view bypass, std::string_view host) {
  host = WithoutBrackets(host);
  for (std::string_view entry : Entries(bypass)) {
    if (entry == "*")
      return true;
    if (entry == "<local>") {
      if (host.find('.') == std::string_view::npos && host.find(':') == std::string_view::npos)
        return true;
      continue;
    }
    if (entry.starts_with("*."))
      entry.remove_prefix(1);
    if (entry.starts_with("."))
      entry.remove_prefix(1);
    if (!entry.empty() && EndsWithDomain(host, WithoutBrackets(entry)))
      return true;
  }
  return false;
}

std::string ProxyFor(const ProxyChoice& choice, std::string_view scheme, std::string_view host) {
  switch (choice.kind) {
  case ProxyChoice::Kind::Direct:
    return "";
  case ProxyChoice::Kind::Named:
    return ProxyBypassMatches(choice.bypass, host) ? "" : NamedServerFor(choice.server, scheme);
  case ProxyChoice::Kind::System:
    break;
  }
  if (ProxyBypassMatches(FirstSet("no_proxy", "NO_PROXY"), host))
    return "";
  std::string proxy =
      SameAsciiText(scheme, "https") ? FirstSet("https_proxy", "HTTPS_PROXY") : Environment("http_proxy");
  return proxy.empty() ? FirstSet("all_proxy", "ALL_PROXY") : proxy;
}
