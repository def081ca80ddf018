// The clipboard commands on the selection box (its rectangle on one or more levels): copy,
// delete, paste and select all, with the editor's own copy buffer.
#pragma once

namespace quarvel {

void CopySelection();
void DeleteSelection();
void PasteCopyBuf();
void SelectAll();

} // namespace quarvel
