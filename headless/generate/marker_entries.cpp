#include "marker_entries.h"

#include <cstdint>

namespace headless::generate {

namespace {

// One character of entry text (a byte: the characters that mean something
// are ASCII, so UTF-8 sequences pass through whole), whether it was
// escaped, and its character format.
struct Char {
  char c;
  bool escaped;
  uint32_t format;  // index into the entry's format names; 0 is the paragraph font
};

// The position of the next `want` at or after `from` that no backslash
// escapes, or npos.
std::size_t FindUnescaped(std::string_view s, char want, std::size_t from) {
  for (std::size_t i = from; i < s.size(); ++i) {
    if (s[i] == '\\') {
      ++i;
    } else if (s[i] == want) {
      return i;
    }
  }
  return std::string_view::npos;
}

std::vector<std::string_view> SplitUnescaped(std::string_view s, char sep) {
  std::vector<std::string_view> out;
  std::size_t start = 0;
  for (std::size_t at = FindUnescaped(s, sep, 0); at != std::string_view::npos;
       at = FindUnescaped(s, sep, start)) {
    out.push_back(s.substr(start, at - start));
    start = at + 1;
  }
  out.push_back(s.substr(start));
  return out;
}

using Span = std::pair<const Char*, const Char*>;

// Drops unescaped spaces at both ends.
Span Trim(Span s) {
  auto [begin, end] = s;
  while (begin < end && begin->c == ' ' && !begin->escaped) ++begin;
  while (end > begin && (end - 1)->c == ' ' && !(end - 1)->escaped) --end;
  return {begin, end};
}

LevelText ToLevel(Span chars, const std::vector<std::string>& formats) {
  LevelText level;
  for (const Char* at = chars.first; at != chars.second;) {
    const Char* run = at;
    while (at != chars.second && at->format == run->format) ++at;
    Piece& piece = level.pieces.emplace_back(Piece{{}, formats[run->format]});
    piece.text.reserve(static_cast<std::size_t>(at - run));
    for (const Char* c = run; c != at; ++c) piece.text += c->c;
  }
  return level;
}

// A sort key's level: escapes resolved, format switches left out, spaces
// at the ends dropped unless escaped.
std::string KeyLevel(std::string_view raw) {
  std::vector<Char> chars;
  for (std::size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] == '\\') {
      chars.push_back(Char{i + 1 < raw.size() ? raw[i + 1] : '\\', true, 0});
      ++i;
    } else if (raw[i] == '<' && FindUnescaped(raw, '>', i) != std::string_view::npos) {
      i = FindUnescaped(raw, '>', i);
    } else {
      chars.push_back(Char{raw[i], false, 0});
    }
  }
  const auto [begin, end] = Trim({chars.data(), chars.data() + chars.size()});
  std::string out;
  for (const Char* c = begin; c != end; ++c) out += c->c;
  return out;
}

struct MarkerState {
  bool noPage = false;
  // Work space of ParseEntry, kept from entry to entry for its capacity.
  std::vector<Char> chars;           // the characters of every level
  std::vector<std::size_t> starts;   // where each level starts, and the end
  std::vector<std::string> formats;  // the format names used; 0 is ""
};

void ParseEntry(std::string_view raw, MarkerState& state, ParsedMarker& out) {
  MarkerEntry entry;
  std::string_view body = raw;
  // A sort key is a "[...]" that ends the entry.
  if (const std::size_t open = FindUnescaped(raw, '[', 0); open != std::string_view::npos) {
    const std::size_t close = FindUnescaped(raw, ']', open + 1);
    if (close == std::string_view::npos) {
      out.problems.push_back("a '[' without ']'");
    } else if (raw.substr(close + 1).find_first_not_of(' ') != std::string_view::npos) {
      out.problems.push_back("text after the sort key's ']'");
    } else {
      for (std::string_view level : SplitUnescaped(raw.substr(open + 1, close - open - 1), ':')) {
        entry.sortKey.push_back(KeyLevel(level));
      }
      body = raw.substr(0, open);
    }
  }

  std::vector<Char>& chars = state.chars;
  std::vector<std::size_t>& starts = state.starts;
  std::vector<std::string>& formats = state.formats;
  chars.clear();
  chars.reserve(body.size());
  starts.assign(1, 0);
  formats.resize(1);
  uint32_t format = 0;
  auto formatOf = [&](std::string_view name) {
    for (uint32_t i = 0; i < formats.size(); ++i) {
      if (formats[i] == name) return i;
    }
    formats.emplace_back(name);
    return static_cast<uint32_t>(formats.size() - 1);
  };
  auto literal = [&](std::string_view text) {
    for (char c : text) chars.push_back(Char{c, true, format});
  };
  for (std::size_t i = 0; i < body.size(); ++i) {
    const char c = body[i];
    if (c == '\\') {
      literal(i + 1 < body.size() ? body.substr(i + 1, 1) : std::string_view("\\"));
      ++i;
    } else if (c == '<') {
      const std::size_t close = FindUnescaped(body, '>', i + 1);
      if (close == std::string_view::npos) {
        out.problems.push_back("a '<' without '>'");
        literal("<");
        continue;
      }
      const std::string_view tag = body.substr(i + 1, close - i - 1);
      if (tag == "$nopage") {
        state.noPage = true;
      } else if (tag == "$singlepage") {
        state.noPage = false;
      } else if (tag == "$startrange") {
        entry.startRange = true;
      } else if (tag == "$endrange") {
        entry.endRange = true;
      } else if (!tag.empty() && tag.front() == '$') {
        out.problems.push_back("an unknown building block <" + std::string(tag) + ">");
        literal(body.substr(i, close - i + 1));
      } else if (tag == "/" || tag == "Default Para Font") {
        format = 0;
      } else {
        format = formatOf(tag);
      }
      i = close;
    } else if (c == ':') {
      starts.push_back(chars.size());
      format = 0;
    } else {
      chars.push_back(Char{c, false, format});
    }
  }
  entry.noPage = state.noPage;
  starts.push_back(chars.size());
  entry.levels.reserve(starts.size() - 1);
  for (std::size_t i = 0; i + 1 < starts.size(); ++i) {
    const Span level = Trim({chars.data() + starts[i], chars.data() + starts[i + 1]});
    if (level.first != level.second) entry.levels.push_back(ToLevel(level, formats));
  }
  if (!entry.levels.empty()) out.entries.push_back(std::move(entry));
}

}  // namespace

std::string LevelText::plain() const {
  std::string out;
  for (const Piece& p : pieces) out += p.text;
  return out;
}

ParsedMarker ParseMarkerText(std::string_view text) {
  ParsedMarker out;
  // The work space keeps its capacity from marker to marker.
  thread_local MarkerState state;
  state.noPage = false;
  const std::vector<std::string_view> raws = SplitUnescaped(text, ';');
  out.entries.reserve(raws.size());
  for (std::size_t i = 0; i < raws.size(); ++i) {
    const std::size_t before = out.entries.size();
    ParseEntry(raws[i], state, out);
    const bool blankEnd =
        i + 1 == raws.size() && raws[i].find_first_not_of(' ') == std::string_view::npos;
    if (out.entries.size() == before && !blankEnd) ++out.emptyEntries;
  }
  return out;
}

}  // namespace headless::generate
