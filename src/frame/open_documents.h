// Opening documents by path, and knowing whether the user already had them
// open.
#ifndef VELTRANO_FRAME_OPEN_DOCUMENTS_H
#define VELTRANO_FRAME_OPEN_DOCUMENTS_H

#include <initializer_list>
#include <string>
#include <vector>

#include "host/api.h"

namespace frame {

// One open setting: the host's code and value, passed unchanged.
struct OpenSetting {
  int code;
  IntT value;
};

// Opens `path` with the given open settings; the list the host returns is
// released unread. 0 when it cannot be opened.
ObjectId OpenWithSettings(const std::string& path, std::initializer_list<OpenSetting> settings);

// The open documents, in the host's order.
std::vector<ObjectId> OpenDocumentHandles();

// The open document whose path equals `path` (A to Z alike in either case).
ObjectId FindOpenDocument(const std::string& path);

// A document opened for the plug-in's own use. `openedHere` is false when the
// host handed back a document that was already open (the user's, to be left
// open).
struct OpenedDocument {
  ObjectId doc = 0;
  bool openedHere = false;
};
OpenedDocument OpenNotingOwnership(const std::string& path,
                                   std::initializer_list<OpenSetting> settings);

}  // namespace frame

#endif
