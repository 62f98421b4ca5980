#ifndef KOVPROGRESSBARWIDGET_H
#define KOVPROGRESSBARWIDGET_H

#include <QSize>
#include <QString>
#include <QWidget>

namespace Ui {
class KOVProgressBarWidget;
}

// The restore's progress, driven by direct calls while the main window
// rebuilds its state; after the finish it closes and deletes itself 1500 ms
// later, so it serves one restore.
class KOVProgressBarWidget : public QWidget
{
    Q_OBJECT
public:
    explicit KOVProgressBarWidget(QWidget* parent = nullptr);
    ~KOVProgressBarWidget() override;

    void setProgressText(QString text);
    void setTotal(int total);
    void setValue(int value);
    void finishProgressBar(int ret);
    void setSize(QSize size);

    QString percentText() const;
    QString titleText() const;

private:
    Ui::KOVProgressBarWidget* ui;
    int m_total = 0;
    QString m_string;
};

#endif // KOVPROGRESSBARWIDGET_H
