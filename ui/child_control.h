// The child controls: Label ("Static"), Button and CheckBox ("BUTTON"). Each
// wraps one system control created as a child of a given parent; its clicks
// reach the toolkit as WM_COMMAND to the parent, where the dispatcher finds
// the handler by the control's identifier, its ControlId. Every control gets
// the font "宋体" at height 12.
#pragma once

#include "ui/window_object.h"

// Gives the window a new font (height 20 when omitted, the GB2312 character
// set) and deletes the one it had.
void SetControlFont(HWND window, TextRef face, std::optional<int32_t> height = {});

class ChildControl : public WindowObject {
public:
  // 24. The control's handle, or 0 when the kind has no style in the class's
  // table or the window cannot be created; a failed control clears its own
  // ControlId, so that later handler setters on it store nothing.
  HWND Create(intptr_t parent, std::optional<TextRef> caption = {}, std::optional<int32_t> left = {},
              std::optional<int32_t> top = {}, std::optional<int32_t> width = {},
              std::optional<int32_t> height = {}, std::optional<int32_t> kind = {});

  int32_t OwnControlId() const { return own_control_id_; }

  struct Kind {
    int32_t kind;
    DWORD style;
  };
  struct ClassInfo {
    const char* systemClass;
    const char* defaultCaption;
    int32_t defaultKind;
    const Kind* kinds;
    int kindCount;
  };

protected:
  virtual const ClassInfo& Info() const = 0;
  void StoreClicked(Handler handler);

private:
  int32_t own_control_id_ = 0;
};

class Label : public ChildControl {
public:
  std::unique_ptr<WindowObject> Clone() const override { return std::make_unique<Label>(*this); }
  const char* ClassName() const override { return "Label"; }
  // 25. Shows the bitmap on a label of kind 23.
  void SetPicture(HANDLE bitmap);

protected:
  const ClassInfo& Info() const override;
};

class Button : public ChildControl {
public:
  std::unique_ptr<WindowObject> Clone() const override { return std::make_unique<Button>(*this); }
  const char* ClassName() const override { return "Button"; }
  // 25.
  void OnClicked(Handler handler) { StoreClicked(handler); }

protected:
  const ClassInfo& Info() const override;
};

class CheckBox : public ChildControl {
public:
  std::unique_ptr<WindowObject> Clone() const override { return std::make_unique<CheckBox>(*this); }
  const char* ClassName() const override { return "CheckBox"; }
  // 25. Read: the control's state (0 unticked, 1 ticked, 2 indeterminate).
  // Given: clamped to 0..2 and set; -1 when the control refused it.
  int32_t CheckState(std::optional<int32_t> state = {});
  // 26.
  void OnClicked(Handler handler) { StoreClicked(handler); }

protected:
  const ClassInfo& Info() const override;
};
