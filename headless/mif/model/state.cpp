#include "model/state.h"

namespace mif {

FileState FileState::copy() const {
  FileState out(file.copy());
  out.nodeOf = nodeOf;
  out.defaultUnit = defaultUnit;
  out.carriedIn = carriedIn;
  out.groups = groups;
  out.lineFrames = lineFrames;
  out.shown = shown;
  out.showAll = showAll;
  out.unknownChars = unknownChars;
  out.unknownCharCodes = unknownCharCodes;
  out.nextUnknownChar = nextUnknownChar;
  out.privateCharsInFile = privateCharsInFile;
  return out;
}

namespace {

// Supplementary private-use plane A: no character the application writes.
// Characters of it that the file's own text holds are passed over.
constexpr char32_t kFirstUnknownChar = 0xF0000;
constexpr char32_t kLastUnknownChar = 0xFFFFD;

// The characters of that plane in UTF-8 text (F3 B0..BF xx xx).
std::unordered_set<char32_t> PrivateCharsIn(std::string_view text) {
  std::unordered_set<char32_t> out;
  for (std::size_t at = text.find('\xF3'); at != std::string_view::npos && at + 3 < text.size();
       at = text.find('\xF3', at + 1)) {
    const auto b1 = static_cast<unsigned char>(text[at + 1]);
    const auto b2 = static_cast<unsigned char>(text[at + 2]);
    const auto b3 = static_cast<unsigned char>(text[at + 3]);
    if (b1 < 0xB0 || b1 > 0xBF || (b2 & 0xC0) != 0x80 || (b3 & 0xC0) != 0x80) continue;
    out.insert(0xC0000u + (static_cast<char32_t>(b1 & 0x3F) << 12) +
               (static_cast<char32_t>(b2 & 0x3F) << 6) + (b3 & 0x3F));
  }
  return out;
}

}  // namespace

std::optional<char32_t> FileState::charOfUnknownName(std::string_view name) {
  const std::string key(name);
  if (auto it = unknownCharCodes.find(key); it != unknownCharCodes.end()) return it->second;
  if (nextUnknownChar == 0) {
    nextUnknownChar = kFirstUnknownChar;
    privateCharsInFile = PrivateCharsIn(file.tree().source());
  }
  while (nextUnknownChar <= kLastUnknownChar && privateCharsInFile.count(nextUnknownChar) != 0) {
    ++nextUnknownChar;
  }
  if (nextUnknownChar > kLastUnknownChar) return std::nullopt;
  const char32_t c = nextUnknownChar++;
  unknownChars.emplace(c, key);
  unknownCharCodes.emplace(key, c);
  return c;
}

const std::string* FileState::unknownNameOf(char32_t c) const {
  if (c < kFirstUnknownChar || c > kLastUnknownChar) return nullptr;
  auto it = unknownChars.find(c);
  return it == unknownChars.end() ? nullptr : &it->second;
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
