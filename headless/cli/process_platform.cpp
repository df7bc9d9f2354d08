#include "process_platform.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <streambuf>

#include "headless/paths.h"

#ifdef _WIN32
#include <windows.h>
// windows.h first: shellapi.h needs its types.
#include <shellapi.h>
#else
#include <unistd.h>
#endif

namespace headless::cli {

std::string CurrentDirectory() {
  std::error_code ec;
  return Utf8Path(std::filesystem::current_path(ec));
}

#ifdef _WIN32

namespace {

bool IsConsole(DWORD which) {
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(which), &mode) != 0;
}

// Standard input read from the console as UTF-16 and handed on as UTF-8:
// reading a console in the UTF-8 code page loses non-ASCII characters.
class ConsoleInput : public std::streambuf {
 protected:
  int_type underflow() override {
    if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
    wchar_t wide[1024];
    DWORD got = 0;
    if (!ReadConsoleW(GetStdHandle(STD_INPUT_HANDLE), wide, 1024, &got, nullptr) || got == 0) {
      return traits_type::eof();
    }
    // A Ctrl+Z at the start of a line ends the input, as it does for a
    // console program reading bytes.
    if (wide[0] == 0x1A) return traits_type::eof();
    // A pair split across two reads is kept for the next.
    std::size_t size = got;
    std::wstring text = pending_ + std::wstring(wide, size);
    pending_.clear();
    if (!text.empty() && text.back() >= 0xD800 && text.back() <= 0xDBFF) {
      pending_ = text.back();
      text.pop_back();
    }
    buffer_ = Utf8Text(text);
    // Line ends as a file would have them.
    std::string::size_type at;
    while ((at = buffer_.find("\r\n")) != std::string::npos) buffer_.erase(at, 1);
    if (buffer_.empty()) return underflow();
    setg(buffer_.data(), buffer_.data(), buffer_.data() + buffer_.size());
    return traits_type::to_int_type(*gptr());
  }

 private:
  std::string buffer_;
  std::wstring pending_;
};

// The length of the text's start that ends with a whole character: a
// character whose bytes are not all written yet waits for the rest.
std::size_t WholeCharacters(const char* text, std::size_t size) {
  for (std::size_t back = 1; back <= 3 && back <= size; ++back) {
    const auto c = static_cast<unsigned char>(text[size - back]);
    if ((c & 0xC0) == 0x80) continue;  // a continuation byte
    const std::size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    return length > back ? size - back : size;
  }
  return size;
}

// Standard output or error on a console, written as UTF-16 with
// WriteConsoleW: the console shows every character whatever its code page,
// where UTF-8 bytes would be read in the code page, and a character split
// between two writes would show as two wrong ones on older consoles.
class ConsoleOutput : public std::streambuf {
 public:
  explicit ConsoleOutput(HANDLE console) : console_(console) {
    setp(buffer_, buffer_ + sizeof buffer_);
  }
  ~ConsoleOutput() override {
    sync();
    // What is left is no whole character: shown as U+FFFD.
    write(pbase(), static_cast<std::size_t>(pptr() - pbase()));
  }
  ConsoleOutput(const ConsoleOutput&) = delete;
  ConsoleOutput& operator=(const ConsoleOutput&) = delete;

 protected:
  int_type overflow(int_type c) override {
    if (sync() != 0) return traits_type::eof();
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
      *pptr() = traits_type::to_char_type(c);
      pbump(1);
    }
    return traits_type::not_eof(c);
  }

  int sync() override {
    const auto size = static_cast<std::size_t>(pptr() - pbase());
    const std::size_t whole = WholeCharacters(buffer_, size);
    if (!write(buffer_, whole)) return -1;
    std::memmove(buffer_, buffer_ + whole, size - whole);
    setp(buffer_, buffer_ + sizeof buffer_);
    pbump(static_cast<int>(size - whole));
    return 0;
  }

 private:
  // The progress line is cleared with "\x1b[K" (erase to the end of the
  // line). A console shows that as text unless the program turns on its
  // terminal mode, which not every console has: the console erases it here.
  bool write(const char* text, std::size_t size) {
    constexpr std::string_view kEraseLine = "\x1b[K";
    std::string_view rest(text, size);
    for (std::size_t at = rest.find(kEraseLine); at != std::string_view::npos;
         at = rest.find(kEraseLine)) {
      if (!writeText(rest.substr(0, at)) || !eraseLine()) return false;
      rest.remove_prefix(at + kEraseLine.size());
    }
    return writeText(rest);
  }

  bool writeText(std::string_view text) {
    const std::wstring wide = WideText(text);
    for (std::size_t at = 0; at < wide.size();) {
      DWORD written = 0;
      if (!WriteConsoleW(console_, wide.data() + at, static_cast<DWORD>(wide.size() - at), &written,
                         nullptr) ||
          written == 0) {
        return false;
      }
      at += written;
    }
    return true;
  }

  bool eraseLine() {
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (!GetConsoleScreenBufferInfo(console_, &info)) return false;
    const auto cells = static_cast<DWORD>(info.dwSize.X - info.dwCursorPosition.X);
    DWORD done = 0;
    return FillConsoleOutputCharacterW(console_, L' ', cells, info.dwCursorPosition, &done) != 0;
  }

  HANDLE console_;
  char buffer_[4096];
};

}  // namespace

std::vector<std::string> ProgramArguments(int, char**) {
  std::vector<std::string> args;
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide == nullptr) return args;
  for (int i = 1; i < count; ++i) args.push_back(Utf8Text(wide[i]));
  LocalFree(wide);
  return args;
}

std::optional<std::string> EnvironmentVariable(const char* name) {
  const std::wstring wideName = WideText(name);
  std::wstring value(256, L'\0');
  while (true) {
    SetLastError(ERROR_SUCCESS);
    const DWORD n =
        GetEnvironmentVariableW(wideName.c_str(), value.data(), static_cast<DWORD>(value.size()));
    if (n == 0) {
      if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
      return std::string();
    }
    if (n < value.size()) return Utf8Text(std::wstring_view(value.data(), n));
    value.resize(n);  // n counts the terminating null when the buffer is short
  }
}

std::string ProgramDirectory(const char*) {
  std::wstring path(MAX_PATH, L'\0');
  while (true) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return std::string();
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  return Utf8Path(std::filesystem::path(path).parent_path());
}

bool StdinIsTerminal() {
  return IsConsole(STD_INPUT_HANDLE);
}

bool StderrIsTerminal() {
  return IsConsole(STD_ERROR_HANDLE);
}

struct Utf8Console::Saved {
  std::unique_ptr<ConsoleOutput> out;
  std::unique_ptr<ConsoleOutput> err;
  std::streambuf* outBefore = nullptr;
  std::streambuf* errBefore = nullptr;
  std::unique_ptr<ConsoleInput> buffer;
  std::unique_ptr<std::istream> stream;
};

Utf8Console::Utf8Console() : saved_(std::make_unique<Saved>()) {
  if (IsConsole(STD_OUTPUT_HANDLE)) {
    saved_->out = std::make_unique<ConsoleOutput>(GetStdHandle(STD_OUTPUT_HANDLE));
    saved_->outBefore = std::cout.rdbuf(saved_->out.get());
  }
  if (IsConsole(STD_ERROR_HANDLE)) {
    saved_->err = std::make_unique<ConsoleOutput>(GetStdHandle(STD_ERROR_HANDLE));
    saved_->errBefore = std::cerr.rdbuf(saved_->err.get());
  }
  if (IsConsole(STD_INPUT_HANDLE)) {
    saved_->buffer = std::make_unique<ConsoleInput>();
    saved_->stream = std::make_unique<std::istream>(saved_->buffer.get());
  }
}

Utf8Console::~Utf8Console() {
  std::cout.flush();
  std::cerr.flush();
  if (saved_->outBefore) std::cout.rdbuf(saved_->outBefore);
  if (saved_->errBefore) std::cerr.rdbuf(saved_->errBefore);
}

std::istream& Utf8Console::input() {
  return saved_->stream ? *saved_->stream : std::cin;
}

#else

std::vector<std::string> ProgramArguments(int argc, char** argv) {
  return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

std::optional<std::string> EnvironmentVariable(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr) return std::nullopt;
  return std::string(value);
}

std::string ProgramDirectory(const char* argv0) {
  std::error_code ec;
  std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec || self.empty()) self = std::filesystem::absolute(FsPath(argv0 ? argv0 : ""), ec);
  return Utf8Path(self.parent_path());
}

bool StdinIsTerminal() {
  return isatty(STDIN_FILENO) != 0;
}

bool StderrIsTerminal() {
  return isatty(STDERR_FILENO) != 0;
}

struct Utf8Console::Saved {};

Utf8Console::Utf8Console() : saved_(std::make_unique<Saved>()) {}

Utf8Console::~Utf8Console() = default;

std::istream& Utf8Console::input() {
  return std::cin;
}

#endif

}  // namespace headless::cli
