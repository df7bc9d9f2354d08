#include "read_only_store.h"

#include <algorithm>

namespace headless::cli {

namespace {

constexpr const char* kNoSaves = "check writes nothing";

}  // namespace

Loaded ReadOnlyStore::load(const std::string& path) {
  Loaded out = files_->load(path);
  if (!out && resolve_(path)) {
    std::string error = out.error.empty() ? path + ": cannot be read" : out.error;
    if (std::find(loadErrors_.begin(), loadErrors_.end(), error) == loadErrors_.end()) {
      loadErrors_.push_back(std::move(error));
    }
  }
  return out;
}

bool ReadOnlyStore::save(const std::string& /*path*/, const Document& /*doc*/, std::string* error) {
  if (error) *error = kNoSaves;
  return false;
}

bool ReadOnlyStore::save(const std::string& /*path*/, const Book& /*book*/, std::string* error) {
  if (error) *error = kNoSaves;
  return false;
}

}  // namespace headless::cli
