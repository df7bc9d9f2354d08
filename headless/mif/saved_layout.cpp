#include "mif/saved_layout.h"

#include <unordered_map>

#include "model/state.h"

namespace mif {

namespace {

constexpr int kUnknown = -2;  // no frame seen yet in this flow

class LayoutWalk {
 public:
  explicit LayoutWalk(const Document& file) : file_(file), t_(file.tree()) {}

  void readPages(SavedLayout& out) {
    for (NodeId page : t_.children(t_.root())) {
      if (t_.token(page) != "Page") continue;
      const bool body = file_.childKeyword(page, "PageType") == "BodyPage";
      int index = -1;
      if (body) {
        index = static_cast<int>(out.bodyPages.size());
        std::string num = file_.childText(page, "PageNum").value_or("");
        pageByNumber_.emplace(num, index);
        out.bodyPages.push_back(std::move(num));
      }
      for (NodeId n = t_.firstChild(page); n != kNoNode; n = t_.nextInSubtree(n, page)) {
        if (t_.token(n) == "TextRect") frames_[file_.childInteger(n, "ID").value_or(0)] = index;
      }
    }
    const NodeId doc = t_.findChild(t_.root(), "Document");
    if (doc != kNoNode) {
      out.pageNumberStyle = std::string(file_.childKeyword(doc, "DPageNumStyle").value_or(""));
    }
  }

  void readFlows() {
    for (NodeId flow : t_.children(t_.root())) {
      if (t_.token(flow) != "TextFlow" || file_.childText(flow, "TFTag") == "HIDDEN") continue;
      readFlow(flow);
    }
    // Tables after the flows, when every anchor is known.
    const NodeId tbls = t_.findChild(t_.root(), "Tbls");
    for (NodeId tbl : t_.children(tbls)) {
      if (t_.token(tbl) != "Tbl") continue;
      auto it = tableAnchors_.find(file_.childInteger(tbl, "TblID").value_or(0));
      markersBelow(tbl, it == tableAnchors_.end() ? -1 : it->second);
    }
  }

  const std::unordered_map<NodeId, int>& pages() const { return pageOf_; }
  const std::unordered_map<NodeId, int>& paragraphEnds() const { return paragraphEnd_; }

 private:
  void readFlow(NodeId flow) {
    int current = kUnknown;
    std::vector<NodeId> waiting;           // markers before the flow's first frame
    std::vector<long long> waitingTables;  // tables anchored there
    std::unordered_map<long long, int> footnotes;
    std::vector<long long> waitingNotes;
    auto settle = [&](int page) {
      for (NodeId m : waiting) pageOf_[m] = page;
      for (long long id : waitingTables) tableAnchors_[id] = page;
      for (long long id : waitingNotes) footnotes[id] = page;
      waiting.clear();
      waitingTables.clear();
      waitingNotes.clear();
    };
    const NodeId notes = t_.findChild(flow, "Notes");
    NodeId para = kNoNode;  // the paragraph being read
    for (NodeId n = t_.firstChild(flow); n != kNoNode;) {
      const std::string_view tok = t_.token(n);
      if (n == notes) {
        n = t_.nextInSubtree(n, flow, true);
        continue;
      }
      if (tok == "Para") {
        if (para != kNoNode) paragraphEnd_[para] = current;
        para = n;
      } else if (tok == "TextRectID") {
        auto it = frames_.find(file_.integer(n).value_or(0));
        current = it == frames_.end() ? -1 : it->second;
        settle(current);
      } else if (tok == "Marker") {
        if (current == kUnknown) {
          waiting.push_back(n);
        } else {
          pageOf_[n] = current;
        }
      } else if (tok == "ATbl" || tok == "FNote") {
        const long long id = file_.integer(n).value_or(0);
        if (current == kUnknown) {
          (tok == "ATbl" ? waitingTables : waitingNotes).push_back(id);
        } else if (tok == "ATbl") {
          tableAnchors_[id] = current;
        } else {
          footnotes[id] = current;
        }
      }
      n = t_.nextInSubtree(n, flow);
    }
    if (para != kNoNode) paragraphEnd_[para] = current;
    // A main flow ("A") that names no frame at all was never laid out: its
    // text is taken to start on the first body page.
    if (current == kUnknown) {
      settle(file_.childText(flow, "TFTag") == "A" ? firstBodyPage() : -1);
    }
    for (NodeId fnote : t_.children(notes)) {
      if (t_.token(fnote) != "FNote") continue;
      auto it = footnotes.find(file_.childInteger(fnote, "ID").value_or(0));
      markersBelow(fnote, it == footnotes.end() ? -1 : it->second);
    }
  }

  int firstBodyPage() const { return pageByNumber_.empty() ? -1 : 0; }

  void markersBelow(NodeId top, int anchorPage) {
    for (NodeId n = t_.firstChild(top); n != kNoNode; n = t_.nextInSubtree(n, top)) {
      if (t_.token(n) != "Marker") continue;
      int page = anchorPage;
      if (anchorPage >= 0) {
        auto it = pageByNumber_.find(file_.childText(n, "MCurrPage").value_or(""));
        if (it != pageByNumber_.end()) page = it->second;
      }
      pageOf_[n] = page;
    }
  }

  const Document& file_;
  const Tree& t_;
  std::unordered_map<long long, int> frames_;  // TextRect ID -> body page, -1 for others
  std::unordered_map<std::string, int> pageByNumber_;
  std::unordered_map<long long, int> tableAnchors_;
  std::unordered_map<NodeId, int> pageOf_;
  std::unordered_map<NodeId, int> paragraphEnd_;  // page of each flow paragraph's last line
};

}  // namespace

SavedLayout ReadSavedLayout(const headless::Document& doc) {
  SavedLayout out;
  const FileState* state = StateOf(doc);
  if (!state) return out;
  LayoutWalk walk(state->file);
  walk.readPages(out);
  walk.readFlows();
  out.markers.resize(doc.idLimit());
  for (headless::Id m = doc.first(headless::DocList::Markers); m != 0; m = doc.node(m).next) {
    const NodeId node = state->node(m);
    if (node == kNoNode || state->file.tree().token(node) != "Marker") continue;
    auto it = walk.pages().find(node);
    out.markers[m].inFile = true;
    out.markers[m].page = it == walk.pages().end() ? -1 : it->second;
    out.markers[m].unique = state->file.childInteger(node, "Unique");
    auto end = walk.paragraphEnds().find(state->node(doc.anchorPosition(m).para));
    if (end != walk.paragraphEnds().end() && end->second >= 0) {
      out.markers[m].paragraphEndPage = end->second;
    }
  }
  return out;
}

}  // namespace mif
