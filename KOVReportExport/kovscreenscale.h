#ifndef KOVSCREENSCALE_H
#define KOVSCREENSCALE_H

#include <QMargins>
#include <QRect>
#include <QSize>
#include <QString>

// What the main window's look is at one screen factor (logical dots per inch
// / 96). Every size is truncated to whole pixels, as the rescaling of the
// widget tree truncates, so the list rows and the entries in them agree.
class KOVScreenScale
{
public:
    // Some platforms report 0 (or nonsense) for a screen that is going away;
    // dividing by such a factor later would send every widget to infinity.
    static bool isUsableDpi(double dpi);
    static double factorOf(double dpi) { return dpi / 96.0; }

    explicit KOVScreenScale(double factor) : m_f(factor) {}

    double factor() const { return m_f; }
    QSize maximumWindowSize() const { return sized(1598, 1500); }
    QSize tabIconSize() const { return sized(20, 20); }
    int listSpacing() const { return scaled(2); }
    QSize listRowSize() const { return sized(210, 25); }
    // The status bar's labels have fixed sizes, which rescaling the widget
    // tree cannot change. 40 pixels, the form's width for the path's title,
    // cut the full-width colon off "Path："; 50 hold it in both languages.
    QSize statusTitleSize() const { return sized(50, 20); }
    QSize statusPathSize() const { return sized(1500, 20); }
    // Style sheets take the exact product, not the truncated one.
    QString tabStyleSheet() const;
    QString menuBarStyleSheet() const;

    // Shortest decimal form with at most six significant digits (37.5, 250).
    static QString number(double v);

    // Where the main window opens: the stored size (kept at factor 1) at this
    // factor, within maximum and within the available area less the window
    // manager's frame, the frame centred in that area and so wholly inside it.
    // Returns the geometry of the window without its frame.
    QRect windowPlacement(QSize stored, const QRect& available, const QMargins& frame) const;

private:
    int scaled(int base) const { return static_cast<int>(base * m_f); }
    QSize sized(int w, int h) const { return QSize(scaled(w), scaled(h)); }

    double m_f;
};

#endif // KOVSCREENSCALE_H
