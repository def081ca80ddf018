// TChipReplaceDialog: the dialog "チップの置換" that asks for the chip to find, the chip that
// replaces it and the range, with the shift dialog's look and number boxes. It only returns
// the choices and the button pressed: the caller replaces or finds.
#pragma once

#include "editor/windows.h"
#include "views/indexedimage.h"

#include <QDialog>

class QCheckBox;
class QEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace quarvel {

class TEditorState;

class TChipReplaceDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int ReplaceResult = 1;  // 置換 (the default button: Enter)
    static constexpr int CancelResult = 2;   // キャンセル, Escape, close
    static constexpr int FindNextResult = 3; // 次を検索

    TChipReplaceDialog(TEditorState& state, QWidget* owner, const ReplaceChoices& start);

    // The choices of the button that ended the dialog (the start choices after a cancel).
    ReplaceChoices Choices() const { return Chosen; }

    QLabel* Label1 = nullptr;             // 検索するチップ
    QLabel* Label2 = nullptr;             // 置換するチップ
    QLabel* Label3 = nullptr;             // the name of the chip to find
    QLabel* Label4 = nullptr;             // the name of the replacing chip
    QLabel* Label5 = nullptr;             // 範囲
    QLabel* Label6 = nullptr;             // the "～" between the levels
    QLineEdit* Edit1 = nullptr;           // chip to find
    QLineEdit* Edit2 = nullptr;           // replacing chip
    QLineEdit* Edit3 = nullptr;           // lowest level
    QLineEdit* Edit4 = nullptr;           // highest level
    QRadioButton* RadioButton1 = nullptr; // 選択範囲
    QRadioButton* RadioButton2 = nullptr; // マップ全体
    QCheckBox* CheckBox1 = nullptr;       // 階層
    QPushButton* Button1 = nullptr;       // 置換
    QPushButton* Button2 = nullptr;       // 次を検索
    QPushButton* Button3 = nullptr;       // キャンセル

    // The numbers are checked as the shift dialog checks its offsets (and must lie in
    // 0..167 or 0..47): a wrong one is shown and the dialog stays open.
    void Button1Click();
    void Button2Click();
    void reject() override { done(CancelResult); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool Read(bool needTo);
    void ShowName(QLineEdit* edit, QLabel* label);

    TEditorState& State;
    ReplaceChoices Chosen;
    TIndexedImage Sheet;
};

} // namespace quarvel
