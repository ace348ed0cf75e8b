#include "xml/PaletteDocument.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using namespace tintara;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

const std::string WarmExample = "<Palettes><Palette name=\"Warm\"><Color COLOR=\"#FF8000\"></Color><Color "
                                "COLOR=\"#FFD700\"></Color></Palette><Palette name=\"Empty\"></Palette></Palettes>\r\n";

std::string rewrite(const std::string& in)
{
    return PaletteDocument::parse(in).serialize();
}

std::vector<std::string> names(const std::vector<XmlNode>& nodes)
{
    std::vector<std::string> out;
    for (XmlNode n : nodes)
        out.push_back(n.attribute("name").value_or("?"));
    return out;
}

// UTF-8 text (ASCII and BMP/astral code points) as UTF-16 code units in the given byte order.
std::string utf16(const std::u16string& s, bool littleEndian, bool bom)
{
    std::string out;
    auto unit = [&](char16_t u) {
        const char lo = static_cast<char>(u & 0xFF);
        const char hi = static_cast<char>(u >> 8);
        out += littleEndian ? lo : hi;
        out += littleEndian ? hi : lo;
    };
    if (bom)
        unit(0xFEFF);
    for (char16_t u : s)
        unit(u);
    return out;
}

TEST(PaletteDocument, DocumentedExampleReadsAndWritesExactly)
{
    const PaletteDocument doc = PaletteDocument::parse(WarmExample);
    EXPECT_EQ(doc.root().name(), "Palettes");
    EXPECT_EQ(doc.encoding(), XmlEncoding::Utf8);
    const std::vector<XmlNode> palettes = doc.root().getElementsByTagName("Palette");
    EXPECT_THAT(names(palettes), ElementsAre("Warm", "Empty"));
    ASSERT_EQ(palettes[0].childCount(), 2u);
    EXPECT_EQ(palettes[0].childNodes()[1].attribute("COLOR"), "#FFD700");
    EXPECT_EQ(doc.serialize(), WarmExample);
}

TEST(PaletteDocument, FileInOutputFormRoundTripsByteForByte)
{
    const std::vector<std::string> files = {
        WarmExample,
        "<Palettes>\r\n  <!-- kept -->\r\n  <Palette name=\"A &amp; &lt;B> &quot;q&quot; '\">\r\n"
        "    <Color COLOR=\"#000000\"></Color>\r\n  </Palette>\r\n</Palettes>\r\n",
        "<R><![CDATA[a<b&c\r\nd]]>t&amp;&lt;&gt;&#xD;'\"<?pi some data?><?bare?></R>\r\n",
        "<R a=\"tab&#x9;lf&#xA;cr&#xD;\" b=\"\"></R>\r\n",
        "<R>\xC3\xA9\xE2\x82\xAC\xF0\x9D\x84\x9E</R>\r\n",
    };
    for (const std::string& file : files)
        EXPECT_EQ(rewrite(file), file) << file;
}

TEST(PaletteDocument, ReadingRulesAndOutputForm)
{
    struct Case {
        std::string in;
        std::string out;
    };
    const std::vector<Case> cases = {
        // Only the root is written: declaration, comments, PIs and the document type go.
        {"<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<!-- before -->\n<?pi x?>\n<R/>\n<!-- after "
         "-->\n",
         "<R></R>\r\n"},
        {"<!DOCTYPE R [\n<!ELEMENT R ANY>\n<!ATTLIST R a CDATA \"dflt\">\n<!ENTITY e \"x>y\">\n]>\n<R/>",
         "<R></R>\r\n"},
        {"<!DOCTYPE R SYSTEM \"r.dtd\"><R/>", "<R></R>\r\n"},
        // Empty-element tags come back with an explicit end tag.
        {"<R><Palette name='x'/></R>", "<R><Palette name=\"x\"></Palette></R>\r\n"},
        // Line ends: LF, CR LF and a lone CR all read as LF and go out as CR LF.
        {"<R>\n<a/>\r\n<b/>\r<c>x\ry</c></R>", "<R>\r\n<a></a>\r\n<b></b>\r\n<c>x\r\ny</c></R>\r\n"},
        {"<R><!--a\r\nb--><![CDATA[c\rd]]><?pi e\r\nf\rg?></R>",
         "<R><!--a\r\nb--><![CDATA[c\r\nd]]><?pi e\r\nf\r\ng?></R>\r\n"},
        // Whitespace between elements is kept as it was, nothing is added.
        {"<R> <a/>\t</R>", "<R> <a></a>\t</R>\r\n"},
        // Escaping in text.
        {"<R>&gt;>&apos;'&quot;\"&#x41;&#66;&#xD;</R>", "<R>&gt;&gt;''\"\"AB&#xD;</R>\r\n"},
        // Attribute values: literal whitespace is normalised to spaces, references survive.
        {"<R a=\"x\ty\nz\r\nw\"/>", "<R a=\"x y z w\"></R>\r\n"},
        {"<R a=\"&#9;&#10;&#13;\" b='\"&apos;&gt;'/>", "<R a=\"&#x9;&#xA;&#xD;\" b=\"&quot;'>\"></R>\r\n"},
        // Attributes keep their order.
        {"<R z=\"1\" a=\"2\" m=\"3\"/>", "<R z=\"1\" a=\"2\" m=\"3\"></R>\r\n"},
        // Encodings: a UTF-8 byte-order mark is dropped; ISO-8859-1 and windows-1252 files go out as UTF-8.
        {"\xEF\xBB\xBF<R>\xC3\xA9</R>", "<R>\xC3\xA9</R>\r\n"},
        {"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><R a=\"\xE9\"/>", "<R a=\"\xC3\xA9\"></R>\r\n"},
        {"<?xml version='1.0' encoding='windows-1252'?><R>\x80\xE9</R>", "<R>\xE2\x82\xAC\xC3\xA9</R>\r\n"},
        {"<?xml version=\"1.0\" encoding=\"us-ascii\"?><R/>", "<R></R>\r\n"},
        {std::string("\xFF\xFE\0\0<\0\0\0R\0\0\0/\0\0\0>\0\0\0", 20), "<R></R>\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(rewrite(c.in), c.out);
    }
}

TEST(PaletteDocument, NotWellFormedFails)
{
    const std::vector<std::string> inputs = {
        "",
        "   ",
        "<?xml version=\"1.0\"?>",
        "<a>",
        "<a></b>",
        "<a><b></a></b>",
        "<a/><b/>",
        "<a/>text",
        "text<a/>",
        "<a x='1' x='2'/>",
        "<a x='<'/>",
        "<a x=1/>",
        "<a x/>",
        "<a b='x'c='y'/>",
        "<a>&foo;</a>",
        "<a>a & b</a>",
        "<a x='&'/>",
        "<a>]]></a>",
        "<a><![CDATA[x</a>",
        "<!-- a -- b --><a/>",
        "<a><!-- x ---></a>",
        " <?xml version='1.0'?><a/>",
        "<a/><?xml version='1.0'?>",
        "<?xml encoding='UTF-8'?><a/>",
        "<?xml version='2.0'?><a/>",
        "<?xml version='1.0' standalone='maybe'?><a/>",
        std::string("<a>\x01</a>"),
        std::string("<a>\0</a>", 8),
        "<1a/>",
        "<a>&#0;</a>",
        "<a>&#xD800;</a>",
        "<a>&#x110000;</a>",
        "<a>&#xZ;</a>",
        "<a>\xFF</a>",
        "<a>\xC0\xAF</a>",
        "<a>\xED\xA0\x80</a>",
        "<!DOCTYPE a [<!ENTITY e 'v'>]><a>&e;</a>",
        "<!DOCTYPE a><!DOCTYPE a><a/>",
        "<a/><!DOCTYPE a>",
        "<a><!DOCTYPE a></a>",
        "<!DOCTYPE a [<![INCLUDE[<!ELEMENT a ANY>]]>]><a/>",
        "<?xml version='1.0' encoding='EBCDIC-US'?><a/>",
        "<?xml version='1.0' encoding='UTF-16'?><a/>",
        std::string("\xFF\xFE<\0a\0/\0>", 9),
        std::string("\xFF\xFE<\0\x00\xD8/\0>\0", 10),
    };
    for (const std::string& in : inputs)
        EXPECT_THROW(PaletteDocument::parse(in), PaletteError) << in;
}

TEST(PaletteDocument, ErrorsTellWhere)
{
    try {
        PaletteDocument::parse("<a>\r\n  <b></c>");
        FAIL() << "parsed";
    } catch (const PaletteError& e) {
        EXPECT_THAT(e.what(), HasSubstr("line 2, column 6"));
    }
}

TEST(PaletteDocument, Utf16RoundTrips)
{
    // "<P><Palette name="Ünïcode € 𝄞"></Palette></P>" CR LF
    const std::u16string text = u"<P><Palette name=\"\u00DCn\u00EFcode \u20AC \U0001D11E\"></Palette></P>\r\n";
    const std::string le = utf16(text, true, true);
    const PaletteDocument doc = PaletteDocument::parse(le);
    EXPECT_EQ(doc.encoding(), XmlEncoding::Utf16);
    EXPECT_EQ(doc.root().getElementsByTagName("Palette")[0].attribute("name"), "\xC3\x9Cn\xC3\xAF"
                                                                               "code \xE2\x82\xAC \xF0\x9D\x84\x9E");
    EXPECT_EQ(doc.serialize(), le);
    // Big endian, or no byte-order mark at all: still UTF-16, written little endian with the mark.
    EXPECT_EQ(rewrite(utf16(text, false, true)), le);
    EXPECT_EQ(rewrite(utf16(text, true, false)), le);
    EXPECT_EQ(rewrite(utf16(u"<?xml version=\"1.0\" encoding=\"UTF-16\"?>" + text, false, false)), le);
}

TEST(PaletteDocument, AnyNameReadsBackUnchanged)
{
    const std::vector<std::string> values = {
        "say \"hi\"", "<b>", "a & b",      "it's", "tab\there",        "line\nbreak",   "cr\rreturn",
        "crlf\r\n",   "]]>", "  spaced  ", "",     "\xE2\x82\xAC uro", "&amp; literal", "--not a comment--",
    };
    for (XmlEncoding enc : {XmlEncoding::Utf8, XmlEncoding::Utf16}) {
        PaletteDocument doc = PaletteDocument::createDefault();
        if (enc == XmlEncoding::Utf16)
            doc = PaletteDocument::parse(utf16(u"<Palettes/>", true, true));
        for (const std::string& v : values)
            doc.root().appendElement("Palette").setAttribute("name", v);
        const PaletteDocument back = PaletteDocument::parse(doc.serialize());
        std::vector<std::string> expected = values;
        if (enc == XmlEncoding::Utf8)
            expected.insert(expected.begin(), "Default");
        EXPECT_EQ(names(back.root().getElementsByTagName("Palette")), expected);
    }
}

TEST(PaletteDocument, ValuesXmlCannotHoldAreDroppedWhenStored)
{
    PaletteDocument doc = PaletteDocument::createDefault();
    XmlNode p = doc.root().getElementsByTagName("Palette")[0];
    p.setAttribute("name", std::string("a\x01"
                                       "b\0c\xFF",
                                       7));
    EXPECT_EQ(p.attribute("name"), "abc\xEF\xBF\xBD");
    EXPECT_EQ(XmlNode::attributeValue(std::string("a\x01"
                                                  "b\0c\xFF",
                                                  7)),
              "abc\xEF\xBF\xBD");
    EXPECT_NO_THROW(PaletteDocument::parse(doc.serialize()));
}

TEST(PaletteDocument, DefaultDocument)
{
    EXPECT_EQ(PaletteDocument::createDefault().serialize(),
              "<Palettes><Palette name=\"Default\"></Palette></Palettes>\r\n");
}

TEST(PaletteDocument, DomOperations)
{
    PaletteDocument doc =
        PaletteDocument::parse("<Palette name=\"root\"><Palette name=\"1\"><x><Palette name=\"2\"/></x></Palette>"
                               "text<!--c--><Palette name=\"3\" a=\"b\"/></Palette>");
    XmlNode root = doc.root();
    // Descendants only, in document order, at any depth.
    const std::vector<XmlNode> palettes = root.getElementsByTagName("Palette");
    EXPECT_THAT(names(palettes), ElementsAre("1", "2", "3"));
    EXPECT_TRUE(root.getElementsByTagName("palette").empty());
    EXPECT_THAT(names(palettes[0].getElementsByTagName("Palette")), ElementsAre("2"));

    // Child nodes include text and comments; only elements have attributes.
    const std::vector<XmlNode> children = root.childNodes();
    ASSERT_EQ(children.size(), 4u);
    EXPECT_EQ(children[1].type(), XmlNodeType::Text);
    EXPECT_EQ(children[1].value(), "text");
    EXPECT_EQ(children[2].type(), XmlNodeType::Comment);
    EXPECT_EQ(children[1].attribute("name"), std::nullopt);
    EXPECT_THROW(children[1].setAttribute("name", "x"), PaletteError);
    EXPECT_THROW(children[1].appendElement("x"), PaletteError);
    EXPECT_EQ(root.parent(), XmlNode());
    EXPECT_EQ(palettes[1].parent().name(), "x");

    // Setting an existing attribute keeps its place; a new one goes last.
    palettes[2].setAttribute("name", "three");
    palettes[2].setAttribute("z", "new");
    EXPECT_THROW(palettes[2].setAttribute("bad name", "v"), PaletteError);
    EXPECT_THROW(root.appendElement("1x"), PaletteError);

    // removeChild fails for anything that is not a child.
    EXPECT_THROW(root.removeChild(palettes[1]), PaletteError);
    EXPECT_THROW(root.removeChild(root), PaletteError);
    EXPECT_THROW(root.removeChild(XmlNode()), PaletteError);
    EXPECT_THROW(palettes[2].removeChild(palettes[0]), PaletteError);
    root.removeChild(palettes[0]);
    root.removeChild(children[2]);
    root.appendElement("Palette").setAttribute("name", "4");

    // A fresh query sees the changes.
    EXPECT_THAT(names(root.getElementsByTagName("Palette")), ElementsAre("three", "4"));
    EXPECT_EQ(doc.serialize(), "<Palette name=\"root\">text<Palette name=\"three\" a=\"b\" z=\"new\"></Palette>"
                               "<Palette name=\"4\"></Palette></Palette>\r\n");
}

std::string nested(std::size_t depth)
{
    std::string s;
    s.reserve(depth * 7);
    for (std::size_t i = 0; i < depth; ++i)
        s += "<a>";
    for (std::size_t i = 0; i < depth; ++i)
        s += "</a>";
    return s;
}

TEST(PaletteDocument, DeepNestingIsRefusedCleanly)
{
    EXPECT_THROW(PaletteDocument::parse(nested(100000)), PaletteError);
    EXPECT_THROW(PaletteDocument::parse(nested(PaletteDocument::MaxDepth + 1)), PaletteError);
    std::string deepest = nested(PaletteDocument::MaxDepth - 1);
    deepest.insert((PaletteDocument::MaxDepth - 1) * 3, "<Palette name=\"deep\"/>"); // at the deepest level
    const PaletteDocument doc = PaletteDocument::parse(deepest);
    EXPECT_THAT(names(doc.root().getElementsByTagName("Palette")), ElementsAre("deep"));
    EXPECT_EQ(doc.serialize(), PaletteDocument::parse(doc.serialize()).serialize());
}

TEST(PaletteDocument, DeepTreesAreWrittenAndRemovedWithoutRecursion)
{
    // Built through the API, past the reading limit: writing and removing must not use the stack.
    constexpr std::size_t Depth = 1000000;
    PaletteDocument doc = PaletteDocument::createDefault();
    XmlNode top = doc.root().appendElement("d");
    XmlNode cur = top;
    for (std::size_t i = 1; i < Depth; ++i)
        cur = cur.appendElement("d");
    cur.appendElement("Palette").setAttribute("name", "bottom");
    EXPECT_THAT(names(doc.root().getElementsByTagName("Palette")), ElementsAre("Default", "bottom"));
    std::string expected = "<Palettes><Palette name=\"Default\"></Palette>";
    for (std::size_t i = 0; i < Depth; ++i)
        expected += "<d>";
    expected += "<Palette name=\"bottom\"></Palette>";
    for (std::size_t i = 0; i < Depth; ++i)
        expected += "</d>";
    expected += "</Palettes>\r\n";
    EXPECT_TRUE(doc.serialize() == expected); // not EXPECT_EQ: a failure would print megabytes
    doc.root().removeChild(top);
    EXPECT_EQ(doc.serialize(), PaletteDocument::createDefault().serialize());
}

TEST(PaletteDocument, EncodingNamesBeyondExpatsOwn)
{
    struct Case {
        std::string in;
        std::string out;
    };
    const std::vector<Case> cases = {
        {"<?xml version='1.0' encoding='UTF8'?><R a='\xC3\xA9\xF0\x9D\x84\x9E'/>",
         "<R a=\"\xC3\xA9\xF0\x9D\x84\x9E\"></R>\r\n"},
        {"<?xml version='1.0' encoding='latin1'?><R a='\xE9'/>", "<R a=\"\xC3\xA9\"></R>\r\n"},
        // The bytes windows-1252 leaves unassigned keep their C1 code points.
        {"<?xml version='1.0' encoding='CP1252'?><R a='\x81\x9F\xA0'/>", "<R a=\"\xC2\x81\xC5\xB8\xC2\xA0\"></R>\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(rewrite(c.in), c.out);
    }
    // ISO-8859-1 names must read back once written in UTF-8.
    EXPECT_EQ(rewrite("<?xml version='1.0' encoding='ISO-8859-1'?><\xE9l\xB7 \xFF='1'/>"),
              "<\xC3\xA9l\xC2\xB7 \xC3\xBF=\"1\"></\xC3\xA9l\xC2\xB7>\r\n");
    for (const char* in : {"<\xBA/>", "<R \xAA='1'/>", "<R><?\xB5 x?></R>"})
        EXPECT_THROW(PaletteDocument::parse("<?xml version='1.0' encoding='ISO-8859-1'?>" + std::string(in)),
                     PaletteError)
            << in;
    // The byte-order mark decides over a declaration that names another encoding.
    const std::string le = utf16(u"<R a=\"\u00E9\"></R>\r\n", true, true);
    EXPECT_EQ(rewrite(utf16(u"<?xml version=\"1.0\" encoding=\"UTF-8\"?><R a=\"\u00E9\"/>", true, true)), le);
}

TEST(PaletteDocument, OnlyPredefinedEntitiesBehindADocumentType)
{
    EXPECT_EQ(rewrite("<!DOCTYPE R [<!ENTITY e 'v'>]><R a='&amp;&#65;&quot;'>&lt;&#x42;</R>"),
              "<R a=\"&amp;A&quot;\">&lt;B</R>\r\n");
    const std::vector<std::string> refused = {
        "<!DOCTYPE R [<!ENTITY e 'v'>]><R a='&e;'/>",
        "<!DOCTYPE R [<!ENTITY e 'v'>]><R><x a='b&e;'/></R>",
        "<!DOCTYPE R SYSTEM 'r.dtd'><R a='&e;'/>",
        "<!DOCTYPE R SYSTEM 'r.dtd'><R>&e;</R>",
        "<!DOCTYPE R [<!ENTITY e SYSTEM 'x'>]><R>&e;</R>",
        "<!DOCTYPE R [<!ENTITY % p 'x'> %p;]><R a='&e;'/>",
        "<?xml version='1.1'?><R/>",
    };
    for (const std::string& in : refused)
        EXPECT_THROW(PaletteDocument::parse(in), PaletteError) << in;
    EXPECT_THROW(PaletteDocument::parse(utf16(u"<!DOCTYPE R [<!ENTITY e 'v'>]><R a='\u00E9&e;'/>", false, true)),
                 PaletteError);
    EXPECT_THROW(PaletteDocument::parse(std::string("<\0\0\0\0\xD8\0\0", 8)), PaletteError); // UTF-32, a surrogate
}

TEST(PaletteDocument, MalformedUtf16IsRefused)
{
    EXPECT_THROW(PaletteDocument::parse(utf16(u"<R/>", true, true) + '\0'), PaletteError);
    // A high surrogate followed by anything but a low one must not read as some other character.
    const std::vector<std::u16string> texts = {u"<R a=\"\xD800)\"/>", u"<R>\xD800\xD800</R>", u"<R><!--\xDBFF--></R>",
                                               u"<R>\xDC00</R>", u"<R/>\xD800"};
    for (const std::u16string& text : texts) {
        for (bool littleEndian : {true, false})
            EXPECT_THROW(PaletteDocument::parse(utf16(text, littleEndian, true)), PaletteError);
    }
}

TEST(PaletteDocument, OwnRefusalsTellWhere)
{
    struct Case {
        std::string in;
        std::string where;
    };
    const std::vector<Case> cases = {
        {"<!DOCTYPE R [<!ENTITY e 'v'>]>\n<R>\n <a x='&e;'/></R>", "line 3, column 2"},
        {"<!DOCTYPE R [<!ENTITY e 'v'>]>\r\n<R>\r\n\xC3\xA9&e;</R>", "line 3, column 2"},
        {"\n<?xml version='2.0'?><R/>", "line 2, column 1"},
        {nested(PaletteDocument::MaxDepth + 1), "line 1, column " + std::to_string(PaletteDocument::MaxDepth * 3 + 1)},
    };
    for (const Case& c : cases) {
        try {
            PaletteDocument::parse(c.in);
            ADD_FAILURE() << "parsed " << c.in.substr(0, 60);
        } catch (const PaletteError& e) {
            EXPECT_THAT(e.what(), HasSubstr(c.where)) << c.in.substr(0, 60);
        }
    }
}

// Every sample file: what is written reads back and is written again byte for byte.
TEST(PaletteDocument, EverySampleFileReachesItsOutputForm)
{
    const std::filesystem::path data(TINTARA_TEST_DATA);
    std::size_t files = 0;
    for (const auto& dir : {data / "palettes", data / ".." / ".." / "fuzz" / "seeds" / "palettes"}) {
        for (const auto& entry : std::filesystem::directory_iterator(dir)) {
            std::ifstream in(entry.path(), std::ios::binary);
            std::ostringstream bytes;
            bytes << in.rdbuf();
            SCOPED_TRACE(entry.path().string());
            const std::string out = rewrite(bytes.str());
            EXPECT_EQ(rewrite(out), out);
            ++files;
        }
    }
    EXPECT_GT(files, 0u);
}

} // namespace
