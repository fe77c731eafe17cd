// The key HKEY_CURRENT_USER\EUDC\950 itself: its values read, written and deleted, the key
// created, and changes made with the system's EUDC support off. Every command of both
// programs reaches the key here, so that one rule holds for each of these.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/CodePage.h"
#include "platform/Libraries.h"
#include "platform/Registry.h"
#include "platform/Strings.h"

// The key, under HKEY_CURRENT_USER. 950 is Big5's code page, whatever the system's is: the
// window's key, and eudclink's unless told another code page.
inline constexpr char kLinkKey[] = "EUDC\\950";
inline constexpr unsigned kLinkCodePage = 950;

// The key of a code page's links, which the system reads when that is its code page.
struct LinkKeyName {
    std::string subkey;   // under HKEY_CURRENT_USER: "EUDC\\950"
    std::u16string path;  // as a registry editor file names it: "HKEY_CURRENT_USER\\EUDC\\950"
};
LinkKeyName LinkKeyOf(unsigned codePage);
// The class the key is given when the program creates it.
inline constexpr char kLinkKeyClass[] = "REG_SZ";
// What the user is told when the key cannot be read or changed.
inline constexpr char kRegistryFailure[] = "Access Registry Database failed!";

// Reading: a value is read whole, however large, into buffers that grow to the size the
// registry gives; a value that another program makes larger between two reads is read
// again, a few times. Each gives registry::kSuccess or the failure.

// The value that the name finds, without regard to case; registry::kNotFound when none.
long ReadValue(RegistryKey& key, const std::u16string& name, StoredValue& value);
// Appends the values of the open key in its order until the enumeration ends:
// registry::kNoMoreItems when every value was read, else the failure that stopped it,
// with the values before it read.
long ReadValues(RegistryKey& key, std::vector<StoredValue>& values);
// Every value of the key, none when there is no key: registry::kSuccess or the failure.
long ReadLinkKey(Registry& registry, std::vector<StoredValue>& values, const char* subkey = kLinkKey);

// Deleting: a value that is already gone (another program deleted it first) is deleted.
bool IsDeleted(long result);

// A string value (REG_SZ) holding `text` of the code page and its NUL, as the registry's
// A functions store it.
StoredValue StringValue(const std::u16string& name, const CString& text, WideningRule toWide);
// The data as text up to its first NUL, as the A functions give it: strings converted to
// the code page, other types' bytes as they are.
CString ValueText(const StoredValue& value, NarrowingRule toAnsi);

std::unique_ptr<RegistryKey> CreateLinkKey(Registry& registry, const char* subkey = kLinkKey);

// What a change does when the key is not there.
enum class IfKeyMissing { Create, NothingToChange };
// A change of the open key; true when it was made, or had nothing to change.
using KeyChange = std::function<bool(RegistryKey&)>;
// How a failure is told to the user, in the order they happen.
using Tell = std::function<void(const char* failure)>;

// Opens the key for writing, creating it when missing if asked, and makes the change, with
// EUDC support off around it so that the change takes effect at once. Each failure is
// told; true when the change was made.
bool ChangeWithEudcOff(Registry& registry, Libraries& libraries, const KeyChange& change,
                       IfKeyMissing ifMissing, const Tell& tell, const char* subkey = kLinkKey);
