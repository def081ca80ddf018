// TCommandPalette: the small window "コマンド検索" that finds a menu command by typing part of
// its caption. It only returns the chosen command: the caller runs it.
#pragma once

#include <QDialog>
#include <QList>
#include <QString>
#include <string>
#include <vector>

class QLineEdit;
class QTreeWidget;

namespace quarvel {

class TCommandPalette : public QDialog {
    Q_OBJECT

public:
    struct Command {
        QString Name;    // the menu item's name (UP1, ...)
        QString Caption; // as the menu shows it, without the '&' marks
        QString Keys;
    };
    // `recent`: names of the commands run last, the most recent first.
    TCommandPalette(QWidget* owner, QList<Command> commands,
                    const std::vector<std::string>& recent);

    // The name of the command chosen with Enter or a double-click; empty after Escape.
    QString Chosen() const { return ChosenName; }

    QLineEdit* Edit1;       // the typed text
    QTreeWidget* ListView1; // the commands that match it: caption and keys

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Filter();
    void Choose();

    QList<Command> Commands;
    std::vector<size_t> Recent;
    QString ChosenName;
};

} // namespace quarvel
