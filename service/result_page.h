// The HTML pages the service answers with, in UTF-8. A result page lists the hits of a search,
// each title followed by its download button, written exactly as the lyric client cuts the link
// out of it:
//   <a class="down-lrc-btn { 'href':'/lrc/ID.lrc' }" href="#">下载LRC歌词</a>
//
// Invariant: the button caption and the text that opens a link ("down-lrc-btn { 'href':' with
// its double quote) occur in a page only inside its buttons, whatever titles and keys it shows:
// the client splits the page on the caption and counts the pieces as hits.
#pragma once

#include "service/lyric_library.h"

#include <string>
#include <string_view>
#include <vector>

namespace lyric_service {

inline constexpr std::string_view kButtonCaption = "下载LRC歌词";

// "/lrc/ID.lrc": ASCII only, since the client sends a link's bytes as it found them.
std::string LyricLink(unsigned id);
std::string DownloadButton(unsigned id);

// Text made safe to show in a page: HTML's special characters as references, and "下载" with its
// first character as a reference, so no shown text can pass for a button caption.
std::string EscapeText(std::string_view text);

std::string ResultPage(std::string_view key, const std::vector<const LyricEntry*>& hits);
std::string ErrorPage(int status, std::string_view reason);

} // namespace lyric_service
