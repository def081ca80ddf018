// TForm5: the dialog "マップをずらす" that shifts the whole map by X, Y and Z offsets.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace quarvel {

class TEditorState;

class TForm5 : public QDialog {
    Q_OBJECT

public:
    explicit TForm5(TEditorState& state, QWidget* owner = nullptr);

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* Edit1 = nullptr; // X
    QLineEdit* Edit2 = nullptr; // Y
    QLineEdit* Edit3 = nullptr; // Z
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;

    virtual void Button1Click();
    void Button2Click() { done(2); }
    // Without a close box, Escape (or a window manager's close) ends as Cancel.
    void reject() override { done(2); }

protected:
    TEditorState& State;
    // The edits' key filter: only backspace, '-' and digits are typed.
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace quarvel
