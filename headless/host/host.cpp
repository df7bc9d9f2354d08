// The public face of the host over its state.
#include "headless/host.h"

#include "host/state.h"

namespace headless {

namespace {

// Marks what a client's callback addresses, for Host::actedOnDocument.
class Tracking {
 public:
  explicit Tracking(detail::HostState& host) : host_(host), was_(host.tracking) {
    host.tracking = true;
  }
  ~Tracking() { host_.tracking = was_; }
  Tracking(const Tracking&) = delete;
  Tracking& operator=(const Tracking&) = delete;

 private:
  detail::HostState& host_;
  bool was_;
};

}  // namespace

using detail::ClientState;
using detail::HostState;
using detail::Target;

std::string ClientInfo::identityValue(const std::string& key) const {
  for (const auto& [k, v] : identity) {
    if (k == key) return v;
  }
  return {};
}

Host::Host() : Host(std::make_shared<MemoryStore>()) {}

Host::Host(std::shared_ptr<Store> store) : state_(std::make_unique<HostState>(std::move(store))) {}

Host::~Host() = default;

Store& Host::store() {
  return *state_->store;
}

MemoryStore* Host::memoryStore() {
  return dynamic_cast<MemoryStore*>(state_->store.get());
}

void Host::setHomeDirectory(std::string dir) {
  state_->homeDir = std::move(dir);
}
void Host::setMasterBookDirectory(std::string dir) {
  state_->masterBookDir = std::move(dir);
}
bool Host::displaying() const {
  return state_->display;
}
const std::vector<int32_t>& Host::displaySwitches() const {
  return state_->displaySwitches;
}

ObjectId Host::addDocument(Document doc) {
  return state_->adopt(std::make_unique<Document>(std::move(doc)));
}

ObjectId Host::addBook(Book book) {
  return state_->adopt(std::make_unique<Book>(std::move(book)));
}

ObjectId Host::open(const std::string& path) {
  return state_->open(path);
}

bool Host::save(ObjectId docOrBook) {
  return state_->save(docOrBook, {}) != 0;
}

bool Host::close(ObjectId docOrBook) {
  return state_->close(docOrBook, host::kCloseWithoutAsking);
}

Document* Host::document(ObjectId doc) {
  Target t = state_->resolve(doc);
  return t.isDocument() ? t.doc() : nullptr;
}

const Document* Host::document(ObjectId doc) const {
  Target t = state_->resolve(doc);
  return t.isDocument() ? t.doc() : nullptr;
}

Book* Host::book(ObjectId book) {
  Target t = state_->resolve(book);
  return t.isBook() ? t.book() : nullptr;
}

const Book* Host::book(ObjectId book) const {
  Target t = state_->resolve(book);
  return t.isBook() ? t.book() : nullptr;
}

std::vector<ObjectId> Host::openDocuments() const {
  return state_->openDocuments();
}
std::vector<ObjectId> Host::openBooks() const {
  return state_->openBooks();
}
bool Host::actedOnDocument() const {
  return state_->actedOnDocument();
}
ObjectId Host::findOpen(const std::string& path) const {
  return state_->findOpen(path);
}

void Host::setActiveDocument(ObjectId doc) {
  state_->activeDocHandle = state_->resolve(doc).isDocument() ? doc : 0;
}

void Host::setActiveBook(ObjectId book) {
  state_->activeBookHandle = state_->resolve(book).isBook() ? book : 0;
}

ObjectId Host::activeDocument() const {
  return state_->activeDocument();
}
ObjectId Host::activeBook() const {
  return state_->activeBook();
}

ObjectId Host::handleOf(ObjectId docOrBook, Id local) {
  Target t = state_->resolve(docOrBook);
  if (!t.isDocument() && !t.isBook()) return 0;
  if (t.doc() && !t.doc()->alive(local)) return 0;
  if (t.book() && !t.book()->isBook(local) && !t.book()->isComponent(local)) return 0;
  return state_->handleOf(*t.space, local);
}

Id Host::localOf(ObjectId handle) const {
  return state_->resolve(handle).local;
}

void Host::setSelection(ObjectId doc, TextSpan span) {
  if (Document* d = document(doc)) d->setSelection(span);
}

const std::vector<CloseRecord>& Host::closes() const {
  return state_->closes;
}
const std::vector<std::string>& Host::opens() const {
  return state_->opens;
}
const std::vector<std::string>& Host::saves() const {
  return state_->saves;
}

// ---- Clients ----

int Host::loadClient(const std::string& path, std::string* error) {
  std::string why;
  auto library = SharedLibrary::open(path, &why);
  if (!library) {
    if (error) *error = why;
    return -1;
  }
  auto init = library->function<VtrClientInitFn>("F_ApiClientInit");
  if (!init) {
    if (error) *error = path + " has no F_ApiClientInit";
    return -1;
  }
  auto client = std::make_unique<ClientState>();
  client->host = state_.get();
  client->index = static_cast<int>(state_->clients.size());
  client->info.path = path;
  client->service = detail::MakeService(client.get());
  client->library = std::move(library);
  ClientState* c = client.get();
  state_->clients.push_back(std::move(client));
  if (init(&c->service) != 0 || !c->info.connected) {
    if (error) *error = path + " refused the connection";
    state_->clients.pop_back();
    return -1;
  }
  return c->index;
}

int Host::clientCount() const {
  return static_cast<int>(state_->clients.size());
}

const ClientInfo& Host::client(int index) const {
  return state_->clients.at(static_cast<std::size_t>(index))->info;
}

int Host::findClient(const std::string& name) const {
  for (const auto& c : state_->clients) {
    if (c->info.name() == name) return c->index;
  }
  return -1;
}

void* Host::clientSymbol(int index, const char* name) const {
  if (index < 0 || index >= clientCount()) return nullptr;
  const auto& library = state_->clients[static_cast<std::size_t>(index)]->library;
  return library ? library->symbol(name) : nullptr;
}

int Host::attachClient(const std::string& name) {
  auto client = std::make_unique<ClientState>();
  client->host = state_.get();
  client->index = static_cast<int>(state_->clients.size());
  client->service = detail::MakeService(client.get());
  client->info.identity.emplace_back("ClientName", name);
  client->info.connected = true;
  state_->clients.push_back(std::move(client));
  return state_->clients.back()->index;
}

const VtrHostService* Host::service(int index) const {
  if (index < 0 || index >= clientCount()) return nullptr;
  return &state_->clients[static_cast<std::size_t>(index)]->service;
}

void Host::initialize(int32_t code) {
  for (std::size_t i = 0; i < state_->clients.size(); ++i) {
    ClientState& c = *state_->clients[i];
    if (c.initialize) c.initialize(code);
  }
}

void Host::command(int32_t number, int client) {
  if (client < 0 || client >= clientCount()) return;
  ClientState& c = *state_->clients[static_cast<std::size_t>(client)];
  Tracking tracking(*state_);
  if (c.command) c.command(number);
}

bool Host::chooseCommand(const std::string& tag) {
  ObjectId cmd = state_->findHostObject(MenuEntry::Type::Command, tag);
  const detail::HostObject* o = state_->resolve(cmd).object();
  if (!o || o->client < 0) return false;
  command(o->number, o->client);
  return true;
}

bool Host::sendMessage(const std::string& clientName, const std::string& text) {
  int index = findClient(clientName);
  if (index < 0) return false;
  ClientState& c = *state_->clients[static_cast<std::size_t>(index)];
  auto it = c.notifications.find(host::kNotifyClientMessage);
  if (it == c.notifications.end() || it->second == 0 || !c.notify) return false;
  Tracking tracking(*state_);
  c.notify(host::kNotifyClientMessage, 0, text.c_str(), 0);
  return true;
}

void Host::notify(int32_t notification, ObjectId doc, const std::string& text, int32_t iparm) {
  for (std::size_t i = 0; i < state_->clients.size(); ++i) {
    ClientState& c = *state_->clients[i];
    auto it = c.notifications.find(notification);
    if (it == c.notifications.end() || it->second == 0 || !c.notify) continue;
    Tracking tracking(*state_);
    c.notify(notification, doc, text.c_str(), iparm);
  }
}

// ---- Menus ----

MenuEntry Host::menu(const std::string& tag) const {
  return state_->describe(state_->findHostObject(MenuEntry::Type::Menu, tag));
}

std::vector<std::string> Host::hostMenus() const {
  std::vector<std::string> out;
  for (const detail::HostObject& o : state_->spaces_[0]->objects) {
    if (o.type == MenuEntry::Type::Menu && o.client < 0) out.push_back(o.tag);
  }
  return out;
}

std::vector<MenuEntry> Host::detachedMenus() const {
  std::vector<MenuEntry> out;
  const detail::Space& host = *state_->spaces_[0];
  for (std::size_t i = 0; i < host.objects.size(); ++i) {
    const detail::HostObject& o = host.objects[i];
    if (o.type == MenuEntry::Type::Menu && o.client >= 0 && !o.attached) {
      out.push_back(state_->describe(host.handles[i + 1]));
    }
  }
  return out;
}

std::vector<MenuEntry> Host::commands() const {
  std::vector<MenuEntry> out;
  const detail::Space& host = *state_->spaces_[0];
  for (std::size_t i = 0; i < host.objects.size(); ++i) {
    if (host.objects[i].type == MenuEntry::Type::Command) {
      out.push_back(state_->describe(host.handles[i + 1]));
    }
  }
  return out;
}

// ---- The scripted user and the records ----

void Host::answer(Answer a) {
  state_->answers.push_back(std::move(a));
}
void Host::setUser(User* user) {
  state_->user = user;
}
std::size_t Host::pendingAnswers() const {
  return state_->answers.size();
}
const std::vector<DialogRecord>& Host::dialogs() const {
  return state_->dialogs;
}
void Host::clearDialogs() {
  state_->dialogs.clear();
}

const std::string& Host::consoleText() const {
  return state_->console;
}

std::vector<std::string> Host::consoleLines() const {
  std::vector<std::string> lines;
  std::string line;
  for (char c : state_->console) {
    if (c == '\n') {
      lines.push_back(std::move(line));
      line.clear();
    } else {
      line.push_back(c);
    }
  }
  if (!line.empty()) lines.push_back(std::move(line));
  return lines;
}

const std::vector<int32_t>& Host::fcodes() const {
  return state_->fcodes;
}
std::size_t Host::clipboardDepth() const {
  return state_->clipboardStack.size();
}
bool Host::unicodeMode() const {
  return state_->unicode;
}
int Host::nonAsciiWhileUnicodeOff() const {
  return state_->nonAsciiWhileUnicodeOff;
}
const std::vector<bool>& Host::unicodeAtMarkerWrites() const {
  return state_->unicodeAtMarkerWrites;
}

int32_t Host::recordBalance(int32_t kind) const {
  auto it = state_->records.find(kind);
  return it == state_->records.end() ? 0 : it->second;
}

bool Host::recordsBalanced() const {
  for (const auto& [kind, count] : state_->records) {
    if (count != 0) return false;
  }
  return true;
}

int Host::redisplays(ObjectId doc) const {
  auto it = state_->redisplays.find(doc);
  return it == state_->redisplays.end() ? 0 : it->second;
}

const std::vector<StatusLineRecord>& Host::statusLines() const {
  return state_->statusLines;
}
int Host::textConversionPreparations() const {
  return state_->conversionPreparations;
}

}  // namespace headless
