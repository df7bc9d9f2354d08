#include "frame/master_index.h"

#include <algorithm>
#include <new>
#include <string>
#include <vector>

#include "frame/book_commands.h"
#include "host/api.h"

namespace frame {
namespace {

// The component settings copied to the master book, in the order they are
// copied.
struct CopiedSetting {
  int prop;
  bool isString;
};
constexpr CopiedSetting kCopied[] = {{host::kPropName, true},
                                     {523, false},
                                     {524, false},
                                     {224, false},
                                     {225, false},
                                     {525, false},
                                     {215, false},
                                     {216, false},
                                     {217, false},
                                     {218, true},
                                     {295, false},
                                     {284, false},
                                     {285, true},
                                     {290, false},
                                     {324, false},
                                     {317, true},
                                     {316, false}};

std::vector<ObjectId> OpenBooks() {
  std::vector<ObjectId> books;
  for (ObjectId b = F_ApiGetId(0, 0, host::kPropFirstOpenBook); b != 0;
       b = F_ApiGetId(0, b, host::kPropNextOpenBook)) {
    books.push_back(b);
  }
  return books;
}

std::string BookFileName(ObjectId book) {
  return host::FileNameOf(F_ApiGetString(0, book, host::kPropName));
}

void SetNumbering(ObjectId owner, ObjectId component, const std::string& prefix) {
  F_ApiSetInt(owner, component, host::kPropComponentNumberingA, 2);
  F_ApiSetInt(owner, component, host::kPropComponentNumberingB, 11);
  F_ApiSetInt(owner, component, host::kPropComponentNumberingC, 0);
  F_ApiSetString(owner, component, host::kPropComponentPrefix, prefix);
}

// Appends a master component for every included document of `book`.
void AddComponents(ObjectId master, ObjectId book, const std::string& prepend, ObjectId& previous) {
  BookOrderWalk(book, [&](ObjectId source, IntT kind) {
    if (kind != host::kComponentDocument ||
        F_ApiGetInt(book, source, host::kPropComponentExcluded) != 0) {
      return true;
    }
    const ObjectId copy = F_ApiNewSeriesObject(master, host::kObjBookComponent, previous);
    previous = copy;
    for (const CopiedSetting& s : kCopied) {
      if (s.isString) {
        F_ApiSetString(master, copy, s.prop, F_ApiGetString(book, source, s.prop));
      } else {
        F_ApiSetInt(master, copy, s.prop, F_ApiGetInt(book, source, s.prop));
      }
    }
    const std::string old = F_ApiGetString(book, source, host::kPropComponentPrefix);
    const std::string prefix = old.starts_with(prepend) ? old : prepend + old;
    SetNumbering(master, copy, prefix);
    SetNumbering(book, source, prefix);
    return true;
  });
}

}  // namespace

bool BuildMasterIndex() {
  std::vector<std::string> names;
  for (ObjectId book : OpenBooks()) {
    try {
      names.push_back(BookFileName(book));
    } catch (const std::bad_alloc&) {
      HostConsolePrint("Couldn't allocate string list memory\n");
    }
  }
  std::sort(names.begin(), names.end());

  const ObjectId master = F_ApiNewNamedObject(
      0, host::kObjBook, F_ApiGetString(0, 0, host::kPropMasterBookDir) + "Master");
  ObjectId previous = 0;
  for (const std::string& name : names) {
    // Books processed earlier are closed by now, so the first match is the
    // next book of that name.
    ObjectId book = 0;
    for (ObjectId b : OpenBooks()) {
      if (BookFileName(b) == name) {
        book = b;
        break;
      }
    }
    std::string prepend;
    if (F_ApiPromptString(&prepend, "Enter the prepend string for " + (book ? name : ""), "") !=
        0) {
      return false;
    }
    AddComponents(master, book, prepend, previous);
    F_ApiSimpleSave(book, F_ApiGetString(0, book, host::kPropName), 0);
    F_ApiClose(book, host::kCloseWithoutAsking);
  }
  return true;
}

}  // namespace frame
