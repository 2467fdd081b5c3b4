// The run log: what each batch found, saved or missed, one line per event,
// every line ended by CR LF. It lives in memory for the whole run (every
// batch appends to what the earlier ones left) and is written whole to
// "temp.txt" beside the program at the end of every batch.
#pragma once

#include "runtime/text_value.h"

#include <cstddef>

// A code page 936 text that grows at its end. Its block keeps spare room, so
// that appending a line costs time in proportion to the line, not the log.
class LogText {
public:
  LogText() = default;
  LogText(const LogText&) = delete;
  LogText& operator=(const LogText&) = delete;
  ~LogText() { Free(); }

  void Append(TextRef line);
  TextRef Text() const { return TextRef(text_); }
  int32_t Length() const { return static_cast<int32_t>(length_); }
  void Free();

private:
  char* text_ = nullptr;
  size_t length_ = 0;
  size_t capacity_ = 0;
};

extern LogText RunLog;

// Appends the line and CR LF to RunLog.
void AppendLog(TextRef line);
// The run directory followed by "\\temp.txt", built afresh at every call.
TextValue LogFilePath();
// Writes RunLog to LogFilePath; a failed write is silent and the lines stay
// for the next batch's end.
void WriteLogFile();
