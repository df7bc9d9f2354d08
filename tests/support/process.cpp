#include "process.h"

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "headless/paths.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;
#endif

namespace vtrtest {

namespace {

namespace fs = std::filesystem;

std::atomic<unsigned> g_runs{0};

// Files in the temporary folder for the program's streams, removed after.
struct StreamFiles {
  StreamFiles() {
    const std::string stem =
        "vtr-process-" + std::to_string(ProcessId()) + "-" + std::to_string(g_runs++);
    const fs::path tmp = fs::temp_directory_path();
    in = tmp / (stem + ".in");
    out = tmp / (stem + ".out");
    err = tmp / (stem + ".err");
  }
  ~StreamFiles() {
    std::error_code ec;
    for (const fs::path& p : {in, out, err}) fs::remove(p, ec);
  }
  static unsigned long ProcessId() {
#ifdef _WIN32
    return GetCurrentProcessId();
#else
    return static_cast<unsigned long>(getpid());
#endif
  }
  // What the program wrote; a Windows program's text-mode streams end
  // lines with "\r\n", read back as "\n".
  static std::string Read(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    std::string out = text.str();
#ifdef _WIN32
    for (std::size_t at = 0; (at = out.find("\r\n", at)) != std::string::npos;) out.erase(at, 1);
#endif
    return out;
  }
  fs::path in, out, err;
};

bool SameName(const std::string& a, const std::string& b) {
#ifdef _WIN32
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
#else
  return a == b;
#endif
}

// The current environment less `unset` and the names in `set`, then `set`.
std::vector<std::string> Environment(const ProcessOptions& options,
                                     const std::vector<std::string>& current) {
  std::vector<std::string> env;
  for (const std::string& entry : current) {
    // On Windows, entries such as "=C:=C:\dir" start with '='.
    const std::size_t eq = entry.find('=', 1);
    const std::string name = entry.substr(0, eq);
    bool drop = false;
    for (const std::string& u : options.unset) drop = drop || SameName(name, u);
    for (const auto& s : options.set) drop = drop || SameName(name, s.first);
    if (!drop) env.push_back(entry);
  }
  for (const auto& [name, value] : options.set) env.push_back(name + "=" + value);
  return env;
}

}  // namespace

#ifdef _WIN32

namespace {

// One argument as the C runtime's command-line parser reads it back.
std::wstring Quoted(const std::wstring& arg) {
  if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring::npos) return arg;
  std::wstring out = L"\"";
  std::size_t backslashes = 0;
  for (wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    if (c == L'"')
      out.append(backslashes * 2 + 1, L'\\');
    else
      out.append(backslashes, L'\\');
    backslashes = 0;
    out += c;
  }
  out.append(backslashes * 2, L'\\');
  out += L'"';
  return out;
}

HANDLE Inheritable(const fs::path& path, DWORD access, DWORD creation) {
  SECURITY_ATTRIBUTES sa{sizeof(sa), nullptr, TRUE};
  return CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa, creation,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const ProcessOptions& options) {
  ProcessResult result;
  StreamFiles files;
  std::wstring commandLine = Quoted(headless::WideText(program));
  for (const std::string& a : args) commandLine += L" " + Quoted(headless::WideText(a));

  std::vector<std::string> current;
  if (wchar_t* block = GetEnvironmentStringsW()) {
    for (const wchar_t* p = block; *p; p += wcslen(p) + 1) current.push_back(headless::Utf8Text(p));
    FreeEnvironmentStringsW(block);
  }
  std::wstring envBlock;
  for (const std::string& entry : Environment(options, current)) {
    envBlock += headless::WideText(entry);
    envBlock += L'\0';
  }
  envBlock += L'\0';

  HANDLE in = INVALID_HANDLE_VALUE;
  if (options.input) {
    std::ofstream(files.in, std::ios::binary) << *options.input;
    in = Inheritable(files.in, GENERIC_READ, OPEN_EXISTING);
  } else {
    in = Inheritable(L"NUL", GENERIC_READ, OPEN_EXISTING);
  }
  HANDLE out = Inheritable(files.out, GENERIC_WRITE, CREATE_ALWAYS);
  HANDLE err = Inheritable(files.err, GENERIC_WRITE, CREATE_ALWAYS);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = in;
  startup.hStdOutput = out;
  startup.hStdError = err;
  PROCESS_INFORMATION process{};
  const BOOL started = in != INVALID_HANDLE_VALUE && out != INVALID_HANDLE_VALUE &&
                       err != INVALID_HANDLE_VALUE &&
                       CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE,
                                      CREATE_UNICODE_ENVIRONMENT | CREATE_NO_WINDOW,
                                      envBlock.data(), nullptr, &startup, &process);
  for (HANDLE h : {in, out, err}) {
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
  if (!started) return result;
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 0;
  if (GetExitCodeProcess(process.hProcess, &code)) result.status = static_cast<int>(code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  result.out = StreamFiles::Read(files.out);
  result.err = StreamFiles::Read(files.err);
  return result;
}

#else

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const ProcessOptions& options) {
  ProcessResult result;
  StreamFiles files;
  if (options.input) std::ofstream(files.in, std::ios::binary) << *options.input;

  std::vector<std::string> current;
  for (char** e = environ; *e; ++e) current.emplace_back(*e);
  std::vector<std::string> env = Environment(options, current);
  std::vector<char*> envp;
  for (std::string& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  std::vector<std::string> argStrings{program};
  argStrings.insert(argStrings.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& a : argStrings) argv.push_back(a.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, options.input ? files.in.c_str() : "/dev/null",
                                   O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, files.out.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  posix_spawn_file_actions_addopen(&actions, 2, files.err.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  pid_t pid = 0;
  // Searched for in PATH when it names no folder, as on Windows.
  const int spawned =
      posix_spawnp(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return result;
  int raw = 0;
  while (waitpid(pid, &raw, 0) < 0) {
    if (errno != EINTR) return result;
  }
  result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  result.out = StreamFiles::Read(files.out);
  result.err = StreamFiles::Read(files.err);
  return result;
}

#endif

}  // namespace vtrtest
