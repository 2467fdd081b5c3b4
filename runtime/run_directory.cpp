#include "runtime/run_directory.h"

#include "kernel32/process.h"

TextValue ProgramFilePath() {
  char path[261] = {};
  // A path that does not fit is cut; the buffer always ends with a zero byte.
  GetModuleFileNameA(nullptr, path, 260);
  return TextValue::Copy(TextRef(path));
}

TextValue GetRunDirectory() {
  TextValue path = ProgramFilePath();
  const char* bytes = path.Bytes();
  int32_t cut = -1;
  for (int32_t i = 0; bytes[i];) {
    auto b = static_cast<unsigned char>(bytes[i]);
    if (b == '\\' || b == '/')
      cut = i;
    // A separator byte can be the second byte of a two-byte character.
    i += (b >= 0x80 && bytes[i + 1]) ? 2 : 1;
  }
  TextValue directory = TextValue::Copy(bytes, cut > 0 ? static_cast<size_t>(cut) : 0);
  return directory.IsNull() ? ConcatTexts({}) : directory;
}
