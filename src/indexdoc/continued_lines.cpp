#include "indexdoc/continued_lines.h"

#include <string>

#include "indexdoc/continued_text.h"
#include "indexdoc/index_flow.h"
#include "indexdoc/index_formats.h"

namespace indexdoc {
namespace {

constexpr const char* kBalancedColumns =
    "Cannot add 'continued' lines to an index with balanced columns.";
// The word "continued" of " (continued)": the nine characters before the
// last character of the text.
constexpr IntT kContinuedWordBegin = host::kOffsetEndOfText - 10;
constexpr IntT kContinuedWordEnd = host::kOffsetEndOfText - 1;

IntT CharacterCount(const std::string& utf8) {
  IntT n = 0;
  for (unsigned char c : utf8) n += (c & 0xC0) != 0x80 ? 1 : 0;
  return n;
}

class ColumnWalk {
 public:
  ColumnWalk(ObjectId doc, const IndexFormatNames& names, const ContinuedStyle& style)
      : doc_(doc), names_(names), style_(style) {}

  void run(ObjectId firstColumn) {
    for (ObjectId column = firstColumn; column != 0;
         column = F_ApiGetId(doc_, column, host::kPropNextColumn)) {
      treatColumnTop(F_ApiGetId(doc_, column, host::kPropFirstParagraph));
      // A group title never ends a column.
      const ObjectId last = F_ApiGetId(doc_, column, host::kPropLastParagraph);
      if (is(last, names_.groupTitles)) pushToNextColumn(last);
    }
  }

 private:
  void treatColumnTop(ObjectId p) {
    if (p == 0 || Indent(doc_, p) == 0) return;
    if (is(p, names_.level2)) {
      treatLevel2(p);
    } else if (is(p, names_.level3)) {
      treatLevel3(p);
    }
  }

  void treatLevel2(ObjectId p) {
    const ObjectId q = prev(p);
    if (is(q, names_.level1)) {
      // The heading was left alone at the bottom of the previous column.
      pushWithGroupTitle(q);
      return;
    }
    const ObjectId h = nearestHeading(q, names_.level1);
    if (h == 0) return;
    const ObjectId k = copyBefore(h, p);
    markContinued(k, h);
    formatCopy(k, names_.level1);
    pushToNextColumn(k);
    restore(p, names_.level2);
  }

  void treatLevel3(ObjectId p) {
    const ObjectId q = prev(p);
    const ObjectId r = prev(q);
    if (is(q, names_.level2) && is(r, names_.level1)) {
      // Both headings were left at the bottom of the previous column.
      pushWithGroupTitle(r);
      return;
    }
    if (is(q, names_.level2)) {
      // The level-2 heading alone was left behind: a continued level-1
      // heading goes before it and both move to this column.
      const ObjectId h = nearestHeading(r, names_.level1);
      if (h == 0) return;
      const ObjectId k = copyBefore(h, q);
      markContinued(k, h);
      formatCopy(k, names_.level1);
      pushToNextColumn(k);
      restore(q, names_.level2);
      return;
    }
    const ObjectId h2 = nearestHeading(q, names_.level2);
    if (h2 == 0) return;
    const ObjectId k2 = copyBefore(h2, p);
    formatCopy(k2, names_.level2);
    restore(p, names_.level3);
    const ObjectId h1 = nearestHeading(prev(k2), names_.level1);
    if (h1 == 0) {
      pushToNextColumn(k2);
      return;
    }
    const ObjectId k1 = copyBefore(h1, k2);
    markContinued(k1, h1);
    formatCopy(k1, names_.level1);
    pushToNextColumn(k1);
    formatCopy(k2, names_.level2);
  }

  bool is(ObjectId p, const std::string& format) const {
    return p != 0 && F_ApiGetString(doc_, p, host::kPropName) == format;
  }
  ObjectId prev(ObjectId p) const { return p == 0 ? 0 : PreviousParagraph(doc_, p); }

  // x itself when it has the format, else the first paragraph of that format
  // before it; 0 when the flow starts first.
  ObjectId nearestHeading(ObjectId x, const std::string& format) const {
    for (ObjectId p = x; p != 0; p = PreviousParagraph(doc_, p)) {
      if (is(p, format)) return p;
    }
    return 0;
  }

  void select(const TextRange& range) {
    F_ApiSetTextRange(0, doc_, host::kPropTextSelection, range);
  }

  // Puts a copy of h directly before y and returns it.
  ObjectId copyBefore(ObjectId h, ObjectId y) {
    F_ApiPushClipboard();
    select({{h, 0}, {h, host::kOffsetEndOfObject}});
    F_ApiCopy(doc_, 0);
    select({{y, 0}, {y, 0}});
    F_ApiPaste(doc_, 0);
    F_ApiPopClipboard();
    return PreviousParagraph(doc_, y);
  }

  void markContinued(ObjectId k, ObjectId h) {
    const std::string& s = style_.text;
    if (host::ParagraphText(doc_, h).find(s) != std::string::npos) return;
    F_ApiAddText(doc_, {k, host::kOffsetEndOfText}, s);
    select({{k, host::kOffsetEndOfObject - CharacterCount(s)}, {k, host::kOffsetEndOfText}});
    const IntT codes[] = {host::kFcode621};
    F_ApiFcodes(1, codes);
    if (style_.hasCharFormat) {
      F_ApiSetTextProps(doc_, {{k, kContinuedWordBegin}, {k, kContinuedWordEnd}},
                        style_.charFormat);
    }
  }

  void applyFormat(ObjectId p, const std::string& format) {
    PropList props =
        F_ApiGetProps(doc_, F_ApiGetNamedObject(doc_, host::kObjParagraphFormat, format));
    F_ApiSetProps(doc_, p, props);
    F_ApiDeallocatePropVals(&props);
  }

  // The "Cont" variant of the format when the index has one.
  void formatCopy(ObjectId k, const std::string& format) {
    const std::string cont = "Cont" + format;
    const bool hasCont = F_ApiGetNamedObject(doc_, host::kObjParagraphFormat, cont) != 0;
    applyFormat(k, hasCont ? cont : format);
  }

  void restore(ObjectId y, const std::string& format) { applyFormat(y, format); }

  void pushToNextColumn(ObjectId x) {
    F_ApiSetInt(doc_, x, host::kPropStartPosition, host::kStartTopOfColumn);
  }

  void pushWithGroupTitle(ObjectId heading) {
    const ObjectId before = prev(heading);
    pushToNextColumn(is(before, names_.groupTitles) ? before : heading);
  }

  ObjectId doc_;
  const IndexFormatNames& names_;
  const ContinuedStyle& style_;
};

}  // namespace

void AddContinuedLines(ObjectId doc) {
  std::optional<IndexFormatNames> names = ResolveIndexFormats(doc);
  if (!names) return;
  const ObjectId frame = MainFlowFirstFrame(doc);
  if (F_ApiGetInt(doc, frame, host::kPropBalanceColumns) == 1) {
    F_ApiAlert(kBalancedColumns, host::kAlertWarning);
    return;
  }
  std::optional<ContinuedStyle> style = SettleContinuedStyle(doc);
  if (!style) return;
  ColumnWalk(doc, *names, *style).run(F_ApiGetId(doc, frame, host::kPropFirstColumn));
  if (style->hasCharFormat) F_ApiDeallocatePropVals(&style->charFormat);
}

}  // namespace indexdoc
