#include "markertext/reference_rules.h"

#include <cstddef>

namespace markertext {
namespace {

constexpr std::size_t npos = std::string::npos;

// An entry in level notation: the level-1 part up to the first ":", then the
// rest part (empty when there is no ":").
struct Levels {
  std::size_t colon = npos;
  std::string level1;
  std::string rest;
};

Levels SplitLevels(const std::string& body) {
  Levels levels;
  levels.colon = body.find(':');
  if (levels.colon == npos) {
    levels.level1 = body;
  } else {
    levels.level1 = body.substr(0, levels.colon);
    levels.rest = body.substr(levels.colon + 1);
  }
  return levels;
}

// An empty setting matches nothing.
std::size_t FindReference(const std::string& text, const std::string& reference) {
  return reference.empty() ? npos : text.find(reference);
}

// The reference word is the reference without its final space.
std::size_t WordLength(const std::string& reference) {
  return reference.ends_with(' ') ? reference.size() - 1 : reference.size();
}

// The defined see-also form is "level-1 part, ':', optional spaces, the
// reference, target": the rest part becomes the see-also text, the target and
// a sort string that files the reference under its level-1 term.
//
// A see-also reference elsewhere (in the level-1 part, further into the rest
// part, or in a body without ":") is replaced where it stands by the see-also
// text, so that every other byte stays where the author put it; no sort
// string is made since there is no level-1 term to file it under.
std::string ApplySeeAlso(const std::string& body, const Levels& levels, std::size_t found,
                         const ReferenceSettingValues& s) {
  if (levels.colon != npos) {
    std::size_t start = levels.rest.find_first_not_of(' ');
    if (start != npos &&
        levels.rest.compare(start, s.seeAlsoReference.size(), s.seeAlsoReference) == 0) {
      std::string target = levels.rest.substr(start + s.seeAlsoReference.size());
      return levels.level1 + ":" + s.seeAlsoEntry + target + "[" + levels.level1 + s.seeAlsoSort +
             "]";
    }
  }
  std::string result = body;
  result.replace(found, s.seeAlsoReference.size(), s.seeAlsoEntry);
  return result;
}

// A see reference at the start of the rest part, or after one space there,
// becomes the see text, one space and the target. Anywhere else the
// reference word is replaced where it stands by the see text, keeping the
// bytes around it: deeper in the rest part, after a character other than a
// space (which would otherwise be dropped), and, when the rest part does not
// hold the reference, at its first place in the body.
std::string ApplySee(const std::string& body, const Levels& levels, std::size_t found,
                     const ReferenceSettingValues& s) {
  const std::size_t word = WordLength(s.seeReference);
  if (levels.colon != npos) {
    std::size_t k = FindReference(levels.rest, s.seeReference);
    if (k != npos) {
      std::string rest = levels.rest;
      if (k == 0 || (k == 1 && rest[0] == ' ')) {
        rest = s.seeEntry + " " + rest.substr(k + s.seeReference.size());
      } else {
        rest.replace(k, word, s.seeEntry);
      }
      return levels.level1 + ":" + rest;
    }
  }
  std::string result = body;
  result.replace(found, word, s.seeEntry);
  return result;
}

}  // namespace

std::string ApplyReferenceRules(const std::string& body, const ReferenceSettingValues* settings) {
  if (settings == nullptr) return body;
  Levels levels = SplitLevels(body);
  // The see-also word usually holds the see word, so see-also is tried first
  // and a body with a see-also reference is never read as a see reference.
  if (std::size_t found = FindReference(body, settings->seeAlsoReference); found != npos) {
    return ApplySeeAlso(body, levels, found, *settings);
  }
  if (std::size_t found = FindReference(body, settings->seeReference); found != npos) {
    return ApplySee(body, levels, found, *settings);
  }
  return body;
}

}  // namespace markertext
