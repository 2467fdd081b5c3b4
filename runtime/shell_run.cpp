#include "runtime/shell_run.h"

#include "shell32/shell_execute.h"

namespace {

const char* VerbFor(std::optional<int32_t> index) {
  static const char* const kVerbs[] = {"edit", "explore", "find", "open", "print"};
  if (!index || *index < 1 || *index > 5)
    return nullptr;
  return kVerbs[*index - 1];
}

INT ShowCommandFor(std::optional<int32_t> index) {
  // SW_HIDE, SW_SHOWNORMAL, SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED, SW_SHOWNA, SW_MINIMIZE.
  static const INT kShowCommands[] = {0, 1, 2, 3, 8, 6};
  constexpr INT kShowNormal = 1;
  if (!index || *index < 1 || *index > 6)
    return kShowNormal;
  return kShowCommands[*index - 1];
}

} // namespace

void ShellRun(std::optional<int32_t> verbIndex, TextRef file, std::optional<TextRef> parameters,
              std::optional<TextRef> directory, std::optional<int32_t> showMode) {
  const char* given_parameters = parameters ? parameters->Bytes() : nullptr;
  TextRef working_directory = directory.value_or(TextRef(""));
  ShellExecuteA(nullptr, VerbFor(verbIndex), file.Bytes(), given_parameters, working_directory.Bytes(),
                ShowCommandFor(showMode));
}
