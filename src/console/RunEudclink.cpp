#include "console/RunEudclink.h"

#include <set>
#include <string>

#include "console/Commands.h"
#include "model/FontList.h"

namespace {

constexpr char kUsage[] =
    "usage: eudclink list [--tsv]\n"
    "       eudclink check [--tsv]\n"
    "       eudclink link [--any-font] FONT FILE\n"
    "       eudclink link --default FILE\n"
    "       eudclink unlink NAME\n"
    "       eudclink unlink --default\n"
    "       eudclink export FILE.reg\n"
    "       eudclink import [--replace] FILE.reg\n"
    "       eudclink chars FILE [--tsv]\n"
    "       eudclink chart FILE OUT.png\n"
    "       eudclink --help | -h | /?\n"
    "       eudclink --version\n";

constexpr char kHelp[] =
    "\n"
    "Links EUDC font files to fonts through HKEY_CURRENT_USER\\EUDC\\950.\n"
    "\n"
    "  list      every link: the system-wide default, each font that can have a link,\n"
    "            then every other value of the key; --tsv for tab-separated UTF-8\n"
    "  check     only the links that cannot work (missing-file, not-a-font, bad-value)\n"
    "  link      links a .tte or .ttf file to a listed font (--any-font: any name) or to\n"
    "            the system-wide default, with EUDC support switched off around it\n"
    "  unlink    deletes the link of a name, with EUDC support switched off around it\n"
    "  export    writes the whole key to a registry editor file (version 5)\n"
    "  import    applies a registry editor file for the key, all or nothing;\n"
    "            --replace makes the key exactly the file's content\n"
    "  chars     every EUDC character (U+E000 to U+F8FF) a font file holds, with its\n"
    "            Big5 code; --tsv for tab-separated UTF-8\n"
    "  chart     draws those characters from the file into a PNG picture\n"
    "\n"
    "Exit status: 0 done, 1 refused or a broken link found, 2 wrong usage,\n"
    "3 the registry could not be read or written.\n";

// A command line split into its options (which the command must know) and the rest.
struct Parsed {
    std::set<CString> options;
    CStringArray operands;
};

bool Split(const CStringArray& arguments, const std::set<CString>& known, Parsed& parsed)
{
    bool operandsOnly = false;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const CString& argument = arguments[i];
        if (!operandsOnly && argument == "--") {
            operandsOnly = true;
        } else if (!operandsOnly && argument.starts_with("--")) {
            if (!known.contains(argument))
                return false;
            parsed.options.insert(argument);
        } else {
            parsed.operands.push_back(argument);
        }
    }
    return true;
}

int Usage(const Eudclink& with)
{
    with.console.Err(kUsage);
    return status::kUsage;
}

}  // namespace

int RunEudclink(const Eudclink& with, const CStringArray& arguments)
{
    if (arguments.empty())
        return Usage(with);
    const CString& command = arguments[0];
    if (arguments.size() == 1 && (command == "--help" || command == "-h" || command == "/?")) {
        with.console.Out(std::string(kUsage) + kHelp);
        return status::kDone;
    }
    if (arguments.size() == 1 && command == "--version") {
        with.console.Out(std::string("eudclink ") + with.version + "\n");
        return status::kDone;
    }

    Parsed parsed;
    const auto has = [&](const char* option) { return parsed.options.contains(option); };
    if (command == "list" || command == "check") {
        if (!Split(arguments, {"--tsv"}, parsed) || !parsed.operands.empty())
            return Usage(with);
        return ListLinks(with, has("--tsv"), command == "check");
    }
    if (command == "link") {
        if (!Split(arguments, {"--any-font", "--default"}, parsed))
            return Usage(with);
        if (has("--default") && !has("--any-font") && parsed.operands.size() == 1)
            return LinkFont(with, {}, false, parsed.operands[0]);
        if (!has("--default") && parsed.operands.size() == 2 && !parsed.operands[0].empty())
            return LinkFont(with, parsed.operands[0], has("--any-font"), parsed.operands[1]);
        return Usage(with);
    }
    if (command == "unlink") {
        if (!Split(arguments, {"--default"}, parsed))
            return Usage(with);
        if (has("--default") && parsed.operands.empty())
            return UnlinkFont(with, kSystemDefaultEUDCFont);
        if (!has("--default") && parsed.operands.size() == 1)
            return UnlinkFont(with, parsed.operands[0]);
        return Usage(with);
    }
    if (command == "export") {
        if (!Split(arguments, {}, parsed) || parsed.operands.size() != 1)
            return Usage(with);
        return ExportLinks(with, parsed.operands[0]);
    }
    if (command == "import") {
        if (!Split(arguments, {"--replace"}, parsed) || parsed.operands.size() != 1)
            return Usage(with);
        return ImportLinks(with, parsed.operands[0], has("--replace"));
    }
    if (command == "chars") {
        if (!Split(arguments, {"--tsv"}, parsed) || parsed.operands.size() != 1)
            return Usage(with);
        return ListCharacters(with, parsed.operands[0], has("--tsv"));
    }
    if (command == "chart") {
        if (!Split(arguments, {}, parsed) || parsed.operands.size() != 2)
            return Usage(with);
        return ChartCharacters(with, parsed.operands[0], parsed.operands[1]);
    }
    return Usage(with);
}
