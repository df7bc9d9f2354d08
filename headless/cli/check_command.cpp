#include "check_command.h"

#include <filesystem>
#include <memory>
#include <ostream>

#include "check/check_files.h"
#include "document_view.h"
#include "dump_text.h"
#include "headless/host.h"
#include "headless/paths.h"
#include "headless/utf8.h"
#include "json_writer.h"
#include "read_only_store.h"

namespace headless::cli {

namespace {

// A file under the current directory by its path from there.
std::string Shown(const std::string& path, const std::string& currentDir) {
  namespace fs = std::filesystem;
  const fs::path p = FsPath(path);
  if (!p.is_absolute() || currentDir.empty()) return path;
  const fs::path rel = p.lexically_relative(FsPath(currentDir));
  if (rel.empty() || *rel.begin() == "..") return path;
  return Utf8Path(rel);
}

std::string Count(std::size_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

std::string FindingsText(const std::vector<check::Finding>& findings, int chapters) {
  std::string out;
  for (const check::Finding& f : findings) {
    std::string line = f.file;
    if (f.paragraph > 0) line += ":" + std::to_string(f.paragraph);
    // A forced line break stays on the finding's line, as the dump shows it,
    // and text from a file reaches the terminal printable.
    line += ": warning: " + f.reason + ": " + Chars(f.text);
    out += PrintableText(line) + "\n";
  }
  out += (findings.empty() ? std::string("no problems")
                           : Count(findings.size(), "problem", "problems")) +
         " in " + Count(static_cast<std::size_t>(chapters), "chapter", "chapters") + "\n";
  return out;
}

std::string FindingsJson(const std::vector<check::Finding>& findings) {
  JsonWriter w;
  w.beginArray();
  for (const check::Finding& f : findings) {
    w.beginObject();
    w.key("file").value(f.file);
    w.key("paragraph").value(f.paragraph);
    w.key("kind").value(f.kind);
    w.key("text").value(f.text);
    w.key("reason").value(f.reason);
    w.end();
  }
  w.end();
  return w.text();
}

int CheckCommand(const Options& o, CliIo& io, const Files& files, const std::string& plugin) {
  auto store = std::make_shared<ReadOnlyStore>(files.store, files.resolve);
  Host host(store);
  host.setHomeDirectory(o.home.value_or(io.currentDir));
  std::string why;
  if (host.loadClient(plugin, &why) < 0) {
    io.err << "veltrano: cannot load the plug-in: " << why << "\n";
    return 2;
  }
  host.initialize(host::kInitFirst);
  check::CheckOptions options;
  options.home = o.home.value_or(io.currentDir);
  options.paragraphOrder = NumberedParagraphs;
  options.fileName = [&](const std::string& name) {
    return Shown(files.resolve(name).value_or(name), io.currentDir);
  };
  const check::CheckReport report = check::CheckFiles(host, o.files, options);
  bool failed = false;
  for (const std::string& e : store->loadErrors()) {
    io.err << "veltrano: " << PrintableText(e) << "\n";
    failed = true;
  }
  if (!report.error.empty() && !failed) {
    io.err << "veltrano: " << PrintableText(report.error) << "\n";
    failed = true;
  }
  if (failed) {
    io.err << "veltrano: the check is not complete\n" << std::flush;
    return 2;
  }
  io.out << (o.json ? FindingsJson(report.findings)
                    : FindingsText(report.findings, report.chapters))
         << std::flush;
  return report.findings.empty() ? 0 : 1;
}

}  // namespace headless::cli
