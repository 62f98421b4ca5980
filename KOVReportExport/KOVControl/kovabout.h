#ifndef KOVABOUT_H
#define KOVABOUT_H

#include <QWidget>

namespace Ui {
class KOVAbout;
}

// The About window: icon, application title, version and what the program
// is for. Laid out in fixed pixels, so it does not follow the screen scale.
class KOVAbout : public QWidget
{
    Q_OBJECT
public:
    explicit KOVAbout(QWidget* parent = nullptr);
    ~KOVAbout() override;

private:
    void holdTextPixelSize(double dpi);

    Ui::KOVAbout* ui;
};

#endif // KOVABOUT_H
