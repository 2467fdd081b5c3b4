#include "app/start_subroutine.h"

#include "app/launch_batch.h"
#include "app/window_objects.h"
#include "ui/control_registry.h"
#include "ui/system_functions.h"

namespace {

constexpr int32_t kLeftAlignedText = 21;
constexpr DWORD kMainWindowStyle = 0x008A0000; // WS_BORDER | WS_SYSMENU | WS_MINIMIZEBOX
constexpr int32_t kCentreOnScreen = 1;

struct ControlPlace {
  const char* caption;
  int32_t left, top, width, height;
};

intptr_t MainHandle() { return reinterpret_cast<intptr_t>(MainWindow->Handle()); }

void CreateLabel(Label& label, const ControlPlace& place) {
  label.Create(MainHandle(), place.caption, place.left, place.top, place.width, place.height,
               kLeftAlignedText);
}

void CreateMainWindow() {
  MainWindow->Create(0, "QuenmarCantiva V1.1", 50, 50, 456, 189, nullptr, kMainWindowStyle, 1, nullptr);
  MainWindow->Placement(kCentreOnScreen);
}

void CreateControls() {
  CreateLabel(*VersionLabel, {"Cantiva V1.1 公测版 目前仅支持MP3格式的歌曲 其他会在V2.X支持", 8, 8, 440, 16});
  CreateLabel(*AboutLabel, {"本软件为Quenmar开发的关于LRC歌词批量下载的小型绿色软件。", 8, 24, 392, 24});
  CreateLabel(*SongsCaptionLabel, {"所有歌曲文件：", 8, 72, 85, 16});
  CreateLabel(*AdviceLabel,
              {"请保证您的所有歌曲文件名均为正确（正确举例：我的歌声里.mp3，Vallisa-我的歌声里），"
               "无杂乱字符出现（杂乱字符举例：XX网新歌-我的歌声里免费试听.mp3）",
               96, 56, 336, 40});
  CreateLabel(*FolderLabel, {"目录未选择！", 144, 104, 304, 24});
  CreateLabel(*StatusLabel, {"准备中……", 8, 136, 360, 16});
  FolderButton->Create(MainHandle(), "选择歌曲所在目录", 8, 104, 136, 24);
  FolderButton->OnClicked(LaunchBatch);
  LogCheckBox->Create(MainHandle(), "生成日志", 368, 136, 72, 26);
  LogCheckBox->CheckState(1);
}

} // namespace

int32_t MessageLoop() {
  auto message = std::make_unique<MSG>();
  while (bound::GetMessageA(message.get(), nullptr, 0, 0) != 0) {
    bound::TranslateMessage(message.get());
    bound::DispatchMessageA(message.get());
  }
  FirstWindowHandle = nullptr;
  InstanceHandle = nullptr;
  return static_cast<int32_t>(message->wParam);
}

int32_t StartSubroutine() {
  CreateMainWindow();
  CreateControls();
  MessageLoop();
  return 0;
}
