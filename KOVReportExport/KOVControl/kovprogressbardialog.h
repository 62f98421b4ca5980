#ifndef KOVPROGRESSBARDIALOG_H
#define KOVPROGRESSBARDIALOG_H

#include <QDialog>
#include <QString>

namespace Ui {
class KOVProgressBarDialog;
}

// The export's progress: run modally while the worker writes the workbook,
// fed by the worker's queued signals (total, text, value, finish). It ends
// its own run with the export's result 1500 ms after the finish (1 saved,
// 2 saved but incomplete, 0 failed).
//
// Between the first signal of a run and its finish the user cannot end the
// dialog (Esc and the close button are ignored): the export goes on either
// way, and a dialog gone early would hide whether it was saved.
class KOVProgressBarDialog : public QDialog
{
    Q_OBJECT
public:
    explicit KOVProgressBarDialog(QWidget* parent = nullptr);
    ~KOVProgressBarDialog() override;

    // Called before exec(): starts from nothing shown, and from here until
    // the finish the run cannot be ended by the user.
    void beginRun();
    void setProgressText(const QString& text);
    void setValue(int value);
    // Percentage line and slider, for tests and screenshots.
    QString percentText() const;
    QString titleText() const;
    int sliderValue() const;
    int sliderMaximum() const;
    bool isRunning() const { return m_running; }

public slots:
    void slotTotal(int total);
    void slotValue(int value);
    void slotProgressText(QString text);
    void slotFinishProgressBar(int ret);
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    Ui::KOVProgressBarDialog* ui;
    int m_total = 0;
    QString m_string;
    bool m_running = false;
    int m_run = 0; // counts beginRun(): a closing step ends only its own run
};

#endif // KOVPROGRESSBARDIALOG_H
