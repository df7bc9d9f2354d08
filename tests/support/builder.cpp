#include "builder.h"

#include <stdexcept>

namespace vtrtest {

using headless::AnchorRole;
using headless::Kind;
using headless::TextAttr;
using headless::TextPos;

Props& Props::integer(int code, int32_t v) {
  map_.set(code, Value::Int(v));
  return *this;
}

Props& Props::metric(int code, int32_t v) {
  map_.set(code, Value::Metric(v));
  return *this;
}

Props& Props::string(int code, std::string v) {
  map_.set(code, Value::String(std::move(v)));
  return *this;
}

DocumentBuilder::DocumentBuilder(std::string path) {
  doc_.setPath(std::move(path));
  doc_.addReservedColors();
}

DocumentBuilder& DocumentBuilder::color(std::string name) {
  doc_.addColor(std::move(name));
  return *this;
}

DocumentBuilder& DocumentBuilder::withoutColor(const std::string& name) {
  doc_.deleteObject(doc_.find(Kind::Color, name));
  return *this;
}

DocumentBuilder& DocumentBuilder::condition(std::string name, bool shown,
                                            const std::string& color) {
  Id c = doc_.addCondition(std::move(name), shown, doc_.find(Kind::Color, color));
  doc_.setConditionShown(c, shown);
  return *this;
}

DocumentBuilder& DocumentBuilder::paraFormat(std::string name, PropMap props) {
  doc_.addParagraphFormat(std::move(name), std::move(props));
  return *this;
}

DocumentBuilder& DocumentBuilder::paraFormatIndented(std::string name, int32_t indent) {
  return paraFormat(std::move(name), Props().metric(host::kPropIndent, indent));
}

DocumentBuilder& DocumentBuilder::charFormat(std::string name, PropMap props) {
  doc_.addCharacterFormat(std::move(name), std::move(props));
  return *this;
}

DocumentBuilder& DocumentBuilder::markerType(std::string name) {
  doc_.addMarkerType(std::move(name));
  return *this;
}

DocumentBuilder& DocumentBuilder::showAll(bool on) {
  doc_.setShowAll(on);
  return *this;
}

DocumentBuilder& DocumentBuilder::indexFormats() {
  paraFormatIndented("GroupTitlesIX", 0);
  paraFormatIndented("Level1IX", 0);
  paraFormatIndented("Level2IX", 18);
  return paraFormatIndented("Level3IX", 36);
}

DocumentBuilder& DocumentBuilder::flow(std::string name) {
  flow_ = doc_.addFlow(std::move(name));
  container_ = flowContainer_ = flow_;
  para_ = 0;
  table_ = row_ = cell_ = 0;
  return *this;
}

DocumentBuilder& DocumentBuilder::frame(FrameGeometry geometry, bool balanced) {
  if (flow_ == 0) flow();
  doc_.addFrame(flow_, geometry, balanced);
  return *this;
}

DocumentBuilder& DocumentBuilder::columns(int32_t columns, int32_t lines, int32_t chars,
                                          bool balanced) {
  return frame(FrameGeometry{columns, lines, chars}, balanced);
}

Id DocumentBuilder::ensureFrame() {
  if (flow_ == 0) flow();
  if (doc_.node(flow_).first == 0) doc_.addFrame(flow_);
  return doc_.node(flow_).first;
}

DocumentBuilder& DocumentBuilder::para(const std::string& tag, const std::string& text) {
  if (container_ == 0 || container_ == flow_) ensureFrame();
  para_ = doc_.appendParagraph(container_, tag);
  if (!text.empty()) doc_.appendText(para_, text);
  return *this;
}

DocumentBuilder& DocumentBuilder::text(const std::string& text) {
  if (para_ == 0) para("");
  doc_.appendText(para_, text);
  return *this;
}

uint32_t DocumentBuilder::attrFor(const std::vector<std::string>& conditions,
                                  const std::string& charFormat) {
  TextAttr attr;
  for (const std::string& name : conditions) attr.conditions.push_back(doc_.addCondition(name));
  if (!charFormat.empty()) {
    Id format = doc_.addCharacterFormat(charFormat);
    attr.charStyle = doc_.internCharStyle(doc_.formatPropList(format));
  }
  return doc_.internAttr(attr);
}

DocumentBuilder& DocumentBuilder::conditional(const std::vector<std::string>& conditions,
                                              const std::string& text) {
  if (para_ == 0) para("");
  doc_.appendText(para_, text, attrFor(conditions, {}));
  return *this;
}

DocumentBuilder& DocumentBuilder::styled(const std::string& charFormat, const std::string& text) {
  if (para_ == 0) para("");
  doc_.appendText(para_, text, attrFor({}, charFormat));
  return *this;
}

DocumentBuilder& DocumentBuilder::lineBreak() {
  return text("\x0A");
}

DocumentBuilder& DocumentBuilder::marker(const std::string& type, const std::string& text,
                                         const std::vector<std::string>& conditions) {
  if (para_ == 0) para("");
  Id m = doc_.addMarker(doc_.addMarkerType(type), text);
  doc_.appendAnchor(para_, m, headless::AnchorRole::Single, attrFor(conditions, {}));
  return *this;
}

DocumentBuilder& DocumentBuilder::conditions(const std::vector<std::string>& conditions) {
  if (para_ == 0) para("");
  std::vector<Id> ids;
  for (const std::string& name : conditions) ids.push_back(doc_.addCondition(name));
  doc_.setConditions({para_, 0}, {para_, static_cast<uint32_t>(doc_.size(para_)) + 1}, ids);
  return *this;
}

DocumentBuilder& DocumentBuilder::prop(int code, Value value) {
  if (para_ != 0) doc_.setParagraphProp(para_, code, std::move(value));
  return *this;
}

DocumentBuilder& DocumentBuilder::startsColumn() {
  return prop(host::kPropStartPosition, Value::Int(host::kStartTopOfColumn));
}

DocumentBuilder& DocumentBuilder::runIn() {
  return prop(host::kPropPlacement, Value::Int(host::kPlacementRunIn));
}

DocumentBuilder& DocumentBuilder::name(const std::string& key) {
  names_[key] = para_;
  return *this;
}

Id DocumentBuilder::id(const std::string& key) const {
  auto it = names_.find(key);
  if (it == names_.end()) throw std::out_of_range("no paragraph named " + key);
  return it->second;
}

DocumentBuilder& DocumentBuilder::table() {
  if (para_ == 0 || container_ != flowContainer_) para("");
  anchorPara_ = para_;
  table_ = doc_.addTable();
  doc_.appendAnchor(para_, table_);
  row_ = cell_ = 0;
  return *this;
}

DocumentBuilder& DocumentBuilder::row() {
  if (table_ == 0) table();
  row_ = doc_.addRow(table_);
  cell_ = 0;
  return *this;
}

DocumentBuilder& DocumentBuilder::cell(const std::string& tag, const std::string& text) {
  if (row_ == 0) row();
  cell_ = doc_.addCell(row_);
  container_ = cell_;
  para_ = 0;
  if (!tag.empty() || !text.empty()) para(tag, text);
  return *this;
}

DocumentBuilder& DocumentBuilder::cellShown(bool shown) {
  if (cell_ != 0) doc_.setFlag(cell_, shown ? 1 : 0);
  return *this;
}

DocumentBuilder& DocumentBuilder::endTable() {
  container_ = flowContainer_;
  para_ = anchorPara_;
  table_ = row_ = cell_ = 0;
  return *this;
}

DocumentBuilder& DocumentBuilder::settingsTable(
    const std::vector<std::pair<std::string, std::string>>& rows, const std::string& header) {
  table();
  row().cell("CellBody", header).cell("CellBody", "Value");
  for (const auto& [key, value] : rows) row().cell("CellBody", key).cell("CellBody", value);
  return endTable();
}

DocumentBuilder& DocumentBuilder::footnote() {
  if (para_ == 0 || container_ != flowContainer_) para("");
  anchorPara_ = para_;
  Id note = doc_.addFootnote();
  doc_.appendAnchor(para_, note);
  container_ = note;
  para_ = 0;
  return *this;
}

DocumentBuilder& DocumentBuilder::endFootnote() {
  container_ = flowContainer_;
  para_ = anchorPara_;
  return *this;
}

DocumentBuilder& DocumentBuilder::textInset(bool locked, const std::string& text) {
  if (para_ == 0) para("");
  Id inset = doc_.addTextInset(locked);
  doc_.appendAnchor(para_, inset, AnchorRole::Begin);
  doc_.appendText(para_, text);
  doc_.appendAnchor(para_, inset, AnchorRole::End);
  return *this;
}

DocumentBuilder& DocumentBuilder::variable(const std::string& name) {
  if (para_ == 0) para("");
  Id var = doc_.addAnchoredObject(Kind::Variable);
  doc_.setName(var, name);
  doc_.appendAnchor(para_, var, AnchorRole::Begin);
  doc_.appendAnchor(para_, var, AnchorRole::End);
  return *this;
}

DocumentBuilder& DocumentBuilder::xref(const std::string& text) {
  if (para_ == 0) para("");
  Id ref = doc_.addAnchoredObject(Kind::XRef);
  doc_.appendAnchor(para_, ref, AnchorRole::Begin);
  doc_.appendText(para_, text);
  doc_.appendAnchor(para_, ref, AnchorRole::End);
  return *this;
}

DocumentBuilder& DocumentBuilder::caret(uint32_t offset) {
  return select(offset, offset);
}

DocumentBuilder& DocumentBuilder::select(uint32_t begin, uint32_t end) {
  if (para_ != 0) doc_.setSelection({TextPos{para_, begin}, TextPos{para_, end}});
  return *this;
}

Document DocumentBuilder::build() const {
  Document out = doc_;
  out.clearModified();
  return out;
}

// ---- Books ----

BookBuilder::BookBuilder(std::string path) {
  book_.setPath(std::move(path));
}

BookBuilder& BookBuilder::doc(const std::string& path) {
  last_ =
      book_.appendComponent(parents_.empty() ? 0 : parents_.back(), host::kComponentDocument, path);
  return *this;
}

BookBuilder& BookBuilder::generated(const std::string& path, int32_t type) {
  doc(path);
  book_.setProp(last_, host::kPropGeneratedFileType, Value::Int(type));
  return *this;
}

BookBuilder& BookBuilder::excluded(bool on) {
  return prop(host::kPropComponentExcluded, Value::Int(on ? 1 : 0));
}

BookBuilder& BookBuilder::prop(int code, Value value) {
  if (last_ != 0) book_.setProp(last_, code, std::move(value));
  return *this;
}

BookBuilder& BookBuilder::folder(const std::string& name) {
  last_ =
      book_.appendComponent(parents_.empty() ? 0 : parents_.back(), host::kComponentFolder, name);
  parents_.push_back(last_);
  return *this;
}

BookBuilder& BookBuilder::group(const std::string& name) {
  last_ =
      book_.appendComponent(parents_.empty() ? 0 : parents_.back(), host::kComponentGroup, name);
  parents_.push_back(last_);
  return *this;
}

BookBuilder& BookBuilder::end() {
  if (!parents_.empty()) parents_.pop_back();
  return *this;
}

Book BookBuilder::build() const {
  Book out = book_;
  out.clearModified();
  return out;
}

}  // namespace vtrtest
