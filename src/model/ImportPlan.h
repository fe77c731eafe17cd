// What importing a registry editor file changes in the link key, decided before anything
// is written, and applied so that a failure leaves the key as it was.
#pragma once

#include <optional>
#include <vector>

#include "model/RegFile.h"
#include "platform/CodePage.h"
#include "platform/Registry.h"

struct ImportStep {
    enum class Kind { Add, Change, Delete };
    Kind kind;
    std::u16string name;                // as the file names it; as the key does for a deletion
    std::optional<StoredValue> after;   // an added or changed value
    std::optional<StoredValue> before;  // a changed or deleted value
};

struct ImportPlan {
    std::vector<ImportStep> steps;  // deletions first, then changes, then additions
    std::size_t unchanged = 0;      // values the file leaves as they are
};

// The steps from the key's values to those the file asks for: the file's entries applied in
// order (a later one for a name wins; names match as the registry matches them) to the
// key's values, or, with `replace`, to an empty key. A name that the file writes in other
// letters is deleted and added. Takes n log n in the values.
ImportPlan PlanImport(const std::vector<StoredValue>& current, const std::vector<RegFileEntry>& entries,
                      bool replace, NameKeyRule nameKey);

enum class ImportOutcome { Applied, Undone, PartlyUndone };
// Takes every step; when one fails, undoes those taken, newest first. A value that another
// program deleted meanwhile is no failure: deleting it again has nothing to do.
ImportOutcome ApplyImport(RegistryKey& key, const ImportPlan& plan);
