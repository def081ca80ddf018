// TShortcutDialog: "ショートカットの設定", the list of every menu command with its keys, where
// a command gets another key, no key, or its own keys back. It edits a copy of the table; the
// caller takes it on OK.
#pragma once

#include "editor/shortcuts.h"

#include <QDialog>
#include <QKeySequence>
#include <QList>
#include <string>

class QKeySequenceEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace quarvel {

// A key in the table's spelling (Qt's portable text, "Ctrl+Shift+P"), or "" when `text` is no
// single key: unreadable, several keys in a row, a modifier alone, or control characters.
std::string CanonicalKey(const std::string& text);
// The keys of a table's command as Qt's key sequences.
QList<QKeySequence> KeySequences(const std::vector<std::string>& keys);

class TShortcutDialog : public QDialog {
    Q_OBJECT

public:
    TShortcutDialog(QWidget* owner, const TShortcutTable& table);

    const TShortcutTable& Table() const { return Keys; }

    QLineEdit* Edit1;          // finds a command by the characters of its caption
    QTreeWidget* ListView1;    // caption and keys of each command
    QKeySequenceEdit* HotKey1; // the chosen command's key: typing a key gives it that key
    QPushButton* Button1;      // 消去: no key
    QPushButton* Button2;      // 既定に戻す: its own keys
    QLabel* Label1;            // why a key was not taken
    QPushButton* Button3;      // OK
    QPushButton* Button4;      // キャンセル

private:
    size_t Chosen() const; // the command of the current row; None when no row is current
    void Filter();
    void ShowKeys();
    void ShowRow(size_t i);
    void KeyTyped(const QKeySequence& typed);
    void Refused(const std::string& key, size_t holder);
    void Button1Click();
    void Button2Click();

    TShortcutTable Keys;
    QList<QTreeWidgetItem*> Rows; // one per command in the table's order; none for a fixed one
    bool Showing = false;         // the key field is being set, not typed into
};

} // namespace quarvel
