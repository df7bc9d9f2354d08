#include "editing/delete_markers.h"

#include "frame/entry_names.h"

namespace editing {
namespace {

ObjectId MarkerType(ObjectId doc, const std::string& name) {
  return F_ApiGetNamedObject(doc, host::kObjMarkerType, name);
}

bool HasMarkerOfType(ObjectId doc, ObjectId type) {
  for (ObjectId m = F_ApiGetId(0, doc, host::kPropFirstMarkerInDoc); m != 0;
       m = F_ApiGetId(doc, m, host::kPropNextMarker)) {
    if (F_ApiGetId(doc, m, host::kPropMarkerType) == type) return true;
  }
  return false;
}

}  // namespace

int ConfirmMarkerLoss(ObjectId doc) {
  ObjectId type = MarkerType(doc, frame::kIndexMarkerTypeName);
  if (!HasMarkerOfType(doc, type)) return kGoOn;
  if (F_ApiGetNamedObject(doc, host::kObjParagraphFormat, frame::kEntryFormatName) != 0) {
    return kGoOn;
  }
  const std::string message =
      "The document " + host::FileNameOf(F_ApiGetString(0, doc, host::kPropName)) +
      " does not contain any index entries. Existing Index markers will be lost if you procede. "
      "Do you want to continue?";
  return F_ApiAlert(message, host::kAlertOkCancel) == host::kAlertAnswerOk ? kGoOn : kDeclined;
}

void DeleteIndexMarkers(ObjectId doc, const std::string& markerType) {
  ObjectId type = MarkerType(doc, markerType);
  F_ApiSetInt(0, 0, host::kPropDisplaying, 0);
  ObjectId m = F_ApiGetId(0, doc, host::kPropFirstMarkerInDoc);
  while (m != 0) {
    // The successor is read before the marker goes.
    ObjectId next = F_ApiGetId(doc, m, host::kPropNextMarker);
    if (F_ApiGetId(doc, m, host::kPropMarkerType) == type) F_ApiDelete(doc, m);
    m = next;
  }
  F_ApiSetInt(0, 0, host::kPropDisplaying, 1);
  F_ApiRedisplay(doc);
}

void DeleteParagraphMarkers(ObjectId doc, ObjectId paragraph, const std::string& markerType) {
  ObjectId type = MarkerType(doc, markerType);
  TextItems items = F_ApiGetText(doc, paragraph, host::kItemMarkerAnchor);
  for (const TextItem& item : items.val) {
    if (F_ApiGetId(doc, item.obj, host::kPropMarkerType) == type) F_ApiDelete(doc, item.obj);
  }
  F_ApiDeallocateTextItems(&items);
}

}  // namespace editing
