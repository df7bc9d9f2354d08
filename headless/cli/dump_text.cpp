#include "dump_text.h"

#include <algorithm>

namespace headless::cli {

namespace {

std::string Join(const std::vector<std::string>& parts, const std::string& sep) {
  std::string out;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i) out += sep;
    out += parts[i];
  }
  return out;
}

std::string Mark(const AnchorView& a) {
  if (a.kind == "marker") return "[[" + a.type + ": " + a.text + "]]";
  if (a.kind == "table" || a.kind == "footnote") {
    return "[[" + a.kind + " " + std::to_string(a.number) + "]]";
  }
  if (a.kind == "variable") return a.end ? "[[/var]]" : "[[var]]";
  return a.end ? "[[/" + a.kind + "]]" : "[[" + a.kind + "]]";
}

std::string Where(const Place& p) {
  if (p.paragraph == 0) return "not anchored";
  return "in " + std::to_string(p.paragraph) + " at " + std::to_string(p.offset);
}

class Writer {
 public:
  explicit Writer(const DocumentView& view) {
    int last = 0;
    for (const FlowView& f : view.flows) {
      if (!f.paragraphs.empty()) last = std::max(last, f.paragraphs.back().number);
    }
    for (const TableView& t : view.tables) {
      for (const CellView& c : t.cells) {
        if (!c.paragraphs.empty()) last = std::max(last, c.paragraphs.back().number);
      }
    }
    for (const FootnoteView& f : view.footnotes) {
      if (!f.paragraphs.empty()) last = std::max(last, f.paragraphs.back().number);
    }
    width_ = std::to_string(last).size();
  }

  void paragraphs(const std::vector<ParagraphView>& paras, const std::string& pad) {
    for (const ParagraphView& p : paras) paragraph(p, pad);
  }

  std::string out;

 private:
  void paragraph(const ParagraphView& p, const std::string& pad) {
    std::string number = std::to_string(p.number);
    number.insert(0, width_ - number.size(), ' ');
    std::string line = pad + number + "  " + p.tag + ":";
    std::string text;
    for (const Segment& s : p.segments) {
      std::string run;
      for (const Piece& piece : s.pieces)
        run += piece.isAnchor ? Mark(piece.anchor) : Chars(piece.text);
      if (!s.format.empty()) run = "<<" + s.format + ": " + run + ">>";
      if (!s.conditions.empty()) run = "{{" + Join(s.conditions, ",") + ": " + run + "}}";
      text += run;
    }
    if (!text.empty()) line += " " + text;
    if (!p.conditions.empty()) line += " {" + Join(p.conditions, ",") + "}";
    if (p.hidden) line += " (hidden)";
    out += line + "\n";
    const std::string under = pad + std::string(width_ + 2, ' ') + "  ";
    for (const AnchorView& a : p.anchors) {
      if (a.kind != "marker") continue;
      out += under + "marker at " + std::to_string(a.offset) + ": " + a.type + ": " + a.text + "\n";
    }
  }

  std::size_t width_ = 1;
};

void Components(const std::vector<ComponentView>& components, int depth, std::string& out) {
  const std::string pad(static_cast<std::size_t>(depth) * 2, ' ');
  for (const ComponentView& c : components) {
    std::string line = pad + c.kind + " " + c.path;
    if (c.generated == host::kGeneratedIndex) {
      line += " (generated index)";
    } else if (c.generated != 0) {
      line += " (generated, type " + std::to_string(c.generated) + ")";
    }
    if (c.excluded) line += " (excluded)";
    out += line + "\n";
    Components(c.components, depth + 1, out);
  }
}

}  // namespace

std::string Chars(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') {
      out += "\\n";
    } else {
      out += c;
    }
  }
  return out;
}

std::string DocumentText(const DocumentView& view) {
  Writer w(view);
  w.out = "document " + view.path + "\n";
  w.out += std::string("show all: ") + (view.showAll ? "on" : "off") + "\n";
  std::vector<std::string> conditions;
  for (const ConditionView& c : view.conditions) {
    conditions.push_back(c.name + (c.shown ? " (shown)" : " (hidden)"));
  }
  w.out +=
      "conditions: " + (conditions.empty() ? std::string("none") : Join(conditions, ", ")) + "\n";
  for (const FlowView& f : view.flows) {
    w.out += "flow " + f.name + (f.main ? " (main)" : "") + "\n";
    w.paragraphs(f.paragraphs, "  ");
  }
  for (const TableView& t : view.tables) {
    w.out += "table " + std::to_string(t.number) + " " + Where(t.anchor) + "\n";
    for (const CellView& c : t.cells) {
      w.out += "  cell " + std::to_string(c.row) + "." + std::to_string(c.column) +
               (c.shown ? "" : " (not shown)") + "\n";
      w.paragraphs(c.paragraphs, "    ");
    }
  }
  for (const FootnoteView& f : view.footnotes) {
    w.out += "footnote " + std::to_string(f.number) + " " + Where(f.anchor) + "\n";
    w.paragraphs(f.paragraphs, "  ");
  }
  w.out += "markers";
  if (view.markers.empty()) w.out += ": none";
  w.out += "\n";
  for (const MarkerEntry& m : view.markers) {
    w.out += "  " + m.type + ": " + m.text + " " + Where(m.at) + "\n";
  }
  return w.out;
}

std::string BookText(const BookView& view) {
  std::string out = "book " + view.path + "\n";
  Components(view.components, 1, out);
  if (view.components.empty()) out += "  no components\n";
  return out;
}

}  // namespace headless::cli
