// The service table taken directly, as a careless client might use it: null
// pointers, malformed UTF-8 and wild offsets must neither crash the host nor
// change anything they do not name.
#include "fixture.h"
#include "headless/utf8.h"

namespace vtrtest {
namespace {

class Boundary : public HostFixture {
 protected:
  void SetUp() override {
    DocumentBuilder b;
    b.flow().para("Body", "text");
    builder = b;
    d = addDocument(b);
    s = host.service(host.attachClient("Raw"));
    h = s->host;
    para = handleOf(d, b.current());
  }
  DocumentBuilder builder;
  ObjectId d = 0;
  ObjectId para = 0;
  const VtrHostService* s = nullptr;
  void* h = nullptr;
};

TEST_F(Boundary, NullPointersAreRefused) {
  s->set_string(h, d, para, host::kPropName, nullptr);
  EXPECT_EQ(doc(d).tag(builder.current()), "Body");
  EXPECT_EQ(s->get_named_object(h, d, host::kObjCondition, nullptr), 0u);
  EXPECT_EQ(s->add_text(h, d, nullptr, "x").obj, 0u);
  TextLoc at{para, 0};
  s->add_text(h, d, &at, nullptr);
  EXPECT_EQ(s->delete_text(h, d, nullptr), -1);
  s->set_text_prop_val(h, d, nullptr, nullptr);
  s->set_props(h, d, para, nullptr, 5);
  s->get_string(h, d, para, host::kPropName, nullptr, nullptr);
  s->get_text(h, d, para, host::kItemString, nullptr, nullptr);
  EXPECT_EQ(s->open(h, nullptr, nullptr, 0, nullptr, nullptr), 0u);
  EXPECT_EQ(s->fcodes(h, 3, nullptr), -1);
  EXPECT_EQ(s->register_client(h, nullptr), -1);
  s->console_print(h, nullptr);
  EXPECT_EQ(s->alert(h, nullptr, host::kAlertNote), 0);
  EXPECT_NE(s->scroll_box(h, nullptr, nullptr, nullptr, 4, -1), 0);
  EXPECT_EQ(s->new_anchored_object(h, d, host::kObjMarker, nullptr), 0u);
  EXPECT_EQ(Texts(doc(d)), std::vector<std::string>{"text"});
}

TEST_F(Boundary, MalformedUtf8BecomesReplacementCharacters) {
  TextLoc at{para, 0};
  // A lone continuation byte, a truncated sequence, an overlong form and an
  // encoded surrogate: one replacement character each.
  TextLoc end = s->add_text(h, d, &at, "\x80|\xE2\x82|\xC0\xAF|\xED\xA0\x80|");
  EXPECT_EQ(doc(d).text(builder.current()),
            "\xEF\xBF\xBD|\xEF\xBF\xBD|\xEF\xBF\xBD|\xEF\xBF\xBD|text");
  EXPECT_EQ(end.offset, 8);
  EXPECT_EQ(headless::DecodeUtf8("a\xF0\x9F\x90\x95z"),
            (std::u32string{U'a', U'\U0001F415', U'z'}));
  EXPECT_EQ(headless::EncodeUtf8(U"Gr\u00FC\u00DFe"),
            "Gr\xC3\xBC\xC3\x9F"
            "e");
}

TEST_F(Boundary, WildOffsetsAreClamped) {
  TextRange r{{para, -50}, {para, 0x7FFFFFFF}};
  s->set_text_range(h, 0, d, host::kPropTextSelection, &r);
  TextRange sel = s->get_text_range(h, 0, d, host::kPropTextSelection);
  EXPECT_EQ(sel.beg.offset, 0);
  EXPECT_EQ(sel.end.offset, 5);  // after the end mark of "text"
  TextLoc at{para, -3};
  EXPECT_EQ(s->add_text(h, d, &at, "A").offset, 1);
  EXPECT_EQ(doc(d).text(builder.current()), "Atext");
}

}  // namespace
}  // namespace vtrtest
