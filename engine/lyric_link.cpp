#include "engine/lyric_link.h"

#include "engine/text_between.h"
#include "runtime/split_text.h"
#include "runtime/to_text.h"

const char kLyricButtonCaption[] = "下载LRC歌词";
const char kLyricLinkStart[] = "\"down-lrc-btn { 'href':'";
const char kLyricLinkEnd[] = "' }\" href=\"#\">";

TextArray SplitResultPage(TextRef page) { return SplitText(page, TextRef(kLyricButtonCaption)); }

TextValue HitCountText(const TextArray& pieces) { return ToText(static_cast<double>(pieces.Count()) - 1.0); }

TextValue FirstLyricLink(const TextArray& pieces) {
  // An empty page has no first piece, and so no link.
  if (pieces.Count() == 0)
    return {};
  return TextBetween(pieces.At(1), kLyricLinkStart, kLyricLinkEnd);
}
