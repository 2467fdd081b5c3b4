// Benchmarks of the engine's text work: a large result page converted and
// split, and the run log of a very large batch.
//
//   build/bin/cantiva_bench
#include "engine/lyric_link.h"
#include "engine/run_log.h"
#include "engine/text_encoding.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

// About 2 MB of UTF-8 result page with a download button every few hundred
// bytes.
std::string LargePage() {
  std::string hit = reinterpret_cast<const char*>(
      u8"<li><span class=\"title\">我的歌声里 - 演唱者 第一段歌词的预览……</span>"
      u8"<a class=\"down-lrc-btn { 'href':'/lrc/123.lrc' }\" href=\"#\">下载LRC歌词</a></li>\n");
  std::string page;
  while (page.size() < 2 * 1024 * 1024)
    page += hit;
  return page + "</ul></body></html>";
}

void BM_ConvertAndSplitResultPage(benchmark::State& state) {
  std::string page = LargePage();
  ByteSet bytes = ByteSet::Copy(page.data(), page.size());
  for (auto _ : state) {
    TextValue text = PageBytesToText(bytes);
    TextArray pieces = SplitResultPage(text);
    TextValue link = FirstLyricLink(pieces);
    benchmark::DoNotOptimize(link.Pointer());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(page.size()));
}
BENCHMARK(BM_ConvertAndSplitResultPage)->Unit(benchmark::kMillisecond);

// Time per appended line stays flat as the log grows.
void BM_AppendLogLines(benchmark::State& state) {
  for (auto _ : state) {
    RunLog.Free();
    for (int64_t i = 0; i < state.range(0); i++)
      AppendLog("我的歌声里  准备中……");
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
  RunLog.Free();
}
BENCHMARK(BM_AppendLogLines)->Arg(10000)->Arg(100000)->Arg(300000)->Unit(benchmark::kMillisecond);

} // namespace
