#ifndef KOVTAGIMG_H
#define KOVTAGIMG_H

#include <QDialog>

class Ui_KOVTagImg;

// Shows a picture tag, scaled into the dialog keeping its aspect ratio.
class KOVTagImg : public QDialog
{
    Q_OBJECT
public:
    KOVTagImg(const QString& path, QWidget* parent = nullptr);
    ~KOVTagImg() override;

private:
    Ui_KOVTagImg* ui = nullptr;
};

#endif // KOVTAGIMG_H
