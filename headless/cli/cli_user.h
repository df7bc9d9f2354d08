// The user behind the host when the program runs a command: answers the
// plug-in's dialogs from --yes, --answer and --choose, asks on the terminal
// when there is no such answer and standard input is one, and otherwise
// cancels (the safe default), printing the dialog's text. Notes, warnings
// and console lines go to standard error; the book's status line shows as
// a progress line when standard error is a terminal.
#ifndef VELTRANO_HEADLESS_CLI_CLI_USER_H
#define VELTRANO_HEADLESS_CLI_CLI_USER_H

#include <cstddef>
#include <string>
#include <vector>

#include "cli_io.h"
#include "headless/host.h"
#include "options.h"

namespace headless::cli {

class CliUser : public User {
 public:
  CliUser(const Options& options, CliIo& io);

  Answer ask(const DialogRecord& dialog) override;
  void shown(const DialogRecord& dialog) override;
  void console(const std::string& text) override;
  void statusLine(const StatusLineRecord& line) override;

  // Warnings shown and console text written.
  int warnings() const { return warnings_; }
  bool wroteConsole() const { return wroteConsole_; }
  // Dialogs cancelled because no answer was given for them.
  int safeCancels() const { return safeCancels_; }
  std::size_t unusedAnswers() const { return answers_.size() - nextAnswer_; }
  std::size_t unusedChoices() const { return choices_.size() - nextChoice_; }
  // Prints a line of the program's own on standard error, taking the
  // progress line away first.
  void say(const std::string& line);
  // Ends a progress line still showing.
  void endProgress();

 private:
  Answer askTerminal(const DialogRecord& dialog);
  Answer cancelled(const std::string& what, const std::string& text, const std::string& hint);
  bool readLine(std::string& line);

  CliIo& io_;
  bool yes_;
  bool verbose_;
  std::vector<std::string> answers_;
  std::vector<int32_t> choices_;
  std::size_t nextAnswer_ = 0;
  std::size_t nextChoice_ = 0;
  int warnings_ = 0;
  bool wroteConsole_ = false;
  int safeCancels_ = 0;
  bool progress_ = false;
  bool consoleLineOpen_ = false;  // console text so far ended inside a line
};

}  // namespace headless::cli

#endif
