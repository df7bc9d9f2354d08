// What the index document's reference flow (the flow tagged like the
// component's suffix, "IX") says about generating: group titles, sort
// order, characters ignored in sorting, separators, the page number form
// of each marker type and the hypertext command of links. Paragraphs are
// found by tag; the older tags SpecIX and SortSpecIX stand for SeparatorsIX
// and SortOrderIX when the newer ones are missing. The building block
// <$autorange> in a page number paragraph or in SeparatorsIX makes an
// entry run to the page its marker's paragraph ends on, and joins
// consecutive pages of an entry into a range. Page numbers take the
// character format a switch in their paragraph names, else that of the
// paragraph's text; separators that of the SeparatorsIX text.
#ifndef VELTRANO_GENERATE_INDEX_SETTINGS_H
#define VELTRANO_GENERATE_INDEX_SETTINGS_H

#include <map>
#include <string>
#include <vector>

#include "generate/marker_entries.h"
#include "headless/document.h"

namespace headless::generate {

struct GroupTitle {
  LevelText text;
  std::string sortAs;  // its key, or its text when it has none
};

// How the page numbers of one marker type are printed.
struct PageForm {
  // With the building blocks <$pagenum>, <$chapnum> and <$volnum>.
  std::string text = "<$pagenum>";
  // The character format a switch in the text (<Emphasis><$pagenum>) gives
  // the number; "" for none.
  std::string format;
  // The character style of the reference paragraph's own text where the
  // number stands (a font applied there), in the index document; 0 for none.
  uint32_t style = 0;
};

struct IndexSettings {
  std::vector<GroupTitle> groupTitles;
  std::string sortOrder;
  std::string ignoreChars;
  // The SeparatorsIX picture " 1, 2–3": before the first page number,
  // between page numbers, inside a range, after the last number.
  std::string beforePages = " ";
  std::string betweenPages = ", ";
  std::string inRange = "\u2013";
  std::string afterPages;
  // The character style of the SeparatorsIX text, as PageForm::style.
  uint32_t separatorStyle = 0;
  // The page number form by marker type ("Index" -> "<$pagenum>").
  std::map<std::string, PageForm> pageForm;
  std::string linkCommand;
  // Pages that follow each other are printed as a range ("4–6", not "4, 5, 6"),
  // and an entry runs on to the end of its marker's paragraph.
  bool autoRange = false;

  // The form for a marker type: its own, else "<$pagenum>".
  PageForm formFor(const std::string& markerType) const;
};

// The settings the application gives a new index.
IndexSettings DefaultIndexSettings();

// The default texts of the reference flow, by paragraph tag, in the order
// a new index document carries them.
std::vector<std::pair<std::string, std::string>> DefaultReferenceTexts(
    const std::vector<std::string>& markerTypes);

// The settings of an index document: its reference flow tagged `suffix`
// where it says something, the defaults elsewhere.
IndexSettings ReadIndexSettings(const Document& doc, const std::string& suffix);

// The flow tagged `name` (not the main flow), or 0.
Id FindReferenceFlow(const Document& doc, const std::string& name);

}  // namespace headless::generate

#endif
