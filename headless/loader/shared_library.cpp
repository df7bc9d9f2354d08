// The one place that calls the platform's library loader.
#include "headless/shared_library.h"

#include "headless/paths.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace headless {

#if defined(_WIN32)

std::unique_ptr<SharedLibrary> SharedLibrary::open(const std::string& path, std::string* error) {
  HMODULE module = LoadLibraryW(WideText(path).c_str());
  if (module == nullptr) {
    if (error) *error = "cannot load " + path + " (error " + std::to_string(GetLastError()) + ")";
    return nullptr;
  }
  return std::unique_ptr<SharedLibrary>(new SharedLibrary(path, module));
}

SharedLibrary::~SharedLibrary() {
  if (handle_) FreeLibrary(static_cast<HMODULE>(handle_));
}

void* SharedLibrary::symbol(const char* name) const {
  FARPROC proc = GetProcAddress(static_cast<HMODULE>(handle_), name);
  void* address = nullptr;
  static_assert(sizeof(proc) == sizeof(address), "function and data pointers differ in size");
  std::memcpy(&address, &proc, sizeof(address));
  return address;
}

#else

std::unique_ptr<SharedLibrary> SharedLibrary::open(const std::string& path, std::string* error) {
  // Local binding: each client keeps its own copy of the client library.
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* why = dlerror();
    if (error) *error = why ? why : ("cannot load " + path);
    return nullptr;
  }
  return std::unique_ptr<SharedLibrary>(new SharedLibrary(path, handle));
}

SharedLibrary::~SharedLibrary() {
  if (handle_) dlclose(handle_);
}

void* SharedLibrary::symbol(const char* name) const {
  return dlsym(handle_, name);
}

#endif

}  // namespace headless
