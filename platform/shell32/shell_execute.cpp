#include "shell32/shell_execute.h"

#include "kernel32/conversion.h"
#include "kernel32/path.h"
#include "shell32/detached_process.h"
#include "shell32/executable_search.h"
#include "shell32/parameter_words.h"

#include <sys/stat.h>

#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace {

enum class Opener { None, Open, Explore, Print };

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size())
    return false;
  for (size_t i = 0; i < a.size(); i++) {
    char x = a[i] >= 'A' && a[i] <= 'Z' ? static_cast<char>(a[i] - 'A' + 'a') : a[i];
    if (x != b[i])
      return false;
  }
  return true;
}

Opener OpenerFor(LPCSTR verb) {
  std::string_view v = verb ? verb : "";
  if (v.empty() || EqualsIgnoringCase(v, "open") || EqualsIgnoringCase(v, "edit"))
    return Opener::Open;
  if (EqualsIgnoringCase(v, "explore"))
    return Opener::Explore;
  if (EqualsIgnoringCase(v, "print"))
    return Opener::Print;
  // "find" included: searching has no desktop program here.
  return Opener::None;
}

enum class Kind { Missing, Folder, Other };

Kind KindOf(const std::string& path) {
  struct stat info;
  if (::stat(path.c_str(), &info) != 0)
    return Kind::Missing;
  return S_ISDIR(info.st_mode) ? Kind::Folder : Kind::Other;
}

// Where the file is seen from here: the program runs in the directory, so a
// relative file is looked for inside it.
std::string PathSeenHere(const std::string& file, const std::string& directory) {
  if (file[0] == '/' || directory.empty())
    return file;
  return directory + "/" + file;
}

// The file as the program receives it, never mistaken for an option.
std::string FileArgument(const std::string& file) { return file[0] == '-' ? "./" + file : file; }

struct Request {
  Opener opener;
  std::string file;
  std::string directory;
  std::vector<std::string> words;
};

int Run(const Request& request) {
  if (request.opener == Opener::None)
    return SE_ERR_NOASSOC;
  if (request.file.empty())
    return SE_ERR_FNF;
  if (!request.directory.empty() && KindOf(request.directory) != Kind::Folder)
    return SE_ERR_PNF;
  Kind kind = KindOf(PathSeenHere(request.file, request.directory));
  if (kind == Kind::Missing)
    return SE_ERR_FNF;
  if (request.opener == Opener::Explore && kind != Kind::Folder)
    return SE_ERR_NOASSOC;

  const char* name = request.opener == Opener::Print ? "lp" : "xdg-open";
  std::string program = FindOnPath(name);
  if (program.empty())
    return SE_ERR_NOASSOC;
  std::vector<std::string> arguments{name, FileArgument(request.file)};
  arguments.insert(arguments.end(), request.words.begin(), request.words.end());
  return StartDetached(program, arguments, request.directory);
}

std::mutex observer_mutex;
PlatformShellExecuteObserver observer = nullptr;
void* observer_context = nullptr;

void Notify(const PlatformShellExecuteCall& call) {
  PlatformShellExecuteObserver notify;
  void* context;
  {
    std::lock_guard lock(observer_mutex);
    notify = observer;
    context = observer_context;
  }
  if (notify)
    notify(&call, context);
}

} // namespace

HINSTANCE ShellExecuteA(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                        INT showCommand) {
  Request request{OpenerFor(verb), platform::PathToUtf8(file ? file : ""),
                  platform::PathToUtf8(directory ? directory : ""),
                  SplitParameterWords(platform::Cp936ToUtf8(parameters ? parameters : ""))};
  auto result = reinterpret_cast<HINSTANCE>(static_cast<intptr_t>(Run(request)));
  Notify({owner, verb, file, parameters, directory, showCommand, result});
  return result;
}

void PlatformTestSetShellExecuteObserver(PlatformShellExecuteObserver o, void* context) {
  std::lock_guard lock(observer_mutex);
  observer = o;
  observer_context = context;
}
