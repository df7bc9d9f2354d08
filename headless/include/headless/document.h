// The in-memory model of one document: flows and text frames with columns,
// paragraphs, tables, footnotes, markers and marker types, condition tags,
// paragraph and character formats, colours, text insets and the opaque
// anchored objects (variables, cross-references, anchored frames).
//
// Objects are named by local ids (1 is the document itself, 0 is none). Ids
// are never reused within a document; a deleted object's id reads as
// Kind::None from then on. The host maps local ids to host handles.
//
// Costs: every object is one slot lookup away; paragraph chains and the
// document's lists are linked lists; a paragraph's text is a compact
// ParaText (one byte a character while every code fits), so editing costs time in proportion to the
// paragraphs touched, never to the document. Paragraphs that share a format share one property map
// (copied on write). Layout is computed per flow when something reads it after a change.
//
// Every change made through these functions marks the changed objects as
// modified and the document as dirty, so a file writer can re-emit only what
// changed; a loader clears the marks when it has built the document.
#ifndef VELTRANO_HEADLESS_DOCUMENT_H
#define VELTRANO_HEADLESS_DOCUMENT_H

#include <compare>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "headless/extension.h"
#include "headless/para_text.h"
#include "headless/value.h"

namespace headless {

enum class Kind : uint8_t {
  None,
  Document,
  Flow,
  TextFrame,
  Column,
  Paragraph,
  Table,
  Row,
  Cell,
  Footnote,
  Marker,
  MarkerType,
  Condition,
  ParagraphFormat,
  CharacterFormat,
  Color,
  TextInset,
  Variable,
  XRef,
  AnchoredFrame,
};

const char* KindName(Kind kind);

// The document's ordered lists of objects.
enum class DocList : uint8_t {
  Flows,
  Tables,
  Footnotes,
  Markers,
  Conditions,
  ParagraphFormats,
  CharacterFormats,
  Colors,
  MarkerTypes,
  TextInsets,
  Variables,
  XRefs,
  AnchoredFrames,
  Count,
};

// The attributes of one text position. charStyle indexes the document's
// interned character property lists (0: the paragraph's own font).
struct TextAttr {
  std::vector<Id> conditions;
  uint32_t charStyle = 0;
  auto operator<=>(const TextAttr&) const = default;
};

// Capacity of a text frame. A frame whose lines per column is 0 has no set
// capacity and holds everything.
struct FrameGeometry {
  int32_t columns = 1;
  int32_t linesPerColumn = 0;
  int32_t charsPerLine = 0;
};

// A resolved text position: offset 0 .. size is before a character or the
// end mark; size + 1 is after the end mark (the end of the object).
struct TextPos {
  Id para = 0;
  uint32_t offset = 0;
  bool operator==(const TextPos&) const = default;
};

struct TextSpan {
  TextPos begin;
  TextPos end;
  bool operator==(const TextSpan&) const = default;
};

// Every object other than a paragraph. Which members mean something depends
// on the kind; see the comments.
struct Node {
  Kind kind = Kind::None;
  Id prev = 0, next = 0;               // list (DocList) or sibling links
  Id parent = 0;                       // frame: flow; column: frame; row: table; cell: row
  Id first = 0, last = 0;              // children: flow frames, frame columns, rows, cells
  Id paraFirst = 0, paraLast = 0;      // the paragraph chain of a flow, cell or footnote
  Id anchor = 0;                       // paragraph holding the (begin) anchor
  Id anchorEnd = 0;                    // paragraph holding the end anchor of a pair
  Id ref = 0;                          // marker: its marker type
  std::string name;                    // name of a named object; a marker's text
  int32_t flag = 0;                    // condition: shown; cell: shown; inset: locked;
                                       // marker type: standard; frame: balanced columns
  FrameGeometry geometry;              // text frames
  bool autoFrame = false;              // a frame the layout added when the chain ran out
  Id layoutFirst = 0, layoutLast = 0;  // frames, columns: laid-out paragraphs
  uint32_t layoutSeq = 0;              // frames, columns: when the layout reached them
  PropMap props;                       // every other property set on the object
};

struct Para {
  Id owner = 0;  // flow, cell or footnote
  Id prev = 0, next = 0;
  uint32_t tag = 0;  // index into the document's tag names
  uint32_t endAttr = 0;
  std::shared_ptr<const PropMap> props;
  // The text. Anchors of deleted objects may stand in it as removed atoms
  // until the paragraph is next reached (see Document::para), so that
  // deleting many anchors of one paragraph costs no more than one pass.
  mutable ParaText text;
  mutable uint32_t removed = 0;      // removed atoms not yet taken out
  mutable uint32_t removedNear = 0;  // the anchor that went last: the next is looked for there
  mutable uint64_t hiddenStamp = 0;
  mutable bool hidden = false;
  // When the layout placed it (the sequence number of its column); kNotPlaced
  // until it is placed.
  static constexpr uint32_t kNotPlaced = 0xFFFFFFFFu;
  mutable uint32_t layoutSeq = kNotPlaced;
};

class Document {
 public:
  static constexpr Id kSelf = 1;

  Document();

  // ---- Objects ----
  Kind kind(Id id) const;
  bool alive(Id id) const { return kind(id) != Kind::None; }
  // Every id in use is below this.
  Id idLimit() const { return static_cast<Id>(slots_.size()); }
  uint64_t origin(Id id) const;
  void setOrigin(Id id, uint64_t origin);
  bool modified(Id id) const;
  void markModified(Id id);
  // Forgets every modified mark and the dirty flag (after loading or saving).
  void clearModified();
  bool dirty() const { return dirty_; }
  void setDirty(bool dirty) { dirty_ = dirty; }
  // Increases with every change; layout and visibility caches compare it.
  uint64_t changeCount() const { return changes_; }

  const Node& node(Id id) const;  // any live object but a paragraph
  const Para& para(Id id) const;  // a live paragraph
  // Properties set on the object that the model does not interpret.
  const PropMap& props(Id id) const;
  void setProp(Id id, int code, Value value);
  void eraseProp(Id id, int code);
  // The name of a named object, or a marker's text.
  void setName(Id id, std::string name);
  void setFlag(Id id, int32_t flag);

  // ---- The document itself ----
  const std::string& path() const { return path_; }
  void setPath(std::string path);
  bool showAll() const { return showAll_; }
  void setShowAll(bool on);
  Id mainFlow() const { return mainFlow_; }
  void setMainFlow(Id flow);
  const Extension* extension() const { return extension_.get(); }
  Extension* extension() { return extension_.get(); }
  void setExtension(std::unique_ptr<Extension> extension) { extension_ = std::move(extension); }

  // ---- Lists, in document order ----
  Id first(DocList list) const { return lists_[static_cast<int>(list)].first; }
  Id last(DocList list) const { return lists_[static_cast<int>(list)].last; }
  std::vector<Id> all(DocList list) const;
  // Moves `id` to the end of its list. A loader that creates objects in file
  // order uses it to put a list in document order; it is no change of the
  // document.
  void moveToListEnd(Id id);

  // ---- Named objects ----
  // Formats, conditions, colours and marker types by exact name; 0 if none.
  Id find(Kind kind, std::string_view name) const;
  Id addColor(std::string name);
  // The reserved colours every new document starts with.
  void addReservedColors();
  Id addCondition(std::string name, bool shown = true, Id color = 0);
  bool conditionShown(Id condition) const;
  void setConditionShown(Id condition, bool shown);
  Id addParagraphFormat(std::string name, PropMap props = {});
  Id addCharacterFormat(std::string name, PropMap props = {});
  Id addMarkerType(std::string name);
  // A format's property list with its name (property 20). Paragraph formats
  // list the paragraph properties the host knows, with their defaults where
  // the format does not set them.
  PropMap formatPropList(Id format) const;

  // ---- Flows, frames, columns ----
  // The first flow added becomes the main flow.
  Id addFlow(std::string name = "A");
  // Appends a text frame (with its columns) to the flow's chain.
  Id addFrame(Id flow, FrameGeometry geometry = {}, bool balanced = false);
  void setFrameGeometry(Id frame, FrameGeometry geometry);

  // ---- Tables and footnotes ----
  Id addTable();        // appended to the document's table list
  Id addRow(Id table);  // appended to the table
  Id addCell(Id row);   // appended to the row; shown
  Id tableOfCell(Id cell) const;
  Id addFootnote();  // appended to the footnote list

  // ---- Markers, insets and other anchored objects ----
  // A marker not yet anchored; anchor it with appendAnchor or insertAnchor.
  Id addMarker(Id type, std::string text);
  void setMarkerType(Id marker, Id type);
  Id addTextInset(bool locked);
  // Variables, cross-references and anchored frames, kept as opaque objects.
  Id addAnchoredObject(Kind kind);
  // Where the object's (begin) anchor stands, or {0, 0} when not anchored.
  TextPos anchorPosition(Id obj) const;

  // ---- Paragraphs ----
  // `container` is a flow, cell or footnote. A new paragraph takes the
  // properties of its format when the document has a format of that tag.
  Id appendParagraph(Id container, std::string_view tag = {});
  Id insertParagraphBefore(Id para, std::string_view tag = {});
  Id insertParagraphAfter(Id para, std::string_view tag = {});
  std::string_view tag(Id para) const;
  void setTag(Id para, std::string_view tag);
  const PropMap& paragraphProps(Id para) const;
  void setParagraphProp(Id para, int code, Value value);
  // Replaces all of the paragraph's properties (its tag stays).
  void setParagraphProps(Id para, PropMap props);
  // Gives the paragraph the format's tag and all its properties.
  void applyParagraphFormat(Id para, Id format);
  std::size_t size(Id p) const { return para(p).text.size(); }
  // The paragraph's text positions, to walk or to read one by one.
  const ParaText& atoms(Id p) const { return para(p).text; }
  // The characters of the paragraph as UTF-8 (anchors left out).
  std::string text(Id para) const;
  uint32_t endAttr(Id p) const { return para(p).endAttr; }
  void setEndAttr(Id para, uint32_t attr);

  // Building text at the end of a paragraph, as a loader does: every
  // character is kept, so "\n" here is a forced line break inside the
  // paragraph (insertText splits the paragraph at "\n" instead).
  void appendText(Id para, std::string_view utf8, uint32_t attr = 0);
  void appendAnchor(Id para, Id obj, AnchorRole role = AnchorRole::Single, uint32_t attr = 0);

  // ---- Attributes ----
  uint32_t internAttr(const TextAttr& attr);
  const TextAttr& attr(uint32_t id) const { return attrs_[id]; }
  uint32_t internCharStyle(const PropMap& props);
  const PropMap& charStyle(uint32_t id) const { return charStyles_[id]; }
  // The live condition tags of an attribute.
  std::vector<Id> conditionsOf(uint32_t attr) const;

  // ---- Editing ----
  // Puts two positions of one paragraph chain in order; false when they do
  // not lie in one chain.
  bool ordered(TextPos& begin, TextPos& end) const;
  // Turns a host offset (with the end codes 0x4FFFFFFF - n and 0x50000000)
  // into a position of the paragraph, clamped to it.
  TextPos resolve(Id para, int32_t offset) const;
  // Inserts text; "\n" splits the paragraph. Returns the position after it.
  TextPos insertText(TextPos at, std::string_view utf8);
  void insertAtoms(TextPos at, const std::vector<Atom>& atoms);
  void insertAnchor(TextPos at, Id obj, AnchorRole role = AnchorRole::Single);
  // Splits before `at`: the paragraph keeps the text before, a new paragraph
  // right after it (with the same properties) takes the rest. Returns it.
  Id split(TextPos at);
  // Deletes the text between two positions of one chain; a deleted end mark
  // joins the next paragraph onto the paragraph before it.
  void deleteRange(TextPos begin, TextPos end);
  // Joins the next shown paragraph onto this one; this one keeps its format
  // and identity.
  bool joinNext(Id para);
  // Sets the condition tags of a range (the end marks included in it too).
  void setConditions(TextPos begin, TextPos end, const std::vector<Id>& conditions);
  // Sets one character property over a range, or with `replace` the whole
  // character formatting.
  void setCharProps(TextPos begin, TextPos end, const PropMap& props, bool replace);
  uint32_t attrAt(TextPos pos) const;
  // The attributes new text at a position takes: those of the character
  // before it, as typing does (at the start, those of the first position or
  // of the end mark).
  uint32_t insertionAttr(TextPos pos) const;
  // Deletes an object with everything it holds; a deleted anchored object's
  // anchors leave the text.
  bool deleteObject(Id id);

  // ---- What the user sees ----
  // A paragraph is hidden when show-all is off and its every character,
  // anchor and end mark carries only hidden condition tags.
  bool hidden(Id para) const;
  bool attrHidden(uint32_t attr) const;
  Id firstParagraph(Id container) const;  // first shown paragraph
  Id lastParagraph(Id container) const;
  Id nextParagraph(Id para) const;  // next shown paragraph, 0 at the end
  Id prevParagraph(Id para) const;

  // ---- Layout (computed on demand) ----
  Id frameFirstParagraph(Id frame);
  Id frameLastParagraph(Id frame);
  Id columnFirstParagraph(Id column);
  Id columnLastParagraph(Id column);
  Id nextColumn(Id column);  // crosses into the next frame of the flow
  Id nextFrame(Id frame);    // after the layout has added or removed frames
  // Brings the flow's whole layout up to date (frames may be added or
  // removed). The questions above lay a flow out only as far as they need.
  void layout(Id flow);

  // ---- Selection ----
  // The selection moves with edits as the application's does.
  const TextSpan& selection() const { return selection_; }
  void setSelection(TextSpan span) { selection_ = span; }

 private:
  struct Slot {
    Kind kind = Kind::None;
    bool modified = false;
    uint32_t index = 0;
    uint64_t origin = 0;
  };
  struct ListHead {
    Id first = 0, last = 0;
  };

  Id newNode(Kind kind);
  Id newPara(Id owner, uint32_t tag, std::shared_ptr<const PropMap> props);
  Node& mutableNode(Id id);
  Para& mutablePara(Id id);
  ListHead* listOf(Kind kind);
  void linkLast(ListHead& head, Id id);
  void unlink(ListHead& head, Id id);
  void indexName(Id id);
  void unindexName(Id id);
  uint32_t internTag(std::string_view tag);
  std::shared_ptr<const PropMap> sharedFormatProps(Id format);
  void changed(Id id);
  void changedVisibility();
  void chainInsert(Id owner, Id before, Id para);
  void joinParagraphs(Id para, Id next);
  void chainRemove(Id para);
  void removeAtoms(Id para, uint32_t from, uint32_t to, std::vector<Id>* killed);
  void moveAnchors(Id para, uint32_t from);
  void destroyParagraph(Id para, std::vector<Id>* killed);
  void destroy(Id id, bool removeAnchors);
  void removeAnchorAtoms(Id obj);
  // Marks the anchor atom of `obj` in `para` removed; false when it is not
  // found or the selection lies in the paragraph (then it goes at once).
  bool markAnchorRemoved(Id para, Id obj, bool end);
  // Takes the removed atoms out of a paragraph's text.
  void takeOutRemoved(const Para& para) const;
  Id frameFlow(Id id) const;
  // The layout of one flow, made as far as questions need it: the columns
  // reached, in order, and where placing stands. A change to a paragraph
  // takes it back to the column before the paragraph's; a change to frames
  // or to what is shown starts every flow's layout again.
  struct FlowLayout {
    struct Reached {
      Id column = 0, frame = 0;
      Id before = 0;  // the paragraph placed last before the column
    };
    uint64_t epoch = 0;  // layoutEpoch_ when it was started
    uint32_t base = 0;   // the sequence number of its first column
    std::vector<Reached> columns;
    Id lastPlaced = 0;
    Id lastUsed = 0;   // the frame of the last paragraph placed
    int64_t used = 0;  // lines used in the last column
    bool empty = true;
    bool complete = false;
  };
  // Copies start their layouts afresh: it is derived and names this
  // document's ids.
  struct Layouts {
    std::unordered_map<Id, FlowLayout> flows;
    Layouts() = default;
    Layouts(const Layouts&) {}
    Layouts& operator=(const Layouts&) {
      flows.clear();
      return *this;
    }
    Layouts(Layouts&&) noexcept = default;
    Layouts& operator=(Layouts&&) noexcept = default;
  };
  FlowLayout& flowLayout(Id flow);
  void startLayout(Id flow, FlowLayout& l);
  void reachColumn(FlowLayout& l, Id column, Id frame);
  // Runs `placing` (placeNext calls) as no edit of the document.
  template <typename Placing>
  void layoutQuietly(Id flow, Placing placing);
  bool placeNext(Id flow, FlowLayout& l);
  void finishLayout(FlowLayout& l);
  // Lays the flow of `obj` (a frame or column) out until the layout is past
  // `obj` or complete.
  void layoutThrough(Id obj);
  bool reached(const FlowLayout& l, Id obj, bool frame) const;
  // What changes do to layouts: `para` changed (or is about to leave its
  // chain); anything else that moves text in frames changed.
  void layoutParagraphChanged(Id para);
  void layoutChanged();
  // Where a paragraph put after `prev` (0: first) in `owner` stands in the
  // layout until it is placed.
  uint32_t layoutSeqBeside(Id owner, Id prev) const;
  void appendChild(Id parent, Id child);
  Id addColumn(Id frame);
  Id cloneFrame(Id flow, Id like);

  std::vector<Slot> slots_;
  std::vector<Node> nodes_;
  std::vector<Para> paras_;
  ListHead lists_[static_cast<int>(DocList::Count)];
  std::unordered_map<std::string, Id> names_[static_cast<int>(Kind::AnchoredFrame) + 1];
  std::vector<std::string> tags_;
  std::unordered_map<std::string, uint32_t> tagIndex_;
  std::vector<TextAttr> attrs_;
  std::map<TextAttr, uint32_t> attrIndex_;
  std::vector<PropMap> charStyles_;
  // The property map paragraphs of each format share, rebuilt when the
  // format changes.
  std::unordered_map<Id, std::shared_ptr<const PropMap>> formatProps_;
  std::shared_ptr<const PropMap> emptyProps_;
  std::string path_;
  bool showAll_ = false;
  bool dirty_ = false;
  Id mainFlow_ = 0;
  uint64_t changes_ = 1;
  uint64_t visibilityStamp_ = 1;
  int hiddenConditions_ = 0;
  mutable std::vector<uint8_t> attrHiddenCache_;
  mutable uint64_t attrCacheStamp_ = 0;
  TextSpan selection_;
  ExtensionPtr extension_;
  Layouts layouts_;
  uint64_t layoutEpoch_ = 1;
  uint32_t layoutSeqs_ = 0;  // sequence numbers handed out
  bool inLayout_ = false;    // frames the layout adds or drops change nothing
};

}  // namespace headless

#endif
