// The headless host: it plays the application's part for client libraries.
// It keeps open documents and books, loads clients, calls their callbacks,
// answers their host calls through the service table, and records what a
// user would see (dialogs, console, status lines) so tests and tools can
// inspect it. A scripted user answers the dialogs.
#ifndef VELTRANO_HEADLESS_HOST_H
#define VELTRANO_HEADLESS_HOST_H

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "headless/book.h"
#include "headless/document.h"
#include "headless/store.h"
#include "host/service_abi.h"

namespace headless {

namespace detail {
class HostState;
}

// One answer of the scripted user. Alerts that ask (type 1) take Ok or
// Cancel; prompts take Text (or Ok for the default answer); scroll boxes take
// Choice (or Ok for the preselected line). A dialog that finds no answer, or
// one of the wrong kind, is cancelled.
struct Answer {
  enum class Type { Ok, Cancel, Text, Choice };
  Type type = Type::Cancel;
  std::string text;
  int32_t choice = -1;

  static Answer Ok() { return {Type::Ok, {}, -1}; }
  static Answer Cancel() { return {Type::Cancel, {}, -1}; }
  static Answer Text(std::string text) { return {Type::Text, std::move(text), -1}; }
  static Answer Choice(int32_t index) { return {Type::Choice, {}, index}; }
};

struct DialogRecord {
  enum class Type { Alert, Prompt, ScrollBox };
  Type type = Type::Alert;
  int32_t alertType = 0;           // alerts: 1 OK/Cancel, 2 note, 3 warning
  std::string text;                // the alert's text or the prompt's message
  std::string title;               // scroll boxes
  std::vector<std::string> lines;  // scroll boxes
  std::string defaultAnswer;       // prompts
  int32_t defaultItem = -1;        // scroll boxes
  bool answered = false;           // false: cancelled (or a note/warning)
  std::string answerText;          // prompts
  int32_t choice = -1;             // scroll boxes
  int32_t result = 0;              // what the dialog returned to the client
  bool scriptMismatch = false;     // the next scripted answer was of another kind
};

struct MenuEntry {
  enum class Type { Menu, Command, Separator };
  Type type = Type::Menu;
  ObjectId handle = 0;
  std::string tag;
  std::string label;
  std::string shortcut;
  int32_t number = 0;  // commands
  int client = -1;     // the client that defined it; -1 for the host's own
  std::vector<MenuEntry> items;
};

struct ClientInfo {
  std::string path;
  std::vector<std::pair<std::string, std::string>> identity;
  std::vector<int32_t> notifications;  // the notifications it asked for and has on
  bool connected = false;

  // The value of an identity key, or "".
  std::string identityValue(const std::string& key) const;
  std::string name() const { return identityValue("ClientName"); }
};

struct CloseRecord {
  ObjectId handle = 0;
  std::string path;
  int32_t flags = 0;
  bool unsaved = false;  // it had changes that were not saved
};

struct StatusLineRecord {
  ObjectId book = 0;
  std::string text;
};

// The person at the host, for tools that run it with someone (or some
// policy) behind it. The host asks it when a dialog that wants an answer
// finds no scripted answer left, and tells it what the host shows as it
// happens. Every member has a default, so a user overrides only what it
// needs.
class User {
 public:
  virtual ~User() = default;
  // An OK/Cancel alert, a prompt or a scroll box to answer; the record holds
  // what the dialog shows. Answers are taken as scripted answers are; the
  // default cancels.
  virtual Answer ask(const DialogRecord& /*dialog*/) { return Answer::Cancel(); }
  // Every dialog as it closes, with its outcome; notes and warnings too.
  virtual void shown(const DialogRecord& /*dialog*/) {}
  // Text a client wrote to the console, as written.
  virtual void console(const std::string& /*text*/) {}
  // A book's status line was set.
  virtual void statusLine(const StatusLineRecord& /*line*/) {}
};

class Host {
 public:
  // A host over an in-memory store.
  Host();
  explicit Host(std::shared_ptr<Store> store);
  ~Host();
  Host(const Host&) = delete;
  Host& operator=(const Host&) = delete;

  // ---- Storage ----
  Store& store();
  // The in-memory store, when the host uses one.
  MemoryStore* memoryStore();

  // ---- Host-level settings ----
  void setHomeDirectory(std::string dir);        // property 89
  void setMasterBookDirectory(std::string dir);  // property 87
  bool displaying() const;                       // property 92
  const std::vector<int32_t>& displaySwitches() const;

  // ---- Documents and books ----
  // Opens a document or book the caller built, as if the user had opened it.
  ObjectId addDocument(Document doc);
  ObjectId addBook(Book book);
  // As a client's open, save and close do.
  ObjectId open(const std::string& path);
  bool save(ObjectId docOrBook);
  bool close(ObjectId docOrBook);
  // The model behind an open document or book handle, or null.
  Document* document(ObjectId doc);
  const Document* document(ObjectId doc) const;
  Book* book(ObjectId book);
  const Book* book(ObjectId book) const;
  std::vector<ObjectId> openDocuments() const;
  std::vector<ObjectId> openBooks() const;
  // The open document or book of the file this path names, as the store
  // tells files apart.
  ObjectId findOpen(const std::string& path) const;
  // Whether the clients' commands, messages and notifications so far
  // addressed some document or book, leaving aside those a client opened
  // for its own use and closed again unsaved (a settings document).
  bool actedOnDocument() const;
  void setActiveDocument(ObjectId doc);
  void setActiveBook(ObjectId book);
  ObjectId activeDocument() const;
  ObjectId activeBook() const;
  // The handle of an object of an open document or book, and back.
  ObjectId handleOf(ObjectId docOrBook, Id local);
  Id localOf(ObjectId handle) const;
  // Sets a document's selection; an insertion point when begin equals end.
  void setSelection(ObjectId doc, TextSpan span);
  const std::vector<CloseRecord>& closes() const;
  const std::vector<std::string>& opens() const;  // paths opened through the host
  const std::vector<std::string>& saves() const;  // paths saved through the host

  // ---- Clients ----
  // Loads a client library and connects it; the client's index, or -1 with
  // the reason in `error`.
  int loadClient(const std::string& path, std::string* error = nullptr);
  int clientCount() const;
  const ClientInfo& client(int index) const;
  int findClient(const std::string& name) const;
  // An export of a loaded client library, or null.
  void* clientSymbol(int index, const char* name) const;
  // Connects a client that lives in this process (a tool or a benchmark):
  // it gets a service table of its own, as a loaded library does, and has
  // no callbacks. Returns its index.
  int attachClient(const std::string& name);
  // The service table a client was given, or null.
  const VtrHostService* service(int index) const;
  // Calls every connected client's initialisation callback.
  void initialize(int32_t code);
  // Calls a client's command callback with a command number.
  void command(int32_t number, int client = 0);
  // The command a client defined under this tag, as the user chooses it
  // from a menu; false when there is none.
  bool chooseCommand(const std::string& tag);
  // Delivers a message from another client (notification 13) to the named
  // client, if it asked for such messages. False when it was not delivered.
  bool sendMessage(const std::string& clientName, const std::string& text);
  // Posts a notification to every client that asked for it.
  void notify(int32_t notification, ObjectId doc = 0, const std::string& text = {},
              int32_t iparm = 0);

  // ---- Menus ----
  // A menu or menu bar with everything in it, in menu order.
  MenuEntry menu(const std::string& tag) const;
  // The host's own menu bars and menus.
  std::vector<std::string> hostMenus() const;
  // Client menus that were defined but never added to another menu.
  std::vector<MenuEntry> detachedMenus() const;
  // Every command the clients defined, in definition order.
  std::vector<MenuEntry> commands() const;

  // ---- The scripted user ----
  void answer(Answer answer);
  void answerOk() { answer(Answer::Ok()); }
  void answerCancel() { answer(Answer::Cancel()); }
  void answerText(std::string text) { answer(Answer::Text(std::move(text))); }
  void answerChoice(int32_t index) { answer(Answer::Choice(index)); }
  std::size_t pendingAnswers() const;
  // The user asked once the scripted answers run out, and told of dialogs,
  // console text and status lines; null (the default) for none. The host
  // does not own it.
  void setUser(User* user);
  const std::vector<DialogRecord>& dialogs() const;
  void clearDialogs();

  // ---- What else happened ----
  const std::string& consoleText() const;
  std::vector<std::string> consoleLines() const;  // a last line without "\n" counts too
  const std::vector<int32_t>& fcodes() const;
  std::size_t clipboardDepth() const;  // pushed and not yet popped
  bool unicodeMode() const;
  // Strings with non-ASCII bytes that crossed while Unicode mode was off.
  int nonAsciiWhileUnicodeOff() const;
  // The Unicode mode at each marker creation and marker text write.
  const std::vector<bool>& unicodeAtMarkerWrites() const;
  // Records allocated minus released, per kind (1 property lists, 2
  // property values, 3 text items, 4 string lists).
  int32_t recordBalance(int32_t kind) const;
  bool recordsBalanced() const;
  int redisplays(ObjectId doc) const;
  const std::vector<StatusLineRecord>& statusLines() const;
  int textConversionPreparations() const;

  detail::HostState& state() { return *state_; }

 private:
  std::unique_ptr<detail::HostState> state_;
};

}  // namespace headless

#endif
