// The text of one paragraph, kept compact: one byte per position while
// every character code fits in a byte, four once one does not (the text is
// widened then), with the attributes kept as runs and the anchors kept
// apart. A position holding an anchor holds 0 in the text, and the anchor
// list (in text order) says which object it is.
//
// Costs: a position is read in O(log) of the paragraph's anchors and
// attribute runs, and walking the text with its iterator is O(1) a step.
// Editing costs time in proportion to the paragraph only.
#ifndef VELTRANO_HEADLESS_PARA_TEXT_H
#define VELTRANO_HEADLESS_PARA_TEXT_H

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <span>
#include <string>
#include <vector>

#include "headless/value.h"

namespace headless {

// Anchors of objects that enclose text (variables, cross-references, text
// insets) come in pairs; the others are single.
enum class AnchorRole : uint8_t { Single, Begin, End };

// One text position of a paragraph: a character or the anchor of an object,
// with the interned attributes (condition tags and character formatting) it
// carries.
struct Atom {
  static constexpr uint32_t kAnchorBit = 0x80000000u;
  static constexpr uint32_t kEndBit = 0x40000000u;
  static constexpr uint32_t kIdMask = 0x3FFFFFFFu;
  // The code of a removed atom: an anchor of no object.
  static constexpr uint32_t kRemoved = kAnchorBit;

  uint32_t code = 0;
  uint32_t attr = 0;

  static Atom Char(char32_t c, uint32_t attr = 0) { return Atom{static_cast<uint32_t>(c), attr}; }
  static Atom Anchor(Id obj, AnchorRole role, uint32_t attr = 0) {
    return Atom{kAnchorBit | (role == AnchorRole::End ? kEndBit : 0u) | (obj & kIdMask), attr};
  }
  bool isAnchor() const { return (code & kAnchorBit) != 0; }
  bool isEnd() const { return isAnchor() && (code & kEndBit) != 0; }
  Id object() const { return isAnchor() ? (code & kIdMask) : 0; }
  char32_t ch() const { return isAnchor() ? 0 : static_cast<char32_t>(code); }
};

class ParaText {
 public:
  // An anchor and the position it stands at.
  struct AnchorAt {
    uint32_t offset = 0;
    uint32_t code = 0;
  };

  std::size_t size() const { return units_.size() / width_; }
  bool empty() const { return units_.empty(); }
  // Whether the text holds a character beyond one byte.
  bool wide() const { return width_ != 1; }
  Atom operator[](std::size_t i) const;
  uint32_t attrAt(std::size_t i) const;
  // The anchors in text order.
  const std::vector<AnchorAt>& anchors() const { return anchors_; }
  // Whether any position carries an attribute `pred` holds for.
  template <typename Pred>
  bool anyAttr(Pred pred) const {
    if (empty()) return false;
    if (pred(firstAttr_)) return true;
    for (const Run& r : runs_) {
      if (pred(r.attr)) return true;
    }
    return false;
  }

  class Iterator {
   public:
    using iterator_category = std::input_iterator_tag;
    using value_type = Atom;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = Atom;

    Iterator() = default;
    Atom operator*() const {
      const ParaText& t = *text_;
      const bool anchor = anchor_ < t.anchors_.size() && t.anchors_[anchor_].offset == at_;
      return Atom{anchor ? t.anchors_[anchor_].code : t.unit(at_), attr_};
    }
    Iterator& operator++() {
      const ParaText& t = *text_;
      ++at_;
      if (anchor_ < t.anchors_.size() && t.anchors_[anchor_].offset < at_) ++anchor_;
      if (run_ < t.runs_.size() && t.runs_[run_].start <= at_) attr_ = t.runs_[run_++].attr;
      return *this;
    }
    void operator++(int) { ++*this; }
    bool operator==(const Iterator& o) const { return at_ == o.at_; }
    bool operator!=(const Iterator& o) const { return at_ != o.at_; }

   private:
    friend class ParaText;
    const ParaText* text_ = nullptr;
    uint32_t at_ = 0;
    uint32_t anchor_ = 0;  // the first anchor at or after at_
    uint32_t run_ = 0;     // the next run of runs_ to start
    uint32_t attr_ = 0;
  };
  Iterator begin() const;
  Iterator end() const;

  // ---- Editing ----
  void insert(std::size_t pos, std::span<const Atom> atoms);
  void erase(std::size_t from, std::size_t to);
  // Moves the text from `pos` on into a new text, which it returns.
  ParaText splitOff(std::size_t pos);
  void append(const ParaText& tail);
  // Gives every position in [from, to) the attribute `remap` makes of its
  // own, run by run.
  template <typename Remap>
  void remapAttrs(std::size_t from, std::size_t to, Remap remap) {
    std::vector<Run> mid = runsOf(from, to);
    for (Run& r : mid) r.attr = remap(r.attr);
    spliceRuns(size(), from, to, mid, to - from);
  }
  // Sets the code of the k-th anchor (Atom::kRemoved marks it removed).
  void setAnchorCode(std::size_t k, uint32_t code) { anchors_[k].code = code; }
  // Takes out the anchors marked removed, with their positions.
  void eraseRemoved();
  void clear() { *this = ParaText(); }

 private:
  // An attribute from `start` to the next run's start or the end.
  struct Run {
    uint32_t start = 0;
    uint32_t attr = 0;
  };

  uint32_t unit(std::size_t i) const {
    if (width_ == 1) return static_cast<unsigned char>(units_[i]);
    uint32_t c;
    std::memcpy(&c, units_.data() + i * 4, 4);
    return c;
  }
  void widen();
  // The runs of [from, to), their starts counted from `from`.
  std::vector<Run> runsOf(std::size_t from, std::size_t to) const;
  // Replaces the runs of [from, to) of a text of `old` positions by `mid`,
  // the runs of `length` new positions (starts counted from `from`).
  void spliceRuns(std::size_t old, std::size_t from, std::size_t to, const std::vector<Run>& mid,
                  std::size_t length);
  // Stores runs that start at 0 and lie within `size` positions, merging
  // neighbours of one attribute and dropping empty ones.
  void setRuns(std::vector<Run>& runs, std::size_t size);

  // Each position's code in width_ bytes; 0 where an anchor stands.
  std::string units_;
  uint8_t width_ = 1;
  // The attribute of the first run; runs_ are the runs after it.
  uint32_t firstAttr_ = 0;
  std::vector<Run> runs_;
  std::vector<AnchorAt> anchors_;
};

}  // namespace headless

#endif
