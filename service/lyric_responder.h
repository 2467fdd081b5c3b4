// What the service answers to a GET: the result page of a search, the bytes of one lyric file,
// or a small HTML page saying there is no such thing. The answer depends on the request target
// alone (read as ParseRequestTarget reads it), so a request sent through the service as a proxy
// and one sent to it directly get the same reply.
#pragma once

#include "service/lyric_library.h"

#include <string>
#include <string_view>

namespace lyric_service {

inline constexpr std::string_view kHtmlType = "text/html; charset=utf-8";
inline constexpr std::string_view kLyricType = "text/plain; charset=utf-8";

struct Reply {
  int status = 200;
  std::string content_type;
  std::string body;
};

//   /search/lrc?...&key=KEY  the result page for KEY (no key: the page for an empty key)
//   /lrc/ID.lrc              the file numbered ID, bytes as stored; ID in decimal, no leading zero
//   anything else            404
Reply Answer(const LyricLibrary& library, std::string_view target);

} // namespace lyric_service
