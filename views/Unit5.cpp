// TForm5: the shift dialog's controls, key filter and OK.
#include "views/Unit5.h"

#include "editor/global.h"
#include "editor/maptooldialogs.h"
#include "views/application.h"
#include "views/dialogframe.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace quarvel {

TForm5::TForm5(TEditorState& state, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), State(state) {
    setObjectName("Form5");
    setWindowTitle(QString::fromUtf8("マップをずらす"));
    setFixedSize(160, 120);
    FitFixedDialog(this); // wider where the caption needs it
    move(0, 0);

    auto label = [this](const char* name, const char* text, int y) {
        auto* l = new QLabel(QString::fromUtf8(text), this);
        l->setObjectName(name);
        l->move(8, y);
        l->adjustSize();
        return l;
    };
    auto edit = [this](const char* name, int y) {
        auto* e = new QLineEdit("0", this);
        e->setObjectName(name);
        e->setGeometry(44, y, 49, 20);
        e->installEventFilter(this);
        return e;
    };
    Label1 = label("Label1", "X方向", 8);
    Label2 = label("Label2", "Y方向", 32);
    Label3 = label("Label3", "Z方向", 56);
    Edit1 = edit("Edit1", 4);
    Edit2 = edit("Edit2", 28);
    Edit3 = edit("Edit3", 52);
    Button1 = new QPushButton("OK", this);
    Button1->setObjectName("Button1");
    Button1->setGeometry(4, 88, 75, 25);
    Button2 = new QPushButton(QString::fromUtf8("キャンセル"), this);
    Button2->setObjectName("Button2");
    Button2->setGeometry(84, 88, 75, 25);
    for (QPushButton* b : {Button1, Button2}) b->setAutoDefault(false);
    setTabOrder(Edit1, Edit2);
    setTabOrder(Edit2, Edit3);
    setTabOrder(Edit3, Button1);
    setTabOrder(Button1, Button2);
    Edit1->setFocus();

    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
}

void TForm5::Button1Click() {
    int result = 0;
    // An offset that is not an integer is shown; the dialog stays open and nothing changed.
    if (RunGuarded([&] {
            result = ShiftDialogOk(State, Edit1->text().toStdString(), Edit2->text().toStdString(),
                                   Edit3->text().toStdString());
        }))
        done(result);
}

bool TForm5::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress &&
        (watched == Edit1 || watched == Edit2 || watched == Edit3)) {
        auto* key = static_cast<QKeyEvent*>(event);
        switch (key->key()) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Escape:
        case Qt::Key_Delete:
            return false; // moving between controls, closing and deleting are not typing
        default:
            break;
        }
        const QString text = key->text();
        if (!text.isEmpty() && !ShiftKeyAllowed(text.at(0).unicode())) return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace quarvel
