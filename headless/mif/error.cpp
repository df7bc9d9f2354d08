#include "mif/error.h"

namespace mif {

std::string Error::describe() const {
  std::string out = file.empty() ? std::string("<input>") : file;
  if (line != 0) {
    out += ':';
    out += std::to_string(line);
    out += ':';
    out += std::to_string(column);
  }
  out += ": ";
  out += message;
  return out;
}

}  // namespace mif
