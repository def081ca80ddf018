// TPictureBox: the paint box of a map view. Shows a TBMP256 (and an optional overlay picture
// at a corner) by painting only the exposed part, pans its scroll area with the middle
// button, and hands the other mouse events to its owner.
#pragma once

#include "graphics/bmp256.h"
#include "views/indexedimage.h"

#include <QLine>
#include <QPoint>
#include <QVector>
#include <QWidget>
#include <functional>

class QAbstractScrollArea;

namespace quarvel {

class TPictureBox : public QWidget {
public:
    explicit TPictureBox(QWidget* parent = nullptr);

    // The picture shown from (0, 0); not owned. Null shows the background only.
    void SetPicture(const TBMP256* picture) { Picture = picture; }
    // A small picture drawn over the main one with its top-left corner at `at` (the edit
    // view's cursor box); null for none.
    void SetOverlay(const TBMP256* overlay, QPoint at);
    QRect OverlayRect() const;
    // Lines drawn over the picture (the whole-map view's selection box); empty for none.
    // Repaints where the old and the new lines lie.
    void SetLines(const QVector<QLine>& lines);
    const QVector<QLine>& Lines() const { return OutlineLines; }
    // While set, what the box shows of the picture: called with the part to be painted, it
    // returns a picture of the same size that holds that part as it is to be shown (the
    // picture with marks drawn over it, such as the changed cells' outlines). Unset: the
    // picture as it is.
    std::function<const TBMP256*(const QRect&)> ComposeShown;

    std::function<void(QMouseEvent*)> OnMousePress;
    std::function<void(QMouseEvent*)> OnMouseMove;
    std::function<void()> OnEnter;
    std::function<void()> OnLeave;
    std::function<void(QWheelEvent*)> OnWheel;

    bool IsPanning() const { return Panning; }

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;

private:
    QAbstractScrollArea* ScrollArea() const;

    const TBMP256* Picture = nullptr;
    const TBMP256* Overlay = nullptr;
    QPoint OverlayAt;
    QVector<QLine> OutlineLines;
    TIndexedImage PictureImage;
    TIndexedImage ShownImage; // what ComposeShown returns
    TIndexedImage OverlayImage;

    bool Panning = false;
    QPoint PanStart; // global position of the last panning step
};

} // namespace quarvel
