#include "model_state.h"

namespace mif {

FileState FileState::copy() const {
  FileState out(file.copy());
  out.nodeOf = nodeOf;
  out.defaultUnit = defaultUnit;
  out.carriedIn = carriedIn;
  out.groups = groups;
  out.shown = shown;
  out.showAll = showAll;
  return out;
}

void FileState::setNode(Id id, NodeId node) {
  if (id >= nodeOf.size()) nodeOf.resize(static_cast<std::size_t>(id) + 1, kNoNode);
  nodeOf[id] = node;
}

std::unique_ptr<headless::Extension> MifExtension::clone() const {
  return std::make_unique<MifExtension>(state_.copy());
}

FileState* StateOf(const headless::Document& doc) {
  const auto* ext = dynamic_cast<const MifExtension*>(doc.extension());
  return ext ? &ext->state() : nullptr;
}

FileState* StateOf(const headless::Book& book) {
  const auto* ext = dynamic_cast<const MifExtension*>(book.extension());
  return ext ? &ext->state() : nullptr;
}

void SetOrigin(headless::Document& doc, FileState& state, Id id, NodeId node) {
  if (id == 0 || node == kNoNode) return;
  doc.setOrigin(id, static_cast<uint64_t>(node) + 1);
  state.setNode(id, node);
}

}  // namespace mif
