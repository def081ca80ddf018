// TSelectionMoveDialog: the move dialog's OK.
#include "views/selectionmovedialog.h"

#include "editor/maptooldialogs.h"
#include "views/application.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>

namespace quarvel {

TSelectionMoveDialog::TSelectionMoveDialog(QWidget* owner, MoveOffsets start)
    : TOffsetsDialog(owner, "SelectionMoveDialog",
                     QT_TRANSLATE_NOOP("OffsetsDialog", "選択範囲を移動"), start.X, start.Y,
                     start.Z) {
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
}

void TSelectionMoveDialog::Button1Click() {
    MoveOffsets offsets;
    // An offset that is not an integer is shown like the shift dialog shows it.
    if (RunGuarded([&] {
            offsets.X = StrToInt(Edit1->text().toStdString());
            offsets.Y = StrToInt(Edit2->text().toStdString());
            offsets.Z = StrToInt(Edit3->text().toStdString());
        })) {
        Chosen = offsets;
        done(1);
    }
}

} // namespace quarvel
