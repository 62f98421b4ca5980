#ifndef KOVSLIDER_H
#define KOVSLIDER_H

#include <QSlider>

// Seek bar of a video: jumps to where the mouse button is released and ignores
// the wheel, so scrolling the page over it never seeks by accident. Users only
// listen to valueChanged and set range and value themselves.
class KOVSlider : public QSlider
{
public:
    explicit KOVSlider(QWidget* parent = nullptr);
    ~KOVSlider() override;

    // The value a release at pixel x of a slider width pixels wide asks for,
    // or no value (false) when nothing is to be set: the candidate equals the
    // maximum, the width is zero or the range is empty.
    static bool valueAt(int x, int width, int minimum, int maximum, int* value);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
};

#endif // KOVSLIDER_H
