#include "model/ImportPlan.h"

#include <algorithm>

namespace {

using Values = std::vector<StoredValue>;

Values::iterator Find(Values& values, const std::u16string& name, SameWideNameTest isSameName)
{
    return std::find_if(values.begin(), values.end(),
                        [&](const StoredValue& value) { return isSameName(value.name, name); });
}

bool Succeeded(long result)
{
    return result == registry::kSuccess;
}

// Every step is one write, so that a failed step has changed nothing.
bool Take(RegistryKey& key, const ImportStep& step)
{
    if (step.kind == ImportStep::Kind::Delete)
        return Succeeded(key.DeleteStoredValue(step.name));
    return Succeeded(key.SetStoredValue(*step.after));
}

bool Undo(RegistryKey& key, const ImportStep& step)
{
    if (step.kind == ImportStep::Kind::Add)
        return Succeeded(key.DeleteStoredValue(step.name));
    return Succeeded(key.SetStoredValue(*step.before));
}

}  // namespace

ImportPlan PlanImport(const std::vector<StoredValue>& current, const std::vector<RegFileEntry>& entries,
                      bool replace, SameWideNameTest isSameName)
{
    Values wanted = replace ? Values{} : current;
    for (const RegFileEntry& entry : entries) {
        const auto found = Find(wanted, entry.value.name, isSameName);
        if (entry.deleted) {
            if (found != wanted.end())
                wanted.erase(found);
        } else if (found != wanted.end()) {
            *found = entry.value;
        } else {
            wanted.push_back(entry.value);
        }
    }

    ImportPlan plan;
    std::vector<ImportStep> changes;
    Values remaining = wanted;
    for (const StoredValue& value : current) {
        // A name in another letter case is deleted and added anew: setting it would keep
        // the old letters, as the registry does.
        const auto found = std::find_if(remaining.begin(), remaining.end(),
                                        [&](const StoredValue& wanted) { return wanted.name == value.name; });
        if (found == remaining.end())
            plan.steps.push_back({ImportStep::Kind::Delete, value.name, {}, value});
        else if (*found == value)
            ++plan.unchanged;
        else
            changes.push_back({ImportStep::Kind::Change, found->name, *found, value});
        if (found != remaining.end())
            remaining.erase(found);
    }
    plan.steps.insert(plan.steps.end(), changes.begin(), changes.end());
    for (const StoredValue& value : remaining)
        plan.steps.push_back({ImportStep::Kind::Add, value.name, value, {}});
    return plan;
}

ImportOutcome ApplyImport(RegistryKey& key, const ImportPlan& plan)
{
    for (std::size_t taken = 0; taken < plan.steps.size(); ++taken) {
        if (!Take(key, plan.steps[taken])) {
            bool undone = true;
            while (taken-- > 0)
                undone = Undo(key, plan.steps[taken]) && undone;
            return undone ? ImportOutcome::Undone : ImportOutcome::PartlyUndone;
        }
    }
    return ImportOutcome::Applied;
}
