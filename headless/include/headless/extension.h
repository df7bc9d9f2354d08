// Data a file format keeps with a document or book that the host does not
// interpret (for example the parsed statements of the file it was read
// from), so that writing it back loses nothing.
#ifndef VELTRANO_HEADLESS_EXTENSION_H
#define VELTRANO_HEADLESS_EXTENSION_H

#include <memory>
#include <utility>

namespace headless {

class Extension {
 public:
  virtual ~Extension() = default;
  virtual std::unique_ptr<Extension> clone() const = 0;
};

// Owns an extension; copying the owner copies the extension too, so a copy
// of a document (a saved snapshot, say) never shares mutable data with it.
class ExtensionPtr {
 public:
  ExtensionPtr() = default;
  ExtensionPtr(std::unique_ptr<Extension> p) : p_(std::move(p)) {}  // NOLINT: implicit by design
  ExtensionPtr(const ExtensionPtr& other) : p_(other.p_ ? other.p_->clone() : nullptr) {}
  ExtensionPtr& operator=(const ExtensionPtr& other) {
    if (this != &other) p_ = other.p_ ? other.p_->clone() : nullptr;
    return *this;
  }
  ExtensionPtr(ExtensionPtr&&) noexcept = default;
  ExtensionPtr& operator=(ExtensionPtr&&) noexcept = default;

  Extension* get() const { return p_.get(); }
  explicit operator bool() const { return p_ != nullptr; }

 private:
  std::unique_ptr<Extension> p_;
};

}  // namespace headless

#endif
