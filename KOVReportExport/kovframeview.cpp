#include "kovframeview.h"

#include <QEvent>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

KOVFrameView::KOVFrameView(QLabel* frame)
    : QWidget(frame)
    , m_frame(frame)
{
    // The label's own text and pixmap stay empty; the view takes no input so
    // clicks still reach the label and the page.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    frame->installEventFilter(this);
    fit();
}

void KOVFrameView::setImage(const QImage& image)
{
    m_image = image;
    updateOpaque();
    update();
}

QPoint KOVFrameView::imageOrigin() const
{
    // The label's own placement of a pixmap, to the pixel: its alignment in
    // its contents rectangle, which is this view's rectangle.
    const Qt::Alignment align = QStyle::visualAlignment(Qt::LeftToRight, m_frame->alignment());
    return QStyle::alignedRect(Qt::LeftToRight, align, m_image.size(), rect()).topLeft();
}

bool KOVFrameView::coversView() const
{
    // A disabled label greys its pixmap with transparency.
    if (m_image.isNull() || m_image.hasAlphaChannel() || !m_frame->isEnabled())
        return false;
    return QRect(imageOrigin(), m_image.size()).contains(rect());
}

bool KOVFrameView::eventFilter(QObject* watched, QEvent* event)
{
    // The label's border comes from the style sheet and its size from the
    // screen scale, both of which may change after construction.
    if (watched == m_frame
        && (event->type() == QEvent::Resize || event->type() == QEvent::StyleChange
            || event->type() == QEvent::Polish || event->type() == QEvent::ContentsRectChange))
        fit();
    if (watched == m_frame && event->type() == QEvent::EnabledChange) {
        updateOpaque();
        update();
    }
    return QWidget::eventFilter(watched, event);
}

void KOVFrameView::fit()
{
    const int m = m_frame->margin();
    const QRect r = m_frame->contentsRect().adjusted(m, m, -m, -m);
    if (geometry() != r) {
        setGeometry(r);
        updateOpaque();
    }
}

void KOVFrameView::updateOpaque()
{
    setAttribute(Qt::WA_OpaquePaintEvent, coversView());
}

bool KOVFrameView::event(QEvent* event)
{
    const bool done = QWidget::event(event);
    // The page's style sheets reach this view too (they have no selectors),
    // and polishing for a rule with a border or a rounded background clears
    // the opaque flag.
    if (event->type() == QEvent::Polish || event->type() == QEvent::StyleChange)
        updateOpaque();
    return done;
}

void KOVFrameView::paintEvent(QPaintEvent* event)
{
    if (m_image.isNull())
        return;
    Q_UNUSED(event);
    QPainter p(this);
    if (m_frame->isEnabled()) {
        p.drawImage(imageOrigin(), m_image);
        return;
    }
    QStyleOption opt;
    opt.initFrom(m_frame);
    p.drawPixmap(imageOrigin(),
        m_frame->style()->generatedIconPixmap(QIcon::Disabled, QPixmap::fromImage(m_image), &opt));
}
