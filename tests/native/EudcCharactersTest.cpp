// The EUDC characters counted in fonts built here byte by byte, and the fonts refused,
// each read in the parts where the file says they are.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "LinkDoubles.h"
#include "model/EudcCharacters.h"

namespace {

// Big-endian numbers appended, as an sfnt holds them.
struct Be {
    std::string bytes;
    Be& U16(std::uint32_t v)
    {
        bytes += static_cast<char>(v >> 8 & 0xFF);
        bytes += static_cast<char>(v & 0xFF);
        return *this;
    }
    Be& U32(std::uint32_t v) { return U16(v >> 16).U16(v & 0xFFFF); }
};

struct Segment {
    std::uint16_t start, end, delta, rangeOffset = 0;
};
// The idRangeOffset by which segment i of n finds its first glyph at glyphs[index].
std::uint16_t ToGlyph(std::size_t i, std::size_t n, std::size_t index) { return static_cast<std::uint16_t>(2 * (n - i + index)); }

std::string Format4(const std::vector<Segment>& segments, const std::vector<std::uint16_t>& glyphs = {})
{
    const std::size_t n = segments.size();
    Be b;
    b.U16(4).U16(16 + 8 * n + 2 * glyphs.size()).U16(0).U16(2 * n).U16(0).U16(0).U16(0);
    for (const Segment& s : segments) b.U16(s.end);
    b.U16(0);
    for (const Segment& s : segments) b.U16(s.start);
    for (const Segment& s : segments) b.U16(s.delta);
    for (const Segment& s : segments) b.U16(s.rangeOffset);
    for (std::uint16_t glyph : glyphs) b.U16(glyph);
    return b.bytes;
}

struct Group {
    std::uint32_t start, end, glyph;
};
std::string Format12(const std::vector<Group>& groups)
{
    Be b;
    b.U16(12).U16(0).U32(16 + 12 * groups.size()).U32(0).U32(groups.size());
    for (const Group& g : groups) b.U32(g.start).U32(g.end).U32(g.glyph);
    return b.bytes;
}

std::string Format6(std::uint16_t firstCode, const std::vector<std::uint16_t>& glyphs)
{
    Be b;
    b.U16(6).U16(10 + 2 * glyphs.size()).U16(0).U16(firstCode).U16(glyphs.size());
    for (std::uint16_t glyph : glyphs) b.U16(glyph);
    return b.bytes;
}

struct Encoding {
    std::uint16_t platform, encoding;
    std::string subtable;
};
std::string Cmap(const std::vector<Encoding>& encodings)
{
    Be b;
    b.U16(0).U16(encodings.size());
    std::uint32_t offset = 4 + 8 * encodings.size();
    for (const Encoding& e : encodings) {
        b.U16(e.platform).U16(e.encoding).U32(offset);
        offset += e.subtable.size();
    }
    for (const Encoding& e : encodings) b.bytes += e.subtable;
    return b.bytes;
}

// A 'head' of four bytes, then the character map: cmap's record at 28, its table at 48.
std::string Font(const std::string& cmap, std::uint32_t version = 0x00010000)
{
    Be b;
    b.U32(version).U16(2).U16(32).U16(1).U16(0);
    b.U32(0x68656164).U32(0).U32(44).U32(4);                // head
    b.U32(0x636D6170).U32(0).U32(48).U32(cmap.size());      // cmap
    b.U32(0x00010000);
    b.bytes += cmap;
    return b.bytes;
}

std::string Patched(std::string bytes, std::size_t at, std::uint32_t value, int width)
{
    for (int i = width - 1; i >= 0; --i, value >>= 8) bytes[at + i] = static_cast<char>(value & 0xFF);
    return bytes;
}

// The count read in parts, which must read nothing past the font's end.
std::optional<std::size_t> Counted(const std::string& font)
{
    FakeFiles::File file(font);
    const std::optional<std::size_t> count = CountEudcCharacters(file);
    for (const auto& [offset, size] : file.reads)
        EXPECT_TRUE(offset <= font.size() && size <= font.size() - offset) << size << " bytes at " << offset;
    return count;
}

std::optional<std::size_t> CountIn(const std::string& subtable, std::uint16_t platform = 3, std::uint16_t encoding = 1)
{
    return Counted(Font(Cmap({{platform, encoding, subtable}})));
}

}  // namespace

TEST(CountEudcCharacters, Format4CountsCodePointsOfTheAreaWithAGlyph)
{
    // Glyph c + delta mod 65536, which is 0 for U+E105; segments cross both edges.
    EXPECT_EQ(CountIn(Format4({{0x41, 0x42, 1}, {0xDFF0, 0xE00F, 1}, {0xE100, 0xE10F, 0x10000 - 0xE105},
                               {0xF8F0, 0xF90F, 1}, {0xFFFF, 0xFFFF, 1}})),
              16u + 15u + 16u);

    // Glyphs from the array, the delta added only to those not 0; an entry past the
    // subtable's end is no glyph, and the segments beside it still count.
    const std::size_t n = 5;
    EXPECT_EQ(CountIn(Format4({{0xE000, 0xE003, 0, ToGlyph(0, n, 0)},
                               {0xE010, 0xE011, 0xFFF7, ToGlyph(1, n, 4)},  // 9 - 9 and 0: none
                               {0xE020, 0xE020, 0xFFF7, ToGlyph(2, n, 6)},  // 10 - 9
                               {0xE030, 0xE031, 0, ToGlyph(3, n, 6)},       // 10, then past the end
                               {0xFFFF, 0xFFFF, 1}},
                              {5, 0, 7, 8, 9, 0, 10})),
              3u + 1u + 1u);

    // The first segment whose end is at or above a code point decides it, even out of order.
    EXPECT_EQ(CountIn(Format4({{0xE000, 0xE00F, 1}, {0xE005, 0xE01F, 1}})), 32u);
    EXPECT_EQ(CountIn(Format4({{0xE080, 0xE0FF, 1}, {0xE000, 0xE00F, 1}, {0xE000, 0xE10F, 1}})), 128u + 16u);
}

TEST(CountEudcCharacters, Format12AndFormat6CountEachCodePointOnce)
{
    EXPECT_EQ(CountIn(Format12({{0xDF00, 0xE0FF, 1}, {0xF800, 0x10100, 1}, {0xE200, 0xE20F, 0},
                                {0xE000, 0xE00F, 5}, {0xE300, 0xE2FF, 1}}), 3, 10),
              256u + 256u + 15u);
    EXPECT_EQ(CountIn(Format12({{0, 0x10FFFF, 1}, {0xE000, 0xF8FF, 1}}), 0, 4), 6400u);
    EXPECT_EQ(CountIn(Format6(0xDFFE, {1, 1, 0, 1, 0})), 1u);
}

TEST(CountEudcCharacters, PrefersTheFullRepertoireAndReadsOnlyUnicodeMaps)
{
    const std::string ten = Format4({{0xE000, 0xE009, 1}});
    const std::string twenty = Format12({{0xE000, 0xE013, 1}});
    const std::string thirty = Format6(0xE000, std::vector<std::uint16_t>(30, 1));
    EXPECT_EQ(Counted(Font(Cmap({{3, 1, ten}, {3, 10, twenty}}))), 20u);
    EXPECT_EQ(Counted(Font(Cmap({{3, 10, twenty}, {0, 3, ten}}))), 20u);
    EXPECT_EQ(Counted(Font(Cmap({{1, 0, thirty}, {0, 3, ten}, {3, 0, thirty}}))), 10u);
    EXPECT_EQ(Counted(Font(Cmap({{1, 0, thirty}, {3, 0, ten}, {0, 5, twenty}}))), std::nullopt);
    // A broken map gives way to a sound one.
    const std::string brokenTwenty = Patched(twenty, 12, 2, 4);
    EXPECT_EQ(Counted(Font(Cmap({{3, 10, brokenTwenty}, {3, 1, ten}}))), 10u);
    EXPECT_EQ(Counted(Font(Cmap({{3, 10, brokenTwenty}}))), std::nullopt);
}

TEST(CountEudcCharacters, RefusesWhatIsNotATrueTypeFont)
{
    const std::string cmap = Cmap({{3, 1, Format4({{0xE000, 0xE009, 1}})}});
    EXPECT_EQ(Counted(Font(cmap, 0x74727565)), 10u);  // 'true'
    EXPECT_EQ(Counted(Font(cmap, 0x4F54544F)), std::nullopt);  // 'OTTO'
    EXPECT_EQ(Counted(Font(cmap, 0x74746366)), std::nullopt);  // 'ttcf'
    EXPECT_EQ(Counted(""), std::nullopt);
    EXPECT_EQ(Counted("This is a text file, not a font at all."), std::nullopt);
    EXPECT_EQ(Counted(Font(cmap).substr(0, 12)), std::nullopt);
    EXPECT_EQ(Counted(Patched(Font(cmap), 28, 0x636D6171, 4)), std::nullopt);  // no 'cmap'
}

TEST(CountEudcCharacters, RefusesEveryOffsetAndCountThatPointsOutside)
{
    const std::string font = Font(Cmap({{3, 1, Format4({{0xE000, 0xE009, 1}})}}));
    ASSERT_EQ(Counted(font), 10u);
    // Each cut is a buffer of its own, so that the sanitizer sees a read past it.
    for (std::size_t size = 0; size < font.size(); ++size)
        EXPECT_EQ(Counted(std::string(font, 0, size)), std::nullopt) << size << " bytes";

    const struct {
        std::size_t at;
        std::uint32_t value;
        int width;
        const char* what;
    } breaks[] = {
        {4, 5, 2, "table directory past the end"},
        {36, 49, 4, "cmap past the end"},
        {40, 0xFFFFFFFF, 4, "cmap length near 4 GB"},
        {36, 0xFFFFFFF0, 4, "cmap offset near 4 GB"},
        {48 + 2, 5, 2, "encoding records past the cmap"},
        {48 + 8, 12 + 16 + 8 - 1, 4, "subtable past the cmap"},
        {48 + 8, 0xFFFFFFFE, 4, "subtable offset near 4 GB"},
        {60 + 2, 16 + 8 + 1, 2, "subtable length past the cmap"},
        {60 + 6, 4, 2, "segCount too large"},
        {60 + 6, 1, 2, "segCount odd"},
    };
    for (const auto& b : breaks)
        EXPECT_EQ(Counted(Patched(font, b.at, b.value, b.width)), std::nullopt) << b.what;

    // 0x15555556 groups of 12 bytes wrap to 8 bytes in 32 bits.
    EXPECT_EQ(CountIn(Patched(Format12({{0xE000, 0xE009, 1}}), 12, 0x15555556, 4)), std::nullopt);
}

TEST(CountEudcCharacters, ReadsOnlyTheHeaderTheDirectoryAndTheCharacterMap)
{
    // The character map after a megabyte of other tables, as the directory says.
    const std::string cmap = Cmap({{3, 1, Format4({{0xE000, 0xE009, 1}})}});
    const std::size_t at = 48 + (1u << 20);
    std::string font = Patched(Font(cmap), 36, at, 4);
    font.insert(48, std::string(at - 48, '\0'));
    FakeFiles::File file(font);
    EXPECT_EQ(CountEudcCharacters(file), 10u);
    const std::vector<std::pair<std::uint64_t, std::size_t>> parts = {{0, 12}, {12, 32}, {at, cmap.size()}};
    EXPECT_EQ(file.reads, parts);
}

TEST(CountEudcCharacters, ReadsACharacterMapUpToTheLimitAndNeverALargerOne)
{
    // A map padded to its length: its subtable sits at the start.
    const std::string cmap = Cmap({{3, 1, Format4({{0xE000, 0xE009, 1}})}});
    for (const std::size_t length : {kLargestCharacterMap, kLargestCharacterMap + 1}) {
        std::string font = Patched(Font(cmap), 40, static_cast<std::uint32_t>(length), 4);
        font.resize(48 + length, '\0');
        const bool withinLimit = length == kLargestCharacterMap;
        FakeFiles::File file(font);
        EXPECT_EQ(CountEudcCharacters(file), withinLimit ? std::optional<std::size_t>(10) : std::nullopt) << length;
        EXPECT_EQ(file.reads.size(), withinLimit ? 3u : 2u) << "the header, the directory, the map";
    }
}

TEST(ListEudcCharacters, ListsInAscendingOrderWhatTheCountCounts)
{
    // Crossing the area's edges, one glyph 0 (U+E105), a segment decided by an earlier one.
    const std::string font = Font(Cmap({{3, 1, Format4({{0xDFFE, 0xE001, 1}, {0xE100, 0xE107, 0x10000 - 0xE105},
                                                        {0xE000, 0xE0FF, 1}, {0xF8F0, 0xF90F, 1},
                                                        {0xFFFF, 0xFFFF, 1}})}}));
    FakeFiles::File file(font);
    const std::optional<std::vector<char32_t>> listed = ListEudcCharacters(file);
    ASSERT_TRUE(listed);
    std::vector<char32_t> expected = {0xE000, 0xE001, 0xE100, 0xE101, 0xE102, 0xE103, 0xE104, 0xE106, 0xE107};
    for (char32_t c = 0xF8F0; c <= 0xF8FF; ++c)
        expected.push_back(c);
    EXPECT_EQ(*listed, expected);
    EXPECT_EQ(Counted(font), listed->size());

    FakeFiles::File text(std::string("not a font"));
    EXPECT_EQ(ListEudcCharacters(text), std::nullopt);
}
