#include "pe_image.h"

#include <cstdint>
#include <fstream>
#include <iterator>

#include "headless/paths.h"

namespace vtrtest {

namespace {

class Image {
 public:
  explicit Image(const std::string& bytes) : bytes_(bytes) {}

  bool has(std::size_t at, std::size_t size) const {
    return at <= bytes_.size() && size <= bytes_.size() - at;
  }
  std::uint32_t u16(std::size_t at) const { return byte(at) | byte(at + 1) << 8; }
  std::uint32_t u32(std::size_t at) const { return u16(at) | u16(at + 2) << 16; }
  // A null-terminated string, or "" when it runs off the file.
  std::string text(std::size_t at) const {
    const std::size_t end = at < bytes_.size() ? bytes_.find('\0', at) : std::string::npos;
    return end == std::string::npos ? std::string() : bytes_.substr(at, end - at);
  }

  // Reads the headers; false when this is no PE32+ image.
  bool open() {
    if (!has(0, 64) || bytes_[0] != 'M' || bytes_[1] != 'Z') return false;
    const std::size_t pe = u32(0x3C);
    if (!has(pe, 24) || u32(pe) != 0x4550) return false;  // "PE\0\0"
    const std::size_t sections = u16(pe + 6);
    const std::size_t optionalSize = u16(pe + 20);
    optional_ = pe + 24;
    if (!has(optional_, optionalSize) || optionalSize < 112 || u16(optional_) != 0x20B)
      return false;
    directories_ = u32(optional_ + 108);
    sectionTable_ = optional_ + optionalSize;
    sectionCount_ = sections;
    return has(sectionTable_, sections * 40);
  }

  // The RVA and size of data directory `index`, 0 when absent.
  std::uint32_t directoryRva(unsigned index) const {
    return index < directories_ && has(optional_ + 112 + index * 8, 8)
               ? u32(optional_ + 112 + index * 8)
               : 0;
  }

  // The file offset of an RVA, or npos when no section holds it.
  std::size_t offset(std::uint32_t rva) const {
    for (std::size_t i = 0; i < sectionCount_; ++i) {
      const std::size_t s = sectionTable_ + i * 40;
      const std::uint32_t virtualSize = u32(s + 8), start = u32(s + 12);
      const std::uint32_t rawSize = u32(s + 16), raw = u32(s + 20);
      const std::uint32_t size = virtualSize > rawSize ? virtualSize : rawSize;
      if (rva >= start && rva - start < size) return raw + (rva - start);
    }
    return std::string::npos;
  }

 private:
  std::uint32_t byte(std::size_t at) const {
    return at < bytes_.size() ? static_cast<unsigned char>(bytes_[at]) : 0u;
  }
  const std::string& bytes_;
  std::size_t optional_ = 0;
  std::size_t directories_ = 0;
  std::size_t sectionTable_ = 0;
  std::size_t sectionCount_ = 0;
};

void ReadExports(const Image& image, PeLinking& out) {
  const std::uint32_t rva = image.directoryRva(0);
  if (rva == 0) return;
  const std::size_t dir = image.offset(rva);
  if (!image.has(dir, 40)) {
    out.error = "export directory outside the file";
    return;
  }
  out.exportedFunctions = image.u32(dir + 20);
  const std::uint32_t names = image.u32(dir + 24);
  const std::size_t table = image.offset(image.u32(dir + 32));
  for (std::uint32_t i = 0; i < names; ++i) {
    if (!image.has(table, (i + 1) * 4)) {
      out.error = "export names outside the file";
      return;
    }
    out.exports.push_back(image.text(image.offset(image.u32(table + i * 4))));
  }
}

// Import descriptors are 20 bytes with the name's RVA at 12; delay-import
// descriptors 32 bytes with it at 4. Both lists end with a zeroed entry.
void ReadImports(const Image& image, unsigned directory, std::size_t entrySize, std::size_t nameAt,
                 PeLinking& out) {
  const std::uint32_t rva = image.directoryRva(directory);
  if (rva == 0) return;
  for (std::size_t at = image.offset(rva);; at += entrySize) {
    if (!image.has(at, entrySize)) {
      out.error = "import directory outside the file";
      return;
    }
    const std::uint32_t name = image.u32(at + nameAt);
    if (name == 0) return;
    out.imports.push_back(image.text(image.offset(name)));
  }
}

}  // namespace

PeLinking ReadPeLinking(const std::string& path) {
  PeLinking out;
  std::ifstream file(headless::FsPath(path), std::ios::binary);
  if (!file) {
    out.error = "cannot open " + path;
    return out;
  }
  const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  Image image(bytes);
  if (!image.open()) {
    out.error = path + " is no 64-bit PE image";
    return out;
  }
  ReadExports(image, out);
  ReadImports(image, 1, 20, 12, out);
  ReadImports(image, 13, 32, 4, out);
  return out;
}

}  // namespace vtrtest
