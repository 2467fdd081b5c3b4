#include "app/window_objects.h"

std::unique_ptr<TopWindow> MainWindow;
std::unique_ptr<Label> VersionLabel;
std::unique_ptr<Label> AboutLabel;
std::unique_ptr<Label> SongsCaptionLabel;
std::unique_ptr<Label> AdviceLabel;
std::unique_ptr<Label> FolderLabel;
std::unique_ptr<Label> StatusLabel;
std::unique_ptr<Button> FolderButton;
std::unique_ptr<CheckBox> LogCheckBox;

namespace {

template <class T> void Free(std::unique_ptr<T>& object) {
  if (!object)
    return;
  object->Destroy();
  object.reset();
}

} // namespace

void AllocateWindowObjects() {
  MainWindow = std::make_unique<TopWindow>();
  for (auto* label :
       {&VersionLabel, &AboutLabel, &SongsCaptionLabel, &AdviceLabel, &FolderLabel, &StatusLabel})
    *label = std::make_unique<Label>();
  FolderButton = std::make_unique<Button>();
  LogCheckBox = std::make_unique<CheckBox>();
}

void FreeWindowObjects() {
  Free(MainWindow);
  for (auto* label :
       {&VersionLabel, &AboutLabel, &SongsCaptionLabel, &AdviceLabel, &FolderLabel, &StatusLabel})
    Free(*label);
  Free(FolderButton);
  Free(LogCheckBox);
}
