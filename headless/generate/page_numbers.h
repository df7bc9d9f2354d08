// Page and chapter numbers across a book, as the book's numbering settings
// say. Each component's body pages are numbered from its first page on:
// "Restart" starts at its PageNumStart, "Continue" one after the last page
// of the component before it (and on the side StartPageSide asks for),
// "Read from file" keeps the page numbers the file was saved with. The
// first component of a book continues nothing and starts where its file
// does. The style is the component's PageNumStyle, else the file's.
#ifndef VELTRANO_GENERATE_PAGE_NUMBERS_H
#define VELTRANO_GENERATE_PAGE_NUMBERS_H

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "headless/value.h"

namespace headless::generate {

// Number styles as the book's properties give them.
enum NumberStyle : int32_t {
  kArabic = 0,
  kUpperRoman = 1,
  kLowerRoman = 2,
  kUpperAlpha = 3,
  kLowerAlpha = 4,
  kText = 11
};

std::string FormatNumber(int64_t n, int32_t style);
// The number a page string stands for in any of the styles, or none.
std::optional<int64_t> ParseNumber(std::string_view text);
// A MIF style keyword ("LCRoman") as a style; Arabic when unknown.
int32_t StyleOfKeyword(std::string_view keyword);

struct ComponentPages {
  PropMap settings;                // the book component's properties
  std::vector<std::string> saved;  // the PageNum strings as saved
  std::string fileStyle;           // DPageNumStyle of the file
};

struct NumberedComponent {
  std::vector<std::string> pages;  // the printed number of each body page
  std::string chapter;             // the chapter number as printed
  std::string volume;
};

// Numbers the components of a book one after the other, in book order.
class BookNumbering {
 public:
  NumberedComponent add(const ComponentPages& component);

 private:
  struct Counter {
    int64_t value = 0;
    bool started = false;
  };
  std::string numbered(const PropMap& s, int method, int start, int style, int text, Counter& c,
                       int32_t unstated);

  std::optional<int64_t> last_;  // the last page number so far
  Counter chapter_, volume_;
};

// The places of body pages in print, across the book: a page one after
// the page before it when its number follows that page's number, two
// after it otherwise (a restart, a blank page left out, a number that is
// no number), so that two pages read as consecutive exactly when their
// places differ by one.
class PrintOrder {
 public:
  // The places of a component's pages, given their printed numbers.
  std::vector<uint64_t> add(const std::vector<std::string>& pages);

 private:
  uint64_t last_ = 0;
  std::optional<int64_t> lastNumber_;
};

}  // namespace headless::generate

#endif
