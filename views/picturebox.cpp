// TPictureBox: painting, middle-button panning and mouse forwarding of a map view's picture.
#include "views/picturebox.h"

#include "views/application.h"

#include <QAbstractScrollArea>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

namespace quarvel {

TPictureBox::TPictureBox(QWidget* parent) : QWidget(parent) {
    setObjectName("PaintBox1");
    setMouseTracking(true); // moves without a button move the cursor box
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TPictureBox::SetOverlay(const TBMP256* overlay, QPoint at) {
    Overlay = overlay;
    OverlayAt = at;
}

namespace {

// The pixels a set of lines may touch, with room for the pen.
QRect LinesBound(const QVector<QLine>& lines) {
    QRect r;
    for (const QLine& l : lines) r |= QRect(l.p1(), l.p2()).normalized().adjusted(-2, -2, 2, 2);
    return r;
}

} // namespace

void TPictureBox::SetLines(const QVector<QLine>& lines) {
    if (lines == OutlineLines) return;
    const QRect old = LinesBound(OutlineLines);
    OutlineLines = lines;
    update(old | LinesBound(OutlineLines));
}

QRect TPictureBox::OverlayRect() const {
    if (!Overlay) return QRect();
    return QRect(OverlayAt, QSize(Overlay->Width(), Overlay->Height()));
}

void TPictureBox::paintEvent(QPaintEvent* e) {
    QPainter painter(this);
    const QRect exposed = e->rect();
    QRect drawn;
    if (Picture) {
        const TBMP256* shown = Picture;
        if (ComposeShown) {
            const QRect part = exposed & QRect(0, 0, Picture->Width(), Picture->Height());
            if (!part.isEmpty()) shown = ComposeShown(part);
        }
        const QImage& image = (shown == Picture ? PictureImage : ShownImage).Wrap(*shown);
        if (!image.isNull()) {
            drawn = exposed & image.rect();
            if (!drawn.isEmpty()) painter.drawImage(drawn.topLeft(), image, drawn);
        }
    }
    // Whatever the picture does not cover (before the first zoom, or a resize in flight).
    QRegion rest = QRegion(exposed) - drawn;
    for (const QRect& r : rest) painter.fillRect(r, palette().window());
    if (!OutlineLines.isEmpty()) {
        painter.setPen(QPen(QColor(255, 255, 0), 1));
        painter.drawLines(OutlineLines);
    }
    if (Overlay) {
        const QImage& over = OverlayImage.Wrap(*Overlay);
        QRect target = OverlayRect() & exposed;
        if (!over.isNull() && !target.isEmpty())
            painter.drawImage(target.topLeft(), over, target.translated(-OverlayAt));
    }
}

QAbstractScrollArea* TPictureBox::ScrollArea() const {
    for (QWidget* w = parentWidget(); w; w = w->parentWidget())
        if (auto* area = qobject_cast<QAbstractScrollArea*>(w)) return area;
    return nullptr;
}

void TPictureBox::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::MiddleButton) {
        Panning = true;
        PanStart = e->globalPosition().toPoint();
        setCursor(Qt::ClosedHandCursor);
        return;
    }
    if (OnMousePress) RunGuarded([&] { OnMousePress(e); });
}

void TPictureBox::mouseMoveEvent(QMouseEvent* e) {
    if (Panning) {
        if (!(e->buttons() & Qt::MiddleButton)) {
            Panning = false;
            unsetCursor();
        } else {
            QPoint now = e->globalPosition().toPoint();
            QPoint step = now - PanStart;
            PanStart = now;
            if (QAbstractScrollArea* area = ScrollArea()) {
                // The picture follows the pointer.
                area->horizontalScrollBar()->setValue(area->horizontalScrollBar()->value() -
                                                      step.x());
                area->verticalScrollBar()->setValue(area->verticalScrollBar()->value() - step.y());
            }
            return;
        }
    }
    if (OnMouseMove) RunGuarded([&] { OnMouseMove(e); });
}

void TPictureBox::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::MiddleButton && Panning) {
        Panning = false;
        unsetCursor();
    }
}

void TPictureBox::wheelEvent(QWheelEvent* e) {
    if (!OnWheel) return QWidget::wheelEvent(e);
    OnWheel(e);
    e->accept();
}

void TPictureBox::enterEvent(QEnterEvent*) {
    if (OnEnter) OnEnter();
}

void TPictureBox::leaveEvent(QEvent*) {
    if (OnLeave) RunGuarded([&] { OnLeave(); });
}

} // namespace quarvel
