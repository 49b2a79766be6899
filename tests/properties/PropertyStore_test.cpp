#include "engine/core/Log.h"
#include "engine/properties/PropertyStore.h"
#include "engine/properties/PropertyValue.h"
#include "engine/properties/XmlNesting.h"
#include "engine/resources/FileArchive.h"
#include "tests/support/LogCapture.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <filesystem>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include <sys/resource.h>

namespace orv {
namespace {

RefPtr<PropertyStore> parse(const std::string& xml) {
    RefPtr<PropertyStore> store(new PropertyStore());
    EXPECT_TRUE(store->loadText(xml)) << xml;
    return store;
}

std::vector<std::string> storedOrderNames(const PropertyVector& list) {
    std::vector<std::string> names;
    for (const RefPtr<AbstractProperty>& element : list.getElements()) {
        names.push_back(element->getName());
    }
    return names;
}

// The XML text `save` would write for `store`.
std::string written(PropertyStore& store, const test::TempDir& dir) {
    store.setFileName(dir.file("written.xml"));
    store.setAccessMode(ArchiveMode::File);
    EXPECT_TRUE(store.save());
    return test::readFile(dir.file("written.xml"));
}

TEST(PropertyFileMapping, ElementsBecomeValuesNodesAndVectors) {
    const auto store = parse(R"(<root ignored="1">
        <Integer id="count" value="7"/>
        <Text id="title">Hello</Text>
        <Sprite id="logo" x="10" y="#FF">
            <Vector id="frames"><Integer value="1"/><Integer value="2"/></Vector>
        </Sprite>
        <!-- a comment -->
    </root>)");
    EXPECT_EQ(store->getChildCount(), 3U);
    EXPECT_EQ(store->getChild("ignored"), nullptr);
    EXPECT_EQ(store->getValue("count")->getTypeName(), "Integer");
    EXPECT_EQ(store->getValue("count")->getInt(), 7);
    EXPECT_EQ(store->getValue("title")->getText(), L"Hello");
    PropertyNode* logo = store->getNode("logo");
    EXPECT_EQ(logo->getTypeName(), "Sprite");
    EXPECT_EQ(logo->getValue("x")->getInt(), 10);
    EXPECT_TRUE(logo->getChild("x")->getTypeName().empty()); // attributes are untyped
    EXPECT_EQ(logo->getValue("y")->getInt(), 255);
    EXPECT_EQ(logo->getChild("id"), nullptr);
    PropertyVector* frames = logo->getVector("frames");
    ASSERT_EQ(frames->size(), 2U);
    EXPECT_EQ(asValue(frames->at(1))->getInt(), 2);
    EXPECT_EQ(storedOrderNames(*logo), (std::vector<std::string>{"frames"}));
}

struct MappingCase {
    const char* title;
    const char* xml;
    // Checks on the one top-level child "n".
    void (*check)(AbstractProperty& property);
};

void PrintTo(const MappingCase& c, std::ostream* out) {
    *out << c.title;
}

class EdgeCases : public testing::TestWithParam<MappingCase> {};

TEST_P(EdgeCases, MapAsTheFormatSays) {
    const auto store = parse(GetParam().xml);
    AbstractProperty* property = store->getChild("n");
    ASSERT_NE(property, nullptr);
    GetParam().check(*property);
}

INSTANTIATE_TEST_SUITE_P(
    PropertyFileMapping, EdgeCases,
    testing::Values(
        MappingCase{"ValueTextBeatsValueAttribute",
                    R"(<root><String id="n" value="attribute">content</String></root>)",
                    [](AbstractProperty& p) {
                        EXPECT_EQ(asValue(&p)->getText(), L"content");
                    }},
        MappingCase{
            "ValueIgnoresOtherAttributesAndChildElements",
            R"(<root><Integer id="n" other="5" value="3"><Integer id="c"/></Integer></root>)",
            [](AbstractProperty& p) {
                EXPECT_EQ(asValue(&p)->getInt(), 3);
                EXPECT_EQ(asNode(&p), DUMMY_NODE);
            }},
        MappingCase{"NodeValueAttributeIsUntypedChild", R"(<root><Label id="n" value="v"/></root>)",
                    [](AbstractProperty& p) {
                        AbstractProperty* value = asNode(&p)->getChild("value");
                        ASSERT_NE(value, nullptr);
                        EXPECT_TRUE(value->getTypeName().empty());
                        EXPECT_EQ(asNode(&p)->size(), 0U);
                    }},
        MappingCase{"NodeTextIsTypedChildThatReplacesTheAttribute",
                    R"(<root><Label id="n" value="attribute">text</Label></root>)",
                    [](AbstractProperty& p) {
                        PropertyNode* node = asNode(&p);
                        EXPECT_EQ(node->getChildCount(), 1U);
                        EXPECT_EQ(node->getChild("value")->getTypeName(), "Text");
                        EXPECT_EQ(node->getValue("value")->getText(), L"text");
                    }},
        MappingCase{"OnlyTheFirstTextPieceCounts",
                    R"(<root><Text id="n">first<!-- c -->second</Text></root>)",
                    [](AbstractProperty& p) {
                        EXPECT_EQ(asValue(&p)->getText(), L"first");
                    }},
        MappingCase{
            "SameIdsInANodeLeaveTheLast",
            R"(<root><Panel id="n"><Integer id="a" value="1"/><Integer id="a" value="2"/></Panel></root>)",
            [](AbstractProperty& p) {
                PropertyNode* node = asNode(&p);
                EXPECT_EQ(node->getChildCount(), 1U);
                EXPECT_EQ(node->getValue("a")->getInt(), 2);
            }},
        MappingCase{
            "SameIdsInAVectorAllStayInOrder",
            R"(<root><Vector id="n" other="x"><Integer id="a" value="1"/><Integer id="a" value="2"/></Vector></root>)",
            [](AbstractProperty& p) {
                PropertyVector* vector = asVector(&p);
                ASSERT_EQ(vector->size(), 2U);
                EXPECT_EQ(asValue(vector->at(0))->getInt(), 1);
                EXPECT_EQ(asValue(vector->at(1))->getInt(), 2);
            }},
        MappingCase{"UnnamedChildrenOfANodeReplaceEachOther",
                    R"(<root><Panel id="n"><Label/><Button/></Panel></root>)",
                    [](AbstractProperty& p) {
                        PropertyNode* node = asNode(&p);
                        EXPECT_EQ(node->getChildCount(), 1U);
                        EXPECT_EQ(node->getChild("")->getTypeName(), "Button");
                    }},
        MappingCase{"UnnamedChildrenOfAVectorAllStay",
                    R"(<root><Vector id="n"><Label/><Button/><Vector/></Vector></root>)",
                    [](AbstractProperty& p) {
                        EXPECT_EQ(asVector(&p)->size(), 3U);
                    }},
        MappingCase{"EntitiesAndUtf8AreDecoded",
                    "<root><Text id=\"n\" value=\"&lt;&amp;&#xE9;\xE2\x82\xAC\"/></root>",
                    [](AbstractProperty& p) {
                        EXPECT_EQ(asValue(&p)->getText(), L"<&\u00E9\u20AC");
                    }}),
    [](const testing::TestParamInfo<MappingCase>& param) {
        return std::string(param.param.title);
    });

TEST(PropertyFileMapping, WhiteSpaceCondensingFollowsTheStore) {
    const char* xml = "<root><Text id=\"t\">  two\n   lines  </Text></root>";
    RefPtr<PropertyStore> condensed(new PropertyStore());
    ASSERT_TRUE(condensed->loadText(xml));
    RefPtr<PropertyStore> kept(new PropertyStore());
    kept->setCondenseWhiteSpace(false);
    ASSERT_TRUE(kept->loadText(xml));
    ASSERT_TRUE(condensed->loadText(xml)); // the switch is set again for every parse
    EXPECT_EQ(condensed->getValue("t")->getText(), L"two lines");
    EXPECT_EQ(kept->getValue("t")->getText(), L"  two\n   lines  ");
}

TEST(PropertyFileMapping, NodeValueAttributeAndTextAreWrittenBackAsTheyCame) {
    const test::TempDir dir;
    auto store = parse(R"(<root><Label id="a" value="attr"/><Label id="b">text</Label></root>)");
    const std::string xml = written(*store, dir);
    EXPECT_NE(xml.find(R"(<Label id="a" value="attr" />)"), std::string::npos) << xml;
    EXPECT_NE(xml.find(R"(<Text id="value" value="text" />)"), std::string::npos) << xml;
}

TEST(PropertyFileLoad, ReloadReplacesTopLevelChildrenByName) {
    const test::TempDir dir;
    test::writeFile(dir.file("a.xml"),
                    R"(<root><Integer id="x" value="1"/><Integer id="y" value="1"/></root>)");
    test::writeFile(dir.file("b.xml"), R"(<root><Integer id="x" value="2"/></root>)");
    RefPtr<PropertyStore> store(new PropertyStore(dir.file("a.xml")));
    store->addFile(dir.file("b.xml"));
    ASSERT_TRUE(store->reloadAll());
    ASSERT_TRUE(store->reloadAll());
    EXPECT_EQ(store->getChildCount(), 2U);
    EXPECT_EQ(store->getValue("x")->getInt(), 2);
}

TEST(PropertyFileLoad, FailedLoadsLeaveTheTreeAndDoNotStopTheOthers) {
    const test::QuietLog quiet;
    const test::TempDir dir;
    test::writeFile(dir.file("good.xml"), R"(<root><Integer id="x" value="1"/></root>)");
    test::writeFile(dir.file("bad.xml"), R"(<root><Integer id="y" value="1"/>)");
    RefPtr<PropertyStore> store(new PropertyStore(dir.file("missing.xml")));
    store->addFile(dir.file("bad.xml"));
    store->addFile(dir.file("good.xml"));
    EXPECT_FALSE(store->reloadAll());
    EXPECT_EQ(store->getChildCount(), 1U);
    EXPECT_FALSE(store->canLoad(dir.file("bad.xml")));
    EXPECT_FALSE(store->canLoad(dir.path().string())); // a folder is no file
    EXPECT_TRUE(store->canLoad(dir.file("good.xml")));
}

TEST(PropertyFileLoad, CanLoadAddsNothing) {
    const test::TempDir dir;
    test::writeFile(dir.file("a.xml"), R"(<root><Integer id="x" value="1"/></root>)");
    RefPtr<PropertyStore> store(new PropertyStore());
    EXPECT_TRUE(store->canLoad(dir.file("a.xml")));
    EXPECT_EQ(store->getChildCount(), 0U);
}

TEST(PropertyFileLoad, DocumentWithoutElementLoadsEmpty) {
    RefPtr<PropertyStore> store(new PropertyStore());
    EXPECT_TRUE(store->loadText("<?xml version=\"1.0\"?><!-- nothing -->"));
    EXPECT_EQ(store->getChildCount(), 0U);
}

TEST(PropertyFileLoad, LineEndsReadAlikeWhereverTheFileIs) {
    RefPtr<PropertyStore> store(new PropertyStore());
    store->setCondenseWhiteSpace(false);
    ASSERT_TRUE(store->loadText("<root><Text id=\"t\">a\r\nb\rc</Text></root>"));
    EXPECT_EQ(store->getValue("t")->getText(), L"a\nb\nc");
}

// Malformed input must never crash and never change the tree. The parser
// rejects most of it; what it tolerates (a lone "<", an element name that
// starts with a digit) is read as a document without elements.
struct MalformedCase {
    std::string xml;
    bool rejected;
};

void PrintTo(const MalformedCase& c, std::ostream* out) {
    *out << testing::PrintToString(c.xml);
}

class MalformedXml : public testing::TestWithParam<MalformedCase> {};

TEST_P(MalformedXml, FailsOrAddsNothing) {
    const test::QuietLog quiet;
    RefPtr<PropertyStore> store(new PropertyStore());
    ASSERT_TRUE(store->loadText(R"(<root><Integer id="kept" value="1"/></root>)"));
    EXPECT_EQ(store->loadText(GetParam().xml), !GetParam().rejected);
    EXPECT_EQ(store->getChildCount(), 1U);
    EXPECT_EQ(store->getValue("kept")->getInt(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Corpus, MalformedXml,
    testing::Values(MalformedCase{"", true}, MalformedCase{"   \n ", true},
                    MalformedCase{"<root>", true},
                    MalformedCase{"<root><Integer id=\"a\"></root>", true},
                    MalformedCase{"<root></Root>", true},
                    MalformedCase{"<root><a b=\"1\" b=\"2\"/></root>", true},
                    MalformedCase{"<root><a b=\"unterminated/></root>", true},
                    MalformedCase{"<root><!-- never closed </root>", true},
                    MalformedCase{"<root><![CDATA[ open </root>", true},
                    MalformedCase{"<root><Integer id=\"a\" value=\"1\"/></root", true},
                    MalformedCase{std::string("\xFF\xFE<\0r\0o\0o\0t\0/\0>\0", 16), true},
                    MalformedCase{"<root>\x01\x02\x03</root\x80>", true},
                    // UTF-8 sequences cut off by the end of the text: the
                    // parser steps over whole sequences and must not step
                    // past the end.
                    MalformedCase{"<root><a>text long enough for the heap \xF0", true},
                    MalformedCase{"<root><a>text long enough for the heap &am\xF4", true},
                    MalformedCase{"<root><a b=\"value long enough for the heap \xE2", true},
                    MalformedCase{"<", false}, MalformedCase{"<1a/>", false}));

TEST(PropertyFileLoad, EmbeddedZeroEndsTheText) {
    static constexpr char text[] = "<root><Integer id=\"a\" value=\"1\"/></root>\0<junk";
    RefPtr<PropertyStore> store(new PropertyStore());
    EXPECT_TRUE(store->loadText(std::string_view(text, sizeof(text) - 1)));
    EXPECT_EQ(store->getValue("a")->getInt(), 1);
}

RefPtr<PropertyStore> sampleTree() {
    RefPtr<PropertyStore> store(new PropertyStore());
    auto* player = new PropertyNode("player", "OrvantaPlayer");
    player->add(new PropertyValue("name", std::string_view("Zo\xC3\xAB <&> \"q\""), true));
    player->add(new PropertyValue("score", 1200));
    player->add(new PropertyValue("time", 2.5F));
    player->add(new PropertyValue("note", std::wstring_view(L"line one\nline two")));
    // A typed value named like the attribute that names the node.
    player->add(new PropertyValue("id", std::string_view("P-17")));
    auto* stats = new PropertyVector("stats");
    stats->addBool(true);
    stats->add(new PropertyNode("", "Stat"));
    player->add(stats);
    store->add(player);
    return store;
}

void expectSampleTree(PropertyStore& store) {
    PropertyNode* player = store.getNode("player");
    EXPECT_EQ(player->getTypeName(), "OrvantaPlayer");
    EXPECT_EQ(player->getValue("name")->getString(), "Zo\xC3\xAB <&> \"q\"");
    EXPECT_TRUE(player->getChild("name")->getTypeName().empty());
    EXPECT_EQ(player->getValue("score")->getInt(), 1200);
    EXPECT_EQ(player->getValue("time")->getFloat(), 2.5F);
    EXPECT_EQ(player->getValue("note")->getText(), L"line one\nline two");
    EXPECT_EQ(player->getName(), "player");
    EXPECT_EQ(player->getValue("id")->getString(), "P-17");
    PropertyVector* stats = player->getVector("stats");
    ASSERT_EQ(stats->size(), 2U);
    EXPECT_TRUE(asValue(stats->at(0))->getBool());
    EXPECT_EQ(stats->at(1)->getTypeName(), "Stat");
}

struct ModeCase {
    ArchiveMode mode;
    const char* storedSuffix;
    bool scrambled;
};

void PrintTo(const ModeCase& c, std::ostream* out) {
    *out << "mode " << static_cast<int>(c.mode);
}

class SaveRoundTrip : public testing::TestWithParam<ModeCase> {
protected:
    void TearDown() override { FileArchive::shutDown(); }
};

TEST_P(SaveRoundTrip, WritesAndReadsBackTheSameTree) {
    const test::TempDir dir;
    const std::string name = dir.file("players");
    const std::string stored = name + GetParam().storedSuffix;
    RefPtr<PropertyStore> store = sampleTree();
    store->setFileName(name);
    store->setAccessMode(GetParam().mode);
    ASSERT_TRUE(store->save());

    ASSERT_TRUE(std::filesystem::exists(stored));
    EXPECT_FALSE(std::filesystem::exists(stored + ".tmp"));
    const std::string bytes = test::readFile(stored);
    EXPECT_EQ(bytes.find("<root>") == std::string::npos, GetParam().scrambled);

    RefPtr<PropertyStore> loaded(new PropertyStore());
    loaded->setAccessMode(GetParam().mode);
    ASSERT_TRUE(loaded->load(name));
    expectSampleTree(*loaded);
}

INSTANTIATE_TEST_SUITE_P(Modes, SaveRoundTrip,
                         testing::Values(ModeCase{ArchiveMode::File, "", false},
                                         ModeCase{ArchiveMode::EncryptFile, ".!", true},
                                         ModeCase{ArchiveMode::Global, "", false}));

TEST(SaveInGlobalMode, FollowsTheArchiveSetUp) {
    const test::TempDir dir;
    FileArchive::setUp(ArchiveMode::EncryptZip, dir.file("missing.dat"));
    RefPtr<PropertyStore> store = sampleTree();
    store->setFileName(dir.file("scores"));
    ASSERT_TRUE(store->save()); // the scrambled archive mode writes a scrambled loose file
    EXPECT_TRUE(std::filesystem::exists(dir.file("scores.!")));
    RefPtr<PropertyStore> loaded(new PropertyStore());
    ASSERT_TRUE(loaded->load(dir.file("scores"))); // not in the archive: read from disk
    expectSampleTree(*loaded);
    FileArchive::shutDown();
}

// A save that cannot finish must leave the old file as it was and say so.
class FailedSave : public testing::Test {
protected:
    void SetUp() override {
        store_ = sampleTree();
        store_->setFileName(dir_.file("players"));
        store_->setAccessMode(ArchiveMode::EncryptFile);
        ASSERT_TRUE(store_->save());
        before_ = test::readFile(stored());
        store_->getNode("player")->add(new PropertyValue("score", 99));
    }

    [[nodiscard]] std::string stored() const { return dir_.file("players.!"); }
    void expectOldFileIntact() const {
        EXPECT_EQ(test::readFile(stored()), before_);
        RefPtr<PropertyStore> loaded(new PropertyStore());
        loaded->setAccessMode(ArchiveMode::EncryptFile);
        ASSERT_TRUE(loaded->load(dir_.file("players")));
        EXPECT_EQ(loaded->getNode("player")->getValue("score")->getInt(), 1200);
    }

    const test::QuietLog quiet_;
    const test::TempDir dir_;
    RefPtr<PropertyStore> store_;
    std::string before_;
};

// Lowers one resource limit of this process for its lifetime. Writes beyond
// the file-size limit fail with an error instead of a signal while it lives.
class LoweredLimit {
public:
    LoweredLimit(int resource, rlim_t value) : resource_(resource) {
        EXPECT_EQ(::getrlimit(resource_, &previous_), 0);
        rlimit lowered = previous_;
        lowered.rlim_cur = value;
        EXPECT_EQ(::setrlimit(resource_, &lowered), 0);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    }
    LoweredLimit(const LoweredLimit&) = delete;
    LoweredLimit& operator=(const LoweredLimit&) = delete;
    ~LoweredLimit() {
        ::setrlimit(resource_, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }

private:
    int resource_;
    rlimit previous_{};
    void (*previousHandler_)(int) = nullptr;
};

// The names in the store's folder: the store file and nothing else.
std::vector<std::string> entriesOf(const test::TempDir& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        names.push_back(entry.path().filename().string());
    }
    return names;
}

TEST_F(FailedSave, WriteErrorPartWayKeepsTheOldFile) {
    {
        // Files may not grow beyond a few bytes: the write stops part-way.
        const LoweredLimit limit(RLIMIT_FSIZE, 16);
        EXPECT_FALSE(store_->save());
    }
    expectOldFileIntact();
    EXPECT_EQ(entriesOf(dir_), std::vector<std::string>{"players.!"}) << "temporary file left";
}

TEST_F(FailedSave, TemporaryFileThatCannotBeMadeKeepsTheOldFile) {
    {
        // No file can be opened at all.
        const LoweredLimit limit(RLIMIT_NOFILE, 0);
        EXPECT_FALSE(store_->save());
    }
    expectOldFileIntact();
    EXPECT_EQ(entriesOf(dir_), std::vector<std::string>{"players.!"});
}

TEST_F(FailedSave, TemporaryNameTakenByALinkIsNeitherFollowedNorRemoved) {
    // A link at the name a writer with one fixed temporary name would use.
    test::writeFile(dir_.file("victim"), "victim");
    std::filesystem::create_symlink(dir_.file("victim"), stored() + ".tmp");
    ASSERT_TRUE(store_->save());
    EXPECT_EQ(test::readFile(dir_.file("victim")), "victim");
    EXPECT_TRUE(std::filesystem::is_symlink(stored() + ".tmp"));
    EXPECT_FALSE(std::filesystem::is_symlink(stored()));
    EXPECT_NE(test::readFile(stored()), before_);
}

TEST_F(FailedSave, TreeThatCannotBeWrittenKeepsTheOldFile) {
    // A type name the parser would not read back: the file would be lost.
    store_->getNode("player")->add(new PropertyNode("bad", "not a name"));
    EXPECT_FALSE(store_->save());
    expectOldFileIntact();
    // An untyped value named "id" inside a node would be written as the
    // attribute that names the node: the value, and the node's name, lost.
    store_->getNode("player")->removeChild("bad");
    store_->getNode("player")->add(new PropertyValue("id", std::string_view("P-17"), true));
    EXPECT_FALSE(store_->save());
    expectOldFileIntact();
}

TEST_F(FailedSave, MissingFolderIsReported) {
    store_->setFileName(dir_.file("no/such/folder/players"));
    EXPECT_FALSE(store_->save());
    EXPECT_FALSE(std::filesystem::exists(dir_.file("no")));
}

TEST(PropertyFileSave, MalformedUtf8InNamesSurvivesARoundTrip) {
    // Stray bytes are replaced before the parser sees them, so a stray lead
    // byte cannot take the quote after it along as one character.
    const test::TempDir dir;
    auto store = parse("<root><Sprite id=\"s\xC3\" a\xE9\x62=\"1\"/></root>");
    const std::string first = written(*store, dir);
    auto again = parse(first);
    EXPECT_EQ(written(*again, dir), first);
    ASSERT_EQ(again->getChildCount(), 1U);
    const PropertyNode* sprite = asNode(again->getChildren().front().property.get());
    EXPECT_EQ(sprite->getName(), "s\xEF\xBF\xBD"); // U+FFFD for the stray byte
    EXPECT_NE(sprite->getChild("a\xEF\xBF\xBD"
                               "b"),
              nullptr);
}

TEST(PropertyFileSave, TreesThatALoadWouldRefuseAreNotSaved) {
    const test::TempDir dir;
    const test::QuietLog quiet;
    const std::string path = dir.file("deep.xml");
    RefPtr<PropertyStore> store(new PropertyStore());
    store->setFileName(path);
    store->setAccessMode(ArchiveMode::File);
    // The store's own element and kMaxPropertyNesting - 1 nodes below it; a
    // value inside a node is an attribute and adds no level.
    PropertyNode* deepest = store.get();
    for (std::size_t level = 1; level < kMaxPropertyNesting; ++level) {
        deepest = static_cast<PropertyNode*>(deepest->add(new PropertyNode("n", "Node")));
    }
    deepest->add(new PropertyValue("x", 1, true));
    ASSERT_TRUE(store->save());
    RefPtr<PropertyStore> loaded(new PropertyStore());
    loaded->setAccessMode(ArchiveMode::File);
    EXPECT_TRUE(loaded->load(path)) << "as deep as may be: saved and read back";
    const std::string saved = test::readFile(path);

    deepest->add(new PropertyValue("y", 2)); // a typed value is an element
    EXPECT_FALSE(store->save());
    EXPECT_EQ(test::readFile(path), saved);

    RefPtr<PropertyStore> big(new PropertyStore());
    big->setFileName(path);
    big->setAccessMode(ArchiveMode::File);
    big->add(new PropertyValue("t", std::string(PropertyStore::kMaxFileSize, 'x')));
    EXPECT_FALSE(big->save());
    EXPECT_EQ(test::readFile(path), saved);
}

TEST(PropertyFileLoad, DocumentsTooLargeOrNestedTooDeepAreRefusedBeforeParsing) {
    const auto nested = [](std::size_t levels) {
        std::string xml = "<root>";
        for (std::size_t i = 1; i < levels; ++i) {
            xml += "<Node>";
        }
        for (std::size_t i = 1; i < levels; ++i) {
            xml += "</Node>";
        }
        return xml + "</root>";
    };
    struct Case {
        const char* what;
        std::string xml;
        const char* logged; // null when the document loads
    };
    const Case cases[] = {
        {"as deep as may be", nested(kMaxPropertyNesting), nullptr},
        {"one level deeper", nested(kMaxPropertyNesting + 1), "nested"},
        {"deep enough to overflow the parser's stack", nested(40000), "nested"},
        {"larger than a property file may be",
         "<root>" + std::string(PropertyStore::kMaxFileSize, ' ') + "</root>", "larger"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const test::LogCapture log;
        RefPtr<PropertyStore> store(new PropertyStore());
        EXPECT_EQ(store->loadText(c.xml), c.logged == nullptr);
        if (c.logged != nullptr) {
            EXPECT_TRUE(log.contains(c.logged));
            EXPECT_EQ(store->getChildCount(), 0U);
        }
    }
}

TEST(PropertyFileLoad, StoresOnTwoThreadsKeepTheirOwnWhiteSpaceRule) {
    // The parser's white-space switch is process-wide: a store parsing on
    // another thread must not change how this one reads its text.
    const std::string xml = "<root><Text id=\"t\">  a  b  </Text></root>";
    std::atomic<int> wrong{0};
    const auto parseMany = [&](bool condense) {
        for (int i = 0; i < 200; ++i) {
            RefPtr<PropertyStore> store(new PropertyStore());
            store->setCondenseWhiteSpace(condense);
            const std::wstring expected = condense ? L"a b" : L"  a  b  ";
            if (!store->loadText(xml) || store->getValue("t")->getText() != expected) {
                ++wrong;
            }
        }
    };
    std::thread other(parseMany, false);
    parseMany(true);
    other.join();
    EXPECT_EQ(wrong, 0);
}

TEST(PropertyFileSave, UntypedValueInAVectorIsWrittenAsString) {
    const test::TempDir dir;
    RefPtr<PropertyStore> store(new PropertyStore());
    auto* list = new PropertyVector("list");
    list->add(new PropertyValue("u", std::string_view("x"), true));
    store->add(list);
    EXPECT_NE(written(*store, dir).find(R"(<String id="u" value="x" />)"), std::string::npos);
}

} // namespace
} // namespace orv
