// Shared helpers of the MIF tests: the sample files and reading them.
#ifndef VELTRANO_TESTS_MIF_TEST_SUPPORT_H
#define VELTRANO_TESTS_MIF_TEST_SUPPORT_H

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace mif_test {

// The folder of real MIF files the application wrote. It sits beside the
// repository and is absent from a clone of the project alone.
std::string SamplesDir();
bool SamplesPresent();
// The file names (not paths) of all samples, sorted.
std::vector<std::string> SampleNames();
std::string ReadFile(const std::string& path);
std::string ReadSample(const std::string& name);

}  // namespace mif_test

// Skips the test, naming the folder, when the sample files are absent.
#define VTR_REQUIRE_SAMPLES()                                                             \
  do {                                                                                    \
    if (!mif_test::SamplesPresent()) {                                                    \
      GTEST_SKIP() << "the MIF sample folder " << mif_test::SamplesDir() << " is absent"; \
    }                                                                                     \
  } while (false)

#endif
