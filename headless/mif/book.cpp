#include "mif/book.h"

namespace mif {

namespace {

bool IsSeparator(char c) {
  return c == '/' || c == '\\';
}

std::vector<std::string_view> SplitPath(std::string_view path) {
  std::vector<std::string_view> parts;
  std::size_t i = 0;
  while (i < path.size()) {
    while (i < path.size() && IsSeparator(path[i])) ++i;
    std::size_t k = i;
    while (k < path.size() && !IsSeparator(path[k])) ++k;
    if (k > i) parts.push_back(path.substr(i, k - i));
    i = k;
  }
  return parts;
}

std::string Normalize(std::string_view path) {
  std::string out(path);
  for (char& c : out) {
    if (c == '\\') c = '/';
  }
  while (out.size() > 1 && out.back() == '/') out.pop_back();
  return out;
}

}  // namespace

BookComponentView ReadBookComponent(const Document& doc, NodeId component) {
  const Tree& t = doc.tree();
  BookComponentView v;
  v.node = component;
  v.fileName = doc.childText(component, "FileName").value_or("");
  v.unique = doc.childInteger(component, "Unique");
  v.fileNameSuffix = doc.childText(component, "FileNameSuffix").value_or("");
  v.deriveType = std::string(doc.childKeyword(component, "DeriveType").value_or(""));
  v.deriveTags = doc.childTexts(component, "DeriveTag");
  v.deriveLinks = doc.childBoolean(component, "DeriveLinks");
  for (NodeId c : t.children(component)) v.settings.push_back({c, t.token(c), t.value(c)});
  return v;
}

std::vector<BookComponentView> ReadBookComponents(const Document& doc) {
  std::vector<BookComponentView> out;
  const Tree& t = doc.tree();
  for (NodeId n : t.children(t.root())) {
    if (t.token(n) == "BookComponent") out.push_back(ReadBookComponent(doc, n));
  }
  return out;
}

std::string DevicePathToPath(std::string_view di, std::string_view baseDir) {
  std::string out;
  bool absolute = false;
  std::size_t i = 0;
  while (i < di.size()) {
    if (di[i] != '<' || i + 2 >= di.size() || di[i + 2] != '>') {
      // Not a code: text of the current component (lenient for hand-made names).
      out += di[i++];
      continue;
    }
    const char code = di[i + 1];
    i += 3;
    std::size_t k = i;
    while (k < di.size() && di[k] != '<') ++k;
    const std::string_view name = di.substr(i, k - i);
    i = k;
    auto separate = [&] {
      if (!out.empty() && out.back() != '/') out += '/';
    };
    switch (code) {
      // A root code starts the path anew. (Cleared and appended to rather
      // than assigned: GCC 12 sees overlapping copies in the assignments.)
      case 'r':
        out.clear();
        out += '/';
        absolute = true;
        break;
      case 'v':
        out.clear();
        out += name;
        absolute = true;
        break;
      case 'h':
        out.clear();
        out += "//";
        out += name;
        absolute = true;
        break;
      case 'u':
        separate();
        out += "..";
        break;
      case 'c':
        separate();
        out += name;
        break;
      default:  // obsolete system-dependent codes are ignored, as the application does
        break;
    }
  }
  if (absolute || baseDir.empty()) return out;
  std::string joined = Normalize(baseDir);
  if (!joined.empty() && joined.back() != '/') joined += '/';
  joined += out;
  return joined;
}

std::string PathToDevicePath(std::string_view path, std::string_view baseDir) {
  std::string p = Normalize(path);
  if (!baseDir.empty()) {
    std::string base = Normalize(baseDir);
    if (base.back() != '/') base += '/';
    if (p.compare(0, base.size(), base) == 0) p = p.substr(base.size());
  }
  std::string out;
  std::string_view rest = p;
  if (rest.size() >= 2 && rest[0] == '/' && rest[1] == '/') {
    const auto parts = SplitPath(rest);
    if (!parts.empty()) {
      out = "<h>" + std::string(parts.front());
      rest.remove_prefix(2 + parts.front().size());
    }
  } else if (rest.size() >= 2 && rest[1] == ':') {
    out = "<v>" + std::string(rest.substr(0, 2));
    rest.remove_prefix(2);
  } else if (!rest.empty() && rest[0] == '/') {
    out = "<r>";
  }
  for (std::string_view part : SplitPath(rest)) {
    if (part == ".") continue;
    if (part == "..") {
      out += "<u>";
    } else {
      out += "<c>";
      out += part;
    }
  }
  return out;
}

}  // namespace mif
