// TForm6: the swap dialog's controls and OK.
#include "views/Unit6.h"

#include "editor/global.h"
#include "editor/maptooldialogs.h"
#include "views/application.h"
#include "views/dialogframe.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

namespace quarvel {

TForm6::TForm6(TEditorState& state, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), State(state) {
    setObjectName("Form6");
    setWindowTitle(QCoreApplication::translate("Form6", "国の入れ替え"));
    setFixedSize(160, 120);
    FitFixedDialog(this); // wider where the caption needs it
    move(0, 0);

    auto combo = [this](const char* name, int x) {
        auto* c = new QComboBox(this);
        c->setObjectName(name);
        c->setGeometry(x, 22, 53, 20);
        for (const char* t : {QT_TRANSLATE_NOOP("Form6", "緑"), QT_TRANSLATE_NOOP("Form6", "赤"),
                              QT_TRANSLATE_NOOP("Form6", "白"), QT_TRANSLATE_NOOP("Form6", "青")})
            c->addItem(QCoreApplication::translate("Form6", t));
        c->setCurrentIndex(0);
        return c;
    };
    ComboBox1 = combo("ComboBox1", 8);
    Label1 = new QLabel("<->", this);
    Label1->setObjectName("Label1");
    Label1->setTextFormat(Qt::PlainText);
    Label1->move(67, 25);
    Label1->adjustSize();
    ComboBox2 = combo("ComboBox2", 88);
    // Colour names longer than the lists show (the English ones) widen both lists, and the
    // dialog with them; the Japanese ones fit as they are.
    const int listWidth = ComboBox1->width();
    const int wider = std::max(ComboBox1->sizeHint().width(), listWidth) - listWidth;
    if (wider > 0) {
        ComboBox1->resize(listWidth + wider, ComboBox1->height());
        Label1->move(Label1->x() + wider, Label1->y());
        ComboBox2->setGeometry(ComboBox2->geometry().adjusted(wider, 0, 2 * wider, 0));
        setFixedSize(width() + 2 * wider, height());
    }
    Button1 = new QPushButton("OK", this);
    Button1->setObjectName("Button1");
    Button1->setGeometry(2, 68, 75, 25);
    Button2 = new QPushButton(QCoreApplication::translate("Form6", "キャンセル"), this);
    Button2->setObjectName("Button2");
    Button2->setGeometry(83, 68, 75, 25);
    for (QPushButton* b : {Button1, Button2}) b->setAutoDefault(false);
    Button1->setDefault(true); // Enter is OK
    setTabOrder(ComboBox1, ComboBox2);
    setTabOrder(ComboBox2, Button1);
    setTabOrder(Button1, Button2);
    ComboBox1->setFocus();

    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
}

void TForm6::Button1Click() {
    int result = 0;
    if (RunGuarded([&] {
            result = SwapDialogOk(State, ComboBox1->currentIndex(), ComboBox2->currentIndex());
        }))
        done(result);
}

} // namespace quarvel
