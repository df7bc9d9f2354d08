#include "mif/error.h"

#include "headless/utf8.h"

namespace mif {

std::string Error::describe() const {
  std::string out = file.empty() ? std::string("<input>") : headless::PrintableText(file);
  if (line != 0) {
    out += ':';
    out += std::to_string(line);
    out += ':';
    out += std::to_string(column);
  }
  out += ": ";
  out += headless::PrintableText(message);
  return out;
}

}  // namespace mif
