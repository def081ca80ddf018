// The clipboard commands on the current level: copy, delete, paste and select all, with the
// editor's own copy buffer.
#pragma once

namespace quarvel {

void CopySelection();
void DeleteSelection();
void PasteCopyBuf();
void SelectAll();

} // namespace quarvel
