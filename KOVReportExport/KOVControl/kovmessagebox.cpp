#include "kovmessagebox.h"

#include <QAbstractButton>
#include <QList>
#include <QPushButton>

KOVMessageBox::Answer KOVMessageBox::s_answer;

int KOVMessageBox::ask(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text,
                       const QStringList& buttons)
{
    if (s_answer)
        return s_answer(icon, title, text, buttons);
    QMessageBox box(icon, title, text, QMessageBox::NoButton, parent);
    QList<QAbstractButton*> added;
    for (int i = 0; i < buttons.size(); ++i)
        added << box.addButton(buttons.at(i), i == 0 ? QMessageBox::YesRole : QMessageBox::NoRole);
    if (buttons.isEmpty())
        box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    if (buttons.isEmpty())
        return box.clickedButton() ? 0 : -1;
    return added.indexOf(box.clickedButton());
}
