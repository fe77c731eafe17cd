#include "console/RunEudclink.h"

#include <map>
#include <set>
#include <string>

#include "console/Commands.h"
#include "console/ConsoleText.h"
#include "model/FontList.h"

namespace {

constexpr char kUsage[] =
    "usage: eudclink list [--tsv | --json]\n"
    "       eudclink check [--tsv | --json]\n"
    "       eudclink link [--any-font] FONT FILE\n"
    "       eudclink link --default FILE\n"
    "       eudclink unlink NAME\n"
    "       eudclink unlink --default\n"
    "       eudclink export FILE.reg\n"
    "       eudclink import [--replace] FILE.reg\n"
    "       eudclink chars FILE [--tsv]\n"
    "       eudclink chart FILE OUT.png\n"
    "       eudclink pack [--strict] FOLDER\n"
    "       eudclink unpack [--to FOLDER] [--replace] [--overwrite] FOLDER\n"
    "       eudclink --help | -h | /?\n"
    "       eudclink --version\n"
    "Every command takes --codepage 932|936|949|950|1361|acp (950 without it).\n";

constexpr char kHelp[] =
    "\n"
    "Links EUDC font files to fonts through HKEY_CURRENT_USER\\EUDC\\950, or the key of the\n"
    "code page that --codepage names (acp: the system's own, the key the system reads).\n"
    "\n"
    "  list      every link: the system-wide default, each font that can have a link,\n"
    "            then every other value of the key; --tsv for tab-separated values,\n"
    "            --json for an array of objects in plain ASCII (\\u escapes)\n"
    "  check     only the links that cannot work (missing-file, not-a-font, bad-value)\n"
    "  link      links a .tte or .ttf file to a listed font (--any-font: any name) or to\n"
    "            the system-wide default, with EUDC support switched off around it\n"
    "  unlink    deletes the link of a name, with EUDC support switched off around it\n"
    "  export    writes the whole key to a registry editor file (version 5)\n"
    "  import    applies a registry editor file for the key, all or nothing;\n"
    "            --replace makes the key exactly the file's content\n"
    "  chars     every EUDC character (U+E000 to U+F8FF) a font file holds, with its\n"
    "            Big5 code; --tsv for tab-separated values\n"
    "  chart     draws those characters from the file into a PNG picture\n"
    "  pack      writes the key, every linked file and its .EUF file, and a manifest of\n"
    "            their sizes and SHA-256 into a new or empty folder; --strict refuses a\n"
    "            link whose file is missing\n"
    "  unpack    checks a packed folder whole, copies its files to their original folders\n"
    "            (--to: into one folder), links them there and imports the key as import\n"
    "            does; a file with other content is never overwritten (--overwrite keeps\n"
    "            it as NAME.old); any failure puts the files and the key back\n"
    "\n"
    "Exit status: 0 done, 1 refused (nothing changed) or check found a broken link,\n"
    "2 wrong usage, 3 the registry could not be read or written (nothing changed),\n"
    "4 unpack copied and linked everything, and a link it wrote cannot work.\n"
    "\n"
    "Into a pipe or a file, text is in the console's output code page, which PowerShell\n"
    "and cmd decode it with; a character that code page lacks is written as '?' (--json\n"
    "keeps it).\n";

// A command line split into its options (which the command must know) and the rest.
struct Parsed {
    std::set<CString> flags;
    std::map<CString, CString> values;  // options followed by a value
    CStringArray operands;

    bool Has(const char* flag) const { return flags.contains(flag); }
};

// Writes what is wrong, then the usage.
int Wrong(const Eudclink& with, const std::string& what)
{
    with.console.Err("eudclink: " + what + "\n" + kUsage);
    return status::kUsage;
}

using Run = int (*)(const Eudclink& with, const Parsed& parsed);

int Operands(const Eudclink& with, const char* command, const Parsed& parsed, const char* what)
{
    return Wrong(with, std::string(command) + " takes " + what + ", not " + std::to_string(parsed.operands.size()) +
                           " operand" + (parsed.operands.size() == 1 ? "" : "s"));
}

int RunList(const Eudclink& with, const Parsed& parsed, bool problemsOnly)
{
    const char* command = problemsOnly ? "check" : "list";
    if (!parsed.operands.empty())
        return Operands(with, command, parsed, "no operand");
    if (parsed.Has("--tsv") && parsed.Has("--json"))
        return Wrong(with, "--tsv and --json cannot go together");
    const RowFormat format = parsed.Has("--tsv") ? RowFormat::Tsv : parsed.Has("--json") ? RowFormat::Json
                                                                                            : RowFormat::Table;
    return ListLinks(with, format, problemsOnly);
}

int RunLink(const Eudclink& with, const Parsed& parsed)
{
    const CStringArray& operands = parsed.operands;
    if (parsed.Has("--default")) {
        if (parsed.Has("--any-font"))
            return Wrong(with, "link --default takes no --any-font");
        if (operands.size() != 1)
            return Operands(with, "link --default", parsed, "one FILE");
        return LinkFont(with, {}, false, operands[0]);
    }
    if (operands.size() != 2)
        return Operands(with, "link", parsed, "a FONT and a FILE");
    if (operands[0].empty())
        return Wrong(with, "link needs a FONT that is not empty");
    return LinkFont(with, operands[0], parsed.Has("--any-font"), operands[1]);
}

int RunUnlink(const Eudclink& with, const Parsed& parsed)
{
    if (parsed.Has("--default"))
        return parsed.operands.empty() ? UnlinkFont(with, kSystemDefaultEUDCFont)
                                       : Operands(with, "unlink --default", parsed, "no NAME");
    return parsed.operands.size() == 1 ? UnlinkFont(with, parsed.operands[0])
                                       : Operands(with, "unlink", parsed, "one NAME");
}

int RunExport(const Eudclink& with, const Parsed& parsed)
{
    return parsed.operands.size() == 1 ? ExportLinks(with, parsed.operands[0])
                                       : Operands(with, "export", parsed, "one FILE.reg");
}

int RunImport(const Eudclink& with, const Parsed& parsed)
{
    return parsed.operands.size() == 1 ? ImportLinks(with, parsed.operands[0], parsed.Has("--replace"))
                                       : Operands(with, "import", parsed, "one FILE.reg");
}

int RunPack(const Eudclink& with, const Parsed& parsed)
{
    return parsed.operands.size() == 1 ? PackLinks(with, parsed.operands[0], parsed.Has("--strict"))
                                       : Operands(with, "pack", parsed, "one FOLDER");
}

int RunUnpack(const Eudclink& with, const Parsed& parsed)
{
    if (parsed.operands.size() != 1)
        return Operands(with, "unpack", parsed, "one FOLDER");
    const auto to = parsed.values.find("--to");
    if (to != parsed.values.end() && to->second.empty())
        return Wrong(with, "--to needs a FOLDER that is not empty");
    return UnpackLinks(with, parsed.operands[0],
                       {to == parsed.values.end() ? CString() : to->second, parsed.Has("--replace"),
                        parsed.Has("--overwrite")});
}

int RunChars(const Eudclink& with, const Parsed& parsed)
{
    return parsed.operands.size() == 1 ? ListCharacters(with, parsed.operands[0], parsed.Has("--tsv"))
                                       : Operands(with, "chars", parsed, "one FILE");
}

int RunChart(const Eudclink& with, const Parsed& parsed)
{
    return parsed.operands.size() == 2 ? ChartCharacters(with, parsed.operands[0], parsed.operands[1])
                                       : Operands(with, "chart", parsed, "a FILE and an OUT.png");
}

struct Command {
    const char* name;
    std::set<CString> flags;
    std::set<CString> valued;  // options followed by a value
    Run run;
};

// One line a command.
const Command kCommands[] = {
    {"list", {"--tsv", "--json"}, {}, [](const Eudclink& with, const Parsed& p) { return RunList(with, p, false); }},
    {"check", {"--tsv", "--json"}, {}, [](const Eudclink& with, const Parsed& p) { return RunList(with, p, true); }},
    {"link", {"--any-font", "--default"}, {}, RunLink},
    {"unlink", {"--default"}, {}, RunUnlink},
    {"export", {}, {}, RunExport},
    {"import", {"--replace"}, {}, RunImport},
    {"pack", {"--strict"}, {}, RunPack},
    {"unpack", {"--replace", "--overwrite"}, {"--to"}, RunUnpack},
    {"chars", {"--tsv"}, {}, RunChars},
    {"chart", {}, {}, RunChart},
};

// The arguments after the command; false, said, for an option the command does not know.
bool Split(const Eudclink& with, const Command& command, const CStringArray& arguments, Parsed& parsed)
{
    bool operandsOnly = false;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const CString& argument = arguments[i];
        if (!operandsOnly && argument == "--") {
            operandsOnly = true;
        } else if (!operandsOnly && command.valued.contains(argument)) {
            if (i + 1 == arguments.size()) {
                Wrong(with, argument + " needs a value");
                return false;
            }
            parsed.values[argument] = arguments[++i];
        } else if (!operandsOnly && argument.starts_with("--")) {
            if (!command.flags.contains(argument)) {
                Wrong(with, std::string(command.name) + " has no option " + Shown(argument, with.rules));
                return false;
            }
            parsed.flags.insert(argument);
        } else {
            parsed.operands.push_back(argument);
        }
    }
    return true;
}

// What --codepage chose: the code page, or why there is none (a status to end with).
struct CodePageChoice {
    unsigned codePage = 0;  // 0: none given
    int status = status::kDone;
};

bool IsAscii(const std::u16string& text, const char* ascii)
{
    return text == std::u16string(ascii, ascii + std::char_traits<char>::length(ascii));
}

// Takes "--codepage N" out of the arguments (never after "--").
CodePageChoice TakeCodePage(const Eudclink& with, std::vector<std::u16string>& arguments)
{
    CodePageChoice choice;
    for (std::size_t i = 0; i < arguments.size() && !IsAscii(arguments[i], "--"); ++i) {
        if (!IsAscii(arguments[i], "--codepage"))
            continue;
        if (i + 1 == arguments.size()) {
            choice.status = Wrong(with, "--codepage needs a value: 932, 936, 949, 950, 1361 or acp");
            return choice;
        }
        const std::u16string value = arguments[i + 1];
        arguments.erase(arguments.begin() + static_cast<std::ptrdiff_t>(i), arguments.begin() + static_cast<std::ptrdiff_t>(i) + 2);
        if (IsAscii(value, "acp")) {
            choice.codePage = with.codePages.SystemCodePage();
            if (CharSetsOf(choice.codePage).empty()) {
                Complain(with, "the system's code page is " + std::to_string(choice.codePage) +
                                   ", which has no EUDC characters; name one with --codepage");
                choice.status = status::kRefused;
            }
            return choice;
        }
        for (const unsigned codePage : {932u, 936u, 949u, 950u, 1361u}) {
            if (IsAscii(value, std::to_string(codePage).c_str()))
                choice.codePage = codePage;
        }
        if (choice.codePage == 0)
            choice.status = Wrong(with, "--codepage takes 932, 936, 949, 950, 1361 or acp, not " + Shown(value));
        return choice;
    }
    return choice;
}

}  // namespace

int RunEudclink(const Eudclink& given, const std::vector<std::u16string>& wideArguments)
{
    std::vector<std::u16string> wide = wideArguments;
    const CodePageChoice choice = TakeCodePage(given, wide);
    if (choice.status != status::kDone)
        return choice.status;
    Eudclink with = given;
    if (choice.codePage != 0) {
        if (!with.codePages.Use(choice.codePage, with.rules)) {
            Complain(with, "this system cannot convert text of code page " + std::to_string(choice.codePage));
            return status::kRefused;
        }
        with.key = LinkKeyOf(choice.codePage);
        with.charSets = CharSetsOf(choice.codePage);
    }
    CStringArray arguments;
    for (const std::u16string& argument : wide)
        arguments.push_back(with.rules.toAnsi(argument));

    if (arguments.empty())
        return Wrong(with, "no command");
    const CString& name = arguments[0];
    if (arguments.size() == 1 && (name == "--help" || name == "-h" || name == "/?")) {
        with.console.Out(std::string(kUsage) + kHelp);
        return status::kDone;
    }
    if (arguments.size() == 1 && name == "--version") {
        with.console.Out(std::string("eudclink ") + with.version + "\n");
        return status::kDone;
    }
    for (const Command& command : kCommands) {
        if (name != command.name)
            continue;
        Parsed parsed;
        if (!Split(with, command, arguments, parsed))
            return status::kUsage;
        return command.run(with, parsed);
    }
    return Wrong(with, "no command " + Shown(name, with.rules));
}
