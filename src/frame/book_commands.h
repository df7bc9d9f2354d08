// Commands over every document of a book, and the book walk they share.
#ifndef VELTRANO_FRAME_BOOK_COMMANDS_H
#define VELTRANO_FRAME_BOOK_COMMANDS_H

#include <string>

#include "host/api.h"

namespace frame {

// Visits every component of the book in the order of the book window,
// containers included, with its kind. The successor is settled before the
// visit, so the visitor may open, save and close the component's document.
// The visitor returns false to end the walk.
template <class Visitor>
void BookOrderWalk(ObjectId book, Visitor&& visit) {
  ObjectId x = F_ApiGetId(0, book, host::kPropFirstComponentInBook);
  while (x != 0) {
    const IntT kind = F_ApiGetInt(book, x, host::kPropComponentKind);
    ObjectId next = 0;
    if (kind == host::kComponentFolder || kind == host::kComponentGroup) {
      next = F_ApiGetId(book, x, host::kPropComponentFirstChild);
    }
    if (next == 0) next = F_ApiGetId(book, x, host::kPropNextComponent);
    for (ObjectId up = x; next == 0 && up != 0;) {
      up = F_ApiGetId(book, up, host::kPropComponentParent);
      if (up != 0) next = F_ApiGetId(book, up, host::kPropNextComponent);
    }
    if (!visit(x, kind)) return;
    x = next;
  }
}

void UpdateAllMarkersInBook(ObjectId book);
void ShowIndexEntriesInBook(ObjectId book);
void HideIndexEntriesInBook(ObjectId book);

}  // namespace frame

#endif
