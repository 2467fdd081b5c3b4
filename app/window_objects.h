// The nine window objects of the program: the main window and its eight
// controls, each a toolkit record that exists from start-up to exit. Their
// system windows are made by the start subroutine; the launch and the worker
// talk to them by name.
#pragma once

#include "ui/child_control.h"
#include "ui/top_window.h"

#include <memory>

extern std::unique_ptr<TopWindow> MainWindow;
extern std::unique_ptr<Label> VersionLabel;
extern std::unique_ptr<Label> AboutLabel;
extern std::unique_ptr<Label> SongsCaptionLabel;
extern std::unique_ptr<Label> AdviceLabel;
extern std::unique_ptr<Label> FolderLabel;
extern std::unique_ptr<Label> StatusLabel;
extern std::unique_ptr<Button> FolderButton;
extern std::unique_ptr<CheckBox> LogCheckBox;

// Empty records: no system window yet.
void AllocateWindowObjects();
// Destroy on each object, then its record is freed, in the order above.
void FreeWindowObjects();
