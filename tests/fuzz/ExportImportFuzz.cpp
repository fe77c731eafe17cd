// `eudclink export` then `import --replace` of any key, on the fake Windows machine of
// FuzzMachine.h: any names (the unnamed one, quotes, backslashes, line ends), any types
// and any data, and the key changed in between. The key must come back as it was
// exported: the same values, each of the same name (letters as they were, unless the
// change in between wrote the name in other letters), type and bytes. Both commands end
// within a bounded number of port calls and write nothing but the file and the key.
//
// The input, in order: the number of values (up to 64), each a type byte (0xFF: four bytes of type
// follow, least significant first), a name (two bytes of length, then UTF-16, two bytes
// a unit; NULs dropped) and its data (two bytes of length, then the bytes); then the
// changes made in between, each a kind byte (0 a value deleted, 1 its data rewritten, 2
// its type changed, 3 a new value, 4 its name in other letters) with an index byte and
// what the change needs.
#include <cstddef>
#include <cstdint>

#include "FuzzMachine.h"

namespace {

using namespace fuzz;

// The registry's longest name, 16,383 characters; data long enough to span many lines of
// the file, short enough for many runs a second (the link table's target tries larger).
constexpr std::size_t kLongestName = 16383;
constexpr std::size_t kLongestData = 4096;
constexpr int kMostValues = 64;

std::uint32_t Type(Input& input)
{
    const std::uint32_t type = input.Byte();
    if (type != 0xFF)
        return type;
    std::uint32_t wide = 0;
    for (int shift = 0; shift < 32; shift += 8)
        wide |= static_cast<std::uint32_t>(input.Byte()) << shift;
    return wide;
}

std::u16string Name(Input& input)
{
    std::u16string name = input.Units(kLongestName);
    std::erase(name, u'\0');
    return name;
}

std::vector<unsigned char> Data(Input& input)
{
    const std::string bytes = input.Bytes(kLongestData);
    return {bytes.begin(), bytes.end()};
}

// The name with its letters' case swapped, which the registry takes for the same name.
std::u16string OtherLetters(std::u16string name)
{
    for (char16_t& c : name) {
        if (c >= u'a' && c <= u'z')
            c = static_cast<char16_t>(c - 0x20);
        else if (c >= u'A' && c <= u'Z')
            c = static_cast<char16_t>(c + 0x20);
    }
    return name;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    Log().clear();
    Input input(bytes, size);
    Machine machine(950);
    std::vector<StoredValue>& values = machine.registry.values.values;
    for (int count = input.Byte() % (kMostValues + 1); count > 0; --count) {
        StoredValue value{{}, Type(input), {}};
        value.name = Name(input);
        value.data = Data(input);
        if (!ValueNamed(values, value.name))
            values.push_back(std::move(value));
    }
    const std::vector<StoredValue> exported = values;
    const long budget = 4000 + 100 * static_cast<long>(size);

    const int exportStatus = machine.Run({u"export", u"C:\\k.reg"}, budget);
    Expect(exportStatus == status::kDone, "any key is exported");
    Expect(values == exported, "export changes no value");

    bool renamed = false;
    while (!input.AtEnd()) {
        const std::uint8_t kind = input.Byte() % 5;
        const std::size_t at = values.empty() ? 0 : input.Byte() % values.size();
        if (kind == 3) {
            StoredValue value{Name(input), Type(input), Data(input)};
            if (!ValueNamed(values, value.name))
                values.push_back(std::move(value));
        } else if (values.empty()) {
            continue;
        } else if (kind == 0) {
            values.erase(values.begin() + static_cast<std::ptrdiff_t>(at));
        } else if (kind == 1) {
            values[at].data = Data(input);
        } else if (kind == 2) {
            values[at].type = Type(input);
        } else {
            renamed = renamed || OtherLetters(values[at].name) != values[at].name;
            values[at].name = OtherLetters(values[at].name);
        }
    }

    const int importStatus = machine.Run({u"import", u"--replace", u"C:\\k.reg"}, budget);
    Expect(importStatus == status::kDone, "a key's own export is imported");
    Expect(values.size() == exported.size(), "export then import --replace gives the same key back: its values");
    for (const StoredValue& value : exported) {
        const StoredValue* back = ValueNamed(values, value.name);
        Expect(back && back->type == value.type && back->data == value.data,
               "export then import --replace gives the same key back: each value's type and bytes");
        Expect(renamed || back->name == value.name, "export then import --replace gives the same key back: its names");
    }
    for (const DiskChange& change : machine.files.changes)
        Expect(Key(change.path) == Key(u"C:\\k.reg"), "export writes nothing but its file");
    Expect(machine.registry.otherKeysWritten.empty(), "only HKCU\\EUDC\\950 changes");
    return 0;
}
