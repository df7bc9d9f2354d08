#include "index_settings.h"

namespace headless::generate {

namespace {

constexpr const char* kGroupTitles =
    "Symbols[\\ ];Numerics[0];A;B;C;D;E;F;G;H;I;J;K;L;M;N;O;P;Q;R;S;T;U;V;W;X;Y;Z";
constexpr const char* kSortOrder = "<$symbols><$numerics><$alphabetics>";
// Hyphen, non-breaking hyphen, en dash, em dash.
constexpr const char* kIgnoreChars = "-\u2011\u2013\u2014";
constexpr const char* kSeparators = " 1, 2\u20133";
constexpr const char* kPageForm = "<$pagenum>";
constexpr const char* kLinkCommand = "openObjectId <$relfilename>:<$ObjectType> <$ObjectId>";

std::vector<GroupTitle> ParseGroupTitles(const std::string& text) {
  std::vector<GroupTitle> out;
  for (const MarkerEntry& e : ParseMarkerText(text).entries) {
    GroupTitle title;
    title.text = e.levels.front();
    // A title with levels ("a:b") is one title; its text is the first.
    title.sortAs =
        !e.sortKey.empty() && !e.sortKey.front().empty() ? e.sortKey.front() : title.text.plain();
    out.push_back(std::move(title));
  }
  return out;
}

void ParseSeparators(const std::string& picture, IndexSettings& s) {
  const std::size_t one = picture.find('1');
  const std::size_t two = one == std::string::npos ? one : picture.find('2', one);
  const std::size_t three = two == std::string::npos ? two : picture.find('3', two);
  if (three == std::string::npos) return;
  s.beforePages = picture.substr(0, one);
  s.betweenPages = picture.substr(one + 1, two - one - 1);
  s.inRange = picture.substr(two + 1, three - two - 1);
  s.afterPages = picture.substr(three + 1);
}

// Removes every <$autorange> from a reference text; true when there was one.
bool TakeAutoRange(std::string& text) {
  static constexpr std::string_view kBlock = "<$autorange>";
  bool found = false;
  for (std::size_t at = text.find(kBlock); at != std::string::npos; at = text.find(kBlock, at)) {
    text.erase(at, kBlock.size());
    found = true;
  }
  return found;
}

}  // namespace

std::string IndexSettings::formFor(const std::string& markerType) const {
  auto it = pageForm.find(markerType);
  return it == pageForm.end() || it->second.empty() ? std::string(kPageForm) : it->second;
}

IndexSettings DefaultIndexSettings() {
  IndexSettings s;
  s.groupTitles = ParseGroupTitles(kGroupTitles);
  s.sortOrder = kSortOrder;
  s.ignoreChars = kIgnoreChars;
  ParseSeparators(kSeparators, s);
  s.linkCommand = kLinkCommand;
  return s;
}

std::vector<std::pair<std::string, std::string>> DefaultReferenceTexts(
    const std::vector<std::string>& markerTypes) {
  std::vector<std::pair<std::string, std::string>> out = {{"GroupTitlesIX", kGroupTitles},
                                                          {"SortOrderIX", kSortOrder},
                                                          {"IgnoreCharsIX", kIgnoreChars},
                                                          {"SeparatorsIX", kSeparators}};
  for (const std::string& type : markerTypes) out.emplace_back(type + "IX", kPageForm);
  out.emplace_back("ActiveIX", kLinkCommand);
  return out;
}

Id FindReferenceFlow(const Document& doc, const std::string& name) {
  for (Id flow : doc.all(DocList::Flows)) {
    if (flow != doc.mainFlow() && doc.node(flow).name == name) return flow;
  }
  return 0;
}

IndexSettings ReadIndexSettings(const Document& doc, const std::string& suffix) {
  IndexSettings s = DefaultIndexSettings();
  const Id flow = FindReferenceFlow(doc, suffix);
  if (flow == 0) return s;
  std::map<std::string, std::string> texts;
  for (Id p = doc.node(flow).paraFirst; p != 0; p = doc.para(p).next) {
    texts.emplace(std::string(doc.tag(p)), doc.text(p));  // the first of a tag counts
  }
  auto text = [&](const std::string& base, const char* older) -> const std::string* {
    auto it = texts.find(base + suffix);
    if (it == texts.end() && older) it = texts.find(older);
    return it == texts.end() ? nullptr : &it->second;
  };
  if (const std::string* t = text("GroupTitles", nullptr)) s.groupTitles = ParseGroupTitles(*t);
  if (const std::string* t = text("SortOrder", "SortSpecIX")) s.sortOrder = *t;
  if (const std::string* t = text("IgnoreChars", nullptr)) s.ignoreChars = *t;
  if (const std::string* t = text("Separators", "SpecIX")) {
    std::string picture = *t;
    s.autoRange = TakeAutoRange(picture);
    ParseSeparators(picture, s);
  }
  if (const std::string* t = text("Active", nullptr)) s.linkCommand = *t;
  const std::string ending = suffix;
  for (const auto& [tag, value] : texts) {
    if (tag.size() <= ending.size() ||
        tag.compare(tag.size() - ending.size(), ending.size(), ending) != 0) {
      continue;
    }
    std::string form = value;
    if (TakeAutoRange(form)) s.autoRange = true;
    s.pageForm.emplace(tag.substr(0, tag.size() - ending.size()), std::move(form));
  }
  return s;
}

}  // namespace headless::generate
