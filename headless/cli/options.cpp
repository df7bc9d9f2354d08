#include "options.h"

#include <charconv>
#include <limits>

namespace headless::cli {

namespace {

enum class Takes { Nothing, Value };

struct Spec {
  const char* name;
  Takes takes;
  bool run;       // allowed when running a command
  bool dump;      // allowed with dump
  bool commands;  // allowed with commands
  bool check;     // allowed with check
};

constexpr Spec kOptions[] = {
    {"--help", Takes::Nothing, true, true, true, true},
    {"--version", Takes::Nothing, true, true, true, true},
    {"--plugin", Takes::Value, true, false, true, true},
    {"--home", Takes::Value, true, false, true, true},
    {"--message", Takes::Value, true, false, false, false},
    {"--at", Takes::Value, true, false, false, false},
    {"--yes", Takes::Nothing, true, false, false, false},
    {"--answer", Takes::Value, true, false, false, false},
    {"--choose", Takes::Value, true, false, false, false},
    {"--dry-run", Takes::Nothing, true, false, false, false},
    {"--output", Takes::Value, true, false, false, false},
    {"--json", Takes::Nothing, false, true, false, true},
    {"--verbose", Takes::Nothing, true, false, true, false},
    {"--add-index", Takes::Nothing, true, false, false, false},
};

const Spec* FindOption(const std::string& name) {
  for (const Spec& s : kOptions) {
    if (name == s.name) return &s;
  }
  return nullptr;
}

// A whole decimal number in [min, max].
template <typename T>
bool Number(const std::string& text, T min, T max, T* out) {
  if (text.empty()) return false;
  T v{};
  const char* end = text.data() + text.size();
  auto [p, ec] = std::from_chars(text.data(), end, v);
  if (ec != std::errc() || p != end || v < min || v > max) return false;
  *out = v;
  return true;
}

bool ParseAt(const std::string& text, InsertionPoint* at) {
  const std::size_t colon = text.find(':');
  const std::string para = text.substr(0, colon);
  if (!Number(para, 1, std::numeric_limits<int>::max(), &at->paragraph)) return false;
  at->offset = 0;
  if (colon == std::string::npos) return true;
  return Number(text.substr(colon + 1), uint32_t{0}, uint32_t{0x3FFFFFFF}, &at->offset);
}

// Stores one option's value; an error text, or "".
std::string Apply(const std::string& name, const std::string& value, Options& o) {
  if (name == "--help") {
    o.mode = Options::Mode::Help;
  } else if (name == "--version") {
    if (o.mode != Options::Mode::Help) o.mode = Options::Mode::Version;
  } else if (name == "--plugin") {
    o.plugin = value;
  } else if (name == "--home") {
    o.home = value;
  } else if (name == "--message") {
    o.messages.push_back(value);
  } else if (name == "--at") {
    InsertionPoint at;
    if (!ParseAt(value, &at)) {
      return "--at takes PARA or PARA:OFFSET (paragraph numbers from 1, as dump shows them), not " +
             value;
    }
    o.at = at;
  } else if (name == "--yes") {
    o.yes = true;
  } else if (name == "--answer") {
    o.answers.push_back(value);
  } else if (name == "--choose") {
    int32_t n = 0;
    if (!Number(value, int32_t{1}, std::numeric_limits<int32_t>::max(), &n)) {
      return "--choose takes a line number from 1, not " + value;
    }
    o.choices.push_back(n);
  } else if (name == "--dry-run") {
    o.dryRun = true;
  } else if (name == "--output") {
    if (value.empty()) return "--output takes a directory";
    o.output = value;
  } else if (name == "--json") {
    o.json = true;
  } else if (name == "--verbose") {
    o.verbose = true;
  } else if (name == "--add-index") {
    o.addIndex = true;
  }
  return {};
}

bool Allowed(const Spec& s, Options::Mode mode) {
  switch (mode) {
    case Options::Mode::Dump:
      return s.dump;
    case Options::Mode::Commands:
      return s.commands;
    case Options::Mode::Check:
      return s.check;
    default:
      return s.run;
  }
}

}  // namespace

Parsed ParseArgs(const std::vector<std::string>& args) {
  Parsed parsed;
  Options& o = parsed.options;
  std::vector<std::string> words;
  std::vector<std::string> seen;  // options given, to check them against the mode
  bool optionsEnd = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = !optionsEnd && args[i] == "-h" ? std::string("--help") : args[i];
    if (optionsEnd || arg.size() < 2 || arg.rfind("--", 0) != 0) {
      if (!optionsEnd && arg.size() > 1 && arg[0] == '-') {
        parsed.error = "unknown option " + arg;
        return parsed;
      }
      words.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnd = true;
      continue;
    }
    const std::size_t eq = arg.find('=');
    const std::string name = arg.substr(0, eq);
    const Spec* spec = FindOption(name);
    if (!spec) {
      parsed.error = "unknown option " + name;
      return parsed;
    }
    std::string value;
    if (spec->takes == Takes::Value) {
      if (eq != std::string::npos) {
        value = arg.substr(eq + 1);
      } else if (i + 1 < args.size()) {
        value = args[++i];
      } else {
        parsed.error = name + " needs a value";
        return parsed;
      }
    } else if (eq != std::string::npos) {
      parsed.error = name + " takes no value";
      return parsed;
    }
    if (std::string why = Apply(name, value, o); !why.empty()) {
      parsed.error = why;
      return parsed;
    }
    seen.push_back(name);
  }
  if (o.mode == Options::Mode::Help || o.mode == Options::Mode::Version) return parsed;
  if (words.empty()) {
    parsed.error = "no command given";
    return parsed;
  }
  if (words[0] == "dump") {
    o.mode = Options::Mode::Dump;
  } else if (words[0] == "commands") {
    o.mode = Options::Mode::Commands;
  } else if (words[0] == "check") {
    o.mode = Options::Mode::Check;
  } else {
    o.mode = Options::Mode::Run;
    o.command = words[0];
  }
  o.files.assign(words.begin() + 1, words.end());
  for (const std::string& name : seen) {
    if (!Allowed(*FindOption(name), o.mode)) {
      parsed.error = name + " does not go with " +
                     (o.mode == Options::Mode::Run ? "running a command" : words[0]);
      return parsed;
    }
  }
  if (o.mode == Options::Mode::Dump && o.files.size() != 1) {
    parsed.error = "dump takes one file";
  } else if (o.mode == Options::Mode::Check && o.files.empty()) {
    parsed.error = "check takes one or more documents or books";
  } else if (o.mode == Options::Mode::Commands && !o.files.empty()) {
    parsed.error = "commands takes no files";
  } else if (o.dryRun && o.output) {
    parsed.error = "--dry-run writes nothing; it does not go with --output";
  } else if (o.addIndex && o.command != "generate") {
    parsed.error = "--add-index goes with generate";
  } else if (o.command == "generate" && o.files.size() != 1) {
    parsed.error = "generate takes one book";
  } else if (o.at && o.files.empty()) {
    parsed.error = "--at needs a document to put the insertion point in";
  }
  return parsed;
}

std::string UsageText() {
  return R"(usage: veltrano [options] COMMAND [FILE...]
       veltrano [options] generate [--add-index] BOOK
       veltrano dump [--json] FILE
       veltrano check [--json] [--home DIR] FILE...
       veltrano commands [--plugin PATH] [--home DIR] [--verbose]
       veltrano --help | --version

Loads the plug-in, opens the files (the first document, or the book, becomes
active), runs COMMAND and saves what changed. COMMAND is a command tag that
`veltrano commands` lists, or a client-call message. `generate BOOK` does
what the application does when it updates a book: it builds the book's
generated index from the markers of its chapters, then tells the plug-in.

  --home DIR        where CVConfig.fm and IXStyle.fm are found
                    (default: $VELTRANO_HOME, else the current directory)
  --plugin PATH     the plug-in library (default: $VELTRANO_PLUGIN, else the
                    one beside this program or in ../lib from it, as
                    installed, else the built one)
  --message TEXT    send a client message first, e.g. "SetDocId 42"
                    (may be repeated; sent in order)
  --at PARA[:OFF]   the insertion point, by the paragraph numbers of dump
  --yes             answer OK to every confirmation
  --answer TEXT     answer the next prompt (may be repeated)
  --choose N        choose line N (from 1) of the next choice list (may be
                    repeated)
  --dry-run         save nothing; say what would be written
  --output DIR      write the changed files into DIR, leaving the originals
  --verbose         say which plug-in and files were opened, with handles
  --json            (dump, check) write JSON instead of text
  --add-index       (generate) give a book without an index one, named like
                    the book with IX after it (BookIX.mif)

check reports every indexing problem of the documents and books given (a
book: its included chapters) as an update and generating the index would
meet them, one line each, and writes nothing. It exits 0 when it found
nothing and 1 when it found something.

Without --yes, --answer or --choose, dialogs are asked on the terminal when
standard input is one; otherwise they are cancelled and their text printed.

Exit status: 0 the command ran and the plug-in reported nothing; 1 it showed
a warning, wrote console lines, a dialog was cancelled for want of an
answer, or the command acted on no document; 2 usage and input errors (a
chapter the book lists that cannot be read among them).
)";
}

}  // namespace headless::cli
