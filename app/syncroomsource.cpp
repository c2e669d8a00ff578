#include "app/syncroomsource.h"

#include <dlfcn.h>

#include <cstring>

#include "talikbuild.h"

namespace talik {
namespace {

std::string LastLoadError()
{
    const char* error = dlerror();
    return error != nullptr ? error : "理由は不明です";
}

} // namespace

std::string SyncRoomModulePath(const std::string& programFolder)
{
    return programFolder + SyncRoomModuleName;
}

SyncRoomSource::SyncRoomSource(std::string modulePath) : m_modulePath(std::move(modulePath)) {}

SyncRoomSource::SyncRoomSource(std::unique_ptr<SyncRoom> room) : m_room(std::move(room)) {}

// The module stays loaded after its room is gone: windows and types it registered with Qt may
// still be referred to until the program ends.
SyncRoomSource::~SyncRoomSource() = default;

SyncRoom* SyncRoomSource::room()
{
    if (!m_room) {
        m_room = load();
        if (m_room && m_store != nullptr) {
            m_room->usePasswordStore(*m_store);
        }
    }
    return m_room.get();
}

void SyncRoomSource::usePasswordStore(PasswordStore& store)
{
    m_store = &store;
    if (m_room) {
        m_room->usePasswordStore(store);
    }
}

std::unique_ptr<SyncRoom> SyncRoomSource::load()
{
    m_failure.clear();
    // A bare file name would send dlopen through the system's library folders.
    if (m_modulePath.find('/') == std::string::npos) {
        m_failure = "同期の部品の場所がわかりません（" + m_modulePath + "）";
        return nullptr;
    }
    void* module = dlopen(m_modulePath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
        m_failure = LastLoadError();
        return nullptr;
    }
    dlerror();
    auto entryOf = reinterpret_cast<SyncRoomEntryFunction>(dlsym(module, SyncRoomEntrySymbol));
    if (entryOf == nullptr) {
        m_failure = LastLoadError();
        dlclose(module);
        return nullptr;
    }
    const SyncRoomEntry* entry = entryOf();
    if (entry == nullptr || entry->build == nullptr || std::strcmp(entry->build, TalikBuild) != 0) {
        m_failure = m_modulePath + " はこのプログラムと一緒に作られたものではありません（部品 " +
                    (entry != nullptr && entry->build != nullptr ? entry->build : "?") + "、プログラム " + TalikBuild +
                    "）";
        dlclose(module);
        return nullptr;
    }
    return std::unique_ptr<SyncRoom>(entry->make());
}

} // namespace talik
