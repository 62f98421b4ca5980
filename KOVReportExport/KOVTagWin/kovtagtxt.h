#ifndef KOVTAGTXT_H
#define KOVTAGTXT_H

#include <QDialog>

class Ui_KOVTagTxt;

// Shows a text tag (UTF-8 or GBK), or why it cannot.
class KOVTagTxt : public QDialog
{
    Q_OBJECT
public:
    KOVTagTxt(const QString& path, QWidget* parent = nullptr);
    ~KOVTagTxt() override;

private:
    Ui_KOVTagTxt* ui = nullptr;
};

#endif // KOVTAGTXT_H
