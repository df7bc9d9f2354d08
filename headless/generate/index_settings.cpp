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

// Takes the character format switches (<Emphasis>, </>, <Default Para
// Font>) out of a page number form; the format in force where the page
// number stands (else at the end) is the number's.
PageForm ParsePageForm(std::string text, uint32_t style) {
  PageForm form;
  form.style = style;
  std::string current;
  bool atNumber = false;
  for (std::size_t at = text.find('<'); at != std::string::npos; at = text.find('<', at)) {
    const std::size_t close = text.find('>', at);
    if (close == std::string::npos) break;
    const std::string_view block = std::string_view(text).substr(at + 1, close - at - 1);
    if (block.starts_with('$')) {
      if (block == "$pagenum" && !atNumber) {
        form.format = current;
        atNumber = true;
      }
      at = close + 1;
      continue;
    }
    current = block == "/" || block == "Default Para Font" ? "" : std::string(block);
    text.erase(at, close - at + 1);
  }
  if (!atNumber) form.format = current;
  form.text = std::move(text);
  return form;
}

// The character style of a paragraph's text at the UTF-8 offset `byte` of
// its text (its end when past it); 0 when it has no text.
uint32_t StyleAt(const Document& doc, Id para, std::size_t byte) {
  const std::string text = doc.text(para);
  std::size_t chars = 0;
  for (std::size_t i = 0; i < std::min(byte, text.size()); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) ++chars;
  }
  uint32_t style = 0;
  for (const Atom& a : doc.atoms(para)) {
    if (a.isAnchor()) continue;
    style = doc.attr(a.attr).charStyle;
    if (chars-- == 0) break;
  }
  return style;
}

}  // namespace

PageForm IndexSettings::formFor(const std::string& markerType) const {
  auto it = pageForm.find(markerType);
  if (it == pageForm.end()) return PageForm{};
  PageForm form = it->second;
  if (form.text.empty()) form.text = kPageForm;
  return form;
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
  // The text and paragraph of each tag; the first of a tag counts.
  std::map<std::string, std::pair<std::string, Id>> texts;
  for (Id p = doc.node(flow).paraFirst; p != 0; p = doc.para(p).next) {
    texts.emplace(std::string(doc.tag(p)), std::make_pair(doc.text(p), p));
  }
  auto find = [&](const std::string& base, const char* older) -> const std::pair<std::string, Id>* {
    auto it = texts.find(base + suffix);
    if (it == texts.end() && older) it = texts.find(older);
    return it == texts.end() ? nullptr : &it->second;
  };
  auto text = [&](const std::string& base, const char* older) -> const std::string* {
    const auto* found = find(base, older);
    return found ? &found->first : nullptr;
  };
  if (const std::string* t = text("GroupTitles", nullptr)) s.groupTitles = ParseGroupTitles(*t);
  if (const std::string* t = text("SortOrder", "SortSpecIX")) s.sortOrder = *t;
  if (const std::string* t = text("IgnoreChars", nullptr)) s.ignoreChars = *t;
  if (const auto* separators = find("Separators", "SpecIX")) {
    s.separatorStyle = StyleAt(doc, separators->second, 0);
    std::string picture = separators->first;
    s.autoRange = TakeAutoRange(picture);
    ParseSeparators(picture, s);
  }
  if (const std::string* t = text("Active", nullptr)) s.linkCommand = *t;
  const std::string ending = suffix;
  for (const auto& [tag, found] : texts) {
    if (tag.size() <= ending.size() ||
        tag.compare(tag.size() - ending.size(), ending.size(), ending) != 0) {
      continue;
    }
    std::string form = found.first;
    if (TakeAutoRange(form)) s.autoRange = true;
    const std::size_t number = found.first.find("<$pagenum>");
    const uint32_t style = StyleAt(doc, found.second, number == std::string::npos ? 0 : number);
    s.pageForm.emplace(tag.substr(0, tag.size() - ending.size()), ParsePageForm(form, style));
  }
  return s;
}

}  // namespace headless::generate
