// TSelectionMoveDialog: the move dialog's controls, key filter and OK.
#include "views/selectionmovedialog.h"

#include "editor/maptooldialogs.h"
#include "views/Unit5.h"
#include "views/application.h"
#include "views/dialogframe.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace quarvel {

TSelectionMoveDialog::TSelectionMoveDialog(QWidget* owner, MoveOffsets start)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName("SelectionMoveDialog");
    setWindowTitle(QString::fromUtf8("選択範囲を移動"));
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
    auto edit = [this](const char* name, int y, int value) {
        auto* e = new QLineEdit(QString::number(value), this);
        e->setObjectName(name);
        e->setGeometry(44, y, 49, 20);
        e->installEventFilter(this);
        return e;
    };
    Label1 = label("Label1", "X方向", 8);
    Label2 = label("Label2", "Y方向", 32);
    Label3 = label("Label3", "Z方向", 56);
    Edit1 = edit("Edit1", 4, start.X);
    Edit2 = edit("Edit2", 28, start.Y);
    Edit3 = edit("Edit3", 52, start.Z);
    Button1 = new QPushButton("OK", this);
    Button1->setObjectName("Button1");
    Button1->setGeometry(4, 88, 75, 25);
    Button2 = new QPushButton(QString::fromUtf8("キャンセル"), this);
    Button2->setObjectName("Button2");
    Button2->setGeometry(84, 88, 75, 25);
    for (QPushButton* b : {Button1, Button2}) b->setAutoDefault(false);
    Button1->setDefault(true); // Enter is OK
    setTabOrder(Edit1, Edit2);
    setTabOrder(Edit2, Edit3);
    setTabOrder(Edit3, Button1);
    setTabOrder(Button1, Button2);
    Edit1->setFocus();

    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(Button2, &QPushButton::clicked, this, [this] { done(2); });
}

void TSelectionMoveDialog::Button1Click() {
    MoveOffsets offsets;
    // An offset that is not an integer is shown like the shift dialog shows it.
    if (RunGuarded([&] {
            offsets.X = StrToInt(Edit1->text().toStdString());
            offsets.Y = StrToInt(Edit2->text().toStdString());
            offsets.Z = StrToInt(Edit3->text().toStdString());
        })) {
        Chosen = offsets;
        done(1);
    }
}

bool TSelectionMoveDialog::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == Edit1 || watched == Edit2 || watched == Edit3) && RefusedOffsetKey(event))
        return true;
    return QDialog::eventFilter(watched, event);
}

} // namespace quarvel
