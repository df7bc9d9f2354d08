// `veltrano check` on books and documents written as MIF files: what it
// finds, where it says it is (paragraphs numbered as the dump numbers
// them), its exit status, its JSON, and that it writes nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "check_command.h"
#include "cli_test_support.h"
#include "headless/paths.h"

namespace vtrtest {
namespace {

// Text naming files by paths written with '/', as the system writes them.
std::string Native(std::string text) {
  std::replace(text.begin(), text.end(), '/', headless::NativeSeparator());
  return text;
}

// `text` without `prefix` wherever it appears.
void Erase(std::string& text, const std::string& prefix) {
  if (prefix.empty()) return;
  for (std::size_t p = text.find(prefix); p != std::string::npos; p = text.find(prefix, p)) {
    text.erase(p, prefix.size());
  }
}

// MIF text of a chapter, paragraph by paragraph. An entry paragraph (tag
// "Index Entry") is under the condition "Index" unless asked otherwise.
class Mif {
 public:
  Mif& para(const std::string& tag, const std::string& text, const std::string& anchors = {}) {
    return add(tag, text, tag == "Index Entry", anchors);
  }
  Mif& plain(const std::string& tag, const std::string& text) { return add(tag, text, false, {}); }
  // The paragraphs added from now on go into a table cell or a footnote.
  Mif& cell() {
    into_ = &cell_;
    cells_.emplace_back();
    into_ = &cells_.back();
    return *this;
  }
  Mif& footnote() {
    into_ = &note_;
    return *this;
  }
  Mif& flow() {
    into_ = &flow_;
    return *this;
  }
  // The anchors a paragraph takes for the table and the footnote.
  static constexpr const char* kTable = "<ATbl 1>";
  static constexpr const char* kFootnote = "<FNote 2>";

  std::string text() const {
    std::string out =
        "<MIFFile 9.00>\n<ConditionCatalog <Condition <CTag `Index'> <CState CShown>>>\n"
        "<PgfCatalog <Pgf <PgfTag `Index Entry'>> <Pgf <PgfTag `Body'>>>\n";
    if (!cells_.empty()) {
      out += "<Tbls <Tbl <TblID 1> <TblNumColumns " + std::to_string(cells_.size()) +
             "> <TblBody <Row\n";
      for (const std::string& c : cells_) out += "<Cell <CellContent " + c + ">>\n";
      out += ">>>>\n";
    }
    // The flow's text frame on a body page: a flow without one holds no text the
    // conversion walks.
    out +=
        "<Page <PageType BodyPage> <PageNum `1'> <TextRect <ID 7> <ShapeRect 1\" 1\" 6\" 9\">>>\n";
    out += "<TextFlow <TFTag `A'>\n";
    if (!note_.empty()) out += "<Notes <FNote <ID 2>\n" + note_ + ">>\n";
    return out + flow_ + ">\n";
  }

 private:
  Mif& add(const std::string& tag, const std::string& text, bool indexed,
           const std::string& anchors) {
    std::string escaped;
    for (char c : text) {
      if (c == '>') escaped += '\\';
      escaped += c;
    }
    const bool first = into_ == &flow_ && flow_.empty();
    *into_ += "<Para <PgfTag `" + tag + "'> <ParaLine " + (first ? "<TextRectID 7> " : "") +
              (indexed ? "<Conditional <InCondition `Index'>>" : "<Unconditional>") + " <String `" +
              escaped + "'>" + anchors + ">>\n";
    return *this;
  }

  std::string flow_, note_, cell_;
  std::vector<std::string> cells_;
  std::string* into_ = &flow_;
};

class Check : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.write("home/CVConfig.mif",
              "<MIFFile 9.00>\n<Tbls <Tbl <TblID 1> <TblNumColumns 2> <TblBody\n"
              " <Row <Cell <CellContent <Para <ParaLine <String `Setting'>>>>>\n"
              "      <Cell <CellContent <Para <ParaLine <String `Value'>>>>>>\n"
              " <Row <Cell <CellContent <Para <ParaLine <String `MaximumMarkerLength'>>>>>\n"
              "      <Cell <CellContent <Para <ParaLine <String `80'>>>>>>>>>\n"
              "<TextFlow <TFTag `A'> <Para <ParaLine <ATbl 1>>>>\n");
  }
  std::string at(const std::string& name) const { return dir.path(name); }
  void save(const std::string& name, const Mif& m) { dir.write(name, m.text()); }
  // A book of the chapters, and an index that is not made yet.
  void saveBook(const std::string& name, const std::vector<std::string>& chapters,
                const std::string& tags = "<DeriveTag `Index'>") {
    std::string text = "<Book 9.00>\n";
    for (const std::string& c : chapters) text += "<BookComponent <FileName `<c\\>" + c + "'>>\n";
    text += "<BookComponent <FileName `<c\\>BookIX.fm'> <DeriveType IDX> " + tags + ">\n";
    dir.write(name, text);
  }
  // A check run, with the scratch directory left out of what it says.
  CliRun check(std::vector<std::string> args) {
    args.insert(args.begin(), {"--home", at("home"), "check"});
    CliRun r = RunCliOnDisk(args);
    // The folder as the text says it, and as JSON writes it.
    const std::string prefix = headless::WithSeparator(at(""));
    std::string json;
    for (char c : prefix) json += c == '\\' ? std::string(2, c) : std::string(1, c);
    for (std::string* text : {&r.out, &r.err}) {
      Erase(*text, prefix);
      Erase(*text, json);
    }
    return r;
  }

  // A book of three chapters with one case of each problem.
  void problemBook() {
    Mif ch1;
    ch1.para("Heading1", "Dogs");
    ch1.para("Index Entry", ".i.Dogs;");                  // 2
    ch1.para("Index Entry", ".x.Cats;");                  // 3: rejected
    ch1.para("Body", "Dogs bark.");                       // 4
    ch1.para("Body", ".i.Wolves;");                       // 5: entry text, other format
    ch1.para("Index Entry", ".i(.Training;");             // 6: a range never ended
    ch1.para("Body", "Text");                             // 7
    ch1.para("Index Entry", ".i.Puppies: see Canines;");  // 8: no such entry
    ch1.para("Body", "More");                             // 9
    save("ch1.mif", ch1);

    Mif ch2;
    ch2.para("Body", "Start");                                            // 1
    ch2.plain("Index Entry", ".i.Kennels;");                              // 2: not under "Index"
    ch2.para("Body", "Text", std::string(Mif::kTable) + Mif::kFootnote);  // 3
    ch2.cell().para("Index Entry", ".i.Lonely;");                         // 4: nothing beside it
    ch2.cell().para("Body", "Cell");                                      // 5
    ch2.footnote().para("Body", "Note");                                  // 6
    ch2.para("Index Entry", ".i.dogs;");                                  // 7: "Dogs" of chapter 1
    save("ch2.mif", ch2);

    Mif ch3;
    ch3.para("Body", "Intro");                  // 1
    ch3.para("Index Entry", ".i*.Fish[fish;");  // 2: a '[' without ']'
    ch3.para("Body", "Text");                   // 3
    ch3.para("Index Entry",
             ".i.A heading of more words than a marker of eighty bytes can hold, set here;");  // 4
    ch3.para("Body", "More");                                                                  // 5
    ch3.para("Index Entry", ".i).Swimming;");     // 6: a range never started
    ch3.para("Body", "End");                      // 7
    ch3.para("Index Entry", ".i*.Birds;;Bees;");  // 8: an empty entry
    save("ch3.mif", ch3);
    saveBook("Book.mif", {"ch1.fm", "ch2.fm", "ch3.fm"});
  }

  ScratchDir dir;
};

TEST_F(Check, ReportsEachProblemOfABookWhereTheDumpNumbersItAndWritesNothing) {
  problemBook();
  const auto before = dir.snapshot();
  const CliRun r = check({at("Book.mif")});
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out,
            "ch1.mif:3: warning: the conversion rejects this entry: .x.Cats;\n"
            "ch1.mif:5: warning: entry text in the paragraph format \"Body\", not \"Index "
            "Entry\"; it is not converted: .i.Wolves;\n"
            "ch1.mif:6: warning: a page range that is not ended (<$startrange> without "
            "<$endrange>); it is listed as a single page: .i(.Training;\n"
            "ch1.mif:8: warning: the \"see\" target \"Canines\" is no entry of the index: "
            ".i.Puppies: see Canines;\n"
            "ch2.mif:2: warning: an entry paragraph without the condition \"Index\"; it is "
            "printed with the text: .i.Kennels;\n"
            "ch2.mif:4: warning: no paragraph next to this run of entries to hold its marker: "
            ".i.Lonely;\n"
            "ch2.mif:7: warning: \"dogs\" differs from \"Dogs\" (ch1.mif:2) only in case or "
            "spaces; the index shows both: .i.dogs;\n"
            "ch3.mif:2: warning: a '[' without ']' (the index takes it as text): "
            ".i*.Fish[fish;\n"
            "ch3.mif:4: warning: 86 bytes, longer than MaximumMarkerLength (80): .i.A heading "
            "of more words than a marker of eighty bytes can hold, set here;\n"
            "ch3.mif:6: warning: the end of a page range that was not started (<$endrange> "
            "without <$startrange>); it is listed as a single page: .i).Swimming;\n"
            "ch3.mif:8: warning: an empty entry between ';' (the index leaves it out): "
            ".i*.Birds;;Bees;\n"
            "11 problems in 3 chapters\n");
  // Every file as it was, and no file made (the plug-in saved each chapter
  // it converted, and the index is not there).
  EXPECT_EQ(dir.snapshot(), before);
}

TEST_F(Check, ACleanBookHasNoProblemsAndARangeMayCrossChapters) {
  Mif ch1;
  ch1.para("Body", "Dogs");
  ch1.para("Index Entry", ".i(.Dogs:training;");
  ch1.para("Index Entry", ".i.Puppies: see Dogs;");
  ch1.para("Index Entry", ".i.Dogs: see also Wolves;");
  ch1.para("Body", "Text");
  save("ch1.mif", ch1);
  Mif ch2;
  ch2.para("Body", "Wolves");
  ch2.para("Index Entry", ".i).Dogs:training;");
  ch2.para("Index Entry", ".i.Wolves;");
  save("ch2.mif", ch2);
  saveBook("Book.mif", {"ch1.fm", "ch2.fm"});
  const auto before = dir.snapshot();
  const CliRun r = check({at("Book.mif")});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "no problems in 2 chapters\n");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(dir.snapshot(), before);

  // Each file given is an index of its own: the range of one chapter alone
  // is not ended.
  const CliRun alone = check({at("ch1.mif")});
  EXPECT_EQ(alone.status, 1);
  EXPECT_EQ(alone.out,
            "ch1.mif:2: warning: a page range that is not ended (<$startrange> without "
            "<$endrange>); it is listed as a single page: .i(.Dogs:training;\n"
            "ch1.mif:4: warning: the \"see also\" target \"Wolves\" is no entry of the index: "
            ".i.Dogs: see also Wolves;\n"
            "2 problems in 1 chapter\n");
}

TEST_F(Check, MarkersOfEveryTypeTheIndexCollectsAreChecked) {
  Mif ch;
  ch.para("Body", "Cats", "<Marker <MTypeName `Subject'> <MText `Cats[;'>>");
  ch.para("Body", "Dogs", "<Marker <MTypeName `Author'> <MText `Dogs[;'>>");
  save("ch.mif", ch);
  saveBook("Book.mif", {"ch.fm"}, "<DeriveTag `Index'> <DeriveTag `Subject'>");
  const CliRun r = check({at("Book.mif")});
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_EQ(r.out,
            "ch.mif:1: warning: a '[' without ']' (the index takes it as text): Cats[;\n"
            "1 problem in 1 chapter\n");
}

TEST_F(Check, TheJsonFormHasOneObjectAFinding) {
  Mif doc;
  doc.para("Body", "Text", Mif::kFootnote);
  doc.footnote().para("Body", "Note").para("Index Entry", ".i.A\"quote\" see Nothing;");
  save("doc.mif", doc);
  const CliRun r = check({"--json", at("doc.mif")});
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_EQ(r.out,
            "[\n"
            "  {\n"
            "    \"file\": \"doc.mif\",\n"
            "    \"paragraph\": 3,\n"
            "    \"kind\": \"see-target\",\n"
            "    \"text\": \".i.A\\\"quote\\\" see Nothing;\",\n"
            "    \"reason\": \"the \\\"see\\\" target \\\"Nothing\\\" is no entry of the index\"\n"
            "  }\n"
            "]\n");
  saveBook("Book.mif", {"doc.fm"});
  Mif clean;
  clean.para("Body", "Text");
  save("doc.mif", clean);
  const CliRun none = check({"--json", at("Book.mif")});
  EXPECT_EQ(none.status, 0) << none.err;
  EXPECT_EQ(none.out, "[]\n");
}

TEST_F(Check, AChapterThatCannotBeReadIsAnInputError) {
  problemBook();
  dir.write("ch2.mif", "<MIFFile 9.00>\n<TextFlow <Para\n");
  const auto before = dir.snapshot();
  CliRun r = check({at("Book.mif")});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find("ch2.mif"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("the check is not complete"), std::string::npos) << r.err;
  EXPECT_EQ(dir.snapshot(), before);

  std::filesystem::remove(at("ch2.mif"));
  r = check({at("Book.mif")});
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("ch2.fm"), std::string::npos) << r.err;

  r = check({at("nothing.mif")});
  EXPECT_EQ(r.status, 2);
}

// The bundled examples, checked where they lie: the guide has one problem,
// the shelter book one of several kinds (the README shows them).
TEST(CheckExamples, ReportTheirProblems) {
  const std::string examples = VTR_EXAMPLES_DIR;
  auto run = [&](const std::string& book) {
    CliRun r = RunCliOnDisk({"--home", examples + "/home", "check", examples + "/" + book});
    // Files under the current directory are named from it, others in full.
    namespace fs = std::filesystem;
    const fs::path full = fs::canonical(headless::FsPath(examples)).make_preferred();
    Erase(r.out, headless::WithSeparator(headless::Utf8Path(full)));
    Erase(r.out,
          headless::WithSeparator(headless::Utf8Path(full.lexically_relative(fs::current_path()))));
    return r;
  };
  CliRun r = run("guide/Guide.mif");
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_EQ(
      r.out,
      Native("guide/ch1.mif:9: warning: the \"see also\" target \"Wolves\" is no entry of the "
             "index: .i.Dogs: see also Wolves;\n1 problem in 3 chapters\n"));
  r = run("shelter/Shelter.mif");
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_EQ(
      r.out,
      Native("shelter/adoption.mif:3: warning: \"adoption\" differs from \"Adoption\" "
             "(shelter/adoption.mif:2) only in case or spaces; the index shows both: "
             ".i.adoption:fees;\n"
             "shelter/adoption.mif:5: warning: a page range that is not ended (<$startrange> "
             "without <$endrange>); it is listed as a single page: .i(.Vets;\n"
             "shelter/adoption.mif:7: warning: the \"see\" target \"Vaccines\" is no entry of the "
             "index: .i.Vaccinations: see Vaccines;\n"
             "shelter/care.mif:3: warning: the conversion rejects this entry: .I.Grooming;\n"
             "shelter/care.mif:5: warning: entry text in the paragraph format \"Body\", not "
             "\"Index Entry\"; it is not converted: .i.Brushes;\n"
             "5 problems in 2 chapters\n"));
}

// A finding stays one printable line whatever text the file holds.
TEST(CheckText, LineBreaksAndControlCharactersAreShownNotPrinted) {
  EXPECT_EQ(
      headless::cli::FindingsText(
          {{"a.mif", 2, "entry-format", "x\ny\x07z", "r"}, {"b.mif", 0, "console", "w", "said"}},
          2),
      "a.mif:2: warning: r: x\\ny\\x07z\nb.mif: warning: said: w\n2 problems in 2 chapters\n");
}

}  // namespace
}  // namespace vtrtest
