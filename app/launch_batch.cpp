#include "app/launch_batch.h"

#include "app/batch_guard.h"
#include "app/batch_worker.h"
#include "app/window_objects.h"
#include "engine/run_log.h"
#include "engine/song_list.h"
#include "runtime/browse_for_folder.h"
#include "runtime/date_time.h"
#include "runtime/message_box.h"
#include "runtime/start_thread.h"
#include "runtime/to_text.h"

namespace {

constexpr int32_t kStyleOk = 0;
constexpr int32_t kStyleOkCancel = 1;
constexpr int32_t kAnswerOk = 0;
constexpr int32_t kAnswerCancel = 1;

bool LogWarningAccepted() {
  if (LogCheckBox->CheckState() != 0)
    return true;
  return ShowMessageBox(
             "强烈建议选中日志！因为种种原因歌曲歌词需要手动下载，没有日志您不知道哪个没有下载下来！"
             "\r\n单击取消返回",
             kStyleOkCancel) != kAnswerCancel;
}

bool FolderChosen() {
  SongFolder = BrowseForFolder("选择歌曲所在文件夹！", false);
  return !SongFolder.IsEmpty();
}

bool SongsFound() {
  if (SongList.Count() != 0)
    return true;
  ShowMessageBox("本目录下并没有mp3音频文件！\r\n本程序目前只支持mp3歌曲，我将在下一版本开发支持其他格式的程"
                 "式！感谢支持。",
                 kStyleOk);
  return false;
}

bool BatchConfirmed() {
  TextValue question =
      ConcatTexts({"当前共搜索到", ToText(SongList.Count()),
                   "首MP3歌曲！单击确认 开始加载歌词！加载的歌词全部以当前文件名+.lrc形式储存到此目录中！"});
  return ShowMessageBox(question, kStyleOkCancel) == kAnswerOk;
}

void WriteLogHeader() {
  AppendLog(ConcatTexts({"Quenmar Cantiva V1.0    ", ToText(CommandArg::DateTime(CurrentDateTime()))}));
  AppendLog(ConcatTexts({"搜索文件夹：", SongFolder}));
  AppendLog("日志开始！");
}

// A worker that cannot be started leaves the window usable and the batch
// over, with its header lines in the log.
void StartWorker() {
  WorkerStarting();
  if (StartThread(BatchWorkerThread))
    return;
  WorkerEnded();
  MainWindow->Disabled(0);
  SongList.Clear();
  EndBatch();
}

bool Launch() {
  if (!LogWarningAccepted() || !FolderChosen())
    return false;
  FolderLabel->Text(TextRef(SongFolder));
  ScanSongs(SongFolder, "\\*.mp3");
  if (!SongsFound() || !BatchConfirmed())
    return false;
  MainWindow->Disabled(1);
  WriteLogHeader();
  StartWorker();
  return true;
}

} // namespace

void LaunchBatch() {
  if (!BeginBatch())
    return;
  if (!Launch())
    EndBatch();
}
