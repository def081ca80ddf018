// TForm4: the info panel "情報", an always-on-top tool window with the map's name and
// terrain set, the cursor position, the level, the chips and the chip palette. Its controls
// forward to the panel's rules; UpdateInfo shows the editor state again.
#pragma once

#include "editor/infopanel.h"
#include "editor/windows.h"
#include "views/indexedimage.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;

namespace quarvel {

class TEditorState;

class TForm4 : public QWidget, public IInfoPanel {
public:
    TForm4(TEditorState& state, QWidget* owner);

    void UpdateInfo() override;
    void PaintPalette() override;
    void ShowSelection() override;

    QLineEdit* Edit1 = nullptr;     // map name
    QComboBox* ComboBox1 = nullptr; // terrain set
    QLineEdit* Edit2 = nullptr;     // CursorX
    QLineEdit* Edit3 = nullptr;     // CursorY
    QComboBox* ComboBox2 = nullptr; // level
    QComboBox* ComboBox3 = nullptr; // chip
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr; // name of the chip in the cursor cell
    QLabel* Label6 = nullptr; // name of the current chip
    QLabel* Label7 = nullptr; // levels of the selection box while it spans several
    QLabel* Label8 = nullptr; // the count of changed cells while they are outlined

    // Where the chips are painted on the panel.
    static QRect CursorChipRect() { return QRect(96, 48, 64, 48); }
    static QRect CurrentChipRect() { return QRect(96, 104, 64, 48); }
    static QRect PaletteRect() {
        return QRect(PaletteLeft, PaletteTop, PaletteColumns * PaletteCellWidth,
                     PaletteRows * PaletteCellHeight);
    }
    // The place of palette entry i on the panel.
    static QRect PaletteCellRect(int i) {
        return QRect(PaletteLeft + (i % PaletteColumns) * PaletteCellWidth,
                     PaletteTop + (i / PaletteColumns) * PaletteCellHeight, PaletteCellWidth,
                     PaletteCellHeight);
    }
    // The palette entry that shows the current chip (the first one, for a chip shown more
    // than once), or -1 when the palette does not hold it.
    int MarkedPaletteEntry() const;
    // The tip shown over (X, Y) of the panel: the name of the palette chip there, or empty.
    QString PaletteToolTip(QPoint at) const;

protected:
    bool event(QEvent* e) override;
    // The panel stays for the whole run: every request to close it is refused.
    void closeEvent(QCloseEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;

private:
    TEditorState& State;
    // Everything UpdateInfo shows except the painted chips: caption, lists, texts, labels.
    void ShowState();
    void Edit1Edited(const QString& text);
    void DrawChip(QPainter& painter, int size, int chip, QPoint at);

    QString Edit1Accepted; // the name box's text after the last accepted change
    TIndexedImage SheetImages[2];
    bool StatePending = false; // a paint has asked for ShowState
};

} // namespace quarvel
