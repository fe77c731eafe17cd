#include "model/ImportPlan.h"

#include <unordered_map>

#include "model/LinkKey.h"

namespace {

// The values the key should hold, in the order they come: the key's first, then those
// the file adds. A name's place is found by the registry's key of it.
class WantedValues {
public:
    WantedValues(const std::vector<StoredValue>& values, NameKeyRule nameKey) : m_nameKey(nameKey)
    {
        for (const StoredValue& value : values)
            Set(value);
    }

    void Set(const StoredValue& value)
    {
        const auto [place, added] = m_places.try_emplace(m_nameKey(value.name), m_values.size());
        if (added)
            m_values.emplace_back(value);
        else
            m_values[place->second] = value;
    }
    void Delete(const std::u16string& name)
    {
        const auto place = m_places.find(m_nameKey(name));
        if (place == m_places.end())
            return;
        m_values[place->second].reset();
        m_places.erase(place);
    }
    // Emptied places stay, as nullopt, so that the others keep theirs.
    std::vector<std::optional<StoredValue>>& Values() { return m_values; }

private:
    NameKeyRule m_nameKey;
    std::vector<std::optional<StoredValue>> m_values;
    std::unordered_map<std::u16string, std::size_t> m_places;
};

// Every step is one write, so that a failed step has changed nothing. Whether the step
// changed the key is kept for its undo.
bool Take(RegistryKey& key, const ImportStep& step, bool& changed)
{
    if (step.kind == ImportStep::Kind::Delete) {
        const long result = key.DeleteValue(step.name);
        changed = result == registry::kSuccess;
        return IsDeleted(result);
    }
    changed = true;
    return key.SetValue(*step.after) == registry::kSuccess;
}

bool Undo(RegistryKey& key, const ImportStep& step)
{
    if (step.kind == ImportStep::Kind::Add)
        return IsDeleted(key.DeleteValue(step.name));
    return key.SetValue(*step.before) == registry::kSuccess;
}

}  // namespace

ImportPlan PlanImport(const std::vector<StoredValue>& current, const std::vector<RegFileEntry>& entries,
                      bool replace, NameKeyRule nameKey)
{
    WantedValues wanted(replace ? std::vector<StoredValue>{} : current, nameKey);
    for (const RegFileEntry& entry : entries) {
        if (entry.deleted)
            wanted.Delete(entry.value.name);
        else
            wanted.Set(entry.value);
    }

    // A name in another letter case is deleted and added anew: setting it would keep the
    // old letters, as the registry does. So current values are matched by their exact names.
    std::vector<std::optional<StoredValue>>& remaining = wanted.Values();
    std::unordered_map<std::u16string, std::size_t> byName;
    for (std::size_t i = 0; i < remaining.size(); ++i) {
        if (remaining[i])
            byName.emplace(remaining[i]->name, i);
    }
    ImportPlan plan;
    std::vector<ImportStep> changes;
    for (const StoredValue& value : current) {
        const auto found = byName.find(value.name);
        if (found == byName.end()) {
            plan.steps.push_back({ImportStep::Kind::Delete, value.name, {}, value});
            continue;
        }
        std::optional<StoredValue>& after = remaining[found->second];
        if (*after == value)
            ++plan.unchanged;
        else
            changes.push_back({ImportStep::Kind::Change, after->name, *after, value});
        after.reset();
    }
    plan.steps.insert(plan.steps.end(), changes.begin(), changes.end());
    for (const std::optional<StoredValue>& value : remaining) {
        if (value)
            plan.steps.push_back({ImportStep::Kind::Add, value->name, *value, {}});
    }
    return plan;
}

ImportOutcome ApplyImport(RegistryKey& key, const ImportPlan& plan)
{
    std::vector<const ImportStep*> taken;
    for (const ImportStep& step : plan.steps) {
        bool changed = false;
        if (!Take(key, step, changed)) {
            bool undone = true;
            for (auto step = taken.rbegin(); step != taken.rend(); ++step)
                undone = Undo(key, **step) && undone;
            return undone ? ImportOutcome::Undone : ImportOutcome::PartlyUndone;
        }
        if (changed)
            taken.push_back(&step);
    }
    return ImportOutcome::Applied;
}
