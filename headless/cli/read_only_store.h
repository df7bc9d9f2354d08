// The store `veltrano check` runs the host over: it reads files as the
// program's store does and writes nothing. A save the plug-in makes is
// refused, so no file can change, and files that exist but cannot be read
// are noted as the run's input errors.
#ifndef VELTRANO_HEADLESS_CLI_READ_ONLY_STORE_H
#define VELTRANO_HEADLESS_CLI_READ_ONLY_STORE_H

#include <memory>
#include <string>
#include <vector>

#include "headless/store.h"
#include "staging_store.h"

namespace headless::cli {

class ReadOnlyStore : public Store {
 public:
  ReadOnlyStore(std::shared_ptr<Store> files, Resolver resolve)
      : files_(std::move(files)), resolve_(std::move(resolve)) {}

  Loaded load(const std::string& path) override;
  bool save(const std::string& path, const Document& doc, std::string* error) override;
  bool save(const std::string& path, const Book& book, std::string* error) override;

  // Files that exist but failed to load, with the store's error.
  const std::vector<std::string>& loadErrors() const { return loadErrors_; }

 private:
  std::shared_ptr<Store> files_;
  Resolver resolve_;
  std::vector<std::string> loadErrors_;
};

}  // namespace headless::cli

#endif
