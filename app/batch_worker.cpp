#include "app/batch_worker.h"

#include "app/batch_guard.h"
#include "app/window_objects.h"
#include "engine/lyric_service.h"
#include "engine/run_log.h"
#include "engine/song_list.h"
#include "engine/song_processing.h"
#include "kernel32/process.h"
#include "runtime/message_box.h"
#include "runtime/shell_run.h"
#include "runtime/text_commands.h"
#include "runtime/to_text.h"

namespace {

constexpr int32_t kVerbOpen = 4;

void ShowProgress(TextRef name, int32_t index) {
  TextValue progress =
      ConcatTexts({name, "  正在下载……", ToText(index), "/", ToText(SongList.Count()), "……"});
  StatusLabel->Text(TextRef(progress));
}

// A stop asked for by the ending program takes effect between songs.
void ProcessSongs() {
  int32_t count = SongList.Count();
  for (int32_t i = 1; i <= count && !WorkerStopRequested(); i++) {
    TextValue listed = TextValue::Copy(SongList.At(i));
    TextValue name = RemoveTexts(listed, ".mp3");
    ShowProgress(name, i);
    ProcessSong(listed, name);
  }
}

// When the program is ending nobody is left to answer the completion message
// or to read the opened log; the log file is written all the same.
void EndSequence() {
  MainWindow->Disabled(0);
  SongList.Clear();
  if (!WorkerStopRequested())
    ShowMessageBox(ConcatTexts({"完毕！具体请查看日志！\r\n感谢使用！ powered By Quenmar，QQ", MakerContact,
                                "。欢迎反馈意见。"}),
                   0);
  WriteLogFile();
  // A stop asked for while the message was open closed it.
  if (!WorkerStopRequested() && LogCheckBox->CheckState() == 1)
    ShellRun(kVerbOpen, LogFilePath());
}

} // namespace

void BatchWorker() {
  WorkerThreadIs(GetCurrentThreadId());
  ProcessSongs();
  EndSequence();
}

DWORD BatchWorkerThread(void*) {
  BatchWorker();
  WorkerEnded();
  EndBatch();
  return 0;
}
