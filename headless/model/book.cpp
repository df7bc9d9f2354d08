#include "headless/book.h"

#include <cassert>

namespace headless {

Book::Book() {
  slots_.resize(2);
  components_.resize(2);
  slots_[kSelf].alive = true;
}

bool Book::isComponent(Id id) const {
  return id > kSelf && id < slots_.size() && slots_[id].alive;
}

const PropMap& Book::props(Id id) const {
  static const PropMap kNone;
  if (id == kSelf) return bookProps_;
  return isComponent(id) ? components_[id].props : kNone;
}

void Book::setProp(Id id, int code, Value value) {
  if (id == kSelf) {
    bookProps_.set(code, std::move(value));
  } else if (isComponent(id)) {
    components_[id].props.set(code, std::move(value));
  } else {
    return;
  }
  markModified(id);
}

const Component& Book::component(Id id) const {
  assert(isComponent(id));
  return components_[id];
}

Component& Book::mutableComponent(Id id) {
  assert(isComponent(id));
  return components_[id];
}

Id& Book::firstOf(Id parent) {
  return parent == 0 ? first_ : mutableComponent(parent).first;
}
Id& Book::lastOf(Id parent) {
  return parent == 0 ? last_ : mutableComponent(parent).last;
}

Id Book::addComponent(Id parent, Id after, int32_t kind, std::string path) {
  if (parent != 0 && !isComponent(parent)) return 0;
  if (after != 0 && (!isComponent(after) || components_[after].parent != parent)) return 0;
  const Id id = static_cast<Id>(slots_.size());
  slots_.push_back(Slot{true, true, 0});
  Component c;
  c.parent = parent;
  c.kind = kind;
  c.path = std::move(path);
  c.prev = after;
  c.next = after != 0 ? components_[after].next : firstOf(parent);
  components_.push_back(std::move(c));
  if (after != 0) {
    components_[after].next = id;
  } else {
    firstOf(parent) = id;
  }
  if (components_[id].next != 0) {
    components_[components_[id].next].prev = id;
  } else {
    lastOf(parent) = id;
  }
  markModified(id);
  return id;
}

Id Book::appendComponent(Id parent, int32_t kind, std::string path) {
  if (parent != 0 && !isComponent(parent)) return 0;
  return addComponent(parent, lastOf(parent), kind, std::move(path));
}

void Book::setComponentPath(Id id, std::string path) {
  if (!isComponent(id)) return;
  components_[id].path = std::move(path);
  markModified(id);
}

void Book::setComponentKind(Id id, int32_t kind) {
  if (!isComponent(id)) return;
  components_[id].kind = kind;
  markModified(id);
}

void Book::unlinkComponent(Id id) {
  Component& c = components_[id];
  if (c.prev != 0) {
    components_[c.prev].next = c.next;
  } else {
    firstOf(c.parent) = c.next;
  }
  if (c.next != 0) {
    components_[c.next].prev = c.prev;
  } else {
    lastOf(c.parent) = c.prev;
  }
  c.prev = c.next = 0;
}

bool Book::removeComponent(Id id) {
  if (!isComponent(id)) return false;
  while (components_[id].first != 0) removeComponent(components_[id].first);
  const Id parent = components_[id].parent;
  unlinkComponent(id);
  slots_[id].alive = false;
  if (parent != 0) markModified(parent);
  markModified(kSelf);
  return true;
}

std::vector<Id> Book::components() const {
  std::vector<Id> out;
  Id x = first_;
  while (x != 0) {
    out.push_back(x);
    const Component& c = components_[x];
    if (c.first != 0) {
      x = c.first;
      continue;
    }
    while (x != 0 && components_[x].next == 0) x = components_[x].parent;
    if (x != 0) x = components_[x].next;
  }
  return out;
}

uint64_t Book::origin(Id id) const {
  return id < slots_.size() && slots_[id].alive ? slots_[id].origin : 0;
}

void Book::setOrigin(Id id, uint64_t origin) {
  if (id < slots_.size() && slots_[id].alive) slots_[id].origin = origin;
}

bool Book::modified(Id id) const {
  return id < slots_.size() && slots_[id].alive && slots_[id].modified;
}

void Book::markModified(Id id) {
  if (id >= slots_.size() || !slots_[id].alive) return;
  slots_[id].modified = true;
  dirty_ = true;
}

void Book::clearModified() {
  for (Slot& s : slots_) s.modified = false;
  dirty_ = false;
}

}  // namespace headless
