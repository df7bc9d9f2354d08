// The host's state behind the public Host and the service table: open
// documents and books, the handle table, the host's own objects (menus,
// commands, separators), the clients and everything the host records.
#ifndef VELTRANO_HEADLESS_HOST_STATE_H
#define VELTRANO_HEADLESS_HOST_STATE_H

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "headless/clipboard.h"
#include "headless/host.h"
#include "headless/shared_library.h"

namespace headless::detail {

// Menus, menu bars, commands and separators.
struct HostObject {
  MenuEntry::Type type = MenuEntry::Type::Menu;
  std::string tag;
  std::string label;
  std::string shortcut;
  int32_t number = 0;
  int client = -1;
  std::vector<ObjectId> items;
  bool attached = false;  // added to some menu
  PropMap props;
};

// Objects that share one local id space: the host's own objects, one
// document, or one book.
struct Space {
  enum class Type { Host, Document, Book };
  Type type = Type::Host;
  uint32_t index = 0;
  std::unique_ptr<Document> doc;
  std::unique_ptr<Book> book;
  std::vector<HostObject> objects;  // host space; index = local id - 1
  std::vector<ObjectId> handles;    // local id -> handle, 0 until first handed out
  bool open = false;
  // What the clients' callbacks did with it (see HostState::tracking).
  bool addressed = false;
  bool openedByClient = false;
  bool savedByClient = false;
};

class HostState;

struct ClientState {
  HostState* host = nullptr;
  int index = 0;
  VtrHostService service{};
  std::unique_ptr<SharedLibrary> library;
  void (*initialize)(int32_t) = nullptr;
  void (*command)(int32_t) = nullptr;
  void (*notify)(int32_t, ObjectId, const char*, int32_t) = nullptr;
  ClientInfo info;
  std::map<int32_t, int32_t> notifications;
};

// A handle resolved to its space and local id.
struct Target {
  Space* space = nullptr;
  Id local = 0;

  explicit operator bool() const { return space != nullptr; }
  Document* doc() const { return space && space->doc ? space->doc.get() : nullptr; }
  Book* book() const { return space && space->book ? space->book.get() : nullptr; }
  HostObject* object() const;
  Kind kind() const;  // kind of a document object; Kind::None otherwise
  bool isDocument() const { return doc() && local == Document::kSelf; }
  bool isBook() const { return book() && local == Book::kSelf; }
  bool isComponent() const { return book() && book()->isComponent(local); }
};

class HostState {
 public:
  explicit HostState(std::shared_ptr<Store> store);
  ~HostState();

  // ---- Handles ----
  // Resolves a handle; while tracking, marks the document or book it
  // belongs to as addressed.
  Target resolve(ObjectId handle) const;
  // The same without the mark: for the reads that only tell open
  // documents and books apart (their paths, the chain of open ones).
  Target peek(ObjectId handle) const;
  ObjectId handleOf(Space& space, Id local);
  ObjectId handleOf(const Target& t) { return t ? handleOf(*t.space, t.local) : 0; }
  // A handle named in a value of `space` turned into that space's local id;
  // 0 when it names nothing there.
  Id localIn(const Space& space, ObjectId handle) const;
  Space& hostSpace() { return *spaces_[0]; }

  // ---- Documents and books ----
  ObjectId adopt(std::unique_ptr<Document> doc);
  ObjectId adopt(std::unique_ptr<Book> book);
  ObjectId findOpen(const std::string& path) const;
  ObjectId open(const std::string& path);
  bool close(ObjectId handle, int32_t flags);
  ObjectId save(ObjectId handle, const std::string& path);
  std::vector<ObjectId> openDocuments() const;
  std::vector<ObjectId> openBooks() const;
  bool actedOnDocument() const;
  ObjectId activeDocument() const;
  ObjectId activeBook() const;

  // ---- Host objects ----
  ObjectId addHostObject(HostObject object);
  ObjectId findHostObject(MenuEntry::Type type, const std::string& tag) const;
  MenuEntry describe(ObjectId handle, int depth = 0) const;

  // ---- Text crossing the boundary ----
  void noteText(const std::string& text);

  std::shared_ptr<Store> store;
  // Set while a client's command, message or notification callback runs:
  // the documents and books it addresses, opens and saves are marked.
  bool tracking = false;
  std::vector<std::unique_ptr<Space>> spaces_;
  std::vector<std::pair<uint32_t, Id>> handles_;  // handle -> (space index + 1, local id)
  std::vector<uint32_t> openOrder_;               // spaces of open documents and books
  ObjectId activeDocHandle = 0;
  ObjectId activeBookHandle = 0;
  std::string homeDir;
  std::string masterBookDir;
  bool display = true;
  std::vector<int32_t> displaySwitches;
  PropMap hostProps;

  std::vector<std::unique_ptr<ClientState>> clients;
  std::deque<Answer> answers;
  User* user = nullptr;
  std::vector<DialogRecord> dialogs;
  std::string console;
  Clip clipboard;
  std::vector<Clip> clipboardStack;
  std::vector<int32_t> fcodes;
  bool unicode = false;
  int nonAsciiWhileUnicodeOff = 0;
  std::vector<bool> unicodeAtMarkerWrites;
  std::map<int32_t, int32_t> records;
  std::map<ObjectId, int> redisplays;
  std::vector<StatusLineRecord> statusLines;
  // Each book's status line: window state, not a change of the book.
  std::map<ObjectId, std::string> statusLineText;
  std::vector<CloseRecord> closes;
  std::vector<std::string> opens;
  std::vector<std::string> saves;
  int conversionPreparations = 0;
};

// The service table a client is given.
VtrHostService MakeService(ClientState* client);

}  // namespace headless::detail

#endif
