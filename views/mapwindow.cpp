// TMapWindow: the MDI child, scroll area and wheel handling of a map view.
#include "views/mapwindow.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <iterator>

namespace quarvel {

TMapWindow::TMapWindow(QMdiArea* area, const QString& caption, const QColor& background)
    : Area(area) {
    setWindowTitle(caption);
    Scroll = new QScrollArea(this);
    Scroll->setFrameShape(QFrame::NoFrame);
    Scroll->setWidgetResizable(false);
    Scroll->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette pal = Scroll->palette();
    pal.setColor(QPalette::Window, background);
    Scroll->setPalette(pal);
    Scroll->viewport()->setAutoFillBackground(true);
    Scroll->viewport()->setPalette(pal);
    PaintBox1 = new TPictureBox;
    PaintBox1->setPalette(pal);
    PaintBox1->resize(0, 0);
    Scroll->setWidget(PaintBox1);
    Scroll->viewport()->installEventFilter(this);
    // The scroll bars belong to the window too: a turn over them scrolls like one over the
    // picture, not by the bars' own steps.
    Scroll->horizontalScrollBar()->installEventFilter(this);
    Scroll->verticalScrollBar()->installEventFilter(this);
    PaintBox1->OnEnter = [this] { PictureEntered(); };
    PaintBox1->OnWheel = [this](QWheelEvent* e) { WheelTurned(e); };

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Scroll);

    // A child of our own, so that closing it can be turned into minimising: the view lives
    // as long as the main frame.
    Sub = new QMdiSubWindow;
    Sub->setWidget(this);
    Sub->setAttribute(Qt::WA_DeleteOnClose, false);
    Sub->setWindowTitle(caption);
    Sub->installEventFilter(this);
    if (Area) Area->addSubWindow(Sub);
    Sub->resize(434, 320);
    Sub->move(0, 0);
    Sub->show();
}

void TMapWindow::SetPictureSize(int width, int height) {
    PaintBox1->setFixedSize(width, height);
}

void TMapWindow::ShowSurround(const TBMP256& picture, TColor back) {
    const PaletteEntry& e = picture.GetPalette()[NearestIndex(picture.GetPalette(), back)];
    const QColor shown(e.Red, e.Green, e.Blue);
    QPalette pal = Scroll->viewport()->palette();
    if (pal.color(QPalette::Window) == shown) return;
    pal.setColor(QPalette::Window, shown);
    Scroll->viewport()->setPalette(pal);
    PaintBox1->setPalette(pal);
}

void TMapWindow::ScrollToPixel(int px, int py) {
    Scroll->horizontalScrollBar()->setValue(px - Sub->width() / 2);
    Scroll->verticalScrollBar()->setValue(py - Sub->height() / 2);
}

void TMapWindow::WheelScroll(int delta, bool shift) {
    QScrollBar* vertical = Scroll->verticalScrollBar();
    if (vertical->isVisible() && !shift) {
        vertical->setValue(vertical->value() - delta);
    } else {
        QScrollBar* horizontal = Scroll->horizontalScrollBar();
        horizontal->setValue(horizontal->value() - delta);
    }
}

bool TMapWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Wheel &&
        (watched == Scroll->viewport() || watched == Scroll->horizontalScrollBar() ||
         watched == Scroll->verticalScrollBar())) {
        // A turn over the window beside a picture smaller than the window, or over a bar.
        WheelTurned(static_cast<QWheelEvent*>(event));
        return true;
    }
    if (watched == Sub && event->type() == QEvent::Close) {
        // The views are never closed, only put aside.
        event->ignore();
        Sub->showMinimized();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TMapWindow::WheelTurned(QWheelEvent* wheel) {
    QPoint d = wheel->angleDelta();
    // Some platforms turn Shift+wheel into a horizontal turn; one delta serves.
    int delta = d.y() != 0 ? d.y() : d.x();
    WheelScroll(delta, wheel->modifiers() & Qt::ShiftModifier);
    wheel->accept();
}

void TMapWindow::PictureEntered() {
    if (QWidget* main = window()) main->raise();
    if (Area && Area->activeSubWindow() != Sub) Area->setActiveSubWindow(Sub);
}

std::vector<int32_t> TMapWindow::Outline(TViewPicture& picture, bool on, std::vector<int32_t> now,
                                         int low, int high, bool& all) {
    // More cells than this repaint the whole view: a region of many small rectangles costs
    // more than the paint.
    constexpr size_t MaxMoved = 64;
    std::vector<int32_t> moved;
    if (now != Outlined) {
        std::set_symmetric_difference(now.begin(), now.end(), Outlined.begin(), Outlined.end(),
                                      std::back_inserter(moved));
        Outlined.swap(now);
    }
    all = moved.size() > MaxMoved;
    if (all) moved.clear();
    picture.SetOutlined(on ? &Outlined : nullptr, low, high);
    if (on != bool(PaintBox1->ComposeShown)) {
        if (on)
            PaintBox1->ComposeShown = [this, &picture](const QRect& r) {
                picture.ComposeShown({r.left(), r.top(), r.right() + 1, r.bottom() + 1}, Shown);
                return &Shown;
            };
        else
            PaintBox1->ComposeShown = nullptr;
    }
    return moved;
}

} // namespace quarvel
