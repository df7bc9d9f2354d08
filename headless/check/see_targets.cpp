// "See" and "see also" references whose target is no heading of the index.
// A reference is a level that begins with a see word (as the conversion
// writes it, or as an author types it), or a stretch of a level in a
// character format that holds only the see word (the conversion puts the
// word in place when the entry has no ":"). The target is the text after
// the word: a heading of the first level, a path of levels written with
// ":" or ", ", or several first-level headings separated by ", " or ";".
#include <algorithm>
#include <optional>
#include <unordered_set>

#include "check/index_findings.h"
#include "check/reader_text.h"

namespace headless::check {

namespace {

struct SeeWord {
  std::string key;  // its reader's key, without spaces at the ends
  const char* name;
};

std::string Trimmed(std::string_view s) {
  const std::size_t b = s.find_first_not_of(' ');
  if (b == std::string_view::npos) return {};
  return std::string(s.substr(b, s.find_last_not_of(' ') - b + 1));
}

// The words, see also before see (it begins with it): the texts of the
// marker side without their formats, and the words authors type.
std::vector<SeeWord> SeeWords(const CheckSettings& s) {
  auto plain = [](const std::string& marker) {
    const generate::ParsedMarker parsed = generate::ParseMarkerText(marker);
    std::string out;
    if (!parsed.entries.empty()) out = EntryText(parsed.entries[0].levels, 99);
    return ReaderKey(Trimmed(out));
  };
  std::vector<SeeWord> words = {{plain(s.seeAlsoEntry), "see also"},
                                {ReaderKey(Trimmed(s.seeAlsoReference)), "see also"},
                                {plain(s.seeEntry), "see"},
                                {ReaderKey(Trimmed(s.seeReference)), "see"}};
  std::erase_if(words, [](const SeeWord& w) { return w.key.empty(); });
  std::stable_sort(words.begin(), words.end(),
                   [](const SeeWord& a, const SeeWord& b) { return a.key.size() > b.key.size(); });
  return words;
}

// The text after the first `count` words.
std::string AfterWords(const std::string& text, std::ptrdiff_t count) {
  std::size_t at = 0;
  for (std::ptrdiff_t i = 0; i < count && at != std::string::npos; ++i) {
    at = text.find_first_not_of(" \t", at);
    if (at != std::string::npos) at = text.find_first_of(" \t", at);
  }
  return at == std::string::npos ? std::string() : Trimmed(text.substr(at));
}

struct Reference {
  const char* word;
  std::string target;
};

std::optional<Reference> FindReference(const generate::LevelText& level,
                                       const std::vector<SeeWord>& words) {
  const std::string plain = Trimmed(level.plain());
  const std::string key = ReaderKey(plain);
  for (const SeeWord& w : words) {
    if (key.starts_with(w.key) && (key.size() == w.key.size() || key[w.key.size()] == ' ')) {
      return Reference{w.name, AfterWords(plain, std::count(w.key.begin(), w.key.end(), ' ') + 1)};
    }
  }
  for (std::size_t i = 0; i < level.pieces.size(); ++i) {
    if (level.pieces[i].format.empty()) continue;
    const std::string piece = ReaderKey(Trimmed(level.pieces[i].text));
    for (const SeeWord& w : words) {
      if (piece != w.key) continue;
      std::string rest;
      for (std::size_t j = i + 1; j < level.pieces.size(); ++j) rest += level.pieces[j].text;
      return Reference{w.name, Trimmed(rest)};
    }
  }
  return std::nullopt;
}

std::vector<std::string> Split(const std::string& s, std::string_view sep) {
  std::vector<std::string> out;
  std::size_t start = 0;
  for (std::size_t at = s.find(sep); at != std::string::npos; at = s.find(sep, start)) {
    out.push_back(Trimmed(s.substr(start, at - start)));
    start = at + sep.size();
  }
  out.push_back(Trimmed(s.substr(start)));
  return out;
}

// The reader's keys of the levels, as the paths of the headings hold them.
std::string Path(const std::vector<std::string>& levels) {
  std::string out;
  for (const std::string& l : levels) out += '\x1d' + ReaderKey(l);
  return out;
}

bool Names(const std::unordered_set<std::string>& paths, std::string target) {
  while (!target.empty() && target.back() == '.') target.pop_back();
  target = Trimmed(target);
  if (paths.count(Path({target}))) return true;
  for (std::string_view sep : {":", ", "}) {
    if (target.find(sep) != std::string::npos && paths.count(Path(Split(target, sep)))) {
      return true;
    }
  }
  for (std::string_view sep : {"; ", ", "}) {
    if (target.find(sep) == std::string::npos) continue;
    const std::vector<std::string> all = Split(target, sep);
    if (std::all_of(all.begin(), all.end(),
                    [&](const std::string& t) { return paths.count(Path({t})) > 0; })) {
      return true;
    }
  }
  return false;
}

}  // namespace

std::vector<Finding> MissingSeeTargets(const std::vector<IndexMarker>& markers,
                                       const std::vector<MarkerEntryAt>& entries,
                                       const CheckSettings& settings) {
  // Every heading's path of reader's keys, parents included.
  std::unordered_set<std::string> paths;
  for (const MarkerEntryAt& at : entries) {
    std::string path;
    for (const generate::LevelText& level : at.entry.levels) {
      path += '\x1d' + ReaderKey(Trimmed(level.plain()));
      paths.insert(path);
    }
  }
  const std::vector<SeeWord> words = SeeWords(settings);
  std::vector<Finding> out;
  for (const MarkerEntryAt& at : entries) {
    for (const generate::LevelText& level : at.entry.levels) {
      const std::optional<Reference> ref = FindReference(level, words);
      if (!ref) continue;
      if (ref->target.empty()) {
        out.push_back(About(markers, at, kSeeTarget,
                            std::string("a \"") + ref->word + "\" reference without a target"));
      } else if (!Names(paths, ref->target)) {
        out.push_back(About(markers, at, kSeeTarget,
                            std::string("the \"") + ref->word + "\" target \"" + ref->target +
                                "\" is no entry of the index"));
      }
      break;
    }
  }
  return out;
}

}  // namespace headless::check
