// TForm5: the dialog "マップをずらす" that shifts the whole map by X, Y and Z offsets, and
// TOffsetsDialog, the controls and input rules it shares with the move dialog.
#pragma once

#include <QDialog>

class QEvent;
class QLabel;
class QLineEdit;
class QPushButton;

namespace quarvel {

class TEditorState;

// True for a key press that must not be typed into a number box of the offset dialogs (and
// the replace dialog): only digits, '-' and backspace are typed.
bool RefusedOffsetKey(QEvent* event);

// A fixed dialog of three offsets: "X方向", "Y方向", "Z方向" with their edits (only offset
// keys are typed), OK (the default button: Enter) and キャンセル. What OK does is the
// dialog's own; キャンセル, Escape or a window manager's close end it as Cancel (2).
class TOffsetsDialog : public QDialog {
    Q_OBJECT

public:
    // `caption` is shown through the translations of the context "OffsetsDialog".
    TOffsetsDialog(QWidget* owner, const char* name, const char* caption, int x, int y, int z);

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* Edit1 = nullptr; // X
    QLineEdit* Edit2 = nullptr; // Y
    QLineEdit* Edit3 = nullptr; // Z
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;

    void Button2Click() { done(2); }
    void reject() override { done(2); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

class TForm5 : public TOffsetsDialog {
    Q_OBJECT

public:
    explicit TForm5(TEditorState& state, QWidget* owner = nullptr);

    // Shifts the map; an offset that is not an integer is shown and the dialog stays open.
    void Button1Click();

private:
    TEditorState& State;
};

} // namespace quarvel
