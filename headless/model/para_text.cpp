// The compact text of a paragraph: characters in one or four bytes each,
// attribute runs and anchors apart (see para_text.h).
#include "headless/para_text.h"

#include <algorithm>

namespace headless {

namespace {

bool AnchorBefore(const ParaText::AnchorAt& a, std::size_t offset) {
  return a.offset < offset;
}

}  // namespace

Atom ParaText::operator[](std::size_t i) const {
  uint32_t code = unit(i);
  if (code == 0) {
    auto it = std::lower_bound(anchors_.begin(), anchors_.end(), i, AnchorBefore);
    if (it != anchors_.end() && it->offset == i) code = it->code;
  }
  return Atom{code, attrAt(i)};
}

uint32_t ParaText::attrAt(std::size_t i) const {
  if (runs_.empty() || i < runs_.front().start) return firstAttr_;
  auto it = std::upper_bound(runs_.begin(), runs_.end(), i,
                             [](std::size_t at, const Run& r) { return at < r.start; });
  return std::prev(it)->attr;
}

ParaText::Iterator ParaText::begin() const {
  Iterator it;
  it.text_ = this;
  it.attr_ = firstAttr_;
  return it;
}

ParaText::Iterator ParaText::end() const {
  Iterator it;
  it.text_ = this;
  it.at_ = static_cast<uint32_t>(size());
  return it;
}

void ParaText::widen() {
  if (width_ == 4) return;
  std::string wide(units_.size() * 4, '\0');
  for (std::size_t i = 0; i < units_.size(); ++i) {
    const uint32_t c = static_cast<unsigned char>(units_[i]);
    std::memcpy(wide.data() + i * 4, &c, 4);
  }
  units_ = std::move(wide);
  width_ = 4;
}

void ParaText::insert(std::size_t pos, std::span<const Atom> atoms) {
  if (atoms.empty()) return;
  pos = std::min(pos, size());
  if (width_ == 1 && std::any_of(atoms.begin(), atoms.end(),
                                 [](const Atom& a) { return !a.isAnchor() && a.code > 0xFF; })) {
    widen();
  }
  const std::size_t old = size();
  units_.insert(pos * width_, atoms.size() * width_, '\0');
  char* out = units_.data() + pos * width_;
  std::vector<AnchorAt> added;
  std::vector<Run> mid;
  for (std::size_t k = 0; k < atoms.size(); ++k) {
    const Atom& a = atoms[k];
    if (a.isAnchor()) {
      added.push_back({static_cast<uint32_t>(pos + k), a.code});
    } else if (width_ == 1) {
      out[k] = static_cast<char>(a.code);
    } else {
      std::memcpy(out + k * 4, &a.code, 4);
    }
    if (mid.empty() || mid.back().attr != a.attr) mid.push_back({static_cast<uint32_t>(k), a.attr});
  }
  if (old == 0) {
    setRuns(mid, atoms.size());
  } else {
    spliceRuns(old, pos, pos, mid, atoms.size());
  }
  auto at = std::lower_bound(anchors_.begin(), anchors_.end(), pos, AnchorBefore);
  for (auto it = at; it != anchors_.end(); ++it) it->offset += static_cast<uint32_t>(atoms.size());
  anchors_.insert(at, added.begin(), added.end());
}

void ParaText::erase(std::size_t from, std::size_t to) {
  to = std::min(to, size());
  if (from >= to) return;
  spliceRuns(size(), from, to, {}, 0);
  units_.erase(from * width_, (to - from) * width_);
  auto first = std::lower_bound(anchors_.begin(), anchors_.end(), from, AnchorBefore);
  auto last = std::lower_bound(first, anchors_.end(), to, AnchorBefore);
  for (auto it = last; it != anchors_.end(); ++it) it->offset -= static_cast<uint32_t>(to - from);
  anchors_.erase(first, last);
}

ParaText ParaText::splitOff(std::size_t pos) {
  pos = std::min(pos, size());
  ParaText tail;
  tail.width_ = width_;
  tail.units_ = units_.substr(pos * width_);
  std::vector<Run> runs = runsOf(pos, size());
  tail.setRuns(runs, size() - pos);
  auto at = std::lower_bound(anchors_.begin(), anchors_.end(), pos, AnchorBefore);
  for (auto it = at; it != anchors_.end(); ++it) {
    tail.anchors_.push_back({static_cast<uint32_t>(it->offset - pos), it->code});
  }
  erase(pos, size());
  return tail;
}

void ParaText::append(const ParaText& tail) {
  if (tail.empty()) return;
  if (tail.width_ > width_) widen();
  const auto start = static_cast<uint32_t>(size());
  spliceRuns(start, start, start, tail.runsOf(0, tail.size()), tail.size());
  if (tail.width_ == width_) {
    units_ += tail.units_;
  } else {
    units_.reserve(units_.size() + tail.size() * 4);
    for (std::size_t i = 0; i < tail.size(); ++i) {
      const uint32_t c = tail.unit(i);
      units_.append(reinterpret_cast<const char*>(&c), 4);
    }
  }
  for (const AnchorAt& a : tail.anchors_) anchors_.push_back({start + a.offset, a.code});
}

void ParaText::eraseRemoved() {
  std::vector<uint32_t> gone;
  for (const AnchorAt& a : anchors_) {
    if (a.code == Atom::kRemoved) gone.push_back(a.offset);
  }
  if (gone.empty()) return;
  std::vector<Run> runs = runsOf(0, size());
  std::string units;
  units.reserve(units_.size() - gone.size() * width_);
  std::size_t from = 0;
  for (uint32_t at : gone) {
    units.append(units_, from * width_, (at - from) * width_);
    from = at + 1;
  }
  units.append(units_, from * width_, std::string::npos);
  // Each position moves back by the number of positions taken out before it.
  std::size_t before = 0;
  std::vector<AnchorAt> kept;
  for (const AnchorAt& a : anchors_) {
    if (a.code == Atom::kRemoved) {
      ++before;
    } else {
      kept.push_back({static_cast<uint32_t>(a.offset - before), a.code});
    }
  }
  before = 0;
  for (Run& r : runs) {
    while (before < gone.size() && gone[before] < r.start) ++before;
    r.start -= static_cast<uint32_t>(before);
  }
  const std::size_t n = size() - gone.size();
  units_ = std::move(units);
  anchors_ = std::move(kept);
  setRuns(runs, n);
}

std::vector<ParaText::Run> ParaText::runsOf(std::size_t from, std::size_t to) const {
  std::vector<Run> out;
  if (from >= to) return out;
  out.push_back({0, attrAt(from)});
  for (const Run& r : runs_) {
    if (r.start > from && r.start < to)
      out.push_back({static_cast<uint32_t>(r.start - from), r.attr});
  }
  return out;
}

void ParaText::spliceRuns(std::size_t old, std::size_t from, std::size_t to,
                          const std::vector<Run>& mid, std::size_t length) {
  std::vector<Run> out;
  out.reserve(runs_.size() + mid.size() + 2);
  auto keep = [&](uint32_t start, uint32_t attr) {
    if (start < from) {
      out.push_back({start, attr});
    }
  };
  if (old > 0) keep(0, firstAttr_);
  for (const Run& r : runs_) keep(r.start, r.attr);
  for (const Run& r : mid) out.push_back({static_cast<uint32_t>(from + r.start), r.attr});
  if (to < old) out.push_back({static_cast<uint32_t>(from + length), attrAt(to)});
  for (const Run& r : runs_) {
    if (r.start > to)
      out.push_back({static_cast<uint32_t>(r.start - (to - from) + length), r.attr});
  }
  setRuns(out, old - (to - from) + length);
}

void ParaText::setRuns(std::vector<Run>& runs, std::size_t size) {
  std::vector<Run> merged;
  for (const Run& r : runs) {
    if (r.start >= size) break;
    // A run that a later one starts at too is empty.
    while (!merged.empty() && merged.back().start == r.start) merged.pop_back();
    if (!merged.empty() && merged.back().attr == r.attr) continue;
    merged.push_back(r);
  }
  firstAttr_ = merged.empty() ? 0 : merged.front().attr;
  runs_.assign(merged.empty() ? merged.end() : merged.begin() + 1, merged.end());
}

}  // namespace headless
