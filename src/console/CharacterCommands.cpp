// chars and chart: the EUDC characters a font file holds, as text and as a picture.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "console/Commands.h"
#include "console/ConsoleText.h"
#include "model/EudcCharacters.h"
#include "model/FontFaceName.h"

namespace {

// The file's characters and family name; nullopt, said, when it is no font file.
struct FontFile {
    CString path;
    std::vector<char32_t> characters;
    std::optional<std::u16string> face;
};

std::optional<FontFile> ReadFontFile(const Eudclink& with, const CString& file, bool needsFace)
{
    FontFile font;
    if (!with.files.FullPath(file, font.path)) {
        Complain(with, Shown(file, with.rules) + ": not a path");
        return std::nullopt;
    }
    const std::unique_ptr<ReadableFile> opened = with.files.IsFile(font.path) ? with.files.Open(font.path) : nullptr;
    if (!opened) {
        Complain(with, Shown(font.path, with.rules) + ": no such file");
        return std::nullopt;
    }
    std::optional<std::vector<char32_t>> characters = ListEudcCharacters(*opened);
    if (needsFace && characters)
        font.face = ReadFontFamilyName(*opened);
    if (!characters || (needsFace && !font.face)) {
        Complain(with, Shown(font.path, with.rules) + ": not a TrueType font with a readable character map" +
                           (needsFace ? " and family name" : ""));
        return std::nullopt;
    }
    font.characters = std::move(*characters);
    return font;
}

}  // namespace

int ListCharacters(const Eudclink& with, const CString& file, bool tsv)
{
    const std::optional<FontFile> font = ReadFontFile(with, file, false);
    if (!font)
        return status::kRefused;
    std::string text = tsv ? "unicode\tbig5\tchar\n" : "unicode  big5  char\n";
    for (const char32_t c : font->characters) {
        const std::string code = CodePageCodeOf(c, with.rules);
        const std::string glyph = Shown(std::u16string(1, static_cast<char16_t>(c)));
        if (tsv)
            text += CodePointText(c) + "\t" + code + "\t" + glyph + "\n";
        else
            text += CodePointText(c) + "   " + (code.empty() ? std::string("-   ") : code) + "  " + glyph + "\n";
    }
    if (!tsv)
        text += std::to_string(font->characters.size()) + " EUDC characters\n";
    with.console.Out(text);
    return status::kDone;
}

int ChartCharacters(const Eudclink& with, const CString& file, const CString& png)
{
    const std::optional<FontFile> font = ReadFontFile(with, file, true);
    if (!font)
        return status::kRefused;
    std::string bytes;
    if (with.charts == nullptr || !with.charts->DrawPng(font->path, *font->face, font->characters, bytes)) {
        Complain(with, Shown(font->path, with.rules) + ": the system could not draw its characters");
        return status::kRefused;
    }
    CString target;
    if (!with.files.FullPath(png, target) || !with.files.Replace(target, bytes)) {
        Complain(with, Shown(png, with.rules) + ": cannot be written");
        return status::kRefused;
    }
    with.console.Out(std::to_string(font->characters.size()) + " EUDC characters drawn to " +
                     Shown(target, with.rules) + "\n");
    return status::kDone;
}
