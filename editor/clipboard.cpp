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
void SelectionOffAndRedraw() {
    TheSelection->SetActive(false);
    Windows.Edit->RedrawLevel();
    Windows.Whole->RedrawAll();
    Windows.Info->UpdateInfo();
}

} // namespace

void CopySelection() {
    if (!TheSelection->Active) return;
    const SelectionBox box = TheSelection->Box(CurrentLevel);
    TheCopyBuf.Width = box.Width();
    TheCopyBuf.Height = box.Height();
    TheCopyBuf.Depth = box.Depth();
    TheCopyBuf.Data.assign(
        size_t(TheCopyBuf.Width) * size_t(TheCopyBuf.Height) * size_t(TheCopyBuf.Depth), 0);
    size_t n = 0;
    for (int z = box.Low; z <= box.High; ++z)
        for (int y = box.Top; y <= box.Bottom; ++y)
            for (int x = box.Left; x <= box.Right; ++x)
                TheCopyBuf.Data[n++] = TheMap->GetChip(x, y, z);
}

void DeleteSelection() {
    if (!TheSelection->Active) return;
    const SelectionBox box = TheSelection->Box(CurrentLevel);
    TheMap->UndoBuf.BeginStep();
    for (int z = box.Low; z <= box.High; ++z)
        for (int y = box.Top; y <= box.Bottom; ++y)
            for (int x = box.Left; x <= box.Right; ++x) TheMap->SetChip(x, y, z, 0);
    SelectionOffAndRedraw();
}

void PasteCopyBuf() {
    if (!TheSelection->Active) return;
    const SelectionBox box = TheSelection->Box(CurrentLevel);
    const int L = box.Left, T = box.Top;
    int R = box.Right, B = box.Bottom;
    // A single selected cell only marks where the buffer's top-left corner lands.
    if (box.Width() == 1 && box.Height() == 1) R = B = 31;
    TheMap->UndoBuf.BeginStep(); // also for an empty buffer: it ends the redo history
    const size_t w = size_t(TheCopyBuf.Width), h = size_t(TheCopyBuf.Height);
    // The buffer's levels go up from the box's lowest level, whatever the box's depth.
    for (int k = 0; k < TheCopyBuf.Depth; ++k) {
        const int z = box.Low + k;
        if (z > 47) break;
        for (int i = 0; i < TheCopyBuf.Height; ++i) {
            for (int j = 0; j < TheCopyBuf.Width; ++j) {
                const int x = L + j, y = T + i;
                if (x > R || y > B) continue;
                const size_t at = (size_t(k) * h + size_t(i)) * w + size_t(j);
                if (at >= TheCopyBuf.Data.size()) continue;
                TheMap->SetChip(x, y, z, LevelFilter(z, TheCopyBuf.Data[at]));
            }
        }
    }
    SelectionOffAndRedraw();
}

void SelectAll() {
    if (TheSelection->Active && TheSelection->GetBound(bWidth) == 32 &&
        TheSelection->GetBound(bHeight) == 32)
        return;
    TheSelection->SetActive(true);
    TheSelection->SetCorner(0, 0, 0);
    TheSelection->SetCorner(1, 31, 31);
    Windows.Edit->PaintView();
}

} // namespace quarvel
