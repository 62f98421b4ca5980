#ifndef KOVFILEDIALOG_H
#define KOVFILEDIALOG_H

#include <QFileDialog>

#include <functional>

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

    // Runs the chooser modally on dir; the first selected folder when it is
    // accepted, an empty text when cancelled.
    static QString chooseUsrDirectory(const QString& dir);
    // When set, answers chooseUsrDirectory instead of a person.
    static std::function<QString(const QString& dir)> s_chooseHook;

public slots:
    void slotChoice();
};

#endif // KOVFILEDIALOG_H
