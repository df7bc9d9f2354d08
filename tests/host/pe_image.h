// What a Windows executable or DLL file says about its linking, read from
// the file itself (the PE export, import and delay-import directories), so
// that a test can check a built library without loading it.
#ifndef VELTRANO_TESTS_HOST_PE_IMAGE_H
#define VELTRANO_TESTS_HOST_PE_IMAGE_H

#include <string>
#include <vector>

namespace vtrtest {

struct PeLinking {
  std::string error;                 // empty when the file was read
  std::vector<std::string> exports;  // exported names
  unsigned exportedFunctions = 0;    // every export, named or by ordinal only
  std::vector<std::string> imports;  // names of the DLLs it imports from, delayed or not
};

PeLinking ReadPeLinking(const std::string& path);

}  // namespace vtrtest

#endif
