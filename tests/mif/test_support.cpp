#include "test_support.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace mif_test {

std::string SamplesDir() {
  return VTR_MIF_SAMPLES_DIR;
}

bool SamplesPresent() {
  std::error_code ec;
  return std::filesystem::is_directory(SamplesDir(), ec);
}

std::vector<std::string> SampleNames() {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(SamplesDir(), ec)) {
    if (entry.path().extension() == ".mif") names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

std::string ReadSample(const std::string& name) {
  return ReadFile(SamplesDir() + "/" + name);
}

}  // namespace mif_test
