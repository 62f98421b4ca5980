#ifndef KOVFILEDIALOG_H
#define KOVFILEDIALOG_H

#include <QFileDialog>

// The Import folder chooser: accepted only on a user directory (a folder
// named "default" or one holding usrInfo.ini); OK on any other folder walks
// into it instead of closing.
class KOVFileDialog : public QFileDialog
{
    Q_OBJECT
public:
    KOVFileDialog(QDialog* parent, const QString& dir);
    ~KOVFileDialog() override;

    static bool isKovUsrDirectory(QString path);
    static bool isKovItem(QString path);
    void refreshDPI();

public slots:
    void slotChoice();
};

#endif // KOVFILEDIALOG_H
