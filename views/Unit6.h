// TForm6: the dialog "国の入れ替え" that swaps two countries' chips over the whole map.
#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;

namespace quarvel {

class TEditorState;

class TForm6 : public QDialog {
    Q_OBJECT

public:
    explicit TForm6(TEditorState& state, QWidget* owner = nullptr);

    QComboBox* ComboBox1 = nullptr;
    QLabel* Label1 = nullptr;
    QComboBox* ComboBox2 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;

    void Button1Click();
    void Button2Click() { done(2); }
    void reject() override { done(2); }

private:
    TEditorState& State;
};

} // namespace quarvel
