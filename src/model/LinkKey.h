// The key HKEY_CURRENT_USER\EUDC\950 itself: read whole, created, and changed with the
// system's EUDC support off. The window and the console program both reach it here.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/Libraries.h"
#include "platform/Registry.h"
#include "platform/Strings.h"

// The key, under HKEY_CURRENT_USER. 950 is Big5's code page, whatever the system's is.
inline constexpr char kLinkKey[] = "EUDC\\950";
// The class the key is given when the program creates it.
inline constexpr char kLinkKeyClass[] = "REG_SZ";
// What the user is told when the key cannot be read or changed.
inline constexpr char kRegistryFailure[] = "Access Registry Database failed!";

// A value as the program's code page sees it (the A functions).
struct LinkValue {
    CString name;
    std::uint32_t type = registry::kNone;
    std::string data;  // the bytes as read, NULs included

    // The data as text: up to its first NUL.
    CString Text() const { return data.substr(0, data.find('\0')); }
};

// Appends the values of the open key in the registry's order, each read whole, until the
// enumeration ends: registry::kNoMoreItems when every value was read, else the failure
// that stopped it, with the values before it read.
long ReadLinkValues(RegistryKey& key, std::vector<LinkValue>& values);

// The values of the key as stored, for copies that keep every byte; none when there is
// no key. The result is registry::kSuccess or the failure.
long ReadStoredValues(Registry& registry, std::vector<StoredValue>& values);

std::unique_ptr<RegistryKey> CreateLinkKey(Registry& registry);

// What a change does when the key is not there.
enum class IfKeyMissing { Create, NothingToChange };
// A change of the open key; true when it was made, or had nothing to change.
using KeyChange = std::function<bool(RegistryKey&)>;
// How a failure is told to the user, in the order they happen.
using Tell = std::function<void(const char* failure)>;

// Switches the system's EUDC support on or off; the failure, or null. The graphics
// library is loaded and released on every call: EnableEUDC is looked up by name, never
// bound when the program is loaded.
const char* SwitchEudc(Libraries& libraries, bool enable);

// Opens the key for writing, creating it when missing if asked, and makes the change, with
// EUDC support off around it so that the change takes effect at once. Each failure is
// told; true when the change was made.
bool ChangeWithEudcOff(Registry& registry, Libraries& libraries, const KeyChange& change,
                       IfKeyMissing ifMissing, const Tell& tell);
