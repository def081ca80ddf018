// TCommandPalette: typing filters the list, Enter or a double-click chooses, Escape closes.
#include "views/commandpalette.h"

#include "editor/commandsearch.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace quarvel {

TCommandPalette::TCommandPalette(QWidget* owner, QList<Command> commands,
                                 const std::vector<std::string>& recent)
    : QDialog(owner), Commands(std::move(commands)) {
    setObjectName("CommandPalette");
    setWindowTitle(QCoreApplication::translate("CommandPalette", "コマンド検索"));
    for (const std::string& name : recent)
        for (int i = 0; i < Commands.size(); ++i)
            if (Commands[i].Name.toStdString() == name) Recent.push_back(size_t(i));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName("Edit1");
    ListView1 = new QTreeWidget(this);
    ListView1->setObjectName("ListView1");
    ListView1->setColumnCount(2);
    ListView1->setHeaderHidden(true);
    ListView1->setRootIsDecorated(false);
    ListView1->setFocusPolicy(Qt::NoFocus); // the keys stay in the text box
    ListView1->header()->setStretchLastSection(false);
    ListView1->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    ListView1->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Edit1);
    layout->addWidget(ListView1);
    resize(420, 360);
    Edit1->installEventFilter(this);
    connect(Edit1, &QLineEdit::textChanged, this, [this] { Filter(); });
    connect(ListView1, &QTreeWidget::itemDoubleClicked, this, [this] { Choose(); });
    Filter();
    Edit1->setFocus();
}

void TCommandPalette::Filter() {
    std::vector<std::string> captions;
    for (const Command& c : Commands) captions.push_back(c.Caption.toStdString());
    ListView1->clear();
    for (size_t i : FindCommands(captions, Recent, Edit1->text().toStdString())) {
        const Command& c = Commands[int(i)];
        auto* item = new QTreeWidgetItem(ListView1, {c.Caption, c.Keys});
        item->setData(0, Qt::UserRole, c.Name);
    }
    if (ListView1->topLevelItemCount() > 0) ListView1->setCurrentItem(ListView1->topLevelItem(0));
}

void TCommandPalette::Choose() {
    if (QTreeWidgetItem* item = ListView1->currentItem()) {
        ChosenName = item->data(0, Qt::UserRole).toString();
        accept();
    }
}

bool TCommandPalette::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Edit1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            Choose();
            return true;
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            // The arrows walk the list while typing goes on in the box.
            QCoreApplication::sendEvent(ListView1, event);
            return true;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace quarvel
