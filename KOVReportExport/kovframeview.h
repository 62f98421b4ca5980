#ifndef KOVFRAMEVIEW_H
#define KOVFRAMEVIEW_H

#include <QImage>
#include <QWidget>

class QLabel;

// The picture or video frame of the review page, drawn over the contents
// rectangle of the frame label, centred at its own size and clipped, as the
// label would draw it as its pixmap.
//
// While the image covers the whole rectangle the view paints every pixel
// itself (opaque), so a new frame repaints this rectangle only. Drawn by the
// label instead, each frame also repainted the style-sheet backgrounds of
// the label, the view box and the page beneath it (rounded, antialiased),
// which took longer than decoding the frame. A smaller image (a small
// picture, the "no item" sign) leaves the view transparent and the label's
// background shows around it as before.
class KOVFrameView : public QWidget
{
    Q_OBJECT
public:
    // A child of frame; it follows the label's contents rectangle.
    explicit KOVFrameView(QLabel* frame);

    // Implicitly shared, not copied; a null image shows nothing.
    void setImage(const QImage& image);
    const QImage& image() const { return m_image; }

    // Where the image's top-left corner lands, in the view's coordinates.
    QPoint imageOrigin() const;
    // Whether the image hides every pixel of the view.
    bool coversView() const;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void fit();
    void updateOpaque();

    QLabel* m_frame;
    QImage m_image;
};

#endif // KOVFRAMEVIEW_H
