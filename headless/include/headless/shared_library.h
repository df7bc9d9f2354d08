// A loaded shared library (a client of the host). The platform's loading
// calls live in loader/shared_library.cpp only.
#ifndef VELTRANO_HEADLESS_SHARED_LIBRARY_H
#define VELTRANO_HEADLESS_SHARED_LIBRARY_H

#include <cstring>
#include <memory>
#include <string>

namespace headless {

class SharedLibrary {
 public:
  // Loads the library; null with the reason in `error` when it cannot.
  static std::unique_ptr<SharedLibrary> open(const std::string& path, std::string* error);
  ~SharedLibrary();
  SharedLibrary(const SharedLibrary&) = delete;
  SharedLibrary& operator=(const SharedLibrary&) = delete;

  const std::string& path() const { return path_; }
  // The address of an exported symbol, or null.
  void* symbol(const char* name) const;
  // An exported function, or null.
  template <class Fn>
  Fn function(const char* name) const {
    void* address = symbol(name);
    Fn fn = nullptr;
    static_assert(sizeof(fn) == sizeof(address), "function and data pointers differ in size");
    if (address) std::memcpy(&fn, &address, sizeof(fn));
    return fn;
  }

 private:
  SharedLibrary(std::string path, void* handle) : path_(std::move(path)), handle_(handle) {}
  std::string path_;
  void* handle_;
};

}  // namespace headless

#endif
