// The in-memory model of a book: its path, its own properties (the status
// line among them) and the tree of components (documents, folders and
// groups). Local id 1 is the book itself; components follow. Ids are never
// reused within a book.
#ifndef VELTRANO_HEADLESS_BOOK_H
#define VELTRANO_HEADLESS_BOOK_H

#include <cstdint>
#include <string>
#include <vector>

#include "headless/extension.h"
#include "headless/value.h"

namespace headless {

// Generated-file settings of a component that only the host reads (when
// it generates the file): the file name suffix ("IX"), the marker types or
// paragraph tags it collects (a list of strings), and whether it makes
// hypertext links (1 or 0).
inline constexpr int kPropGeneratedSuffix = -0x4701;
inline constexpr int kPropGeneratedTags = -0x4702;
inline constexpr int kPropGeneratedLinks = -0x4703;

struct Component {
  Id parent = 0, prev = 0, next = 0;
  Id first = 0, last = 0;  // children of a folder or group
  int32_t kind = host::kComponentDocument;
  std::string path;
  PropMap props;  // every other component property
};

class Book {
 public:
  static constexpr Id kSelf = 1;

  Book();

  bool isBook(Id id) const { return id == kSelf; }
  bool isComponent(Id id) const;
  Id idLimit() const { return static_cast<Id>(slots_.size()); }

  const std::string& path() const { return path_; }
  void setPath(std::string path) { path_ = std::move(path); }

  // Properties of the book (id 1) or a component.
  const PropMap& props(Id id) const;
  void setProp(Id id, int code, Value value);

  Id firstComponent() const { return first_; }
  const Component& component(Id id) const;
  // Adds a component under `parent` (0: the top level) right after `after`,
  // or first when `after` is 0.
  Id addComponent(Id parent, Id after, int32_t kind, std::string path);
  Id appendComponent(Id parent, int32_t kind, std::string path);
  void setComponentPath(Id id, std::string path);
  void setComponentKind(Id id, int32_t kind);
  // Removes a component with everything under it.
  bool removeComponent(Id id);
  // All components in book order (depth first).
  std::vector<Id> components() const;

  uint64_t origin(Id id) const;
  void setOrigin(Id id, uint64_t origin);
  bool modified(Id id) const;
  void markModified(Id id);
  void clearModified();
  bool dirty() const { return dirty_; }

  const Extension* extension() const { return extension_.get(); }
  Extension* extension() { return extension_.get(); }
  void setExtension(std::unique_ptr<Extension> extension) { extension_ = std::move(extension); }

 private:
  struct Slot {
    bool alive = false;
    bool modified = false;
    uint64_t origin = 0;
  };
  Component& mutableComponent(Id id);
  Id& firstOf(Id parent);
  Id& lastOf(Id parent);
  void unlinkComponent(Id id);

  std::vector<Slot> slots_;
  std::vector<Component> components_;  // index = id; 0 and 1 unused
  PropMap bookProps_;
  Id first_ = 0, last_ = 0;
  std::string path_;
  bool dirty_ = false;
  ExtensionPtr extension_;
};

}  // namespace headless

#endif
