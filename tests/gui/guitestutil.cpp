// Helpers of the editor's Qt tests.
#include "tests/gui/guitestutil.h"

#include "editor/global.h"
#include "graphics/chipsheet.h"
#include "graphics/editpicture.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QWidget>
#include <stdexcept>

namespace quarvel::test {

namespace {

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + path.toStdString());
}

} // namespace

TProgramFolder::TProgramFolder() {
    if (!Dir.isValid()) throw std::runtime_error("no temporary folder");
    QDir d(Dir.path());
    d.mkdir("chip");
    d.mkdir("map");
    d.mkdir("dat");
}

std::string TProgramFolder::Path() const {
    return QFile::encodeName(Dir.path() + "/").toStdString();
}

uint32_t TProgramFolder::PaletteColor(int set, int n) {
    return uint32_t(((n * 3 + set * 40) & 0xFF) << 16 | ((255 - n) & 0xFF) << 8 |
                    ((n * 11 + set) & 0xFF));
}

void TProgramFolder::WriteChips(int set) {
    const QString stem = QString("%1/chip/%2").arg(Dir.path(), TerrainFileNames[set]);
    for (int s = 0; s < 2; ++s) {
        const int w = ChipWidth[s], h = ChipHeight[s];
        QByteArray pixels(168 * w * h, '\0');
        for (int k = 1; k < 168; ++k) {
            // One index for the whole chip: the stored block order does not matter then,
            // except for the first byte of each chip, which stays transparent (0).
            char* chip = pixels.data() + k * w * h;
            std::fill(chip + 1, chip + w * h, char(ChipIndex(set, k)));
        }
        WriteFile(stem + ChipFileSuffix[s], pixels);
        QByteArray pal(1024, '\0');
        for (int n = 0; n < 256; ++n) {
            const int record = (n + 112) % 256;
            const uint32_t c = PaletteColor(set, n);
            pal[record * 4 + 0] = char(c >> 16);
            pal[record * 4 + 1] = char(c >> 8);
            pal[record * 4 + 2] = char(c);
        }
        WriteFile(stem + PaletteFileSuffix[s], pal);
    }
}

int TScriptedMessages::Show(const std::string& text, const std::string& caption,
                            MsgButtons buttons) {
    Log.push_back({text, caption});
    if (buttons == MsgButtons::Ok) return mrOk;
    if (Answers.empty()) return mrCancel;
    int a = Answers.front();
    Answers.pop_front();
    return a;
}

TEditor::TEditor(bool withChips) {
    if (withChips) Folder.WriteChips(0);
    State.ProgramFolder = Folder.Path();
    if (auto* app = dynamic_cast<TApplication*>(QCoreApplication::instance()))
        app->SetEditor(&State);
    Set = std::make_unique<TWindowSet>(State);
    Set->Show();
    State.Windows.Messages = &Messages;
    StartEditor(State);
}

TEditor::~TEditor() {
    Set.reset();
    if (auto* app = dynamic_cast<TApplication*>(QCoreApplication::instance()))
        app->SetEditor(nullptr);
}

const char* EditorPath() {
    return QUARVEL_EDITOR;
}

void SendMouse(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButton button,
               Qt::MouseButtons buttons, Qt::KeyboardModifiers keys) {
    QMouseEvent e(type, QPointF(pos), QPointF(w->mapToGlobal(pos)), button, buttons, keys);
    QApplication::sendEvent(w, &e);
}

void Drag(QWidget* w, const std::vector<QPoint>& points, Qt::MouseButton button,
          Qt::KeyboardModifiers keys) {
    if (points.empty()) return;
    SendMouse(w, QEvent::MouseButtonPress, points.front(), button, button, keys);
    for (size_t i = 1; i < points.size(); ++i)
        SendMouse(w, QEvent::MouseMove, points[i], Qt::NoButton, button, keys);
    SendMouse(w, QEvent::MouseButtonRelease, points.back(), button, Qt::NoButton, keys);
}

QPoint EditCellCentre(int x, int y, int zoom) {
    Point p = EditCellToPixel(x, y, zoom);
    return QPoint(p.x + 32 / (zoom + 1), p.y + 16 / (zoom + 1));
}

} // namespace quarvel::test
