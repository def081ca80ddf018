// Caption widths and title bar buttons of the editor's dialogs and message boxes.
#include "views/dialogframe.h"

#include <QEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>
#include <QTimer>
#include <QWidget>
#include <algorithm>

namespace quarvel {

namespace {

// Title bar allowance beside the caption: an icon and three buttons of up to 24 px each,
// with the gaps and borders around them.
constexpr int TitleBarExtras = 4 * 24 + 32;

// Shows a window again as soon as it has been minimised. A window that is minimised together
// with its owner (as window managers do with the owner's tool windows) stays with it, unless
// it is modal: a modal box brings its owner back with it.
class TStayShown : public QObject {
public:
    explicit TStayShown(QWidget* w) : QObject(w) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::WindowStateChange) return false;
        auto* w = static_cast<QWidget*>(watched);
        if (!w->isMinimized()) return false;
        // A moment later, when the owner's own state has arrived.
        QTimer::singleShot(50, w, [w] {
            QWidget* owner = w->parentWidget() ? w->parentWidget()->window() : nullptr;
            if (!w->isMinimized() || (!w->isModal() && owner && owner->isMinimized())) return;
            w->setWindowState(w->windowState() & ~Qt::WindowMinimized);
            w->show();
            w->activateWindow();
        });
        return false;
    }
};

} // namespace

void KeepShown(QWidget* w) {
    if (w->property("quarvelKeptShown").toBool()) return;
    w->setProperty("quarvelKeptShown", true);
    w->installEventFilter(new TStayShown(w));
}

int CaptionWidth(const QString& caption, const QWidget* window) {
    QFont title = window->font();
    // Half as large again as the window's own text, and bold, as title bars often are.
    const int pixels = title.pixelSize() > 0 ? title.pixelSize() : QFontMetrics(title).height();
    title.setPixelSize(std::max(pixels, 12) * 3 / 2);
    title.setBold(true);
    return QFontMetrics(title).horizontalAdvance(caption) + TitleBarExtras;
}

void FitFixedDialog(QWidget* dialog) {
    dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    const int needed = CaptionWidth(dialog->windowTitle(), dialog);
    if (dialog->width() < needed) dialog->setFixedSize(needed, dialog->height());
    KeepShown(dialog);
}

void FitMessageBox(QMessageBox& box) {
    box.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                       Qt::WindowCloseButtonHint);
    // A message box sizes itself to its text and buttons; a spacer across the bottom row of
    // its grid gives it the caption's width as well.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        grid->addItem(new QSpacerItem(CaptionWidth(box.windowTitle(), &box), 0,
                                      QSizePolicy::Minimum, QSizePolicy::Minimum),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
    KeepShown(&box);
}

} // namespace quarvel
