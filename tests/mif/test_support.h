// Shared helpers of the MIF tests: the sample files and reading them.
#ifndef VELTRANO_TESTS_MIF_TEST_SUPPORT_H
#define VELTRANO_TESTS_MIF_TEST_SUPPORT_H

#include <string>
#include <vector>

namespace mif_test {

// The folder of real MIF files the application wrote.
std::string SamplesDir();
// The file names (not paths) of all samples, sorted.
std::vector<std::string> SampleNames();
std::string ReadFile(const std::string& path);
std::string ReadSample(const std::string& name);

}  // namespace mif_test

#endif
