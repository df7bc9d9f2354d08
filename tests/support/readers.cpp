#include "readers.h"

#include <algorithm>

#include "headless/utf8.h"

namespace vtrtest {

using headless::Atom;
using headless::Kind;

namespace {

std::vector<std::string> Names(const Document& doc, const std::vector<Id>& ids) {
  std::vector<std::string> out;
  for (Id id : ids) out.push_back(doc.node(id).name);
  return out;
}

std::string Join(const std::vector<std::string>& parts, const std::string& sep) {
  std::string out;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i) out += sep;
    out += parts[i];
  }
  return out;
}

// The condition tags every position and the end mark share.
std::vector<Id> CommonConditions(const Document& doc, Id para) {
  std::vector<Id> common = doc.conditionsOf(doc.endAttr(para));
  for (const Atom a : doc.atoms(para)) {
    std::vector<Id> here = doc.conditionsOf(a.attr);
    std::erase_if(common,
                  [&](Id c) { return std::find(here.begin(), here.end(), c) == here.end(); });
  }
  std::sort(common.begin(), common.end());
  return common;
}

std::string AnchorMark(const Document& doc, const Atom& a) {
  const Id obj = a.object();
  switch (doc.kind(obj)) {
    case Kind::Marker: {
      const Id type = doc.node(obj).ref;
      return "[[" + (doc.alive(type) ? doc.node(type).name : std::string("?")) + ": " +
             doc.node(obj).name + "]]";
    }
    case Kind::Table:
      return "[[table]]";
    case Kind::Footnote:
      return "[[footnote]]";
    case Kind::AnchoredFrame:
      return "[[frame]]";
    case Kind::TextInset:
      return a.isEnd() ? "[[/inset]]" : "[[inset]]";
    case Kind::Variable:
      return a.isEnd() ? "" : "[[var]]";
    case Kind::XRef:
      return a.isEnd() ? "[[/xref]]" : "[[xref]]";
    default:
      return "[[?]]";
  }
}

Id Container(const Document& doc, Id container) {
  return container != 0 ? container : doc.mainFlow();
}

}  // namespace

std::vector<ParagraphView> Paragraphs(const Document& doc, Id container, bool includeHidden) {
  std::vector<ParagraphView> out;
  container = Container(doc, container);
  if (!doc.alive(container) || doc.kind(container) == Kind::Paragraph) return out;
  for (Id p = doc.node(container).paraFirst; p != 0; p = doc.para(p).next) {
    const bool hidden = doc.hidden(p);
    if (hidden && !includeHidden) continue;
    ParagraphView v;
    v.id = p;
    v.tag = std::string(doc.tag(p));
    v.text = doc.text(p);
    v.conditions = Names(doc, CommonConditions(doc, p));
    v.hidden = hidden;
    const auto& atoms = doc.atoms(p);
    for (uint32_t i = 0; i < atoms.size(); ++i) {
      if (doc.kind(atoms[i].object()) != Kind::Marker) continue;
      const Id m = atoms[i].object();
      const Id type = doc.node(m).ref;
      v.markers.push_back(MarkerView{m, doc.alive(type) ? doc.node(type).name : "",
                                     doc.node(m).name, p, i, v.text});
    }
    out.push_back(std::move(v));
  }
  return out;
}

std::vector<std::string> Texts(const Document& doc, Id container) {
  std::vector<std::string> out;
  for (const ParagraphView& v : Paragraphs(doc, container)) out.push_back(v.text);
  return out;
}

std::string Line(const Document& doc, Id para) {
  if (doc.kind(para) != Kind::Paragraph) return {};
  const std::vector<Id> common = CommonConditions(doc, para);
  std::string out = std::string(doc.tag(para)) + ": ";
  const auto& atoms = doc.atoms(para);
  std::size_t i = 0;
  while (i < atoms.size()) {
    // One run of positions with the same attributes.
    const uint32_t attr = atoms[i].attr;
    std::string run;
    std::size_t j = i;
    for (; j < atoms.size() && atoms[j].attr == attr; ++j) {
      if (atoms[j].isAnchor()) {
        run += AnchorMark(doc, atoms[j]);
      } else if (atoms[j].ch() == U'\n') {
        run += "\\n";
      } else {
        headless::AppendUtf8(run, atoms[j].ch());
      }
    }
    std::vector<Id> conds = doc.conditionsOf(attr);
    std::sort(conds.begin(), conds.end());
    std::erase_if(conds, [&](Id c) { return std::binary_search(common.begin(), common.end(), c); });
    const std::string style = doc.charStyle(doc.attr(attr).charStyle).getString(host::kPropName);
    if (!style.empty()) run = "<<" + style + ": " + run + ">>";
    if (!conds.empty()) run = "{{" + Join(Names(doc, conds), ",") + ": " + run + "}}";
    out += run;
    i = j;
  }
  if (!common.empty()) out += " {" + Join(Names(doc, common), ",") + "}";
  if (doc.hidden(para)) out += " (hidden)";
  return out;
}

std::vector<std::string> Lines(const Document& doc, Id container) {
  std::vector<std::string> out;
  container = Container(doc, container);
  if (!doc.alive(container) || doc.kind(container) == Kind::Paragraph) return out;
  for (Id p = doc.node(container).paraFirst; p != 0; p = doc.para(p).next) {
    out.push_back(Line(doc, p));
  }
  return out;
}

std::vector<MarkerView> Markers(const Document& doc) {
  std::vector<MarkerView> out;
  for (Id m : doc.all(headless::DocList::Markers)) {
    MarkerView v;
    v.id = m;
    const Id type = doc.node(m).ref;
    v.type = doc.alive(type) ? doc.node(type).name : "";
    v.text = doc.node(m).name;
    headless::TextPos pos = doc.anchorPosition(m);
    v.para = pos.para;
    v.offset = pos.offset;
    v.paraText = doc.text(pos.para);
    out.push_back(std::move(v));
  }
  return out;
}

std::vector<std::string> MarkerTexts(const Document& doc, const std::string& type) {
  std::vector<std::string> out;
  for (const MarkerView& m : Markers(doc)) {
    if (m.type == type) out.push_back(m.text);
  }
  return out;
}

std::vector<std::string> ConditionsAt(const Document& doc, Id para, uint32_t offset) {
  return Names(doc, doc.conditionsOf(doc.attrAt({para, offset})));
}

bool ConditionShown(const Document& doc, const std::string& name) {
  return doc.conditionShown(doc.find(Kind::Condition, name));
}

std::string Selection(const Document& doc) {
  const headless::TextSpan& sel = doc.selection();
  if (sel.begin.para == 0) return "none";
  std::string out = "\"";  // appended to: GCC 12 in Release takes "x" + s for an overlapping copy
  out += doc.text(sel.begin.para);
  out += "\" ";
  out += std::to_string(sel.begin.offset);
  if (sel.end.para != sel.begin.para) out += " .. \"" + doc.text(sel.end.para) + "\"";
  out += ".." + std::to_string(sel.end.offset);
  return out;
}

std::string Render(const Document& doc) {
  std::string out;
  for (Id flow : doc.all(headless::DocList::Flows)) {
    out += "flow " + doc.node(flow).name + (flow == doc.mainFlow() ? " (main)" : "") + "\n";
    for (const std::string& line : Lines(doc, flow)) out += "  " + line + "\n";
  }
  int t = 0;
  for (Id table : doc.all(headless::DocList::Tables)) {
    out += "table " + std::to_string(++t) + "\n";
    int r = 0;
    for (Id row = doc.node(table).first; row != 0; row = doc.node(row).next) {
      ++r;
      int c = 0;
      for (Id cell = doc.node(row).first; cell != 0; cell = doc.node(cell).next) {
        out += "  cell " + std::to_string(r) + "." + std::to_string(++c) +
               (doc.node(cell).flag ? "" : " (not shown)") + "\n";
        for (const std::string& line : Lines(doc, cell)) out += "    " + line + "\n";
      }
    }
  }
  int f = 0;
  for (Id note : doc.all(headless::DocList::Footnotes)) {
    out += "footnote " + std::to_string(++f) + "\n";
    for (const std::string& line : Lines(doc, note)) out += "  " + line + "\n";
  }
  return out;
}

std::vector<std::vector<std::string>> Columns(Document& doc, Id flow) {
  std::vector<std::vector<std::string>> out;
  flow = flow != 0 ? flow : doc.mainFlow();
  if (doc.kind(flow) != Kind::Flow) return out;
  doc.layout(flow);
  for (Id frame = doc.node(flow).first; frame != 0; frame = doc.nextFrame(frame)) {
    for (Id col = doc.node(frame).first; col != 0; col = doc.node(col).next) {
      std::vector<std::string> texts;
      const Id first = doc.columnFirstParagraph(col);
      const Id last = doc.columnLastParagraph(col);
      for (Id p = first; p != 0; p = doc.nextParagraph(p)) {
        texts.push_back(doc.text(p));
        if (p == last) break;
      }
      out.push_back(std::move(texts));
    }
  }
  return out;
}

}  // namespace vtrtest
