#ifndef KOVITEM_H
#define KOVITEM_H

#include <QString>
#include <QWidget>

class QCheckBox;
class QLabel;

// The entry's two widgets, built by hand: an import makes thousands of
// entries, and a generated form would search slots by name for each.
struct Ui_KOVItem
{
    QCheckBox* chose_checkBox = nullptr;
    QLabel* label = nullptr;
};

// One row of the main window's file list: a check box and the item's name.
// Ticking is reported at once; unticking by the user is only a request, which
// a receiver grants by calling setUnchosed() before the signal returns.
class KOVItem : public QWidget
{
    Q_OBJECT
public:
    explicit KOVItem(QWidget* parent = nullptr);
    ~KOVItem() override;

    void setItemName(QString name);
    QString itemName() const { return m_name; }
    void setChosed();
    // Silent: no signal, whatever the box showed.
    void setUnchosed();
    bool isChosed() const { return m_itemChosed; }
    bool isBoxChecked() const;
    // Places the label beside the box, or where the hidden box was.
    void setChosedBox(bool visible);
    void refreshDPI();

signals:
    void sigChosed(QString name);
    void sigUnchosed(QString name);

public slots:
    void on_chose_checkBox_toggled(bool checked);
    void slotScreenDpiChanged(double dpiRate);

private:
    Ui_KOVItem* ui;
    bool m_itemChosed = false;
    QString m_name;
    double m_preDpiRate = 1.0;
};

#endif // KOVITEM_H
