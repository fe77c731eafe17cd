#include "ui/CharacterLoad.h"

#include <chrono>
#include <thread>
#include <utility>

#include "model/EudcCharacters.h"
#include "model/FontFaceName.h"

CharacterLoad::CharacterLoad(Files& files, const CodePageRules& rules, const CString& path, Sizes sizes, HWND window,
                             UINT message)
    : m_shared(std::make_shared<Shared>())
{
    std::thread([shared = m_shared, &files, rules, path, sizes, window, message] {
        Load(*shared, files, rules, path, sizes, window, message);
    }).detach();
}

CharacterLoad::~CharacterLoad()
{
    {
        const std::lock_guard lock(m_shared->mutex);
        m_shared->abandoned = true;
    }
    m_shared->abandon.notify_one();
}

std::optional<CharacterLoad::Loaded> CharacterLoad::Take()
{
    const std::lock_guard lock(m_shared->mutex);
    return std::exchange(m_shared->loaded, std::nullopt);
}

// Creating the fonts realises them, which reads the file too, so that happens here as well.
void CharacterLoad::Load(Shared& shared, Files& files, const CodePageRules& rules, const CString& path, Sizes sizes,
                         HWND window, UINT message)
{
    Loaded loaded;
    const std::unique_ptr<ReadableFile> file = files.Open(path);
    std::optional<std::vector<char32_t>> characters = file ? ListEudcCharacters(*file) : std::nullopt;
    const std::optional<std::u16string> face = characters ? ReadFontFamilyName(*file) : std::nullopt;
    {
        const std::lock_guard lock(shared.mutex);
        if (shared.abandoned)  // a view closed meanwhile needs no font
            return;
    }
    if (face) {
        loaded.characters = std::move(*characters);
        loaded.font = std::make_unique<PrivateFont>(rules.toWide(path), *face);
        loaded.cells = loaded.font->Create(sizes.cells);
        loaded.large = loaded.font->Create(sizes.large);
    }
    std::unique_lock lock(shared.mutex);
    if (shared.abandoned)
        return;
    shared.loaded = std::move(loaded);
    lock.unlock();
    // A message the window's full queue refused is posted again, until the view closes.
    while (!::PostMessageA(window, message, 0, 0)) {
        lock.lock();
        if (shared.abandon.wait_for(lock, std::chrono::milliseconds(kPostRetry), [&] { return shared.abandoned; }))
            return;
        lock.unlock();
    }
}
