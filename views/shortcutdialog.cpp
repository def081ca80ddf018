// TShortcutDialog: choosing a command, typing its new key, clearing it or putting its own keys
// back; a key another command has is refused with that command's name.
#include "views/shortcutdialog.h"

#include "editor/commandsearch.h"

#include <QCoreApplication>
#include <QFont>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>

namespace quarvel {

namespace {

bool ModifierOnly(int key) {
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Meta:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
    case Qt::Key_unknown:
    case 0:
        return true;
    default:
        return false;
    }
}

// A key field that reports each key as it is typed (QKeySequenceEdit itself reports a sequence
// only a second after the last key).
class TKeyField : public QKeySequenceEdit {
public:
    explicit TKeyField(QWidget* owner) : QKeySequenceEdit(owner) {}
    std::function<void(const QKeySequence&)> Typed;

protected:
    void keyPressEvent(QKeyEvent* e) override {
        const QKeySequence before = keySequence();
        QKeySequenceEdit::keyPressEvent(e);
        const QKeySequence after = keySequence();
        if (Typed && !after.isEmpty() && after != before) Typed(after);
    }
};

QString NativeKeys(const std::vector<std::string>& keys) {
    return QKeySequence::listToString(KeySequences(keys), QKeySequence::NativeText);
}

} // namespace

std::string CanonicalKey(const std::string& text) {
    const QString s = QString::fromUtf8(text.data(), qsizetype(text.size()));
    for (QChar c : s)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F) return "";
    const QKeySequence key = QKeySequence::fromString(s, QKeySequence::PortableText);
    if (key.count() != 1 || ModifierOnly(key[0].key())) return "";
    const QString spelled = key.toString(QKeySequence::PortableText);
    // A key that its own spelling does not read back as is no key to keep.
    if (QKeySequence::fromString(spelled, QKeySequence::PortableText) != key) return "";
    return spelled.toStdString();
}

QList<QKeySequence> KeySequences(const std::vector<std::string>& keys) {
    QList<QKeySequence> list;
    for (const std::string& k : keys)
        list.append(
            QKeySequence::fromString(QString::fromStdString(k), QKeySequence::PortableText));
    return list;
}

TShortcutDialog::TShortcutDialog(QWidget* owner, const TShortcutTable& table)
    : QDialog(owner), Keys(table) {
    setObjectName("ShortcutDialog");
    setWindowTitle(QCoreApplication::translate("TShortcutDialog", "ショートカットの設定"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName("Edit1");
    ListView1 = new QTreeWidget(this);
    ListView1->setObjectName("ListView1");
    ListView1->setColumnCount(2);
    ListView1->setHeaderLabels({QCoreApplication::translate("TShortcutDialog", "コマンド"),
                                QCoreApplication::translate("TShortcutDialog", "キー")});
    ListView1->setRootIsDecorated(false);
    ListView1->header()->setStretchLastSection(false);
    ListView1->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    ListView1->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    for (size_t i = 0; i < Keys.Size(); ++i) {
        if (Keys.Command(i).Fixed) {
            Rows.append(nullptr); // a menu's own key: not the user's to change
            continue;
        }
        auto* row =
            new QTreeWidgetItem(ListView1, {QString::fromStdString(Keys.Command(i).Caption)});
        row->setData(0, Qt::UserRole, qulonglong(i));
        Rows.append(row);
        ShowRow(i);
    }
    auto* field = new TKeyField(this);
    field->Typed = [this](const QKeySequence& typed) { KeyTyped(typed); };
    HotKey1 = field;
    HotKey1->setObjectName("HotKey1");
    Button1 = new QPushButton(QCoreApplication::translate("TShortcutDialog", "消去"), this);
    Button1->setObjectName("Button1");
    Button1->setAutoDefault(false);
    Button2 = new QPushButton(QCoreApplication::translate("TShortcutDialog", "既定に戻す"), this);
    Button2->setObjectName("Button2");
    Button2->setAutoDefault(false);
    Label1 = new QLabel(this);
    Label1->setObjectName("Label1");
    Label1->setWordWrap(true);
    Button3 = new QPushButton(QCoreApplication::translate("TShortcutDialog", "OK"), this);
    Button3->setObjectName("Button3");
    Button3->setDefault(true);
    Button4 = new QPushButton(QCoreApplication::translate("TShortcutDialog", "キャンセル"), this);
    Button4->setObjectName("Button4");
    Button4->setAutoDefault(false);

    auto* keyRow = new QHBoxLayout;
    keyRow->addWidget(new QLabel(QCoreApplication::translate("TShortcutDialog", "キー:"), this));
    keyRow->addWidget(HotKey1, 1);
    keyRow->addWidget(Button1);
    keyRow->addWidget(Button2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Button3);
    buttons->addWidget(Button4);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Edit1);
    layout->addWidget(ListView1, 1);
    layout->addLayout(keyRow);
    layout->addWidget(Label1);
    layout->addLayout(buttons);
    resize(480, 480);

    connect(Edit1, &QLineEdit::textChanged, this, [this] { Filter(); });
    connect(ListView1, &QTreeWidget::currentItemChanged, this, [this] {
        Label1->clear();
        ShowKeys();
    });
    // A double-click on a command goes to its key field.
    connect(ListView1, &QTreeWidget::itemDoubleClicked, this, [this] { HotKey1->setFocus(); });
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    connect(Button3, &QPushButton::clicked, this, [this] { accept(); });
    connect(Button4, &QPushButton::clicked, this, [this] { reject(); });
    Filter();
    Edit1->setFocus();
}

size_t TShortcutDialog::Chosen() const {
    const QTreeWidgetItem* row = ListView1->currentItem();
    return row && !row->isHidden() ? size_t(row->data(0, Qt::UserRole).toULongLong())
                                   : TShortcutTable::None;
}

void TShortcutDialog::Filter() {
    std::vector<std::string> captions;
    for (size_t i = 0; i < Keys.Size(); ++i) captions.push_back(Keys.Command(i).Caption);
    std::vector<size_t> found = FindCommands(captions, {}, Edit1->text().toStdString());
    found.erase(
        std::remove_if(found.begin(), found.end(), [this](size_t i) { return !Rows[int(i)]; }),
        found.end());
    for (size_t i = 0; i < Keys.Size(); ++i)
        if (Rows[int(i)])
            Rows[int(i)]->setHidden(std::find(found.begin(), found.end(), i) == found.end());
    // The best match is the chosen command.
    ListView1->setCurrentItem(found.empty() ? nullptr : Rows[int(found.front())]);
    ShowKeys();
}

void TShortcutDialog::ShowRow(size_t i) {
    QTreeWidgetItem* row = Rows[int(i)];
    row->setText(1, NativeKeys(Keys.Keys(i)));
    QFont font = row->font(0);
    font.setBold(Keys.Changed(i)); // a changed command stands out
    row->setFont(0, font);
    row->setFont(1, font);
}

void TShortcutDialog::ShowKeys() {
    const size_t i = Chosen();
    const QSignalBlocker quiet(HotKey1);
    Showing = true;
    HotKey1->clear();
    if (i != TShortcutTable::None) {
        const QList<QKeySequence> keys = KeySequences(Keys.Keys(i));
        if (!keys.isEmpty()) HotKey1->setKeySequence(keys.first());
        ShowRow(i);
    }
    HotKey1->setEnabled(i != TShortcutTable::None);
    Button1->setEnabled(i != TShortcutTable::None);
    Button2->setEnabled(i != TShortcutTable::None);
    Showing = false;
}

void TShortcutDialog::KeyTyped(const QKeySequence& typed) {
    const size_t i = Chosen();
    if (Showing || i == TShortcutTable::None || typed.isEmpty()) return;
    // One key per command: the last one typed.
    const QKeySequence last(typed[typed.count() - 1]);
    const std::string key = CanonicalKey(last.toString(QKeySequence::PortableText).toStdString());
    if (key.empty()) return;
    const size_t holder = Keys.Assign(i, key);
    if (holder != TShortcutTable::None)
        Refused(key, holder);
    else
        Label1->clear();
    ShowKeys();
    // The key field takes one key: the keys typed next (Return, Tab) are the dialog's again.
    ListView1->setFocus();
}

void TShortcutDialog::Refused(const std::string& key, size_t holder) {
    Label1->setText(QCoreApplication::translate("TShortcutDialog", "%1 は「%2」のキーです。")
                        .arg(KeySequences({key}).first().toString(QKeySequence::NativeText),
                             QString::fromStdString(Keys.Command(holder).Caption)));
}

void TShortcutDialog::Button1Click() {
    if (const size_t i = Chosen(); i != TShortcutTable::None) {
        Keys.Assign(i, "");
        Label1->clear();
        ShowKeys();
    }
}

void TShortcutDialog::Button2Click() {
    const size_t i = Chosen();
    if (i == TShortcutTable::None) return;
    const size_t holder = Keys.PutBackDefault(i);
    if (holder == TShortcutTable::None) {
        Label1->clear();
    } else {
        for (const std::string& key : Keys.Command(i).Defaults)
            if (Keys.Holder(key, i) == holder) {
                Refused(key, holder);
                break;
            }
    }
    ShowKeys();
}

} // namespace quarvel
