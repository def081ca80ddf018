// The run's recovery copy and recent files as the commands meet them, the start of a run,
// and file names from outside.
#include "editor/session.h"

#include "editor/commands.h"
#include "editor/diskfile.h"
#include "editor/global.h"
#include "editor/recentfiles.h"
#include "editor/recovery.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <filesystem>

namespace quarvel {

namespace fs = std::filesystem;

std::string AbsoluteFileName(const std::string& path) {
    if (path.empty()) return path;
    std::error_code ec;
    fs::path p = fs::absolute(fs::path(path), ec);
    if (ec) p = fs::path(path);
    return p.lexically_normal().string();
}

bool SameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    if (fs::exists(a, ec) && fs::exists(b, ec)) {
        bool same = fs::equivalent(a, b, ec);
        if (!ec) return same;
    }
    return AbsoluteFileName(a) == AbsoluteFileName(b);
}

void NoteMapFile(TEditorState& State, const std::string& path) {
    NoteDiskFile(State);
    if (State.Session.Recovery) State.Session.Recovery->Discard();
    if (State.Session.Recent) State.Session.Recent->Add(path);
}

void NoteMapClean(TEditorState& State) {
    if (State.Session.Recovery) State.Session.Recovery->Discard();
}

void StartSession(TEditorState& State, const std::string& file) {
    TRecovery* recovery = State.Session.Recovery;
    if (recovery) {
        recovery->FindLeftCopy();
        // A copy of the file being opened is offered by the open itself.
        if (recovery->HasLeftCopy() && (file.empty() || !recovery->LeftCopyBelongsTo(file)))
            recovery->OfferLeftCopy();
    }
    if (!file.empty()) OpenMapFile(State, file);
}

std::string DroppedMap(const std::vector<std::string>& paths) {
    for (const std::string& p : paths) {
        if (p.size() < 5) continue; // a name before ".map"
        std::string ext = p.substr(p.size() - 4);
        std::transform(ext.begin(), ext.end(), ext.begin(),
                       [](unsigned char c) { return char(std::tolower(c)); });
        if (ext == ".map" && p[p.size() - 5] != '/') return p;
    }
    return {};
}

std::string EncodeHandOver(const std::string& path) {
    const uint32_t n = uint32_t(path.size());
    std::string message;
    for (int i = 0; i < 4; ++i) message.push_back(char((n >> (8 * i)) & 0xFF));
    return message + path;
}

HandOverMessage DecodeHandOver(std::string& buffer, std::string& path) {
    if (buffer.size() < 4) return HandOverMessage::Partial;
    uint32_t n = 0;
    for (int i = 0; i < 4; ++i) n |= uint32_t(uint8_t(buffer[size_t(i)])) << (8 * i);
    if (n == 0 || n > MaxHandOverName) return HandOverMessage::Refused;
    if (buffer.size() < 4 + size_t(n)) return HandOverMessage::Partial;
    std::string name = buffer.substr(4, n);
    // A zero byte would cut the name that the file system sees short of the one kept.
    if (name.find('\0') != std::string::npos || name[0] != '/') return HandOverMessage::Refused;
    path = std::move(name);
    buffer.erase(0, 4 + size_t(n));
    return HandOverMessage::Whole;
}

} // namespace quarvel
