// The clipboard commands: the selection box to and from the copy buffer, level by level.
#include "editor/clipboard.h"

#include "editor/global.h"
#include "editor/selectarea.h"
#include "editor/windows.h"
#include "map/chipclasses.h"
#include "map/mapclass.h"

namespace quarvel {

namespace {

// After a command that changed cells: selection off, then every window in its order.
void SelectionOffAndRedraw(TEditorState& State) {
    State.TheSelection->SetActive(false);
    State.Windows.Edit->RedrawLevel();
    State.Windows.Whole->RedrawAll();
    State.Windows.Info->UpdateInfo();
}

} // namespace

void CopySelection(TEditorState& State) {
    if (!State.TheSelection->Active) return;
    const SelectionBox box = State.TheSelection->Box(State.CurrentLevel);
    State.TheCopyBuf.Width = box.Width();
    State.TheCopyBuf.Height = box.Height();
    State.TheCopyBuf.Depth = box.Depth();
    State.TheCopyBuf.Data.assign(size_t(State.TheCopyBuf.Width) * size_t(State.TheCopyBuf.Height) *
                                     size_t(State.TheCopyBuf.Depth),
                                 0);
    size_t n = 0;
    for (int z = box.Low; z <= box.High; ++z)
        for (int y = box.Top; y <= box.Bottom; ++y)
            for (int x = box.Left; x <= box.Right; ++x)
                State.TheCopyBuf.Data[n++] = State.TheMap->GetChip(x, y, z);
}

void DeleteSelection(TEditorState& State) {
    if (!State.TheSelection->Active) return;
    const SelectionBox box = State.TheSelection->Box(State.CurrentLevel);
    State.TheMap->UndoBuf.BeginStep();
    for (int z = box.Low; z <= box.High; ++z)
        for (int y = box.Top; y <= box.Bottom; ++y)
            for (int x = box.Left; x <= box.Right; ++x) State.TheMap->SetChip(x, y, z, 0);
    SelectionOffAndRedraw(State);
}

void PasteCopyBuf(TEditorState& State) {
    if (!State.TheSelection->Active) return;
    const SelectionBox box = State.TheSelection->Box(State.CurrentLevel);
    const int L = box.Left, T = box.Top;
    int R = box.Right, B = box.Bottom;
    // A single selected cell only marks where the buffer's top-left corner lands.
    if (box.Width() == 1 && box.Height() == 1) R = TMap::SizeX - 1, B = TMap::SizeY - 1;
    State.TheMap->UndoBuf.BeginStep(); // also for an empty buffer: it ends the redo history
    const size_t w = size_t(State.TheCopyBuf.Width), h = size_t(State.TheCopyBuf.Height);
    // The buffer's levels go up from the box's lowest level, whatever the box's depth.
    for (int k = 0; k < State.TheCopyBuf.Depth; ++k) {
        const int z = box.Low + k;
        if (z >= TMap::SizeZ) break;
        for (int i = 0; i < State.TheCopyBuf.Height; ++i) {
            for (int j = 0; j < State.TheCopyBuf.Width; ++j) {
                const int x = L + j, y = T + i;
                if (x > R || y > B) continue;
                const size_t at = (size_t(k) * h + size_t(i)) * w + size_t(j);
                if (at >= State.TheCopyBuf.Data.size()) continue;
                State.TheMap->SetChip(x, y, z, LevelFilter(z, State.TheCopyBuf.Data[at]));
            }
        }
    }
    SelectionOffAndRedraw(State);
}

void SelectAll(TEditorState& State) {
    if (State.TheSelection->Active && State.TheSelection->GetBound(bWidth) == TMap::SizeX &&
        State.TheSelection->GetBound(bHeight) == TMap::SizeY)
        return;
    State.TheSelection->SetActive(true);
    State.TheSelection->SetCorner(0, 0, 0);
    State.TheSelection->SetCorner(1, TMap::SizeX - 1, TMap::SizeY - 1);
    State.Windows.Edit->PaintView();
}

} // namespace quarvel
