#include "service/result_page.h"

namespace lyric_service {

namespace {

// "下" spelled as a character reference: a browser shows the same text, the client's split on
// the caption never matches it.
constexpr std::string_view kCaptionStart = "下载";
constexpr std::string_view kCaptionFirstChar = "下";
constexpr std::string_view kCaptionFirstCharRef = "&#19979;";

std::string PageHead(std::string_view title) {
  return "<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head>\n<meta charset=\"utf-8\">\n<title>" +
         EscapeText(title) + "</title>\n</head>\n<body>\n";
}

std::string PageFoot() { return "<p class=\"footer\">Cantiva 歌词服务</p>\n</body>\n</html>\n"; }

std::string HitItem(const LyricEntry& entry) {
  return "<li class=\"lrc-item\"><span class=\"lrc-title\">" + EscapeText(entry.title) + "</span>\n" +
         DownloadButton(entry.id) + "</li>\n";
}

std::string HitList(std::string_view key, const std::vector<const LyricEntry*>& hits) {
  if (key.empty())
    return "<p class=\"empty\">请输入要搜索的歌名。</p>\n";
  if (hits.empty())
    return "<p class=\"empty\">没有找到“" + EscapeText(key) + "”的歌词。</p>\n";
  std::string list = "<p class=\"summary\">“" + EscapeText(key) + "”共有 " + std::to_string(hits.size()) +
                     " 个结果</p>\n<ol class=\"lrc-list\">\n";
  for (const LyricEntry* hit : hits)
    list += HitItem(*hit);
  return list + "</ol>\n";
}

} // namespace

std::string LyricLink(unsigned id) { return "/lrc/" + std::to_string(id) + ".lrc"; }

std::string DownloadButton(unsigned id) {
  return "<a class=\"down-lrc-btn { 'href':'" + LyricLink(id) + "' }\" href=\"#\">" +
         std::string(kButtonCaption) + "</a>";
}

std::string EscapeText(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (size_t i = 0; i < text.size(); i++) {
    if (text.substr(i, kCaptionStart.size()) == kCaptionStart) {
      escaped += kCaptionFirstCharRef;
      i += kCaptionFirstChar.size() - 1;
      continue;
    }
    switch (text[i]) {
    case '&':
      escaped += "&amp;";
      break;
    case '<':
      escaped += "&lt;";
      break;
    case '>':
      escaped += "&gt;";
      break;
    case '"':
      escaped += "&quot;";
      break;
    case '\'':
      escaped += "&#39;";
      break;
    default:
      escaped += text[i];
    }
  }
  return escaped;
}

std::string ResultPage(std::string_view key, const std::vector<const LyricEntry*>& hits) {
  return PageHead(key.empty() ? std::string("LRC 歌词搜索") : "LRC 歌词搜索：" + std::string(key)) +
         "<h1>LRC 歌词搜索</h1>\n" + HitList(key, hits) + PageFoot();
}

std::string ErrorPage(int status, std::string_view reason) {
  const std::string heading = std::to_string(status) + " " + std::string(reason);
  return PageHead(heading) + "<h1>" + EscapeText(heading) + "</h1>\n" + PageFoot();
}

} // namespace lyric_service
