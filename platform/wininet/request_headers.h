// Inside wininet: the header lines of one request.
//
// Setting a header whose name (case ignored) is already there replaces its
// value where it stands, so each name goes out once, in the order it was
// first set.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

class RequestHeaders {
public:
  void set(std::string_view name, std::string_view value);
  // Header text: lines split at CR LF or LF, blanks around names and values
  // trimmed, empty lines and lines without a colon dropped.
  void addText(std::string_view text);
  // "Name: value" lines in order.
  std::vector<std::string> lines() const;

private:
  std::vector<std::pair<std::string, std::string>> headers_;
};

// The value of the one Accept line made of an accept-type list whose entries
// are media types or whole "Accept: type" lines; duplicates go once.
std::string AcceptValue(const std::vector<std::string>& types);
