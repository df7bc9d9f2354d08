// Where documents and books live between opens: a store keyed by path. The
// host opens and saves through it; a file-format store plugs in here, and
// tests use the in-memory store.
#ifndef VELTRANO_HEADLESS_STORE_H
#define VELTRANO_HEADLESS_STORE_H

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "headless/book.h"
#include "headless/document.h"

namespace headless {

// What a load gives: a document, a book, or neither and why.
struct Loaded {
  std::unique_ptr<Document> document;
  std::unique_ptr<Book> book;
  std::string error;
  explicit operator bool() const { return document || book; }
};

class Store {
 public:
  virtual ~Store() = default;
  virtual Loaded load(const std::string& path) = 0;
  virtual bool save(const std::string& path, const Document& doc, std::string* error) = 0;
  virtual bool save(const std::string& path, const Book& book, std::string* error) = 0;
  // Whether saveBytes() can save text of the store's file format made
  // elsewhere (a store of files can; one of models cannot).
  virtual bool savesBytes() const { return false; }
  // Saves such text as the file `path`, as save() saves a document.
  virtual bool saveBytes(const std::string& path, std::string bytes, std::string* error);
  // A key that two paths share exactly when they name the same file; the
  // host takes a document or book open under one as open under the other.
  // By default the key of PathKey, as the in-memory store files by it.
  virtual std::string fileKey(const std::string& path) const;
};

// The key under which a path is stored: both '\' and '/' separate
// directories, and the letters A to Z match either case.
std::string PathKey(std::string_view path);

// Keeps copies of documents and books in memory.
class MemoryStore : public Store {
 public:
  void put(const std::string& path, Document doc);
  void put(const std::string& path, Book book);
  bool contains(const std::string& path) const;
  bool remove(const std::string& path);
  // The stored copy, or null.
  const Document* document(const std::string& path) const;
  const Book* book(const std::string& path) const;
  // Every path saved, in order, as the saver named it.
  const std::vector<std::string>& saves() const { return saves_; }

  Loaded load(const std::string& path) override;
  bool save(const std::string& path, const Document& doc, std::string* error) override;
  bool save(const std::string& path, const Book& book, std::string* error) override;

 private:
  std::map<std::string, std::variant<Document, Book>> entries_;
  std::vector<std::string> saves_;
};

}  // namespace headless

#endif
