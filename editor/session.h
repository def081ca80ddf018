// What the editor keeps beyond one command: the recovery copy and the recent files, the
// start of a run (a copy left behind, a file named on the command line) and the rules for
// file names that come from outside (command line, drops, another start).
#pragma once

#include <string>
#include <vector>

namespace quarvel {

class TRecovery;
class TRecentFiles;
class TEditorState;

// Installed by the program for the run; either may be null (tests, or no state folder).
struct EditorSession {
    TRecovery* Recovery = nullptr;
    TRecentFiles* Recent = nullptr;
};

// `path` made absolute against the current folder, with "." and ".." steps folded.
std::string AbsoluteFileName(const std::string& path);
// Both name the same file: the same file when both exist, otherwise the same absolute name.
bool SameFile(const std::string& a, const std::string& b);

// TheMap was saved to, or opened from, `path`: the recovery copy goes, the recent files
// take the name, and the file as it is now is what later changes on disk are told against.
void NoteMapFile(TEditorState& State, const std::string& path);
// TheMap has no changes to keep any more (a new map, or changes dropped at exit).
void NoteMapClean(TEditorState& State);

// The start of a run, after StartEditor: a copy left behind is offered, unless it belongs
// to `file`, which is then opened (and offers the copy itself). `file` may be empty.
void StartSession(TEditorState& State, const std::string& file);

// Of files dropped on the editor, the map to open: the first whose name ends in ".map"
// (any case); empty when there is none.
std::string DroppedMap(const std::vector<std::string>& paths);

// A file name handed from one start of the program to the running one: a 4-byte
// little-endian length, then the name's bytes.
constexpr size_t MaxHandOverName = 4096;
std::string EncodeHandOver(const std::string& path);
// Takes one message off the front of `buffer`: Whole sets `path`; Partial needs more bytes;
// Refused is no message (empty, too long, a zero byte in the name, a name that is not
// absolute) and the connection should be dropped.
enum class HandOverMessage { Whole, Partial, Refused };
HandOverMessage DecodeHandOver(std::string& buffer, std::string& path);

} // namespace quarvel
