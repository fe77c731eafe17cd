// The console program's decisions: which rows it lists and how, what it refuses before
// changing anything, and what an import changes and undoes.
#include <gtest/gtest.h>

#include "EudclinkFixture.h"
#include "console/ConsoleText.h"
#include "model/ImportPlan.h"
#include "platform/Unicode.h"

namespace {

RegFileEntry Deletion(std::u16string name)
{
    RegFileEntry entry;
    entry.value.name = std::move(name);
    entry.deleted = true;
    return entry;
}

std::u16string Utf8ToWide(std::string_view text)
{
    return FromUtf8(text).value();
}

}  // namespace

// JSON that any decoder reads alike, whatever code page it assumes: ASCII only, every other
// UTF-16 unit escaped (a pair for a character beyond U+FFFF), a backslash before one still
// its own escape.
TEST(JsonOf, IsPlainAsciiWithEveryOtherCharacterAsAUnicodeEscape)
{
    LinkRow row;
    row.name = "\xE5\x8A\x9F \"\xC3\xA9\" \t\x7F \xF0\x9F\x98\x80";  // 功 "é" TAB DEL 😀
    row.kind = NameKind::NotInstalled;
    row.type = registry::kString;
    row.text = "C:\\E\\\xE5\x8A\x9F.TTE";
    row.state = LinkState::MissingFile;
    const CodePageRules utf8{IsBig5LeadByte, Utf8ToWide, WideToBig5, UpperCaseKey};
    EXPECT_EQ(JsonOf({row}, utf8), R"([
  {"name": "\u529f \"\u00e9\" \ufffd\ufffd \ud83d\ude00", "font": "not-installed", )"
                                   R"("file": "C:\\E\\\u529f.TTE", "chars": null, "state": "missing-file"}
]
)");
}

TEST_F(EudclinkTest, ListShowsTheWindowsRowsThenEveryOtherValueWithItsState)
{
    files.files = {{"C:\\E\\OK.TTE", kFont}, {"C:\\E\\TEXT.TTE", "text"}, {"C:\\Windows\\Fonts\\EUDC.TTE", kFont}};
    registry.Add("SystemDefaultEUDCFont", std::string("EUDC.TTE\0", 9));  // in the font folder
    registry.Add("xyz", "C:\\E\\OK.TTE");                                   // another letter case
    registry.Add("Gone Font", "C:\\E\\GONE.TTE");
    registry.Add("Flag", std::string("\1\0\0\0", 4), registry::kDword);
    registry.Add("Empty", "");
    registry.Add("Relative", "fonts\\OK.TTE");
    registry.Add("\xA5\x5C", "C:\\E\\TEXT.TTE");  // 功

    EXPECT_EQ(Run({"list", "--tsv"}), status::kDone);
    EXPECT_EQ(console.out,
              "name\tfont\tfile\tchars\tstate\n"
              "SystemDefaultEUDCFont\tdefault\tEUDC.TTE\t4\tlinked\n"
              "Xyz\tinstalled\tC:\\E\\OK.TTE\t4\tlinked\n"
              "AR PL UMing TW\tinstalled\t\t\tunlinked\n"
              "Gone Font\tnot-installed\tC:\\E\\GONE.TTE\t\tmissing-file\n"
              "Flag\tnot-installed\t\t\tbad-value\n"
              "Empty\tnot-installed\t\t\tbad-value\n"
              "Relative\tnot-installed\tfonts\\OK.TTE\t\tbad-value\n"
              "\xE5\x8A\x9F\tnot-installed\tC:\\E\\TEXT.TTE\t\tnot-a-font\n");

    EXPECT_EQ(Run({"check"}), status::kRefused);
    EXPECT_EQ(console.out,
              "name       font           file           chars  state\n"
              "Gone Font  not-installed  C:\\E\\GONE.TTE         missing-file\n"
              "Flag       not-installed                        bad-value\n"
              "Empty      not-installed                        bad-value\n"
              "Relative   not-installed  fonts\\OK.TTE          bad-value\n"
              "\xE5\x8A\x9F         not-installed  C:\\E\\TEXT.TTE         not-a-font\n");
    EXPECT_EQ(events, Events({"open read", "close"}));  // the key is read once, and only read
}

TEST_F(EudclinkTest, CheckPassesWhenEveryLinkWorksAndAControlCharacterBreaksNoLine)
{
    files.files = {{"C:\\E\\OK.TTE", kFont}};
    registry.Add("Tab\tName", "C:\\E\\OK.TTE");
    EXPECT_EQ(Run({"check", "--tsv"}), status::kDone);
    EXPECT_EQ(console.out, "name\tfont\tfile\tchars\tstate\n");
    EXPECT_EQ(Run({"list", "--tsv"}), status::kDone);
    EXPECT_NE(console.out.find("Tab\xEF\xBF\xBDName\tnot-installed\t"), std::string::npos);
}

TEST_F(EudclinkTest, CheckAsksOnlyTheBrokenLinksNamesUntilOneIsAFontThatCanHaveALink)
{
    files.files = {{"C:\\E\\OK.TTE", kFont}};
    registry.Add("ar pl uming tw", "C:\\E\\OK.TTE");
    registry.Add("Latin", "C:\\E\\GONE.TTE");  // installed, but cannot have a link
    registry.Add("\xA5\x5C", "C:\\E\\GONE.TTE");  // 功
    registry.Add("XYZ", "C:\\E\\OK.TTE");
    EXPECT_EQ(Run({"check", "--tsv"}), status::kRefused);
    EXPECT_EQ(console.out, "name\tfont\tfile\tchars\tstate\n"
                           "Latin\tnot-installed\tC:\\E\\GONE.TTE\t\tmissing-file\n"
                           "\xE5\x8A\x9F\tnot-installed\tC:\\E\\GONE.TTE\t\tmissing-file\n");
    EXPECT_EQ(fonts.reported, 0);

    files.files.clear();  // installed fonts' links break too: they go first, in the system's order
    EXPECT_EQ(Run({"check", "--tsv"}), status::kRefused);
    EXPECT_EQ(console.out, "name\tfont\tfile\tchars\tstate\n"
                           "Xyz\tinstalled\tC:\\E\\OK.TTE\t\tmissing-file\n"
                           "AR PL UMing TW\tinstalled\tC:\\E\\OK.TTE\t\tmissing-file\n"
                           "Latin\tnot-installed\tC:\\E\\GONE.TTE\t\tmissing-file\n"
                           "\xE5\x8A\x9F\tnot-installed\tC:\\E\\GONE.TTE\t\tmissing-file\n");
}

TEST_F(EudclinkTest, LinkRefusesBeforeChangingAnything)
{
    files.files = {{"C:\\E\\OK.TTE", kFont}, {"C:\\E\\TEXT.TTE", "text"}, {"C:\\E\\OK.TXT", kFont}};
    const std::string longPath = "C:\\" + std::string(252, 'D') + "\\A.TTE";
    files.files[longPath] = kFont;
    const struct {
        CStringArray arguments;
        const char* says;
    } refusals[] = {
        {{"link", "Latin", "C:\\E\\OK.TTE"}, "\"Latin\" is not a font that can have a link"},
        {{"link", "Nowhere", "C:\\E\\OK.TTE"}, "--any-font links it all the same"},
        {{"link", "Xyz", "C:\\E\\OK.TXT"}, "only .tte and .ttf files"},
        {{"link", "Xyz", longPath}, "the full path is 261 bytes; a link holds at most 259"},
        {{"link", "Xyz", "C:\\E\\NONE.TTE"}, "C:\\E\\NONE.TTE: no such file"},
        {{"link", "--default", "C:\\E\\TEXT.TTE"}, "not a TrueType font"},
    };
    for (const auto& refusal : refusals) {
        EXPECT_EQ(Run(refusal.arguments), status::kRefused) << refusal.says;
        EXPECT_NE(console.err.find(refusal.says), std::string::npos) << console.err;
        EXPECT_EQ(std::count(events.begin(), events.end(), "open write"), 0) << refusal.says;
        EXPECT_EQ(std::count(events.begin(), events.end(), "EnableEUDC 0"), 0) << refusal.says;
    }
    EXPECT_TRUE(registry.values.empty());
}

TEST_F(EudclinkTest, LinkWritesUnderTheListedNameAsModifyDoes)
{
    files.files = {{"C:\\work\\NEW.TTE", kFont}};
    registry.Add("XYZ", "C:\\OLD.TTE");

    EXPECT_EQ(Run({"link", "xyz", "NEW.TTE"}), status::kDone);
    EXPECT_EQ(events, Events({"open read", "query Xyz", "close", "load GDI32.DLL", "find EnableEUDC", "EnableEUDC 0", "free",
                              "open write", "set Xyz", "close", "load GDI32.DLL", "find EnableEUDC",
                              "EnableEUDC 1", "free"}));
    ASSERT_EQ(registry.values.size(), 1u);
    EXPECT_EQ(registry.AnsiData("Xyz"), std::string("C:\\work\\NEW.TTE\0", 16));
    EXPECT_EQ(console.out, "Xyz\n  old link: C:\\OLD.TTE\n  new link: C:\\work\\NEW.TTE (4 EUDC characters)\n");

    EXPECT_EQ(Run({"link", "--any-font", "Later Font", "C:\\work\\NEW.TTE"}), status::kDone);
    EXPECT_NE(registry.Find("Later Font"), nullptr);
}

TEST_F(EudclinkTest, UnlinkDeletesWhatTheRegistryFindsAndANameWithoutLinkIsNoError)
{
    registry.Add("Gone Font", "C:\\E\\GONE.TTE");
    EXPECT_EQ(Run({"unlink", "gone font"}), status::kDone);
    EXPECT_NE(std::find(events.begin(), events.end(), "delete gone font"), events.end());  // as typed
    EXPECT_TRUE(registry.values.empty());

    // One lookup, and nothing switched or written.
    EXPECT_EQ(Run({"unlink", "--default"}), status::kDone);
    EXPECT_EQ(console.out, "SystemDefaultEUDCFont has no link; nothing was changed\n");
    EXPECT_EQ(events, Events({"open read", "query SystemDefaultEUDCFont", "close"}));
}

TEST_F(EudclinkTest, RegistryFailuresExitWithThree)
{
    files.files = {{"C:\\E\\OK.TTE", kFont}};
    registry.Add("Xyz", "C:\\E\\OK.TTE");
    registry.enumFailureAt = 0;
    EXPECT_EQ(Run({"list"}), status::kRegistry);
    EXPECT_EQ(console.err, "eudclink: cannot read HKEY_CURRENT_USER\\EUDC\\950 (error 5)\n");
    registry.enumFailureAt = -1;

    registry.canWrite = false;
    EXPECT_EQ(Run({"link", "Xyz", "C:\\E\\OK.TTE"}), status::kRegistry);
    EXPECT_EQ(Run({"unlink", "Xyz"}), status::kRegistry);
    EXPECT_EQ(console.err, "eudclink: Access Registry Database failed!\n");
    EXPECT_EQ(registry.values.size(), 1u);
}

TEST_F(EudclinkTest, WrongUsageSaysWhatIsWrongThenShowsTheUsage)
{
    const struct {
        CStringArray arguments;
        const char* firstLine;
    } wrongs[] = {
        {{}, "no command"},
        {{"bogus"}, "no command bogus"},
        {{"list", "extra"}, "list takes no operand, not 1 operand"},
        {{"list", "--csv"}, "list has no option --csv"},
        {{"list", "--tsv", "--json"}, "--tsv and --json cannot go together"},
        {{"link"}, "link takes a FONT and a FILE, not 0 operands"},
        {{"link", "--default", "Xyz", "F.TTE"}, "link --default takes one FILE, not 2 operands"},
        {{"unlink", "--default", "Xyz"}, "unlink --default takes no NAME, not 1 operand"},
        {{"import", "--replace"}, "import takes one FILE.reg, not 0 operands"},
        {{"unpack", "C:\\P", "--to"}, "--to needs a value"},
        {{"list", "--codepage"}, "--codepage needs a value: 932, 936, 949, 950, 1361 or acp"},
        {{"--codepage", "1252", "list"}, "--codepage takes 932, 936, 949, 950, 1361 or acp, not 1252"},
    };
    for (const auto& wrong : wrongs) {
        EXPECT_EQ(Run(wrong.arguments), status::kUsage) << wrong.firstLine;
        EXPECT_EQ(console.err.substr(0, console.err.find('\n')), std::string("eudclink: ") + wrong.firstLine);
        EXPECT_NE(console.err.find("\nusage: eudclink list [--tsv | --json]\n"), std::string::npos);
        EXPECT_EQ(console.out, "");
        EXPECT_TRUE(events.empty());
    }
    EXPECT_EQ(Run({"/?"}), status::kDone);
    EXPECT_TRUE(console.out.starts_with("usage:"));
    EXPECT_EQ(Run({"--version"}), status::kDone);
    EXPECT_EQ(console.out, "eudclink 9.9\n");
}

// The key's values as `values`, open for writing, in a registry of its own.
struct ImportKey {
    explicit ImportKey(const std::vector<StoredValue>& values) { registry.values = values; }

    ImportOutcome Apply(const ImportPlan& plan)
    {
        long result = registry::kSuccess;
        return ApplyImport(*registry.OpenKey(kLinkKey, registry::kWrite, result), plan);
    }

    Events events;
    FakeRegistry registry{events};
};

TEST(ImportPlan, AppliesTheFileInOrderAndReplaceEmptiesTheRest)
{
    const std::vector<StoredValue> current{Text(u"Keep", u"C:\\K.TTE"), Text(u"Old", u"C:\\O.TTE"),
                                           Text(u"Case", u"C:\\C.TTE"), Text(u"Same", u"C:\\S.TTE")};
    const std::vector<RegFileEntry> entries{{Text(u"Old", u"C:\\FIRST.TTE")},
                                            {Text(u"Old", u"C:\\NEW.TTE")},
                                            {Text(u"New", u"C:\\N.TTE")},
                                            {Text(u"CASE", u"C:\\C.TTE")},
                                            {Text(u"Same", u"C:\\S.TTE")},
                                            Deletion(u"keep"),
                                            Deletion(u"Never there")};
    ImportPlan plan = PlanImport(current, entries, false, UpperCaseKey);
    using Kind = ImportStep::Kind;
    std::vector<std::pair<Kind, std::u16string>> steps;
    for (const ImportStep& step : plan.steps)
        steps.emplace_back(step.kind, step.name);
    // The file's letter case is kept.
    EXPECT_EQ(steps, (decltype(steps){{Kind::Delete, u"Keep"}, {Kind::Delete, u"Case"}, {Kind::Change, u"Old"},
                                      {Kind::Add, u"CASE"}, {Kind::Add, u"New"}}));
    EXPECT_EQ(*plan.steps[2].after, Text(u"Old", u"C:\\NEW.TTE"));
    EXPECT_EQ(plan.unchanged, 1u);

    ImportKey key(current);
    EXPECT_EQ(key.Apply(plan), ImportOutcome::Applied);
    EXPECT_EQ(key.registry.values, (std::vector<StoredValue>{Text(u"Old", u"C:\\NEW.TTE"), Text(u"Same", u"C:\\S.TTE"),
                                                             Text(u"CASE", u"C:\\C.TTE"), Text(u"New", u"C:\\N.TTE")}));

    plan = PlanImport(current, {{Text(u"Same", u"C:\\S.TTE")}}, true, UpperCaseKey);
    EXPECT_EQ(plan.steps.size(), 3u);
    EXPECT_EQ(plan.unchanged, 1u);
}

TEST(ImportPlan, AFailedWriteUndoesEveryStepTaken)
{
    const std::vector<StoredValue> current{Text(u"A", u"C:\\A.TTE"), Text(u"B", u"C:\\B.TTE"),
                                           Text(u"C", u"C:\\C.TTE")};
    const ImportPlan plan = PlanImport(
        current, {Deletion(u"A"), {Text(u"b", u"C:\\NEW.TTE")}, {Text(u"C", u"C:\\NEW.TTE")}, {Text(u"D", u"C:\\D.TTE")}},
        false, UpperCaseKey);
    ASSERT_EQ(plan.steps.size(), 5u);  // B in other letters is deleted and added
    for (int failAt = 0; failAt < 5; ++failAt) {
        ImportKey key(current);
        key.registry.failWriteAt = failAt;
        EXPECT_EQ(key.Apply(plan), ImportOutcome::Undone) << failAt;
        std::vector<StoredValue> restored = key.registry.values;
        std::sort(restored.begin(), restored.end(), [](auto& x, auto& y) { return x.name < y.name; });
        EXPECT_EQ(restored, current) << failAt;
    }
}

// Another program deletes values after the import has read the key and before it writes:
// a value the file deletes is gone already, and one it changes is made anew. Neither is a
// failure, and nothing is undone.
TEST_F(EudclinkTest, ImportSucceedsWhenValuesVanishBetweenItsPlanAndItsWrites)
{
    files.files["C:\\work\\links.reg"] =
        "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\EUDC\\950]\r\n\"Gone\"=-\r\n\"Changed\"=\"C:\\\\NEW.TTE\"\r\n"
        "\"Added\"=\"C:\\\\ADDED.TTE\"\r\n\r\n";
    registry.Add("Gone", "C:\\GONE.TTE");
    registry.Add("Changed", "C:\\OLD.TTE");
    registry.Add("Kept", "C:\\KEPT.TTE");
    registry.beforeWriting = [&] { registry.values.erase(registry.values.begin(), registry.values.begin() + 2); };

    EXPECT_EQ(Run({"import", "C:\\work\\links.reg"}), status::kDone) << console.err;
    EXPECT_EQ(console.out, "deleted Gone\nchanged Changed\nadded   Added\n1 added, 1 changed, 1 deleted, 1 unchanged\n");
    EXPECT_EQ(registry.Find("Gone"), nullptr);
    EXPECT_EQ(registry.AnsiData("Changed"), std::string("C:\\NEW.TTE\0", 11));
    EXPECT_EQ(registry.AnsiData("Added"), std::string("C:\\ADDED.TTE\0", 13));
    EXPECT_EQ(registry.AnsiData("Kept"), "C:\\KEPT.TTE");
}

namespace {

// Draws nothing: keeps what it was asked for and gives fixed bytes.
class FakeCharts : public CharacterCharts {
public:
    bool DrawPng(const CString& font, const std::u16string& face, std::span<const char32_t> characters,
                 std::string& png) override
    {
        asked = {font, face, {characters.begin(), characters.end()}};
        png = "\x89PNG";
        return true;
    }
    struct Request {
        CString font;
        std::u16string face;
        std::vector<char32_t> characters;
        bool operator==(const Request&) const = default;
    } asked;
};

// kFont with a naming table whose US English family name is "EUDC" in UTF-16.
std::string NamedEudcFont()
{
    std::string cmap = kFont.substr(28);
    std::string names = Be(0, 2) + Be(1, 2) + Be(18, 2) + Be(3, 2) + Be(1, 2) + Be(0x409, 2) + Be(1, 2) + Be(8, 2) +
                        Be(0, 2) + std::string("\0E\0U\0D\0C", 8);
    return Be(0x00010000, 4) + Be(2, 2) + Be(32, 2) + Be(0, 4) + "cmap" + Be(0, 4) + Be(44, 4) +
           Be(static_cast<std::uint32_t>(cmap.size()), 4) + "name" + Be(0, 4) +
           Be(static_cast<std::uint32_t>(44 + cmap.size()), 4) + Be(static_cast<std::uint32_t>(names.size()), 4) +
           cmap + names;
}

}  // namespace

TEST_F(EudclinkTest, CharsListsEachCharacterWithTheCodePagesCodeAndChartDrawsThemAll)
{
    files.files = {{"C:\\E\\FOUR.TTE", kFont}, {"C:\\work\\NAMED.TTE", NamedEudcFont()}, {"C:\\E\\TEXT.TTE", "text"}};
    // U+E000 and U+E001 are FA40 and FA41 in the code page; the others it lacks.
    EXPECT_EQ(Run({"chars", "C:\\E\\FOUR.TTE", "--tsv"}), status::kDone);
    EXPECT_EQ(console.out, "unicode\tbig5\tchar\n"
                           "U+E000\tFA40\t\xEE\x80\x80\n"
                           "U+E001\tFA41\t\xEE\x80\x81\n"
                           "U+E002\t\t\xEE\x80\x82\n"
                           "U+E003\t\t\xEE\x80\x83\n");
    EXPECT_EQ(Run({"chars", "C:\\E\\FOUR.TTE"}), status::kDone);
    EXPECT_EQ(console.out, "unicode  big5  char\n"
                           "U+E000   FA40  \xEE\x80\x80\n"
                           "U+E001   FA41  \xEE\x80\x81\n"
                           "U+E002   -     \xEE\x80\x82\n"
                           "U+E003   -     \xEE\x80\x83\n"
                           "4 EUDC characters\n");

    EXPECT_EQ(Run({"chars", "C:\\E\\GONE.TTE"}), status::kRefused);
    EXPECT_EQ(console.err, "eudclink: C:\\E\\GONE.TTE: no such file\n");
    EXPECT_EQ(Run({"chars", "C:\\E\\TEXT.TTE"}), status::kRefused);
    EXPECT_EQ(Run({"chars"}), status::kUsage);

    FakeCharts charts;
    Eudclink drawing = with;
    drawing.charts = &charts;
    EXPECT_EQ(RunWith(drawing, {"chart", "NAMED.TTE", "out.png"}), status::kDone);
    EXPECT_EQ(charts.asked, FakeCharts::Request({"C:\\work\\NAMED.TTE", u"EUDC", {0xE000, 0xE001, 0xE002, 0xE003}}));
    EXPECT_EQ(files.files["C:\\work\\out.png"], "\x89PNG");
    EXPECT_EQ(console.out, "4 EUDC characters drawn to C:\\work\\out.png\n");
    // A font without a family name cannot be asked for by name: nothing is written.
    EXPECT_EQ(RunWith(drawing, {"chart", "C:\\E\\FOUR.TTE", "C:\\E\\four.png"}), status::kRefused);
    EXPECT_FALSE(files.files.contains("C:\\E\\four.png"));
}
