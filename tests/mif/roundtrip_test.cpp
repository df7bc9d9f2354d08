// Reading and writing without change gives back the same bytes.
#include <gtest/gtest.h>

#include "mif/document.h"
#include "mif/parser.h"
#include "mif/writer.h"
#include "test_support.h"

namespace {

using mif_test::ReadSample;
using mif_test::SampleNames;

TEST(MifSamples, AllSixArePresent) {
  VTR_REQUIRE_SAMPLES();
  // The round-trip cases below are generated from this folder; an empty one
  // would pass them vacuously.
  EXPECT_GE(SampleNames().size(), 6u) << "samples folder: " << mif_test::SamplesDir();
}

class SampleRoundTrip : public ::testing::TestWithParam<std::string> {};

TEST_P(SampleRoundTrip, UnchangedFileComesBackByteForByte) {
  const std::string original = ReadSample(GetParam());
  ASSERT_FALSE(original.empty());
  auto doc = mif::ParseDocument(original, GetParam());
  ASSERT_TRUE(doc.ok()) << doc.error().describe();
  EXPECT_EQ(mif::WriteTree(doc->tree()), original);
}

TEST_P(SampleRoundTrip, PiecesCoverTheFileExactly) {
  // Writing every statement from its pieces must also reproduce the file:
  // this is what a changed statement relies on.
  const std::string original = ReadSample(GetParam());
  auto doc = mif::ParseDocument(original, GetParam());
  ASSERT_TRUE(doc.ok()) << doc.error().describe();
  mif::WriteOptions pieces;
  pieces.copyUnchanged = false;
  EXPECT_EQ(mif::WriteTree(doc->tree(), pieces), original);
}

std::string SampleTestName(const ::testing::TestParamInfo<std::string>& info) {
  std::string name;
  for (char c : info.param) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  return name;
}

// Without the sample folder there are no cases; MifSamples.AllSixArePresent
// reports the folder as skipped then.
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(SampleRoundTrip);
INSTANTIATE_TEST_SUITE_P(Samples, SampleRoundTrip, ::testing::ValuesIn(SampleNames()),
                         SampleTestName);

}  // namespace
