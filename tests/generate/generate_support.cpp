#include "generate_support.h"

#include <chrono>
#include <fstream>
#include <sstream>

#include "headless/utf8.h"
#include "mif/store.h"

namespace vtrgen {

std::string Marker(const std::string& text, long long unique, const std::string& type,
                   const std::string& currPage) {
  std::string out = "<Marker <MType 2> <MTypeName `" + type + "'> <MText `" + text + "'>";
  if (!currPage.empty()) out += " <MCurrPage `" + currPage + "'>";
  return out + " <Unique " + std::to_string(unique) + ">>";
}

std::string Para(int frame, const std::string& content) {
  std::string line = frame > 0 ? "<TextRectID " + std::to_string(frame) + "> " : "";
  return "<Para <PgfTag `Body'> <ParaLine " + line + content + ">>\n";
}

std::string Chapter(const std::vector<std::string>& pages, const std::string& flow,
                    const std::string& extra) {
  std::ostringstream out;
  out << "<MIFFile 9.00>\n" << extra;
  out << "<Page <PageType ReferencePage> <PageTag `Ref'> <TextRect <ID 99> <ShapeRect 1\" 1\" "
         "6\" 2\">>>\n";
  for (std::size_t i = 0; i < pages.size(); ++i) {
    out << "<Page <PageType BodyPage> <PageNum `" << pages[i] << "'> <TextRect <ID " << i + 1
        << "> <ShapeRect 1\" 1\" 6\" 9\"> <TRNumColumns 1> <TRNext 0>>>\n";
  }
  out << "<TextFlow <TFTag `A'> <TFAutoConnect Yes> <Notes >\n" << flow << ">\n";
  return out.str();
}

std::string Book(const std::vector<std::string>& components) {
  std::string out = "<Book 9.00>\n";
  for (const std::string& c : components) out += "<BookComponent " + c + ">\n";
  return out;
}

std::string ChapterComponent(const std::string& file, const std::string& settings) {
  return "<FileName `<c\\>" + file + "'> " + settings;
}

std::string IndexComponent(const std::string& file, bool links, const std::string& settings) {
  return "<FileName `<c\\>" + file +
         "'> <FileNameSuffix `IX'> <DeriveType IDX> "
         "<DeriveTag `Index'> <DeriveLinks " +
         (links ? "Yes" : "No") + "> " + settings;
}

void GenerateTest::SetUp() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  // Made unique by the clock: the same test may run in another process at
  // the same time (another build of the project on the machine).
  dir_ = fs::temp_directory_path() /
         ("veltrano-generate-" +
          std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) + "-" +
          info->test_suite_name() + "-" + info->name());
  fs::remove_all(dir_);
  fs::create_directories(dir_);
  host_ = std::make_unique<headless::Host>(std::make_shared<mif::MifStore>());
}

void GenerateTest::TearDown() {
  host_.reset();
  std::error_code ec;
  if (!HasFailure()) fs::remove_all(dir_, ec);
}

void GenerateTest::useStore(std::shared_ptr<headless::Store> store) {
  host_ = std::make_unique<headless::Host>(std::move(store));
}

void GenerateTest::write(const std::string& name, const std::string& text) const {
  std::ofstream(dir_ / name, std::ios::binary) << text;
}

std::string GenerateTest::read(const std::string& name) const {
  std::ifstream in(dir_ / name, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

headless::generate::GenerateReport GenerateTest::generate(const std::string& book, bool addIndex) {
  const ObjectId b = host_->open(path(book));
  EXPECT_NE(b, 0u) << book;
  headless::generate::GenerateOptions options;
  options.addIndex = addIndex;
  options.paragraphOrder = [](const headless::Document& doc) {
    std::vector<headless::Id> out;
    for (headless::Id flow : doc.all(headless::DocList::Flows)) {
      for (headless::Id p = doc.node(flow).paraFirst; p != 0; p = doc.para(p).next) {
        out.push_back(p);
      }
    }
    return out;
  };
  headless::generate::GenerateReport r =
      headless::generate::GenerateBookIndexes(*host_, b, options);
  if (r.bookChanged) {
    EXPECT_TRUE(host_->save(b));
  }
  return r;
}

std::vector<std::string> GenerateTest::lines(const std::string& index) const {
  headless::Loaded loaded = mif::MifStore().load(path(index));
  EXPECT_TRUE(loaded.document) << loaded.error;
  std::vector<std::string> out;
  if (!loaded.document) return out;
  const headless::Document& doc = *loaded.document;
  for (headless::Id p = doc.node(doc.mainFlow()).paraFirst; p != 0; p = doc.para(p).next) {
    std::string s = std::string(doc.tag(p)) + ": ";
    for (const headless::Atom a : doc.atoms(p)) {
      if (a.isAnchor()) {
        if (doc.kind(a.object()) == headless::Kind::Marker) {
          s += "[[" + doc.node(a.object()).name + "]]";
        }
        continue;
      }
      headless::AppendUtf8(s, a.ch());
    }
    out.push_back(s);
  }
  return out;
}

}  // namespace vtrgen
