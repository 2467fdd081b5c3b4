// How the service reads a request target. Clients reach it directly (origin form,
// "/search/lrc?from=new_mp3&key=...") or through it as their HTTP proxy (absolute form,
// "http://any-host/search/lrc?..."); both name the same resource.
//
// The lyric client puts the song name last and unescaped apart from non-ASCII bytes and blanks,
// so the key runs from "key=" to the end of the target: a name with '&' or '=' in it arrives
// whole. A '+' is a plus sign, never a blank (the client writes blanks as %20).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lyric_service {

struct RequestTarget {
  std::string path;  // percent-decoded; "/" when an absolute-form target has no path
  std::string query; // after the first '?', still encoded
};

RequestTarget ParseRequestTarget(std::string_view target);

// %XX (two hex digits) becomes that byte; any other byte, '%' and '+' included, stays as it is.
std::string PercentDecode(std::string_view text);

// The decoded value of the "key" parameter, or nothing when the query has none.
std::optional<std::string> SearchKey(std::string_view query);

} // namespace lyric_service
