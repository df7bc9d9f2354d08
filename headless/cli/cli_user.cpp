#include "cli_user.h"

#include <istream>
#include <ostream>

#include "headless/utf8.h"

namespace headless::cli {

namespace {

std::string Lower(std::string s) {
  for (char& c : s) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return s;
}

// A terminal answer to a choice list may be refused this often before the
// list is cancelled.
constexpr int kChoiceTries = 3;

}  // namespace

CliUser::CliUser(const Options& options, CliIo& io)
    : io_(io),
      yes_(options.yes),
      verbose_(options.verbose),
      answers_(options.answers),
      choices_(options.choices) {}

void CliUser::endProgress() {
  if (!progress_) return;
  io_.err << "\r\x1b[K" << std::flush;
  progress_ = false;
}

void CliUser::say(const std::string& line) {
  endProgress();
  if (consoleLineOpen_) {
    io_.err << '\n';
    consoleLineOpen_ = false;
  }
  // Names and texts may come from a file: nothing reaches the terminal raw.
  io_.err << PrintableText(line) << '\n' << std::flush;
}

bool CliUser::readLine(std::string& line) {
  if (!std::getline(io_.in, line)) return false;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

Answer CliUser::cancelled(const std::string& what, const std::string& text,
                          const std::string& hint) {
  ++safeCancels_;
  say("veltrano: cancelled " + what + " (" + hint + "): " + text);
  return Answer::Cancel();
}

Answer CliUser::ask(const DialogRecord& dialog) {
  switch (dialog.type) {
    case DialogRecord::Type::Alert:
      if (yes_) {
        if (verbose_) say("veltrano: confirmed: " + dialog.text);
        return Answer::Ok();
      }
      if (io_.inTerminal) return askTerminal(dialog);
      return cancelled("a confirmation", dialog.text, "--yes confirms");
    case DialogRecord::Type::Prompt:
      if (nextAnswer_ < answers_.size()) {
        if (verbose_) say("veltrano: answered: " + dialog.text);
        return Answer::Text(answers_[nextAnswer_++]);
      }
      if (io_.inTerminal) return askTerminal(dialog);
      return cancelled("a prompt", dialog.text, "--answer TEXT answers it");
    case DialogRecord::Type::ScrollBox: {
      if (nextChoice_ < choices_.size()) {
        const int32_t n = choices_[nextChoice_++];
        if (n > static_cast<int32_t>(dialog.lines.size())) {
          return cancelled("a choice list", dialog.title,
                           "--choose " + std::to_string(n) + " is past its " +
                               std::to_string(dialog.lines.size()) + " lines");
        }
        if (verbose_) say("veltrano: chose " + dialog.lines[static_cast<std::size_t>(n - 1)]);
        return Answer::Choice(n - 1);
      }
      if (io_.inTerminal) return askTerminal(dialog);
      return cancelled("a choice list", dialog.title, "--choose N chooses line N");
    }
  }
  return Answer::Cancel();
}

Answer CliUser::askTerminal(const DialogRecord& dialog) {
  endProgress();
  std::string line;
  switch (dialog.type) {
    case DialogRecord::Type::Alert:
      io_.err << dialog.text << "\nOK or Cancel? [o/C] " << std::flush;
      if (!readLine(line)) return Answer::Cancel();
      line = Lower(line);
      return line == "o" || line == "ok" || line == "y" || line == "yes" ? Answer::Ok()
                                                                         : Answer::Cancel();
    case DialogRecord::Type::Prompt:
      io_.err << dialog.text;
      if (!dialog.defaultAnswer.empty()) io_.err << " [" << dialog.defaultAnswer << "]";
      io_.err << " (end of input cancels): " << std::flush;
      if (!readLine(line)) return Answer::Cancel();
      return line.empty() ? Answer::Ok() : Answer::Text(line);
    case DialogRecord::Type::ScrollBox: {
      io_.err << dialog.title << "\n";
      for (std::size_t i = 0; i < dialog.lines.size(); ++i) {
        io_.err << "  " << (i + 1) << ". " << dialog.lines[i] << "\n";
      }
      const auto count = static_cast<int32_t>(dialog.lines.size());
      const bool preselected = dialog.defaultItem >= 0 && dialog.defaultItem < count;
      for (int tries = 0; tries < kChoiceTries; ++tries) {
        if (preselected) {
          io_.err << "Line number [" << (dialog.defaultItem + 1) << "] (c cancels): ";
        } else {
          io_.err << "Line number (empty or c cancels): ";
        }
        io_.err << std::flush;
        if (!readLine(line)) return Answer::Cancel();
        if (line.empty()) return preselected ? Answer::Ok() : Answer::Cancel();
        if (Lower(line) == "c") return Answer::Cancel();
        int32_t n = 0;
        bool digits = line.size() <= 9;
        for (char c : line) {
          if (c < '0' || c > '9') digits = false;
        }
        if (digits) n = std::stoi(line);
        if (n >= 1 && n <= count) return Answer::Choice(n - 1);
        io_.err << "Not a line of the list.\n";
      }
      return Answer::Cancel();
    }
  }
  return Answer::Cancel();
}

void CliUser::shown(const DialogRecord& dialog) {
  if (dialog.type != DialogRecord::Type::Alert) return;
  if (dialog.alertType == host::kAlertNote) {
    say("note: " + dialog.text);
  } else if (dialog.alertType == host::kAlertWarning) {
    ++warnings_;
    say("warning: " + dialog.text);
  }
}

void CliUser::console(const std::string& text) {
  if (text.empty()) return;
  endProgress();
  wroteConsole_ = true;
  io_.err << text << std::flush;
  consoleLineOpen_ = text.back() != '\n';
}

void CliUser::statusLine(const StatusLineRecord& line) {
  if (io_.errTerminal) {
    endProgress();
    if (line.text.empty()) return;
    if (consoleLineOpen_) {
      io_.err << '\n';
      consoleLineOpen_ = false;
    }
    io_.err << line.text << std::flush;
    progress_ = true;
  } else if (verbose_ && !line.text.empty()) {
    say(line.text);
  }
}

}  // namespace headless::cli
