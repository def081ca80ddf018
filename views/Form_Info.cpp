// TForm4: the info panel's controls, its painted chips and palette, and the name box limit.
#include "views/Form_Info.h"

#include "editor/changes.h"
#include "editor/global.h"
#include "editor/infopanel.h"
#include "editor/selectionmove.h"
#include "graphics/chipsheet.h"
#include "map/chipclasses.h"
#include "map/cp932.h"
#include "map/mapclass.h"
#include "views/application.h"
#include "views/cp932.h"
#include "views/dialogframe.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <QToolTip>

namespace quarvel {

namespace {

QFont LabelFont() {
    QFont f("IPAGothic"); // the labels' "ＭＳ ゴシック"
    f.setPixelSize(16);
    return f;
}

QComboBox* MakeCombo(QWidget* parent, const char* name, QRect geometry) {
    auto* c = new QComboBox(parent);
    c->setObjectName(name);
    c->setGeometry(geometry);
    c->setEditable(false);
    return c;
}

QLineEdit* MakeEdit(QWidget* parent, const char* name, QRect geometry, const QString& text) {
    auto* e = new QLineEdit(text, parent);
    e->setObjectName(name);
    e->setGeometry(geometry);
    return e;
}

QLabel* MakeLabel(QWidget* parent, const char* name, QPoint at, const QString& text) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setFont(LabelFont());
    l->move(at);
    l->adjustSize();
    return l;
}

} // namespace

TForm4::TForm4(TEditorState& state, QWidget* owner)
    : QWidget(owner,
              Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      State(state) {
    setObjectName("Form4");
    setWindowTitle(QCoreApplication::translate("Form4", "情報"));
    setFixedSize(240, 360);
    KeepShown(this); // neither closed nor minimised: the panel stays for the whole run
    move(750, 93);

    // The name box shows the map's own name (UpdateInfo); this is only its text before a map.
    Edit1 = MakeEdit(this, "Edit1", QRect(8, 8, 137, 20),
                     QCoreApplication::translate("NewMap", "新規マップ"));
    ComboBox1 = MakeCombo(this, "ComboBox1", QRect(152, 8, 81, 20));
    for (const char* t :
         {QT_TRANSLATE_NOOP("Form4", "ソルテア"), QT_TRANSLATE_NOOP("Form4", "砂漠"),
          QT_TRANSLATE_NOOP("Form4", "雪"), QT_TRANSLATE_NOOP("Form4", "溶岩")})
        ComboBox1->addItem(QCoreApplication::translate("Form4", t));
    ComboBox1->setCurrentIndex(0);
    Label1 = MakeLabel(this, "Label1", QPoint(8, 46), "X:");
    Edit2 = MakeEdit(this, "Edit2", QRect(24, 44, 23, 20), "00");
    Edit2->setReadOnly(true);
    Label2 = MakeLabel(this, "Label2", QPoint(48, 46), "Y:");
    Edit3 = MakeEdit(this, "Edit3", QRect(64, 44, 23, 20), "00");
    Edit3->setReadOnly(true);
    Label3 = MakeLabel(this, "Label3", QPoint(8, 76), "Z:");
    ComboBox2 = MakeCombo(this, "ComboBox2", QRect(24, 76, 41, 20));
    for (int i = 0; i < TMap::SizeZ; ++i) ComboBox2->addItem(QString::number(i));
    ComboBox2->setCurrentIndex(0);
    Label5 = MakeLabel(this, "Label5", QPoint(163, 76), "");
    Label4 = MakeLabel(this, "Label4", QPoint(8, 111),
                       QCoreApplication::translate("Form4", "チップ選択"));
    ComboBox3 = MakeCombo(this, "ComboBox3", QRect(8, 133, 82, 20));
    for (int i = 0; i < TMap::ChipCount; ++i)
        ComboBox3->addItem(QString::fromStdString(ShownChipName(i)));
    ComboBox3->setCurrentIndex(-1);
    Label6 = MakeLabel(this, "Label6", QPoint(163, 133), "");
    for (QLabel* l : {Label5, Label6}) l->resize(240 - 163, l->height());
    // Between the level list and "チップ選択", in the panel's own font.
    Label7 = new QLabel(this);
    Label7->setObjectName("Label7");
    Label7->setGeometry(8, 97, 86, 14);
    // Right of the cursor cell's chip, above its name, in the panel's own font.
    Label8 = new QLabel(this);
    Label8->setObjectName("Label8");
    Label8->setGeometry(163, 56, 77, 14);

    // Tab order: name, terrain, chip, level, X, Y.
    setTabOrder(Edit1, ComboBox1);
    setTabOrder(ComboBox1, ComboBox3);
    setTabOrder(ComboBox3, ComboBox2);
    setTabOrder(ComboBox2, Edit2);
    setTabOrder(Edit2, Edit3);

    Edit1Accepted = Edit1->text();
    connect(Edit1, &QLineEdit::textEdited, this, [this](const QString& t) { Edit1Edited(t); });
    // `activated` comes from the user only; UpdateInfo's changes of the index do not run it.
    connect(ComboBox1, &QComboBox::activated, this,
            [this](int i) { RunGuarded([this, i] { ComboBox1Change(State, i); }); });
    connect(ComboBox2, &QComboBox::activated, this,
            [this](int i) { RunGuarded([this, i] { ComboBox2Change(State, i); }); });
    connect(ComboBox3, &QComboBox::activated, this,
            [this](int i) { RunGuarded([this, i] { ComboBox3Change(State, i); }); });
}

void TForm4::UpdateInfo() {
    if (!State.TheMap) return;
    ShowState();
    update(CursorChipRect());
    update(CurrentChipRect());
    update(PaletteRect()); // the mark of the current chip
}

int TForm4::MarkedPaletteEntry() const {
    for (int i = 0; i < PaletteCells; ++i)
        if (PaletteChips[i] == State.CurrentChip) return i;
    return -1;
}

QString TForm4::PaletteToolTip(QPoint at) const {
    const int i = PaletteHit(at.x(), at.y());
    if (i < 0) return QString();
    return QString::fromStdString(ShownChipName(PaletteChips[i]));
}

bool TForm4::event(QEvent* e) {
    if (e->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(e);
        const QString tip = PaletteToolTip(help->pos());
        if (tip.isEmpty()) {
            QToolTip::hideText();
            e->ignore();
        } else {
            const int i = PaletteHit(help->pos().x(), help->pos().y());
            QToolTip::showText(help->globalPos(), tip, this, PaletteCellRect(i));
        }
        return true;
    }
    return QWidget::event(e);
}

void TForm4::closeEvent(QCloseEvent* e) {
    e->ignore();
}

void TForm4::ShowState() {
    if (State.Windows.Main) {
        QString shown = QFile::decodeName(QByteArray::fromStdString(State.TheMap->FileName));
        State.Windows.Main->SetCaption(MainCaption(shown.toStdString(), State.TheMap->Modified));
    }
    {
        QSignalBlocker b1(ComboBox1), b2(ComboBox2), b3(ComboBox3);
        int terrain = State.TheMap->GetTerrain();
        ComboBox1->setCurrentIndex(terrain >= 0 && terrain < ComboBox1->count() ? terrain : -1);
        ComboBox2->setCurrentIndex(State.CurrentLevel);
        ComboBox3->setCurrentIndex(State.CurrentChip < TMap::ChipCount ? State.CurrentChip : -1);
    }
    // Only a changed name is set again, so typing keeps the text cursor where it is.
    QString name = FromCp932(State.TheMap->GetName());
    if (Edit1->text() != name) Edit1->setText(name);
    Edit1Accepted = Edit1->text();
    // Texts are set only when they change, so that the refresh after a paint settles at once.
    const auto setText = [](auto* control, const QString& text) {
        if (control->text() != text) control->setText(text);
    };
    setText(Edit2, QString::number(State.CursorX));
    setText(Edit3, QString::number(State.CursorY));
    uint8_t c = State.TheMap->GetChip(State.CursorX, State.CursorY, State.CurrentLevel);
    setText(Label5, c < TMap::ChipCount ? ComboBox3->itemText(c) : QString());
    setText(Label6, ComboBox3->currentText());
    setText(Label8, QString::fromUtf8(ChangesText(State).c_str()));
    ShowSelection();
}

void TForm4::ShowSelection() {
    const QString text = QString::fromUtf8(SelectionLevelsText(State).c_str());
    if (Label7->text() != text) Label7->setText(text);
}

void TForm4::PaintPalette() {
    update(PaletteRect());
}

void TForm4::DrawChip(QPainter& painter, int size, int chip, QPoint at) {
    const TBMP256* sheet = State.ChipSheet[size];
    const int w = ChipWidth[size], h = ChipHeight[size];
    // Bytes above 167 (possible in a map file) have no picture: the place stays empty.
    if (!sheet || chip < 0 || (chip + 1) * h > sheet->Height() || sheet->Width() < w) return;
    const QImage& image = SheetImages[size].Wrap(*sheet);
    painter.drawImage(at, image, QRect(0, chip * h, w, h));
}

void TForm4::paintEvent(QPaintEvent*) {
    // Every repaint of the panel shows the editor state again, as UpdateInfo does: right
    // after the paint, as no control's text may change while the panel paints.
    if (State.TheMap && !StatePending) {
        StatePending = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                StatePending = false;
                if (State.TheMap) ShowState();
            },
            Qt::QueuedConnection);
    }
    QPainter painter(this);
    if (State.TheMap && State.ChipSheet[0]) {
        uint8_t c = State.TheMap->GetChip(State.CursorX, State.CursorY, State.CurrentLevel);
        DrawChip(painter, 0, c, CursorChipRect().topLeft());
        DrawChip(painter, 0, State.CurrentChip, CurrentChipRect().topLeft());
    }
    if (State.ChipSheet[1]) {
        for (int i = 0; i < PaletteCells; ++i)
            DrawChip(painter, 1, PaletteChips[i], PaletteCellRect(i).topLeft());
        // The current chip's place: a black frame with a white one inside, seen on any chip.
        const int marked = MarkedPaletteEntry();
        if (marked >= 0) {
            const auto frame = [&painter](QRect r, Qt::GlobalColor colour) {
                painter.fillRect(QRect(r.left(), r.top(), r.width(), 1), colour);
                painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), colour);
                painter.fillRect(QRect(r.left(), r.top(), 1, r.height()), colour);
                painter.fillRect(QRect(r.right(), r.top(), 1, r.height()), colour);
            };
            const QRect cell = PaletteCellRect(marked);
            frame(cell, Qt::black);
            frame(cell.adjusted(1, 1, -1, -1), Qt::white);
        }
    }
}

void TForm4::mousePressEvent(QMouseEvent* e) {
    // A press that a label let through belongs to the label, not to the panel's surface.
    if (childAt(e->position().toPoint())) return;
    if (QWidget* focused = focusWidget()) focused->clearFocus();
    if (e->button() != Qt::LeftButton) return;
    QPoint p = e->position().toPoint();
    RunGuarded([this, p] { PanelMouseDown(State, p.x(), p.y()); });
}

void TForm4::Edit1Edited(const QString& text) {
    const QString before = Edit1Accepted;
    // The part of the text this edit put in: what lies between the unchanged head and tail.
    int head = 0;
    const int shorter = int(std::min(before.size(), text.size()));
    while (head < shorter && before[head] == text[head]) ++head;
    int tail = 0;
    while (tail < shorter - head &&
           before[before.size() - 1 - tail] == text[text.size() - 1 - tail])
        ++tail;
    const QString inserted = text.mid(head, text.size() - head - tail);
    const QString kept = text.left(head) + text.right(tail);

    bool encodable = true;
    std::string insertedBytes = ToCp932(inserted, &encodable);
    QString result = text;
    if (!encodable) {
        // A character the map's code page cannot hold: the edit is refused.
        result = before;
        QApplication::beep();
    } else {
        // Like the edit's length limit: only as much of the new text as fits 20 bytes,
        // never half a double-byte character. A longer name from a file may be shortened.
        size_t keptBytes = ToCp932(kept).size();
        const size_t limit = TMap::NameMaxBytes;
        size_t room = keptBytes < limit ? limit - keptBytes : 0;
        if (insertedBytes.size() > room) {
            QString fits = FromCp932(Cp932Prefix(insertedBytes, room));
            result = text.left(head) + fits + text.right(tail);
            QApplication::beep();
        }
    }
    if (result != text) {
        int cursor = result == before ? head : head + int(result.size() - kept.size());
        Edit1->setText(result);
        Edit1->setCursorPosition(cursor);
    }
    Edit1Accepted = result;
    if (result == before) return;
    std::string bytes = ToCp932(result);
    RunGuarded([this, &bytes] { Edit1Change(State, bytes); });
}

} // namespace quarvel
