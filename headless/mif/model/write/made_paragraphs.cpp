// Made paragraphs as MIF text, in the layout the writer gives the
// statements it makes: what the model would write for the same paragraphs
// made in it, without a statement for any of them.
#include "mif/made_paragraphs.h"

#include <algorithm>
#include <charconv>
#include <unordered_map>

#include "headless/utf8.h"
#include "mif/builder.h"
#include "mif/writer.h"
#include "model/chars.h"
#include "model/write/write.h"

namespace mif {

namespace {

using headless::Atom;

// A paragraph of a top-level flow, its head and lines, their contents.
constexpr std::size_t kParaDepth = 1, kHeadDepth = 2, kItemDepth = 3;

class MadeWriter {
 public:
  MadeWriter(WriteContext& w, const MadeParagraphs& made, std::vector<std::string>& pieces)
      : w_(w),
        made_(made),
        pieces_(pieces),
        frameRoman_(w.file.encoding() == Encoding::FrameRoman) {}

  Status run() {
    nextUnique_ = w_.ids().nextUniques(
        static_cast<long long>(made_.paragraphs.size() + made_.markers.size()));
    std::size_t begin = 0;
    for (const MadeParagraphs::Paragraph& p : made_.paragraphs) {
      if (p.end < begin || p.end > made_.atoms.size() || p.tag >= made_.tags.size()) {
        return w_.error("made paragraphs out of order");
      }
      if (out_.size() + kPieceRoom > kPiece) {
        pieces_.push_back(std::move(out_));
        out_ = std::string();
      }
      if (out_.capacity() < kPiece) out_.reserve(kPiece);
      if (Status s = paragraph(p, begin); !s) return s;
      begin = p.end;
    }
    if (!out_.empty()) pieces_.push_back(std::move(out_));
    return Ok();
  }

 private:
  Status paragraph(const MadeParagraphs::Paragraph& p, std::size_t begin) {
    open(kParaDepth, "Para");
    number(kHeadDepth, "Unique", nextUnique_++);
    if (Status s = quoted(kHeadDepth, "PgfTag", made_.tags[p.tag]); !s) return s;
    style_ = 0;
    applied_ = kNoAttr;
    lineOpen_ = wroteLine_ = false;
    for (std::size_t i = begin; i < p.end; ++i) {
      if (Status s = atom(made_.atoms[i]); !s) return s;
    }
    if (Status s = flush(); !s) return s;
    if (!wroteLine_) line();
    if (lineOpen_) close(kHeadDepth, "ParaLine");
    close(kParaDepth, "Para");
    return Ok();
  }

  Status atom(const Atom& a) {
    if (a.code >= 0x20 && a.code < 0x7F && a.attr == applied_) {
      text_.push_back(static_cast<char>(a.code));
      return Ok();
    }
    if (Status s = apply(a.attr); !s) return s;
    if (a.isAnchor()) return marker(a.object());
    const char32_t c = a.ch();
    const std::string* unknown = w_.state.unknownNameOf(c);
    const std::string_view name = unknown ? std::string_view(*unknown) : NameOfChar(c, frameRoman_);
    if (name.empty() && !unknown) {
      headless::AppendUtf8(text_, c);
      return Ok();
    }
    if (Status s = flush(); !s) return s;
    line();
    leaf(kItemDepth, "Char", name);
    // A forced line break ends the line, as the application writes it.
    if (c == U'\n') {
      close(kHeadDepth, "ParaLine");
      lineOpen_ = false;
    }
    return Ok();
  }

  // The text that follows is in `attr`: a <Font> when its style differs.
  Status apply(uint32_t attr) {
    if (attr == applied_) return Ok();
    if (!w_.doc.conditionsOf(attr).empty()) {
      return w_.error("made paragraphs cannot hold conditional text");
    }
    const uint32_t style = w_.doc.attr(attr).charStyle;
    if (style != style_) {
      if (Status s = flush(); !s) return s;
      auto font = fontText(style);
      if (!font) return font.error();
      line();
      out_ += **font;
      style_ = style;
    }
    applied_ = attr;
    return Ok();
  }

  Result<const std::string*> fontText(uint32_t style) {
    auto it = fonts_.find(style);
    if (it != fonts_.end()) return &it->second;
    auto font =
        FontStatement(w_, style, [this](NodeId source) { return w_.tree.copySubtree(source); });
    if (!font) return font.error();
    std::string text;
    WriteStatement(w_.tree, *font, kItemDepth, text);
    return &fonts_.emplace(style, std::move(text)).first->second;
  }

  Status marker(Id index) {
    if (index >= made_.markers.size()) return w_.error("a made marker that is not there");
    if (Status s = flush(); !s) return s;
    const MadeParagraphs::Marker& m = made_.markers[index];
    line();
    open(kItemDepth, "Marker");
    // A new marker's type as the writer numbers it: by name alone, the
    // custom number.
    number(kItemDepth + 1, "MType", MarkerTypeNumber(m.type).value_or(kCustomMarkerType));
    if (w_.file.versionNumber() >= 5.5) {
      if (Status s = quoted(kItemDepth + 1, "MTypeName", m.type); !s) return s;
    }
    if (Status s = quoted(kItemDepth + 1, "MText", m.text); !s) return s;
    number(kItemDepth + 1, "Unique", nextUnique_++);
    close(kItemDepth, "Marker");
    return Ok();
  }

  Status flush() {
    if (text_.empty()) return Ok();
    line();
    const Status s = quoted(kItemDepth, "String", text_);
    text_.clear();
    return s;
  }

  // The paragraph's line, opened when something first goes into it.
  void line() {
    if (lineOpen_) return;
    open(kHeadDepth, "ParaLine");
    lineOpen_ = wroteLine_ = true;
  }

  void indent(std::size_t depth) {
    static constexpr std::string_view kSpaces = "        ";
    out_.append(kSpaces.data(), std::min(depth, kSpaces.size()));
  }
  void open(std::size_t depth, std::string_view token) {
    indent(depth);
    out_.append(1, '<').append(token).append(" \n");
  }
  void close(std::size_t depth, std::string_view token) {
    indent(depth);
    out_.append("> # end of ").append(token).append(1, '\n');
  }
  void leaf(std::size_t depth, std::string_view token, std::string_view value) {
    indent(depth);
    out_.append(1, '<').append(token).append(1, ' ').append(value).append(">\n");
  }
  void number(std::size_t depth, std::string_view token, long long n) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, n).ptr;
    leaf(depth, token, std::string_view(digits, static_cast<std::size_t>(end - digits)));
  }
  Status quoted(std::size_t depth, std::string_view token, std::string_view text) {
    indent(depth);
    out_.append(1, '<').append(token).append(1, ' ');
    if (Status s = w_.appendQuoted(out_, token, text); !s) return s;
    out_.append(">\n");
    return Ok();
  }

  static constexpr uint32_t kNoAttr = 0xFFFFFFFFu;
  // The text goes in pieces of a megabyte; a piece takes another paragraph
  // while it has this much room (a longer one makes it grow).
  static constexpr std::size_t kPiece = std::size_t{1} << 20, kPieceRoom = 16 * 1024;

  WriteContext& w_;
  const MadeParagraphs& made_;
  std::vector<std::string>& pieces_;
  std::string out_;  // the piece being written
  const bool frameRoman_;
  long long nextUnique_ = 0;
  std::unordered_map<uint32_t, std::string> fonts_;  // each style's <Font>, as text
  std::string text_;                                 // the text of the <String> being gathered
  uint32_t style_ = 0;
  uint32_t applied_ = kNoAttr;
  bool lineOpen_ = false;
  bool wroteLine_ = false;
};

}  // namespace

Status WriteMadeParagraphs(WriteContext& w, const MadeParagraphs& made,
                           std::vector<std::string>& out) {
  return MadeWriter(w, made, out).run();
}

}  // namespace mif
