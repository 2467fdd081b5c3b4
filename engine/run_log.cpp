#include "engine/run_log.h"

#include "runtime/block.h"
#include "runtime/byte_set.h"
#include "runtime/files.h"
#include "runtime/run_directory.h"
#include "runtime/to_text.h"

#include <cstring>

LogText RunLog;

void LogText::Append(TextRef line) {
  size_t n = static_cast<size_t>(line.Length());
  size_t needed = length_ + n + 2 + 1;
  if (needed > capacity_) {
    size_t grown = needed + needed / 2;
    text_ = static_cast<char*>(ResizeBlock(text_, grown));
    capacity_ = grown;
  }
  std::memcpy(text_ + length_, line.Bytes(), n);
  std::memcpy(text_ + length_ + n, "\r\n", 3);
  length_ += n + 2;
}

void LogText::Free() {
  FreeBlock(text_);
  text_ = nullptr;
  length_ = capacity_ = 0;
}

void AppendLog(TextRef line) { RunLog.Append(line); }

TextValue LogFilePath() { return ConcatTexts({GetRunDirectory(), "\\temp.txt"}); }

void WriteLogFile() {
  TextValue path = LogFilePath();
  ByteSet bytes = ToBytes(CommandArg::Text(RunLog.Text().Pointer()));
  WriteToFile(path, {bytes});
}
