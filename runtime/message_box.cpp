#include "runtime/message_box.h"

#include "runtime/to_text.h"
#include "user32/message_box.h"

namespace {

bool ShownAsText(uint32_t type) {
  switch (type) {
  case TypeCode::Integer:
  case TypeCode::Subroutine:
  case TypeCode::Byte:
  case TypeCode::Short:
  case TypeCode::Long:
  case TypeCode::Float:
  case TypeCode::Double:
  case TypeCode::Logical:
  case TypeCode::DateTime:
  case TypeCode::Text:
    return true;
  default:
    return false;
  }
}

} // namespace

int32_t ShowMessageBox(const CommandArg& message, int32_t style, std::optional<TextRef> title) {
  TextValue text = ShownAsText(message.type) ? ToText(message) : TextValue();
  TextRef caption = title.value_or(TextRef("信息"));
  int pressed = MessageBoxA(nullptr, text.Bytes(), caption.Bytes(), static_cast<UINT>(style));
  return pressed - 1;
}
