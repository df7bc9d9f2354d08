#include "host/state.h"

#include <algorithm>

#include "headless/utf8.h"

namespace headless::detail {

namespace {

constexpr const char* kHostMenus[] = {"!MakerMainMenu", "!QuickMakerMainMenu", "!BookMainMenu",
                                      "!TextContextMenu", "!TableTextContextMenu"};
constexpr int kHostSeparators = 6;
// Menus nest; a menu added into itself must not make a description endless.
constexpr int kMaxMenuDepth = 16;

}  // namespace

HostObject* Target::object() const {
  if (!space || space->type != Space::Type::Host) return nullptr;
  return &space->objects[local - 1];
}

Kind Target::kind() const {
  Document* d = doc();
  return d ? d->kind(local) : Kind::None;
}

HostState::HostState(std::shared_ptr<Store> s) : store(std::move(s)) {
  handles_.emplace_back(0, 0);  // handle 0 is none
  auto host = std::make_unique<Space>();
  host->type = Space::Type::Host;
  host->open = true;
  spaces_.push_back(std::move(host));
  for (const char* tag : kHostMenus) {
    HostObject menu;
    menu.type = MenuEntry::Type::Menu;
    menu.tag = tag;
    menu.attached = true;
    addHostObject(std::move(menu));
  }
  for (int i = 1; i <= kHostSeparators; ++i) {
    HostObject sep;
    sep.type = MenuEntry::Type::Separator;
    sep.tag = "Separator" + std::to_string(i);
    addHostObject(std::move(sep));
  }
}

HostState::~HostState() {
  // Unload the clients only after every document is gone: nothing of theirs
  // is referenced by then.
  for (auto& space : spaces_) {
    space->doc.reset();
    space->book.reset();
  }
  clients.clear();
}

// ---- Handles ----

Target HostState::resolve(ObjectId handle) const {
  Target t = peek(handle);
  if (tracking && t && t.space->type != Space::Type::Host) t.space->addressed = true;
  return t;
}

Target HostState::peek(ObjectId handle) const {
  if (handle == 0 || handle >= handles_.size()) return {};
  const auto [spaceIndex, local] = handles_[handle];
  if (spaceIndex == 0) return {};
  Space* space = spaces_[spaceIndex - 1].get();
  if (!space->open) return {};
  switch (space->type) {
    case Space::Type::Host:
      if (local == 0 || local > space->objects.size()) return {};
      break;
    case Space::Type::Document:
      if (!space->doc || !space->doc->alive(local)) return {};
      break;
    case Space::Type::Book:
      if (!space->book || !(space->book->isBook(local) || space->book->isComponent(local))) {
        return {};
      }
      break;
  }
  return Target{space, local};
}

ObjectId HostState::handleOf(Space& space, Id local) {
  if (local == 0) return 0;
  if (space.handles.size() <= local) space.handles.resize(local + 1, 0);
  ObjectId& h = space.handles[local];
  if (h == 0) {
    h = static_cast<ObjectId>(handles_.size());
    handles_.emplace_back(space.index + 1, local);
  }
  return h;
}

Id HostState::localIn(const Space& space, ObjectId handle) const {
  Target t = resolve(handle);
  return t.space == &space ? t.local : 0;
}

// ---- Documents and books ----

ObjectId HostState::adopt(std::unique_ptr<Document> doc) {
  auto space = std::make_unique<Space>();
  space->type = Space::Type::Document;
  space->index = static_cast<uint32_t>(spaces_.size());
  space->doc = std::move(doc);
  space->open = true;
  Space& ref = *space;
  spaces_.push_back(std::move(space));
  openOrder_.push_back(ref.index);
  return handleOf(ref, Document::kSelf);
}

ObjectId HostState::adopt(std::unique_ptr<Book> book) {
  auto space = std::make_unique<Space>();
  space->type = Space::Type::Book;
  space->index = static_cast<uint32_t>(spaces_.size());
  space->book = std::move(book);
  space->open = true;
  Space& ref = *space;
  spaces_.push_back(std::move(space));
  openOrder_.push_back(ref.index);
  return handleOf(ref, Book::kSelf);
}

ObjectId HostState::findOpen(const std::string& path) const {
  // The same file as the store sees it (the file system's rules for a store
  // of files), not the client's comparison of paths.
  auto keyOf = [&](const std::string& p) { return store ? store->fileKey(p) : PathKey(p); };
  const std::string key = keyOf(path);
  for (uint32_t index : openOrder_) {
    const Space& s = *spaces_[index];
    const std::string& p = s.doc ? s.doc->path() : s.book->path();
    if (keyOf(p) == key) {
      return s.handles.size() > 1 ? s.handles[1] : 0;
    }
  }
  return 0;
}

ObjectId HostState::open(const std::string& path) {
  if (path.empty()) return 0;
  if (ObjectId already = findOpen(path)) return already;
  if (!store) return 0;
  Loaded loaded = store->load(path);
  if (!loaded) return 0;
  opens.push_back(path);
  ObjectId handle = 0;
  if (loaded.document) {
    loaded.document->setPath(path);
    loaded.document->clearModified();
    handle = adopt(std::move(loaded.document));
  } else {
    loaded.book->setPath(path);
    loaded.book->clearModified();
    handle = adopt(std::move(loaded.book));
  }
  spaces_.back()->openedByClient = tracking;
  return handle;
}

bool HostState::close(ObjectId handle, int32_t flags) {
  Target t = resolve(handle);
  if (!t.isDocument() && !t.isBook()) return false;
  Space& s = *t.space;
  CloseRecord record;
  record.handle = handle;
  record.path = s.doc ? s.doc->path() : s.book->path();
  record.flags = flags;
  record.unsaved = s.doc ? s.doc->dirty() : s.book->dirty();
  closes.push_back(record);
  openOrder_.erase(std::remove(openOrder_.begin(), openOrder_.end(), s.index), openOrder_.end());
  s.open = false;
  s.doc.reset();
  s.book.reset();
  if (activeDocHandle == handle) activeDocHandle = 0;
  if (activeBookHandle == handle) activeBookHandle = 0;
  return true;
}

ObjectId HostState::save(ObjectId handle, const std::string& path) {
  Target t = resolve(handle);
  if (!store || (!t.isDocument() && !t.isBook())) return 0;
  std::string error;
  if (Document* doc = t.doc()) {
    const std::string target = path.empty() ? doc->path() : path;
    if (target.empty() || !store->save(target, *doc, &error)) return 0;
    doc->setPath(target);
    doc->clearModified();
    saves.push_back(target);
    if (tracking) t.space->savedByClient = true;
    return handle;
  }
  Book* book = t.book();
  const std::string target = path.empty() ? book->path() : path;
  if (target.empty() || !store->save(target, *book, &error)) return 0;
  book->setPath(target);
  book->clearModified();
  saves.push_back(target);
  if (tracking) t.space->savedByClient = true;
  return handle;
}

bool HostState::actedOnDocument() const {
  for (const auto& s : spaces_) {
    if (s->type == Space::Type::Host || !s->addressed) continue;
    // A document a client opened for its own use (settings, a style list)
    // and closed again unsaved is not one it acted on.
    if (s->openedByClient && !s->savedByClient && !s->open) continue;
    return true;
  }
  return false;
}

std::vector<ObjectId> HostState::openDocuments() const {
  std::vector<ObjectId> out;
  for (uint32_t index : openOrder_) {
    const Space& s = *spaces_[index];
    if (s.type == Space::Type::Document) out.push_back(s.handles[Document::kSelf]);
  }
  return out;
}

std::vector<ObjectId> HostState::openBooks() const {
  std::vector<ObjectId> out;
  for (uint32_t index : openOrder_) {
    const Space& s = *spaces_[index];
    if (s.type == Space::Type::Book) out.push_back(s.handles[Book::kSelf]);
  }
  return out;
}

ObjectId HostState::activeDocument() const {
  return peek(activeDocHandle).isDocument() ? activeDocHandle : 0;
}

ObjectId HostState::activeBook() const {
  return peek(activeBookHandle).isBook() ? activeBookHandle : 0;
}

// ---- Host objects ----

ObjectId HostState::addHostObject(HostObject object) {
  Space& host = hostSpace();
  host.objects.push_back(std::move(object));
  return handleOf(host, static_cast<Id>(host.objects.size()));
}

ObjectId HostState::findHostObject(MenuEntry::Type type, const std::string& tag) const {
  const Space& host = *spaces_[0];
  for (std::size_t i = 0; i < host.objects.size(); ++i) {
    const HostObject& o = host.objects[i];
    if (o.type == type && o.tag == tag) return host.handles[i + 1];
  }
  return 0;
}

MenuEntry HostState::describe(ObjectId handle, int depth) const {
  MenuEntry entry;
  Target t = resolve(handle);
  const HostObject* o = t.object();
  if (!o) return entry;
  entry.type = o->type;
  entry.handle = handle;
  entry.tag = o->tag;
  entry.label = o->label;
  entry.shortcut = o->shortcut;
  entry.number = o->number;
  entry.client = o->client;
  if (o->type == MenuEntry::Type::Menu && depth < kMaxMenuDepth) {
    for (ObjectId item : o->items) entry.items.push_back(describe(item, depth + 1));
  }
  return entry;
}

void HostState::noteText(const std::string& text) {
  if (!unicode && HasNonAscii(text)) ++nonAsciiWhileUnicodeOff;
}

}  // namespace headless::detail
