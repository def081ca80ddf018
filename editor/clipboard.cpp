// The clipboard commands: the selection of the current level to and from the copy buffer.
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
    const int left = TheSelection->GetBound(0), top = TheSelection->GetBound(1);
    TheCopyBuf.Width = TheSelection->GetBound(4);
    TheCopyBuf.Height = TheSelection->GetBound(5);
    TheCopyBuf.Data.assign(size_t(TheCopyBuf.Width) * size_t(TheCopyBuf.Height), 0);
    for (int i = 0; i < TheCopyBuf.Height; ++i)
        for (int j = 0; j < TheCopyBuf.Width; ++j)
            TheCopyBuf.Data[size_t(i) * size_t(TheCopyBuf.Width) + size_t(j)] =
                TheMap->GetChip(left + j, top + i, CurrentLevel);
}

void DeleteSelection() {
    if (!TheSelection->Active) return;
    TheMap->UndoBuf.BeginStep();
    for (int y = TheSelection->GetBound(1); y <= TheSelection->GetBound(3); ++y)
        for (int x = TheSelection->GetBound(0); x <= TheSelection->GetBound(2); ++x)
            TheMap->SetChip(x, y, CurrentLevel, 0);
    SelectionOffAndRedraw();
}

void PasteCopyBuf() {
    if (!TheSelection->Active) return;
    const int L = TheSelection->GetBound(0), T = TheSelection->GetBound(1);
    int R = TheSelection->GetBound(2), B = TheSelection->GetBound(3);
    // A single selected cell only marks where the buffer's top-left corner lands.
    if (TheSelection->GetBound(4) == 1 && TheSelection->GetBound(5) == 1) R = B = 31;
    TheMap->UndoBuf.BeginStep(); // also for an empty buffer: it ends the redo history
    for (int i = 0; i < TheCopyBuf.Height; ++i) {
        for (int j = 0; j < TheCopyBuf.Width; ++j) {
            const int x = L + j, y = T + i;
            if (x > R || y > B) continue;
            const uint8_t chip = TheCopyBuf.Data[size_t(i) * size_t(TheCopyBuf.Width) + size_t(j)];
            TheMap->SetChip(x, y, CurrentLevel, LevelFilter(CurrentLevel, chip));
        }
    }
    SelectionOffAndRedraw();
}

void SelectAll() {
    if (TheSelection->Active && TheSelection->GetBound(4) == 32 && TheSelection->GetBound(5) == 32)
        return;
    TheSelection->SetActive(true);
    TheSelection->SetCorner(0, 0, 0);
    TheSelection->SetCorner(1, 31, 31);
    Windows.Edit->PaintView();
}

} // namespace quarvel
