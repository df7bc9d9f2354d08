// Shared ground for the marker editing tests: documents with the entry
// format and the "Index" condition, entry paragraphs under that condition,
// and short readers of the markers a conversion leaves.
#ifndef VELTRANO_TESTS_EDITING_EDITING_TEST_H
#define VELTRANO_TESTS_EDITING_EDITING_TEST_H

#include <string>
#include <vector>

#include "plugin_test.h"

namespace vtrtest {

// Command numbers of the marker editing commands.
inline constexpr int kDeleteAllMarkers = 3;
inline constexpr int kDeleteOneMarker = 4;
inline constexpr int kInsertAllMarkers = 5;
inline constexpr int kInsertOneMarker = 7;
inline constexpr int kUpdateAllMarkers = 10;

class EditingTest : public PluginTest {
 protected:
  // A document that knows the entry format and the "Index" condition, with
  // its main flow started.
  static DocumentBuilder Chapter(const std::string& path = "C:\\docs\\ch1.fm",
                                 bool indexShown = true) {
    DocumentBuilder b(path);
    b.paraFormat("Index Entry").condition("Index", indexShown).flow();
    return b;
  }
  // An entry paragraph, under the "Index" condition as the entry commands
  // make it.
  static DocumentBuilder& Entry(DocumentBuilder& b, const std::string& text) {
    return b.para("Index Entry", text).conditions({"Index"});
  }
  static DocumentBuilder& Entries(DocumentBuilder& b, const std::vector<std::string>& texts) {
    for (const std::string& t : texts) Entry(b, t);
    return b;
  }

  std::vector<std::string> IndexMarkers(ObjectId d) { return MarkerTexts(doc(d), "Index"); }

  // The lines of a container with the entry paragraphs left out, so that
  // the placement of markers reads at a glance.
  std::vector<std::string> NonEntryLines(ObjectId d, Id container = 0) {
    std::vector<std::string> out;
    for (const std::string& line : Lines(doc(d), container)) {
      if (line.rfind("Index Entry: ", 0) != 0) out.push_back(line);
    }
    return out;
  }
};

}  // namespace vtrtest

#endif
