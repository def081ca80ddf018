// TChipReplaceDialog: the replace dialog's controls, chip pictures and buttons.
#include "views/chipreplacedialog.h"

#include "editor/chipreplace.h"
#include "editor/global.h"
#include "editor/infopanel.h"
#include "graphics/chipsheet.h"
#include "map/chipclasses.h"
#include "map/mapclass.h"
#include "views/Unit5.h"
#include "views/application.h"
#include "views/dialogframe.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>

namespace quarvel {

namespace {

constexpr int PictureX = 100; // the chip pictures' left edge
constexpr int Row1 = 4, Row2 = 40;

// The chip of a number box, or -1 while it holds no chip number.
int ChipOf(const QLineEdit* edit) {
    bool ok = false;
    const int chip = edit->text().toInt(&ok);
    return ok && chip >= 0 && chip < TMap::ChipCount ? chip : -1;
}

} // namespace

TChipReplaceDialog::TChipReplaceDialog(TEditorState& state, QWidget* owner,
                                       const ReplaceChoices& start)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), State(state),
      Chosen(start) {
    setObjectName("ChipReplaceDialog");
    setWindowTitle(QCoreApplication::translate("ChipReplaceDialog", "チップの置換"));
    setFixedSize(300, 184);
    FitFixedDialog(this);
    move(0, 0);

    auto label = [this](const char* name, const char* text, int x, int y) {
        auto* l = new QLabel(QCoreApplication::translate("ChipReplaceDialog", text), this);
        l->setObjectName(name);
        l->move(x, y);
        l->adjustSize();
        return l;
    };
    auto edit = [this](const char* name, int x, int y, int value) {
        auto* e = new QLineEdit(QString::number(value), this);
        e->setObjectName(name);
        e->setGeometry(x, y, 40, 20);
        e->installEventFilter(this);
        return e;
    };
    Label1 = label("Label1", QT_TRANSLATE_NOOP("ChipReplaceDialog", "検索するチップ"), 8, Row1 + 4);
    Label2 = label("Label2", QT_TRANSLATE_NOOP("ChipReplaceDialog", "置換するチップ"), 8, Row2 + 4);
    Edit1 = edit("Edit1", 8, Row1 + 16, start.From);
    Edit2 = edit("Edit2", 8, Row2 + 16, start.To);
    Label3 = label("Label3", "", PictureX + ChipWidth[1] + 6, Row1 + 10);
    Label4 = label("Label4", "", PictureX + ChipWidth[1] + 6, Row2 + 10);
    Label5 = label("Label5", QT_TRANSLATE_NOOP("ChipReplaceDialog", "範囲"), 8, 84);
    RadioButton1 =
        new QRadioButton(QCoreApplication::translate("ChipReplaceDialog", "選択範囲"), this);
    RadioButton1->setObjectName("RadioButton1");
    RadioButton1->setGeometry(44, 80, 90, 20);
    RadioButton1->setEnabled(start.SelectionOn);
    RadioButton2 =
        new QRadioButton(QCoreApplication::translate("ChipReplaceDialog", "マップ全体"), this);
    RadioButton2->setObjectName("RadioButton2");
    RadioButton2->setGeometry(140, 80, 100, 20);
    (start.SelectionOn && start.InSelection ? RadioButton1 : RadioButton2)->setChecked(true);
    CheckBox1 = new QCheckBox(QCoreApplication::translate("ChipReplaceDialog", "階層"), this);
    CheckBox1->setObjectName("CheckBox1");
    CheckBox1->setGeometry(44, 106, 60, 20);
    CheckBox1->setChecked(start.Levels);
    Edit3 = edit("Edit3", 108, 106, start.Low);
    Label6 = label("Label6", QT_TRANSLATE_NOOP("ChipReplaceDialog", "～"), 152, 108);
    Edit4 = edit("Edit4", 170, 106, start.High);
    auto button = [this](const char* name, const char* text, int x) {
        auto* b = new QPushButton(QCoreApplication::translate("ChipReplaceDialog", text), this);
        b->setObjectName(name);
        b->setGeometry(x, 152, 75, 25);
        b->setAutoDefault(false);
        return b;
    };
    Button1 = button("Button1", QT_TRANSLATE_NOOP("ChipReplaceDialog", "置換"), 4);
    Button2 = button("Button2", QT_TRANSLATE_NOOP("ChipReplaceDialog", "次を検索"), 84);
    Button3 = button("Button3", QT_TRANSLATE_NOOP("ChipReplaceDialog", "キャンセル"), 164);
    Button1->setDefault(true); // Enter is 置換
    for (QLineEdit* e : {Edit1, Edit2}) {
        ShowName(e, e == Edit1 ? Label3 : Label4);
        connect(e, &QLineEdit::textChanged, this, [this, e] {
            ShowName(e, e == Edit1 ? Label3 : Label4);
            update();
        });
    }
    setTabOrder(Edit1, Edit2);
    setTabOrder(Edit2, RadioButton1);
    setTabOrder(RadioButton1, RadioButton2);
    setTabOrder(RadioButton2, CheckBox1);
    setTabOrder(CheckBox1, Edit3);
    setTabOrder(Edit3, Edit4);
    setTabOrder(Edit4, Button1);
    setTabOrder(Button1, Button2);
    setTabOrder(Button2, Button3);
    Edit1->setFocus();
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    connect(Button3, &QPushButton::clicked, this, [this] { done(CancelResult); });
}

void TChipReplaceDialog::ShowName(QLineEdit* edit, QLabel* label) {
    const int chip = ChipOf(edit);
    label->setText(chip < 0 ? QString() : QString::fromStdString(ShownChipName(chip)));
    label->adjustSize();
}

bool TChipReplaceDialog::Read(bool needTo) {
    ReplaceChoices c = Chosen;
    if (!RunGuarded([&] {
            c.From = NumberIn(Edit1->text().toStdString(), 0, TMap::ChipCount - 1);
            if (needTo) c.To = NumberIn(Edit2->text().toStdString(), 0, TMap::ChipCount - 1);
            c.InSelection = RadioButton1->isEnabled() && RadioButton1->isChecked();
            c.Levels = CheckBox1->isChecked();
            if (needTo && c.Levels) {
                c.Low = NumberIn(Edit3->text().toStdString(), 0, TMap::SizeZ - 1);
                c.High = NumberIn(Edit4->text().toStdString(), 0, TMap::SizeZ - 1);
            }
        }))
        return false;
    Chosen = c;
    return true;
}

void TChipReplaceDialog::Button1Click() {
    if (Read(true)) done(ReplaceResult);
}

void TChipReplaceDialog::Button2Click() {
    if (Read(false)) done(FindNextResult);
}

bool TChipReplaceDialog::eventFilter(QObject* watched, QEvent* event) {
    if (qobject_cast<QLineEdit*>(watched) && RefusedOffsetKey(event)) return true;
    return QDialog::eventFilter(watched, event);
}

void TChipReplaceDialog::paintEvent(QPaintEvent*) {
    const TBMP256* sheet = State.ChipSheet[1];
    if (!sheet) return;
    QPainter painter(this);
    const int w = ChipWidth[1], h = ChipHeight[1];
    const QImage& image = Sheet.Wrap(*sheet);
    const std::pair<QLineEdit*, int> rows[] = {{Edit1, Row1}, {Edit2, Row2}};
    for (const auto& [edit, y] : rows) {
        const int chip = ChipOf(edit);
        if (chip < 0 || (chip + 1) * h > sheet->Height() || sheet->Width() < w) continue;
        painter.drawImage(QPoint(PictureX, y), image, QRect(0, chip * h, w, h));
    }
}

} // namespace quarvel
