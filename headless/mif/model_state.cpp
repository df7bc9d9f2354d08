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
  out.unknownChars = unknownChars;
  out.unknownCharCodes = unknownCharCodes;
  return out;
}

namespace {

// Supplementary private-use plane A: no character the application writes.
constexpr char32_t kFirstUnknownChar = 0xF0000;
constexpr char32_t kLastUnknownChar = 0xFFFFD;

}  // namespace

std::optional<char32_t> FileState::charOfUnknownName(std::string_view name) {
  const std::string key(name);
  if (auto it = unknownCharCodes.find(key); it != unknownCharCodes.end()) return it->second;
  const char32_t c = kFirstUnknownChar + static_cast<char32_t>(unknownChars.size());
  if (c > kLastUnknownChar) return std::nullopt;
  unknownChars.push_back(key);
  unknownCharCodes.emplace(key, c);
  return c;
}

const std::string* FileState::unknownNameOf(char32_t c) const {
  if (c < kFirstUnknownChar || c - kFirstUnknownChar >= unknownChars.size()) return nullptr;
  return &unknownChars[c - kFirstUnknownChar];
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
