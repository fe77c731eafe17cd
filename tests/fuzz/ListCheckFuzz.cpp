// `eudclink check` against `list`, on the fake Windows machine of FuzzMachine.h, which
// check does not enumerate every family for while it can ask about names: any installed
// families (the links' names and others, in either letter case, twice, of any character
// set and kind), values of any type, name and text, files there, missing or no fonts.
// check must print exactly the rows of list whose link cannot work, in list's order, and
// end with 1 when it prints one, 0 when not; both end within a bounded number of port
// calls and change nothing.
//
// The input, in order: the number of families (up to 7), each a name (Input::ValueName),
// a character set byte and a kind byte (below 0x80 TrueType); then the number of values
// (up to 7), each a type byte (below 0xC0 a REG_SZ, else its low 4 bits), a name, for a
// REG_SZ a path (Input::Path), else two bytes of length and the data, and a file byte (0
// nothing at the path, 1 a font, 2 no font).
#include <cstddef>
#include <cstdint>
#include <sstream>

#include "FuzzMachine.h"

namespace {

using namespace fuzz;

constexpr unsigned kCharSets[] = {fonts::kBig5CharSet, fonts::kShiftJisCharSet, fonts::kGb2312CharSet, 0};

// The rows of tab-separated output, after its header.
std::vector<std::string> Rows(const std::string& tsv)
{
    std::vector<std::string> rows;
    std::istringstream text(tsv);
    std::string line;
    for (std::getline(text, line); std::getline(text, line);)
        rows.push_back(line);
    return rows;
}

// Those whose state is one that cannot work.
std::vector<std::string> ProblemRows(const std::string& tsv)
{
    std::vector<std::string> rows = Rows(tsv);
    std::erase_if(rows, [](const std::string& row) {
        const std::string state = row.substr(row.rfind('\t') + 1);
        return state != "missing-file" && state != "not-a-font" && state != "bad-value";
    });
    return rows;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    Log().clear();
    Input input(bytes, size);
    Machine machine(950);
    std::vector<EnumeratedFont>& families = machine.Families();
    families.clear();
    for (int count = input.Byte() % 8; count > 0; --count) {
        const std::u16string name = input.ValueName();
        const unsigned charSet = kCharSets[input.Byte() % std::size(kCharSets)];
        const unsigned kind = input.Byte() < 0x80 ? fonts::kTrueType : fonts::kRaster;
        families.push_back({kRules.toAnsi(name), charSet, kind});
    }
    std::vector<StoredValue>& values = machine.registry.values.values;
    for (int count = input.Byte() % 8, index = 0; index < count; ++index) {
        const std::uint8_t type = input.Byte();
        std::u16string name = input.ValueName();
        const std::string data = type >= 0xC0 ? input.Bytes(64) : std::string();
        const StoredValue value = type >= 0xC0
            ? StoredValue{std::move(name), static_cast<std::uint32_t>(type & 0x0F), {data.begin(), data.end()}}
            : TextValue(std::move(name), input.Path());
        const std::uint8_t file = input.Byte() % 3;
        if (ValueNamed(values, value.name))
            continue;
        values.push_back(value);
        const std::u16string path = value.type == registry::kString ? LinkPath(TextOf(value)) : std::u16string();
        if (!path.empty() && PlaceOf(path) == Place::Local && !machine.files.Find(path) && file != 0)
            machine.files.Put(path, file == 1 ? FontBytes(std::to_string(index)) : NotAFont(std::to_string(index)));
    }
    const std::vector<StoredValue> before = values;
    const long budget = 4000 + 100 * static_cast<long>(size);

    const int listStatus = machine.Run({u"list", u"--tsv"}, budget);
    const std::string listed = machine.console.out;
    const int checkStatus = machine.Run({u"check", u"--tsv"}, budget);
    Expect(listStatus == status::kDone, "list lists any key");
    const std::vector<std::string> problems = ProblemRows(listed);
    Expect(Rows(machine.console.out) == problems, "check prints list's rows that cannot work, in list's order");
    Expect(checkStatus == (problems.empty() ? status::kDone : status::kRefused),
           "check ends with 1 when a link cannot work, 0 when none");
    Expect(values == before && machine.files.changes.empty(), "neither changes anything");
    return 0;
}
