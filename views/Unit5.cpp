// TOffsetsDialog: the offset dialogs' controls and key filter; TForm5: the shift dialog's OK.
#include "views/Unit5.h"

#include "editor/global.h"
#include "editor/maptooldialogs.h"
#include "views/application.h"
#include "views/dialogframe.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace quarvel {

// True for a key that must not be typed into an offset: backspace, '-' and the digits are
// typed; moving between controls, Return and Enter (OK), Escape and Delete pass on.
bool RefusedOffsetKey(QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Delete:
        return false; // moving between controls, OK, closing and deleting are not typing
    default:
        break;
    }
    const QString text = key->text();
    return !text.isEmpty() && !ShiftKeyAllowed(text.at(0).unicode());
}

TOffsetsDialog::TOffsetsDialog(QWidget* owner, const char* name, const char* caption, int x, int y,
                               int z)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(name);
    setWindowTitle(QCoreApplication::translate("OffsetsDialog", caption));
    setFixedSize(160, 120);
    FitFixedDialog(this); // wider where the caption needs it
    move(0, 0);

    auto label = [this](const char* name, const char* text, int y) {
        auto* l = new QLabel(QCoreApplication::translate("OffsetsDialog", text), this);
        l->setObjectName(name);
        l->move(8, y);
        l->adjustSize();
        return l;
    };
    auto edit = [this](const char* name, int y, int value) {
        auto* e = new QLineEdit(QString::number(value), this);
        e->setObjectName(name);
        e->setGeometry(44, y, 49, 20);
        e->installEventFilter(this);
        return e;
    };
    Label1 = label("Label1", QT_TRANSLATE_NOOP("OffsetsDialog", "X方向"), 8);
    Label2 = label("Label2", QT_TRANSLATE_NOOP("OffsetsDialog", "Y方向"), 32);
    Label3 = label("Label3", QT_TRANSLATE_NOOP("OffsetsDialog", "Z方向"), 56);
    Edit1 = edit("Edit1", 4, x);
    Edit2 = edit("Edit2", 28, y);
    Edit3 = edit("Edit3", 52, z);
    Button1 = new QPushButton("OK", this);
    Button1->setObjectName("Button1");
    Button1->setGeometry(4, 88, 75, 25);
    Button2 = new QPushButton(QCoreApplication::translate("OffsetsDialog", "キャンセル"), this);
    Button2->setObjectName("Button2");
    Button2->setGeometry(84, 88, 75, 25);
    for (QPushButton* b : {Button1, Button2}) b->setAutoDefault(false);
    Button1->setDefault(true); // Enter is OK
    setTabOrder(Edit1, Edit2);
    setTabOrder(Edit2, Edit3);
    setTabOrder(Edit3, Button1);
    setTabOrder(Button1, Button2);
    Edit1->setFocus();
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
}

bool TOffsetsDialog::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == Edit1 || watched == Edit2 || watched == Edit3) && RefusedOffsetKey(event))
        return true;
    return QDialog::eventFilter(watched, event);
}

TForm5::TForm5(TEditorState& state, QWidget* owner)
    : TOffsetsDialog(owner, "Form5", QT_TRANSLATE_NOOP("OffsetsDialog", "マップをずらす"), 0, 0, 0),
      State(state) {
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
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

} // namespace quarvel
