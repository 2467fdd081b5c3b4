#include "runtime/service_entry.h"

#include "kernel32/process.h"
#include "runtime/block.h"
#include "runtime/command_arg.h"
#include "runtime/run_directory.h"
#include "runtime/runtime_frame.h"
#include "runtime/value_array.h"
#include "user32/message.h"
#include "user32/message_box.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

intptr_t Handing(TextValue text) {
  // The component hands the text on as a block the program releases.
  if (text.IsNull())
    text = ConcatTexts({});
  return reinterpret_cast<intptr_t>(text.Release());
}

intptr_t ArgumentToInteger(const CommandArg* arg) {
  if (!arg)
    return 0;
  switch (arg->type) {
  case TypeCode::Long:
    return static_cast<intptr_t>(static_cast<int32_t>(arg->AsLong()));
  case TypeCode::Double:
  case TypeCode::DateTime:
    return static_cast<intptr_t>(static_cast<int32_t>(std::trunc(arg->AsDouble())));
  case TypeCode::Float:
    return static_cast<intptr_t>(static_cast<int32_t>(std::trunc(arg->AsFloat())));
  case TypeCode::Text:
    return std::strtol(TextRef(static_cast<const char*>(arg->AsPointer())).Bytes(), nullptr, 10);
  case TypeCode::Byte:
    return static_cast<uint8_t>(arg->low);
  case TypeCode::Short:
    return static_cast<int16_t>(arg->low);
  default:
    return arg->AsInteger();
  }
}

void ReleaseArray(uint32_t elementKind, void* block) {
  if (!block || IsStaticValue(block))
    return;
  uint32_t kind = TypeCode::BaseKind(elementKind);
  if (kind == TypeCode::Text || kind == TypeCode::Bytes) {
    int32_t count = ArrayCount(block);
    void* element;
    for (int32_t i = 0; i < count; i++) {
      std::memcpy(&element, ArrayElements(block) + i * sizeof element, sizeof element);
      FreeBlock(element);
    }
  }
  FreeBlock(block);
}

TextValue ProgramFileName() {
  TextValue path = ProgramFilePath();
  TextValue directory = GetRunDirectory();
  int32_t skip = directory.Length() + 1;
  return skip < path.Length() ? TextValue::Copy(path.Bytes() + skip, static_cast<size_t>(path.Length() - skip))
                              : TextValue();
}

// Dispatches the window messages that are waiting for the calling thread.
void ProcessWaitingMessages() {
  MSG message{};
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    // The quit request belongs to the message loop: hand it back.
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

[[noreturn]] void RuntimeErrorBox(const char* message) {
  TextValue text = ConcatTexts({"Morvath RunTime Error:\r\n\r\n", TextRef(message)});
  MessageBoxA(nullptr, text.Bytes(), "ERROR", MB_ICONERROR);
  ExitProgram(0);
}

intptr_t Unsupported(int32_t code) {
  char text[128];
  std::snprintf(text, sizeof text, "不支持系统功能函数%d. 请将此信息反馈给作者", code);
  MessageBoxA(nullptr, text, "morvath", MB_ICONERROR);
  return 0;
}

} // namespace

intptr_t ServiceEntry(int32_t code, intptr_t a1, intptr_t a2) {
  switch (code) {
  case ServiceCode::AllocBlock:
    return reinterpret_cast<intptr_t>(AllocBlock(static_cast<size_t>(a1)));
  case ServiceCode::FreeBlock:
    FreeBlock(reinterpret_cast<void*>(a1));
    return 0;
  case ServiceCode::ResizeBlock:
    return reinterpret_cast<intptr_t>(ResizeBlock(reinterpret_cast<void*>(a1), static_cast<size_t>(a2)));
  case ServiceCode::ReleaseArray:
    ReleaseArray(static_cast<uint32_t>(a1), reinterpret_cast<void*>(a2));
    return 0;
  case ServiceCode::ProgramDirectory:
    return Handing(GetRunDirectory());
  case ServiceCode::ProgramPath:
    return Handing(ProgramFilePath());
  case ServiceCode::ProgramFileName:
    return Handing(ProgramFileName());
  case ServiceCode::CommandTail:
    return Handing(TextValue::Copy(TextRef(PlatformCommandTail())));
  case ServiceCode::ArgumentToInteger:
    return ArgumentToInteger(reinterpret_cast<const CommandArg*>(a1));
  case ServiceCode::ProcessMessages:
    ProcessWaitingMessages();
    return 0;
  case ServiceCode::RuntimeErrorBox:
    RuntimeErrorBox(reinterpret_cast<const char*>(a1));
  case ServiceCode::ExitProgram:
    ExitProgram(static_cast<int32_t>(a1));
  case ServiceCode::ProgramWindowCount:
  case ServiceCode::ProgramWindow:
    return 0;
  case 1004:
    return 1;
  case 1005:
    return 4;
  case 2030:
    return 3;
  default:
    return Unsupported(code);
  }
}
