// Walks over the paragraph chains of a document: flows, table cells and
// footnotes, as the conversions and the visibility commands visit them.
#ifndef VELTRANO_FRAME_DOCUMENT_WALK_H
#define VELTRANO_FRAME_DOCUMENT_WALK_H

#include <string>

#include "frame/entry_names.h"
#include "host/api.h"

namespace frame {

// The first paragraph of a flow: that of its first text frame or, when that
// frame holds none, that of the frame after it; 0 when neither has one.
inline ObjectId FirstParagraphOfFlow(ObjectId doc, ObjectId flow) {
  ObjectId frame = F_ApiGetId(doc, flow, host::kPropFirstFrameInFlow);
  ObjectId first = F_ApiGetId(doc, frame, host::kPropFirstParagraph);
  if (first != 0) return first;
  return F_ApiGetId(doc, F_ApiGetId(doc, frame, host::kPropNextFrameInFlow),
                    host::kPropFirstParagraph);
}

inline bool IsEntryParagraph(ObjectId doc, ObjectId paragraph) {
  return paragraph != 0 && F_ApiGetString(doc, paragraph, host::kPropName) == kEntryFormatName;
}

// Calls fn(firstParagraph) for each flow of the document that has one.
// fn returns false to end the walk. Returns false when it was ended.
template <class Fn>
bool ForEachFlowChain(ObjectId doc, Fn&& fn) {
  for (ObjectId flow = F_ApiGetId(0, doc, host::kPropFirstFlowInDoc); flow != 0;
       flow = F_ApiGetId(doc, flow, host::kPropFlowNext)) {
    ObjectId first = FirstParagraphOfFlow(doc, flow);
    if (first != 0 && !fn(first)) return false;
  }
  return true;
}

// Calls fn(cell) for each cell of each row of each table.
template <class Fn>
bool ForEachTableCell(ObjectId doc, Fn&& fn) {
  for (ObjectId table = F_ApiGetId(0, doc, host::kPropFirstTableInDoc); table != 0;
       table = F_ApiGetId(doc, table, host::kPropNextTable)) {
    for (ObjectId row = F_ApiGetId(doc, table, host::kPropFirstRow); row != 0;
         row = F_ApiGetId(doc, row, host::kPropNextRow)) {
      for (ObjectId cell = F_ApiGetId(doc, row, host::kPropFirstCell); cell != 0;
           cell = F_ApiGetId(doc, cell, host::kPropNextCell)) {
        if (!fn(cell)) return false;
      }
    }
  }
  return true;
}

// Calls fn(footnote) for each footnote of the document.
template <class Fn>
bool ForEachFootnote(ObjectId doc, Fn&& fn) {
  for (ObjectId note = F_ApiGetId(0, doc, host::kPropFirstFootnoteInDoc); note != 0;
       note = F_ApiGetId(doc, note, host::kPropNextFootnote)) {
    if (!fn(note)) return false;
  }
  return true;
}

// Calls fn(paragraph) along a chain from `first`; fn returns false to stop.
template <class Fn>
bool ForEachParagraphFrom(ObjectId doc, ObjectId first, Fn&& fn) {
  for (ObjectId p = first; p != 0; p = F_ApiGetId(doc, p, host::kPropNextParagraph)) {
    if (!fn(p)) return false;
  }
  return true;
}

// Calls fn(paragraph) for every paragraph of the flows and table cells (not
// footnotes), in that order; fn returns false to stop.
template <class Fn>
bool ForEachFlowAndCellParagraph(ObjectId doc, Fn&& fn) {
  if (!ForEachFlowChain(doc, [&](ObjectId first) { return ForEachParagraphFrom(doc, first, fn); }))
    return false;
  return ForEachTableCell(doc, [&](ObjectId cell) {
    return ForEachParagraphFrom(doc, F_ApiGetId(doc, cell, host::kPropFirstParagraph), fn);
  });
}

}  // namespace frame

#endif
