// WindowObject: the toolkit's object record over one system window, the base
// of TopWindow, Label, Button and CheckBox.
//
// The virtual table is the class's method table: slots 1 to 23 are declared
// here in their order and mean the same in every class; each class declares
// its Create (slot 24) and its own operations after them. The geometry
// fields are a cache: they change only through the operations that store
// them, never by themselves when the window moves. An object is empty
// (handle 0, ControlId 0) until its Create succeeds.
#pragma once

#include "runtime/text_value.h"
#include "ui/control_registry.h"
#include "user32/window.h"

#include <cstdint>
#include <memory>
#include <optional>

class WindowObject {
public:
  virtual void Destroy();                                       // 1
  virtual std::unique_ptr<WindowObject> Clone() const = 0;      // 2
  virtual int32_t Visible(std::optional<int32_t> flag = {});    // 3
  virtual void SetState(int32_t left, int32_t top, int32_t width, int32_t height, int32_t visible, HWND handle,
                        int32_t controlId);                     // 4
  virtual int32_t IsValid();                                    // 5
  virtual TextValue Text(std::optional<TextRef> text = {});     // 6
  virtual HWND Handle() const;                                  // 7
  virtual void Move(std::optional<int32_t> left = {}, std::optional<int32_t> top = {},
                    std::optional<int32_t> width = {}, std::optional<int32_t> height = {}); // 8
  virtual int32_t Width();                                      // 9
  virtual int32_t Height();                                     // 10
  virtual int32_t Left();                                       // 11
  virtual int32_t Top();                                        // 12
  virtual int32_t Disabled(std::optional<int32_t> flag = {});   // 13
  virtual void OnLeftDown(Handler handler);                     // 14
  virtual void OnLeftUp(Handler handler);                       // 15
  virtual void OnDoubleClick(Handler handler);                  // 16
  virtual void OnRightDown(Handler handler);                    // 17
  virtual void OnRightUp(Handler handler);                      // 18
  virtual void OnSpareA(Handler handler);                       // 19
  virtual void OnGotFocus(Handler handler);                     // 20
  virtual void OnLostFocus(Handler handler);                    // 21
  virtual void OnKey(Handler handler);                          // 22
  virtual void OnSpareB(Handler handler);                       // 23

  // Which class the record belongs to.
  virtual const char* ClassName() const = 0;
  virtual ~WindowObject() = default;

  int32_t ControlId() const { return control_id_; }
  int32_t StoredLeft() const { return left_; }
  int32_t StoredTop() const { return top_; }
  int32_t StoredWidth() const { return width_; }
  int32_t StoredHeight() const { return height_; }

protected:
  WindowObject() = default;
  WindowObject(const WindowObject&) = default;
  WindowObject& operator=(const WindowObject&) = default;

private:
  HWND handle_ = nullptr;
  int32_t width_ = 0;
  int32_t height_ = 0;
  int32_t left_ = 0;
  int32_t top_ = 0;
  int32_t visible_ = 0;
  int32_t control_id_ = 0;
};
