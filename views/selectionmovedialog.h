// TSelectionMoveDialog: the dialog "選択範囲を移動" that asks for the X, Y and Z offsets of a
// move of the selection box; the shift dialog's controls and input rules. It only returns
// the offsets: the caller moves.
#pragma once

#include "editor/windows.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace quarvel {

class TSelectionMoveDialog : public QDialog {
    Q_OBJECT

public:
    explicit TSelectionMoveDialog(QWidget* owner = nullptr, MoveOffsets start = {});

    // The offsets of the OK that ended the dialog.
    MoveOffsets Offsets() const { return Chosen; }

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* Edit1 = nullptr; // X
    QLineEdit* Edit2 = nullptr; // Y
    QLineEdit* Edit3 = nullptr; // Z
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;

    // OK: three integers end the dialog with OK; a text that is not one is shown and the
    // dialog stays open.
    void Button1Click();
    void reject() override { done(2); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    MoveOffsets Chosen;
};

} // namespace quarvel
