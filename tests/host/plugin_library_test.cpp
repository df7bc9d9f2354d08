// The plug-in library as the host sees it: one export (and on Windows only
// system libraries imported and the version record), a complete service
// table accepted, the identity registered.
#include <filesystem>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "fixture.h"
#include "headless/paths.h"
#include "process.h"

#ifdef _WIN32
#include <windows.h>

#include "pe_image.h"
#endif

namespace vtrtest {
namespace {

#ifdef _WIN32

// The version record's string under block "040904b0" (US English,
// Unicode), or nothing when the key is absent.
std::optional<std::string> VersionString(const std::vector<char>& record, const std::string& key) {
  const std::wstring query = headless::FsPath("\\StringFileInfo\\040904b0\\" + key).wstring();
  void* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(record.data(), query.c_str(), &value, &length) || value == nullptr) {
    return std::nullopt;
  }
  const wchar_t* text = static_cast<const wchar_t*>(value);
  std::wstring wide(text, length);
  while (!wide.empty() && wide.back() == L'\0') wide.pop_back();
  return headless::Utf8Path(std::filesystem::path(wide));
}

TEST(PluginLibrary, ExportsOnlyTheClientEntry) {
  const PeLinking dll = ReadPeLinking(VTR_PLUGIN_FILE);
  ASSERT_EQ(dll.error, "");
  EXPECT_EQ(dll.exports, std::vector<std::string>{"F_ApiClientInit"});
  EXPECT_EQ(dll.exportedFunctions, 1u);  // nothing exported by ordinal alone either
}

// Windows looks for a DLL's dependencies beside the program that loads it:
// the plug-in (and the program) may need only what every system has.
TEST(PluginLibrary, ImportsOnlySystemLibraries) {
  wchar_t buffer[MAX_PATH];
  const UINT n = GetSystemDirectoryW(buffer, MAX_PATH);
  ASSERT_GT(n, 0u);
  const std::filesystem::path system(std::wstring(buffer, n));
  for (const char* file : {VTR_PLUGIN_FILE, VTR_VELTRANO_EXE}) {
    const PeLinking linking = ReadPeLinking(file);
    ASSERT_EQ(linking.error, "");
    EXPECT_FALSE(linking.imports.empty()) << file;
    for (const std::string& dll : linking.imports) {
      EXPECT_TRUE(std::filesystem::exists(system / headless::FsPath(dll)))
          << file << " imports " << dll;
      std::string lower = dll;
      for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      for (const char* runtime : {"libstdc++", "libgcc", "libwinpthread"}) {
        EXPECT_EQ(lower.find(runtime), std::string::npos) << file << " imports " << dll;
      }
    }
  }
}

TEST(PluginLibrary, CarriesItsVersionRecord) {
  const std::wstring file = headless::FsPath(VTR_PLUGIN_FILE).wstring();
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
  ASSERT_GT(size, 0u) << "no version record";
  std::vector<char> record(size);
  ASSERT_TRUE(GetFileVersionInfoW(file.c_str(), 0, size, record.data()));

  EXPECT_EQ(VersionString(record, "ClientName"), "Veltrano - Unicode");
  EXPECT_EQ(VersionString(record, "ClientType"), "Standard");
  EXPECT_EQ(VersionString(record, "ClientProducts"), "Maker MakerSGML");
  EXPECT_EQ(VersionString(record, "FileDescription"), "Veltrano (Frame 2022 64-bit)");
  for (const char* absent : {"ClientFacet", "ClientFormatId", "ClientVendor", "ClientSuffix",
                             "ClientInFormat", "ClientOutFormat"}) {
    EXPECT_EQ(VersionString(record, absent), std::nullopt) << absent;
  }
  // The version is the project's, in the strings and in the numbers.
  EXPECT_EQ(VersionString(record, "FileVersion"), VTR_VERSION);
  EXPECT_EQ(VersionString(record, "ProductVersion"), VTR_VERSION);
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(record.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
  const std::string numbers = std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." +
                              std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
                              std::to_string(HIWORD(fixed->dwFileVersionLS));
  EXPECT_EQ(numbers, VTR_VERSION);
  // The record names its one language: US English, Unicode.
  DWORD* translation = nullptr;
  ASSERT_TRUE(VerQueryValueW(record.data(), L"\\VarFileInfo\\Translation",
                             reinterpret_cast<void**>(&translation), &length));
  ASSERT_EQ(length, 4u);
  EXPECT_EQ(LOWORD(*translation), 0x0409);
  EXPECT_EQ(HIWORD(*translation), 1200);
}

#else

TEST(PluginLibrary, ExportsOnlyTheClientEntry) {
  // binutils come with the compiler that built the library.
  const ProcessResult nm = RunProcess("nm", {"-D", "--defined-only", VTR_PLUGIN_FILE});
  ASSERT_EQ(nm.status, 0) << nm.err;
  std::set<std::string> names;
  std::istringstream lines(nm.out);
  for (std::string line; std::getline(lines, line);) {
    const std::size_t cut = line.find_last_of(' ');
    if (cut != std::string::npos) names.insert(line.substr(cut + 1));
  }
  EXPECT_EQ(names, std::set<std::string>{"F_ApiClientInit"});
}

#endif

class PluginLoading : public HostFixture {};

TEST_F(PluginLoading, ConnectsAndRegistersItsIdentity) {
  loadPlugin(false);
  ASSERT_EQ(host.clientCount(), 1);
  const headless::ClientInfo& info = host.client(0);
  EXPECT_TRUE(info.connected);
  EXPECT_EQ(info.name(), "Veltrano - Unicode");
  EXPECT_EQ(info.identityValue("ClientType"), "Standard");
  EXPECT_EQ(info.identityValue("ClientProducts"), "Maker MakerSGML");
  EXPECT_EQ(info.identityValue("FileDescription"), "Veltrano (Frame 2022 64-bit)");
  EXPECT_EQ(info.identityValue("ClientVendor"), "");
}

TEST_F(PluginLoading, MissingLibraryIsReported) {
  std::string error;
  EXPECT_EQ(host.loadClient("/nonexistent/libnothing.plugin", &error), -1);
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(host.clientCount(), 0);
}

TEST_F(PluginLoading, ServiceTableIsComplete) {
  // The client library refuses a table with any empty entry; both clients
  // connecting proves every entry is filled.
  loadPlugin(false);
  loadTestClient();
  EXPECT_EQ(host.clientCount(), 2);
  EXPECT_EQ(host.client(1).name(), "Veltrano Test Client");
}

}  // namespace
}  // namespace vtrtest
