#include "console/PackedFiles.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <thread>

CString Joined(const CString& folder, const CString& name)
{
    return folder.ends_with('\\') ? folder + name : folder + "\\" + name;
}

Measured Measure(const Eudclink& with, const CString& path)
{
    const std::unique_ptr<ReadableFile> file = with.files.Open(path);
    if (!file)
        return {};
    Measured measured{false, file->Size(), with.hashing.Sha256(*file)};
    measured.ok = !measured.sha256.empty();
    return measured;
}

std::vector<Measured> MeasureAll(const Eudclink& with, const std::vector<CString>& paths)
{
    std::vector<Measured> measured(paths.size());
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t i = next++; i < paths.size(); i = next++)
            measured[i] = Measure(with, paths[i]);
    };
    std::vector<std::thread> workers;
    const unsigned threads = std::clamp(std::thread::hardware_concurrency(), 1u, 4u);
    for (unsigned t = 1; t < threads && t < paths.size(); ++t)
        workers.emplace_back(work);
    work();
    for (std::thread& worker : workers)
        worker.join();
    return measured;
}
