#include "model/chars.h"

namespace mif {

namespace {

struct NamedChar {
  std::string_view name;
  char32_t code;
  bool typographic = false;
};

// Names first that are written back for their character.
constexpr NamedChar kChars[] = {
    {"Tab", U'\t'},
    {"HardReturn", U'\n'},
    {"HardSpace", U'\u00A0'},
    {"DiscHyphen", U'\u00AD'},
    {"HardHyphen", U'\u2011'},
    {"NumberSpace", U'\u2007'},
    {"ThinSpace", U'\u2009'},
    {"EnSpace", U'\u2002'},
    {"EmSpace", U'\u2003'},
    {"EmDash", U'\u2014', true},
    {"EnDash", U'\u2013', true},
    {"Cent", U'\u00A2', true},
    {"Pound", U'\u00A3', true},
    {"Yen", U'\u00A5', true},
    {"Dagger", U'\u2020', true},
    {"DoubleDagger", U'\u2021', true},
    {"Bullet", U'\u2022', true},
    {"NoHyphen", U'\u0005'},
    // A soft hyphen inside a line reads as a discretionary hyphen.
    {"SoftHyphen", U'\u00AD'},
};

}  // namespace

std::optional<char32_t> CharFromName(std::string_view name) {
  for (const NamedChar& c : kChars) {
    if (c.name == name) return c.code;
  }
  return std::nullopt;
}

std::string_view NameOfChar(char32_t c, bool typographic) {
  if (c >= 0x20 && c < 0x7F) return {};  // printable ASCII has no name
  for (const NamedChar& n : kChars) {
    if (n.code == c) return n.typographic && !typographic ? std::string_view() : n.name;
  }
  return {};
}

}  // namespace mif
