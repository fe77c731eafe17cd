// Another code page's key, the rows as JSON, and links carried to another machine: what
// pack writes, what unpack checks before it changes anything, and what it puts back.
#include <gtest/gtest.h>

#include <cstring>

#include "EudclinkFixture.h"
#include "model/PackManifest.h"

namespace {

// A literal's bytes, NULs included.
template <std::size_t N>
std::string Bytes(const char (&literal)[N])
{
    return std::string(literal, N - 1);
}

// ASCII as a registry editor file of version 5 holds it: UTF-16, little-endian.
std::string Utf16(std::string_view ascii)
{
    std::string bytes;
    for (const char c : ascii)
        bytes += {c, '\0'};
    return bytes;
}

// The machine that packs: a font with its editor's file, one whose name's second byte is
// a backslash (功), and a link to a missing file.
class PackTest : public EudclinkTest {
protected:
    void SetUp() override
    {
        files.files = {{"C:\\E\\A.TTE", kFont}, {"C:\\E\\A.EUF", "editor"}, {"C:\\E\\\xA5\x5C.TTE", kFont}};
        registry.Add("Xyz", "C:\\E\\A.TTE");
        registry.Add("SystemDefaultEUDCFont", "C:\\E\\\xA5\x5C.TTE");
        registry.Add("Gone", "C:\\E\\GONE.TTE");
        files.folders = {"C:\\E"};
    }

    // Empties this machine's key and files but the packed folder, as the other machine.
    void MoveToAnotherMachine()
    {
        std::erase_if(files.files, [](const auto& file) { return !file.first.starts_with("C:\\P\\"); });
        files.folders = {"C:\\P"};
        registry.values.clear();
    }

    std::string Manifest() { return files.files["C:\\P\\manifest.txt"]; }
};

}  // namespace

TEST_F(EudclinkTest, CodePageChoosesTheKeyTheFontsAndTheConversion)
{
    fonts.families = {{"Mincho", fonts::kShiftJisCharSet, fonts::kTrueType},
                      {"Ming", fonts::kBig5CharSet, fonts::kTrueType},
                      {"Both", fonts::kBig5CharSet, fonts::kTrueType, {fonts::kBig5CharSet, fonts::kShiftJisCharSet}}};
    files.files = {{"C:\\E\\OK.TTE", kFont}};
    registry.subkey = "EUDC\\932";
    EXPECT_EQ(Run({"list", "--tsv", "--codepage", "932"}), status::kDone) << console.err;
    EXPECT_EQ(codePages.used, 932u);
    EXPECT_EQ(console.out, "name\tfont\tfile\tchars\tstate\nSystemDefaultEUDCFont\tdefault\t\t\tunlinked\n"
                           "Mincho\tinstalled\t\t\tunlinked\nBoth\tinstalled\t\t\tunlinked\n");
    EXPECT_EQ(Run({"--codepage", "932", "link", "Ming", "C:\\E\\OK.TTE"}), status::kRefused);
    EXPECT_NE(console.err.find("with the Shift-JIS character set"), std::string::npos);
    EXPECT_EQ(Run({"--codepage", "932", "link", "mincho", "C:\\E\\OK.TTE"}), status::kDone) << console.err;
    EXPECT_EQ(registry.AnsiData("Mincho"), Bytes("C:\\E\\OK.TTE\0"));

    // The system's own: refused where it has no EUDC characters.
    codePages.systemCodePage = 1252;
    EXPECT_EQ(Run({"--codepage", "acp", "list"}), status::kRefused);
    EXPECT_EQ(console.err, "eudclink: the system's code page is 1252, which has no EUDC characters; name one "
                           "with --codepage\n");
    // Without --codepage: 950's key, which this registry does not have, and Big5's fonts too.
    EXPECT_EQ(Run({"list", "--tsv"}), status::kDone);
    EXPECT_NE(console.out.find("Mincho\tinstalled\t\t\tunlinked\nMing\t"), std::string::npos);
    EXPECT_EQ(events, Events({"open read"}));
}

TEST_F(EudclinkTest, JsonHasTheTsvsFieldsWithCharsANumberOrNull)
{
    files.files = {{"C:\\E\\OK.TTE", kFont}};
    registry.Add("Xyz", "C:\\E\\OK.TTE");
    registry.Add("Say \"hi\"\\", "C:\\E\\GONE.TTE");
    EXPECT_EQ(Run({"check", "--json"}), status::kRefused);
    EXPECT_EQ(console.out, "[\n  {\"name\": \"Say \\\"hi\\\"\\\\\", \"font\": \"not-installed\", \"file\": "
                           "\"C:\\\\E\\\\GONE.TTE\", \"chars\": null, \"state\": \"missing-file\"}\n]\n");
    EXPECT_EQ(Run({"list", "--json"}), status::kDone);
    EXPECT_NE(console.out.find("{\"name\": \"Xyz\", \"font\": \"installed\", \"file\": \"C:\\\\E\\\\OK.TTE\", "
                               "\"chars\": 4, \"state\": \"linked\"},\n"),
              std::string::npos);
    registry.values.clear();
    EXPECT_EQ(Run({"check", "--json"}), status::kDone);
    EXPECT_EQ(console.out, "[]\n");
}

TEST_F(PackTest, PackWritesTheKeyTheFilesAndAManifestThatUnpackTakesElsewhere)
{
    ASSERT_EQ(Run({"pack", "C:\\P"}), status::kDone) << console.err;
    EXPECT_NE(console.out.find("link only: C:\\E\\GONE.TTE (Gone): no such file\n"), std::string::npos);
    EXPECT_EQ(files.files["C:\\P\\A.TTE"], kFont);
    EXPECT_EQ(files.files["C:\\P\\A.EUF"], "editor");
    EXPECT_EQ(files.files["C:\\P\\\xA5\x5C.TTE"], kFont);
    const ManifestReading reading = ReadManifest(Manifest());
    ASSERT_TRUE(reading.ok) << reading.error;
    EXPECT_EQ(reading.manifest.key, u"HKEY_CURRENT_USER\\EUDC\\950");
    ASSERT_EQ(reading.manifest.entries.size(), 5u);
    EXPECT_EQ(reading.manifest.entries[2], (PackEntry{PackEntry::Kind::Editor, 6, FakeHashing().Sha256(*files.Open("C:\\P\\A.EUF")),
                                                     u"A.EUF", u"C:\\E\\A.EUF"}));
    EXPECT_NE(Manifest().find("link-only\tC:\\E\\GONE.TTE\n"), std::string::npos);

    const std::vector<StoredValue> packed = registry.values;
    MoveToAnotherMachine();
    EXPECT_EQ(Run({"unpack", "C:\\P"}), status::kUnpackedBroken);  // the missing file's link cannot work
    EXPECT_NE(console.out.find("missing-file"), std::string::npos);
    EXPECT_EQ(files.files["C:\\E\\A.EUF"], "editor");
    EXPECT_EQ(files.files["C:\\E\\\xA5\x5C.TTE"], kFont);
    EXPECT_EQ(registry.values, packed);

    // Into one folder: each link follows its file; the same files again are no conflict.
    MoveToAnotherMachine();
    EXPECT_EQ(Run({"unpack", "--to", "C:\\New\\Fonts", "C:\\P"}), status::kUnpackedBroken);
    EXPECT_EQ(files.files["C:\\New\\Fonts\\A.EUF"], "editor");
    EXPECT_EQ(registry.AnsiData("SystemDefaultEUDCFont"), Bytes("C:\\New\\Fonts\\\xA5\x5C.TTE\0"));
    EXPECT_EQ(registry.AnsiData("Gone"), "C:\\E\\GONE.TTE");  // as the key held it
    EXPECT_EQ(Run({"unpack", "--to", "C:\\New\\Fonts", "C:\\P"}), status::kUnpackedBroken);
    EXPECT_NE(console.out.find("already there C:\\New\\Fonts\\A.TTE"), std::string::npos) << console.err;
}

TEST_F(PackTest, StrictPackRefusesALinkWithoutItsFileAndLeavesNoFolder)
{
    EXPECT_EQ(Run({"pack", "--strict", "C:\\P"}), status::kRefused);
    EXPECT_NE(console.err.find("C:\\E\\GONE.TTE (Gone): no such file"), std::string::npos);
    EXPECT_EQ(files.KindOf("C:\\P"), Files::Kind::Nothing);
    files.failCopyAt = 1;
    EXPECT_EQ(Run({"pack", "C:\\P"}), status::kRefused);
    EXPECT_EQ(files.KindOf("C:\\P"), Files::Kind::Nothing);
    EXPECT_EQ(Run({"pack", "C:\\E"}), status::kRefused);  // a folder with files in it
    EXPECT_NE(console.err.find("not a new or empty folder"), std::string::npos);
}

// Each fault leaves the other machine's files and key as they were, and the key is never
// opened for writing; a changed byte is found where the copy was written, and put back.
TEST_F(PackTest, UnpackRefusesAFolderThatIsNotWholeAndChangesNothing)
{
    ASSERT_EQ(Run({"pack", "C:\\P"}), status::kDone);
    MoveToAnotherMachine();
    files.files["C:\\E\\A.TTE"] = "another font";
    files.folders.insert("C:\\E");
    registry.Add("Mine", "C:\\MINE.TTE");
    const auto before = std::make_pair(decltype(files.files){{"C:\\E\\A.TTE", "another font"}}, registry.values);
    const std::string manifest = Manifest();
    const struct {
        std::function<void()> fault;
        const char* says;
        const char* overwrite;
    } faults[] = {
        {[&] { files.files["C:\\P\\\xA5\x5C.TTE"][40] ^= 1; }, "C:\\P\\\xE5\x8A\x9F.TTE: its content is not what was packed",
         "--overwrite"},
        {[&] { files.changeCopyAt = files.copies + 1; }, "C:\\P\\A.EUF: its content is not what was packed", "--overwrite"},
        {[&] { files.files.erase("C:\\P\\A.EUF"); }, "C:\\P\\A.EUF: no such file in the packed folder", "--overwrite"},
        {[&] { files.files["C:\\P\\manifest.txt"] = manifest.substr(0, manifest.rfind("end")); }, "no end line", "--overwrite"},
        {[&] { files.files["C:\\P\\manifest.txt"] = "eudclink pack 1\nkey\tHKEY_CURRENT_USER\\EUDC\\950\n"
                                                    "links\t1\t" + std::string(64, '0') + "\t..\\links.reg\nend\t1\n"; },
         "line 3: not a file name of the folder", "--overwrite"},
        {[] {}, "C:\\E\\A.TTE: another file is there; --overwrite keeps it as A.TTE.old", "--replace"},
    };
    for (const auto& fault : faults) {
        const auto packed = files.files;
        fault.fault();
        EXPECT_EQ(Run({"unpack", "--replace", fault.overwrite, "C:\\P"}), status::kRefused) << fault.says;
        EXPECT_NE(console.err.find(fault.says), std::string::npos) << console.err;
        for (const std::string& event : events)
            EXPECT_FALSE(event.starts_with("open write")) << fault.says;
        std::erase_if(files.files, [](const auto& file) { return file.first.starts_with("C:\\P\\"); });
        EXPECT_EQ(std::make_pair(files.files, registry.values), before) << fault.says;
        files.files = packed;
        files.changeCopyAt = -1;
    }
}

// A folder from elsewhere may name any path and any change: unpack writes only plain files
// on this machine's own drives, never reaches for another machine, and takes away no link
// unless told to.
TEST_F(PackTest, UnpackOfACraftedFolderWritesOnlyPlainLocalFilesAndDeletesNoLinkUnasked)
{
    ASSERT_EQ(Run({"pack", "C:\\P"}), status::kDone);
    MoveToAnotherMachine();
    registry.Add("Mine", "C:\\MINE.TTE");
    const auto before = std::make_pair(decltype(files.files){}, registry.values);
    // The folder as its sender made it: a file's bytes and its entry's original path.
    const auto craft = [&](const char* stored, std::string bytes, std::u16string original) {
        files.files[std::string("C:\\P\\") + stored] = bytes;
        ManifestReading reading = ReadManifest(Manifest());
        for (PackEntry& entry : reading.manifest.entries) {
            if (entry.stored != Big5ToWide(stored))
                continue;
            entry.size = bytes.size();
            entry.sha256 = FakeHashing().Sha256(*files.Open(std::string("C:\\P\\") + stored));
            if (!original.empty())
                entry.original = original;
        }
        files.files["C:\\P\\manifest.txt"] = WriteManifest(reading.manifest);
    };
    const std::string links = files.files["C:\\P\\links.reg"];
    const struct {
        std::function<void()> fault;
        std::string says;
    } faults[] = {
        {[&] { craft("links.reg", links + Utf16("\"Mine\"=-\r\n"), {}); }, "deletes the link Mine, which only --replace allows"},
        {[&] { craft("A.TTE", kFont, u"C:\\E\\NUL.TTE"); }, "not a full path"},
        {[&] { craft("A.TTE", kFont, u"\\\\?\\C:\\E\\A.TTE"); }, "not a full path"},
        {[&] { craft("A.TTE", kFont, u"C:\\E\\evil.dll:A.TTE"); }, "not a full path"},
        {[&] { craft("\xA5\x5C.TTE", kFont, u"C:\\E\\\u00E9\u00C9.TTE"); }, "C:\\E\\\u00E9\u00C9.TTE: a name that this code page cannot hold"},
        {[&] {
             const std::string manifest = Manifest();
             files.files["C:\\P\\manifest.txt"] = manifest.substr(0, manifest.find("\t", manifest.find("\nfont\t") + 1) + 1) +
                                                    "10" + manifest.substr(manifest.find("\t", manifest.find("\nfont\t") + 6));
             hashing.hashed = 0;
         },
         "C:\\P\\A.TTE: " + std::to_string(kFont.size()) + " bytes, where 10 were packed"},
    };
    for (const auto& fault : faults) {
        const auto packed = files.files;
        fault.fault();
        EXPECT_EQ(Run({"unpack", "C:\\P"}), status::kRefused) << fault.says;
        EXPECT_NE(console.err.find(fault.says), std::string::npos) << console.err;
        std::erase_if(files.files, [](const auto& file) { return file.first.starts_with("C:\\P\\"); });
        EXPECT_EQ(std::make_pair(files.files, registry.values), before) << fault.says;
        files.files = packed;
    }
    EXPECT_LE(hashing.hashed, 1) << "a file larger than its entry says was hashed";  // the key's file alone

    // A font packed from a share goes back as a link only, its share never reached for.
    std::string& manifest = files.files["C:\\P\\manifest.txt"];
    for (std::size_t at; (at = manifest.find("\tC:\\E\\A.")) != std::string::npos;)
        manifest.replace(at, 6, "\t\\\\host\\eudc\\");
    files.reached.clear();
    EXPECT_EQ(Run({"unpack", "C:\\P"}), status::kUnpackedBroken) << console.err;  // the missing file's link
    EXPECT_NE(console.out.find("left on another machine, its link kept: \\\\host\\eudc\\A.TTE\n"), std::string::npos);
    for (const CString& path : files.reached)
        EXPECT_FALSE(path.starts_with("\\\\")) << path;
}

TEST_F(PackTest, UnpackPutsBackTheFilesWhenACopyOrTheKeyFails)
{
    ASSERT_EQ(Run({"pack", "C:\\P"}), status::kDone);
    MoveToAnotherMachine();
    files.files["C:\\E\\A.TTE"] = "another font";
    files.folders.insert("C:\\E");
    const auto before = std::make_pair(files.files, files.folders);

    files.copies = 0;
    files.failCopyAt = 2;  // after A.TTE was renamed and copied, A.EUF copied
    EXPECT_EQ(Run({"unpack", "--overwrite", "C:\\P"}), status::kRefused);
    EXPECT_NE(console.err.find("the files copied were removed again"), std::string::npos);
    EXPECT_EQ(std::make_pair(files.files, files.folders), before);

    files.failCopyAt = -1;
    registry.canWrite = false;
    registry.canCreate = false;
    EXPECT_EQ(Run({"unpack", "--overwrite", "C:\\P"}), status::kRegistry);
    EXPECT_EQ(std::make_pair(files.files, files.folders), before);
    EXPECT_TRUE(registry.values.empty());

    registry.canWrite = registry.canCreate = true;
    EXPECT_EQ(Run({"unpack", "--overwrite", "C:\\P"}), status::kUnpackedBroken);  // the missing file's link
    EXPECT_EQ(files.files["C:\\E\\A.TTE.old"], "another font");
    EXPECT_EQ(files.files["C:\\E\\A.TTE"], kFont);
}

TEST(PackManifest, ReadsWhatItWritesAndNothingThatCouldLeaveTheFolder)
{
    const PackManifest manifest{u"HKEY_CURRENT_USER\\EUDC\\932",
                                {{PackEntry::Kind::Links, 10, std::string(64, 'a'), u"links.reg", {}},
                                 {PackEntry::Kind::Font, 1u << 20, std::string(64, 'b'), u"\u529F.TTE", u"C:\\E\\\u529F.TTE"},
                                 {PackEntry::Kind::LinkOnly, 0, {}, {}, u"\\\\server\\share\\OLD.TTE"}}};
    const std::string text = WriteManifest(manifest);
    EXPECT_EQ(ReadManifest(text).manifest, manifest);
    std::string crlf;
    for (const char c : text)
        crlf += c == '\n' ? "\r\n" : std::string(1, c);
    EXPECT_TRUE(ReadManifest(crlf).ok);  // mailed as text

    for (const std::string& cut : {text.substr(0, text.size() - 1), text.substr(0, text.rfind("end")),
                                   text + "font\n", std::string("\xEF\xBB\xBF") + text})
        EXPECT_FALSE(ReadManifest(cut).ok) << cut;
    for (const char* stored : {"..", "a\\b.TTE", "C:x.TTE", "", "LINKS.REG", "Manifest.txt", "x.TTE."}) {
        PackManifest bad = manifest;
        bad.entries[1].stored.assign(stored, stored + std::strlen(stored));
        EXPECT_FALSE(ReadManifest(WriteManifest(bad)).ok) << stored;
    }
    for (const char16_t* original : {u"E\\A.TTE", u"C:A.TTE", u"C:\\A\tB.TTE"}) {
        PackManifest bad = manifest;
        bad.entries[1].original = original;
        EXPECT_FALSE(ReadManifest(WriteManifest(bad)).ok);
    }
    // A file anywhere else than a font, or an editor's file beside one.
    PackManifest elsewhere = manifest;
    elsewhere.entries.push_back({PackEntry::Kind::Editor, 1, std::string(64, 'c'), u"run.EUF", u"C:\\Startup\\run.EUF"});
    EXPECT_FALSE(ReadManifest(WriteManifest(elsewhere)).ok);
    elsewhere.entries.back().original = u"C:\\E\\\u529F.euf";
    EXPECT_TRUE(ReadManifest(WriteManifest(elsewhere)).ok);
    elsewhere.entries[1].original = u"C:\\Startup\\run.bat";
    EXPECT_FALSE(ReadManifest(WriteManifest(elsewhere)).ok);

    PackManifest noKeyFile = manifest;
    noKeyFile.entries.erase(noKeyFile.entries.begin());
    EXPECT_EQ(ReadManifest(WriteManifest(noKeyFile)).error, "not one key file");
}
