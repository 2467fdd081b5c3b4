#include "engine/song_processing.h"

#include "engine/lyric_link.h"
#include "engine/lyric_service.h"
#include "engine/run_log.h"
#include "engine/song_list.h"
#include "engine/text_encoding.h"
#include "runtime/files.h"
#include "runtime/replace_text.h"
#include "runtime/to_text.h"
#include "web/http_file_reader.h"
#include "web/page_request.h"

namespace {

void LogFailure(TextRef listed) {
  AppendLog(ConcatTexts({listed, " 下载失败！请上报：Quenmar QQ：", MakerContact}));
}

// The search URL carries the name unescaped: code page 936 bytes, blanks and
// signs as they are.
TextValue SearchPage(TextRef name) {
  TextValue url = ConcatTexts({LyricServiceBase, "/search/lrc?from=new_mp3&key=", name});
  TextValue method, cookies, returned_cookies, headers, redirect_to, response_headers;
  return FetchPageText(url, method, TextRef(), cookies, returned_cookies, headers, redirect_to, false, 0,
                       response_headers, ByteRef());
}

// Downloads the lyric and writes it beside the song. A download that brings
// no byte counts as a failed one and leaves any existing lyric file alone.
void SaveLyric(TextRef listed, TextRef name, TextRef link) {
  TextValue path = ConcatTexts({SongFolder, "\\", name, ".lrc"});
  ByteSet bytes = HttpFileReader(link);
  if (bytes.IsEmpty()) {
    LogFailure(listed);
    return;
  }
  TextValue text = ToText(CommandArg::Bytes(bytes.Block()));
  bytes = ByteSet();
  TextValue lyric = LyricTextToCp936(text);
  ByteSet data = ToBytes(CommandArg::Text(lyric.Pointer()));
  if (WriteToFile(path, {data}))
    AppendLog("本歌曲下载成功！");
  else
    AppendLog(ConcatTexts({"下载成功但解码失败！请上报：Quenmar QQ：", MakerContact}));
}

} // namespace

TextValue RemoveTexts(TextRef text, TextRef t1, TextRef t2, TextRef t3, TextRef t4, TextRef t5, TextRef t6,
                      TextRef t7, TextRef t8, TextRef t9, TextRef t10) {
  TextValue copy = TextValue::Copy(text);
  for (TextRef t : {t1, t2, t3, t4, t5, t6, t7, t8, t9, t10}) {
    if (!t.IsEmpty())
      copy = ReplaceText(copy, t, std::nullopt, std::nullopt, std::nullopt, true);
  }
  return copy;
}

TextValue FetchPageText(TextRef url, TextValue& method, TextRef postText, TextValue& cookies,
                        TextValue& returnedCookies, TextValue& headers, TextValue& redirectTo, bool noRedirect,
                        int32_t timeoutSeconds, TextValue& responseHeaders, ByteRef postBytes) {
  ByteSet body = PageRequest(url, method, postText, cookies, returnedCookies, headers, redirectTo, noRedirect,
                             timeoutSeconds, responseHeaders, postBytes);
  return PageBytesToText(body);
}

void ProcessSong(TextRef listed, TextRef name) {
  AppendLog(ConcatTexts({name, "  准备中……"}));
  TextValue page = SearchPage(name);
  TextArray pieces = SplitResultPage(page);
  AppendLog(ConcatTexts({"共找到", HitCountText(pieces), "个本歌曲歌词！自动下载第一个……"}));
  TextValue link = ConcatTexts({LyricServiceBase, FirstLyricLink(pieces)});
  if (TextEquals(link, LyricServiceBase)) {
    LogFailure(listed);
    return;
  }
  SaveLyric(listed, name, link);
}
