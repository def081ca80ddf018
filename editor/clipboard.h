// The clipboard commands on the selection box (its rectangle on one or more levels): copy,
// delete, paste and select all, with the editor's own copy buffer.
#pragma once

namespace quarvel {

class TEditorState;

void CopySelection(TEditorState& State);
void DeleteSelection(TEditorState& State);
void PasteCopyBuf(TEditorState& State);
void SelectAll(TEditorState& State);

} // namespace quarvel
