// Which proxy, if any, a request goes through.
//
// Three settings, as both Internet client libraries know them:
// - System: the system's settings, which on Linux are the environment
//   variables http_proxy (lower case only: a CGI server sets HTTP_PROXY from
//   a request's "Proxy:" header, so the upper-case name is never trusted),
//   https_proxy or HTTPS_PROXY, then all_proxy or ALL_PROXY for either
//   scheme, and no_proxy or NO_PROXY as the bypass list;
// - Direct: no proxy;
// - Named: the given server, unless the host is in the given bypass list.
// The choice is made here, not left to libcurl, because the transfer must
// know it to write an absolute-form request target for a proxy.
#pragma once

#include <string>
#include <string_view>

struct ProxyChoice {
  enum class Kind { System, Direct, Named };
  Kind kind = Kind::System;
  // For Named: "host:port", "scheme://host:port", or a list of entries
  // separated by ";" or blanks, each optionally "http=" or "https=" prefixed.
  std::string server;
  // Host names separated by ",", ";" or blanks: "*" matches every host,
  // "example.com" or ".example.com" or "*.example.com" the domain and its
  // sub-domains, "<local>" every name without a dot.
  std::string bypass;
};

// The proxy for a request of `scheme` ("http"/"https") to `host`, in the
// form libcurl takes; empty for none.
std::string ProxyFor(const ProxyChoice& choice, std::string_view scheme, std::string_view host);

bool ProxyBypassMatches(std::string_view bypass, std::string_view host);
