// What a document or book read from a MIF file keeps of the file: the
// statement tree (so that a save writes back everything the model does not
// interpret) and where each model object came from.
#ifndef VELTRANO_MIF_MODEL_STATE_H
#define VELTRANO_MIF_MODEL_STATE_H

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "headless/book.h"
#include "headless/document.h"
#include "headless/extension.h"
#include "mif/document.h"

namespace mif {

using headless::Id;

// A property only this store reads: the statement (its node + 1) that a
// variable, cross-reference or text style was read from. A copy the host
// makes of such an object carries it, so the copy is written like the
// original.
inline constexpr int kPropSourceStatement = -0x4D49;

struct FileState {
  Document file;
  // The statement of each model object (by model id), kNoNode for none.
  std::vector<NodeId> nodeOf;
  // Points per unit of the file's <Units> (inches unless it says otherwise).
  double defaultUnit = 72.0;
  // Paragraph statements read in a condition state carried over from the
  // paragraph before them: the condition tags of that state.
  std::unordered_map<NodeId, std::vector<std::string>> carriedIn;
  // Visible paragraphs read with hidden text spliced in: the model
  // paragraphs they became, in order (the last holds the visible end mark).
  std::unordered_map<NodeId, std::vector<Id>> groups;
  // Paragraph statements whose later lines start in another text frame
  // (a <TextRectID> after the one their first line starts with): the text
  // they were last read or written with (the atoms' codes) and where in it
  // each of those frames starts, so that a rewrite keeps each frame with
  // the text it held. The saved layout gives pages by these frames.
  struct LineFrames {
    std::vector<uint32_t> codes;
    std::vector<std::pair<std::size_t, NodeId>> starts;  // (atom index, <TextRectID>)
  };
  std::unordered_map<NodeId, LineFrames> lineFrames;
  // Visibility as last read or written: the shown flag by condition id
  // (2 shown, 1 hidden, 0 not a condition then) and show-all.
  std::vector<uint8_t> shown;
  bool showAll = false;
  // <Char> names this store does not know, exactly as the file wrote them.
  // The text holds each as a private-use character (see CharOfUnknownName)
  // and a save writes the name back.
  std::unordered_map<char32_t, std::string> unknownChars;
  std::unordered_map<std::string, char32_t> unknownCharCodes;
  // The next character to stand for a name; the characters of that range
  // the file's own text holds (found when the first name needs one).
  char32_t nextUnknownChar = 0;
  std::unordered_set<char32_t> privateCharsInFile;

  explicit FileState(Document f) : file(std::move(f)) {}
  FileState copy() const;

  NodeId node(Id id) const { return id < nodeOf.size() ? nodeOf[id] : kNoNode; }
  void setNode(Id id, NodeId node);

  // The character standing for an unknown <Char> name (the same for the
  // same name); none when the private-use plane is used up.
  std::optional<char32_t> charOfUnknownName(std::string_view name);
  // The unknown name a character stands for, or null.
  const std::string* unknownNameOf(char32_t c) const;
};

// The file state kept with a document or book.
class MifExtension final : public headless::Extension {
 public:
  explicit MifExtension(FileState state) : state_(std::move(state)) {}
  std::unique_ptr<headless::Extension> clone() const override;

  // Writing a document or book brings its file state up to date with it.
  // That is no change of the document, so the state is reached from a
  // const document too.
  FileState& state() const { return state_; }

 private:
  mutable FileState state_;
};

// The file state of a document or book read from MIF, or null.
FileState* StateOf(const headless::Document& doc);
FileState* StateOf(const headless::Book& book);

// Records the statement of a model object on both sides: the model's
// origin (node + 1) and the file state.
void SetOrigin(headless::Document& doc, FileState& state, Id id, NodeId node);

}  // namespace mif

#endif
