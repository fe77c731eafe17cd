// Reading any bytes as a packed folder's manifest: it is read whole or refused, no name it
// gives can reach outside the folder, and what is written reads back the same.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FuzzCheck.h"
#include "model/EudcPath.h"
#include "model/PackManifest.h"
#include "platform/Unicode.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const ManifestReading reading = ReadManifest(text);
    if (!reading.ok) {
        Check(!reading.error.empty(), "a refusal says why");
        return 0;
    }
    for (const PackEntry& entry : reading.manifest.entries) {
        if (entry.kind != PackEntry::Kind::LinkOnly)
            Check(IsPlainName(ToUtf8(entry.stored), NoLeadBytes), "a stored name is a plain file name of the folder");
        Check(entry.kind == PackEntry::Kind::Links || IsManifestPath(entry.original),
              "an original path is full, and as the system resolves it");
    }
    const ManifestReading again = ReadManifest(WriteManifest(reading.manifest));
    Check(again.ok && again.manifest == reading.manifest, "what the writer writes reads back the same");
    return 0;
}
