// export and import: the whole key to and from a file of the platform's registry editor,
// so that one machine's links can be kept, or copied to many.
#include <string>
#include <vector>

#include "console/Commands.h"
#include "console/ConsoleText.h"
#include "model/ImportPlan.h"
#include "model/LinkKey.h"
#include "model/RegFile.h"

namespace {

std::string NameOf(const std::u16string& name)
{
    return name.empty() ? "@ (the unnamed value)" : Shown(name);
}

const char* VerbOf(ImportStep::Kind kind)
{
    switch (kind) {
    case ImportStep::Kind::Add: return "added   ";
    case ImportStep::Kind::Change: return "changed ";
    case ImportStep::Kind::Delete: return "deleted ";
    }
    return "";
}

}  // namespace

int ExportLinks(const Eudclink& with, const CString& file)
{
    std::vector<StoredValue> values;
    if (!ReadKey(with, values))
        return status::kRegistry;
    CString path;
    if (!with.files.FullPath(file, path) || !with.files.Replace(path, WriteRegFile(with.key.path, values))) {
        Complain(with, Shown(file, with.rules) + ": cannot be written; nothing was written there");
        return status::kRefused;
    }
    with.console.Out(std::to_string(values.size()) + " values written to " + Shown(path, with.rules) + "\n");
    return status::kDone;
}

int ImportLinks(const Eudclink& with, const CString& file, bool replace)
{
    const std::string shown = Shown(file, with.rules);
    std::string bytes;
    if (!with.files.Read(file, kLargestRegFile, bytes)) {
        Complain(with, shown + (with.files.IsFile(file) ? ": cannot be read whole" : ": no such file") +
                           "; nothing was changed");
        return status::kRefused;
    }
    const RegFileReading reading = ReadRegFile(bytes, with.key.path, with.rules.toWide);
    if (!reading.ok) {
        const std::string where = reading.errorLine ? ", line " + std::to_string(reading.errorLine) : "";
        Complain(with, shown + where + ": " + reading.error + "; nothing was changed");
        return status::kRefused;
    }

    return ImportEntries(with, reading.entries, replace);
}

int ImportEntries(const Eudclink& with, const std::vector<RegFileEntry>& entries, bool replace)
{
    std::vector<StoredValue> current;
    if (!ReadKey(with, current))
        return status::kRegistry;
    const ImportPlan plan = PlanImport(current, entries, replace, with.rules.nameKey);
    if (!plan.steps.empty()) {
        ImportOutcome outcome = ImportOutcome::Undone;  // when the key cannot be opened
        const bool made = Change(
            with,
            [&](RegistryKey& key) {
                outcome = ApplyImport(key, plan);
                return outcome == ImportOutcome::Applied;
            },
            IfKeyMissing::Create);
        if (!made) {
            Complain(with, outcome == ImportOutcome::PartlyUndone
                               ? "a change could not be undone either: compare the key with the file"
                               : "the key was left as it was");
            return status::kRegistry;
        }
    }

    std::size_t counts[3] = {};
    std::string report;
    for (const ImportStep& step : plan.steps) {
        ++counts[static_cast<int>(step.kind)];
        report += VerbOf(step.kind) + NameOf(step.name) + "\n";
    }
    report += std::to_string(counts[0]) + " added, " + std::to_string(counts[1]) + " changed, " +
              std::to_string(counts[2]) + " deleted, " + std::to_string(plan.unchanged) + " unchanged\n";
    with.console.Out(report);
    return status::kDone;
}
