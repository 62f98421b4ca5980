#ifndef KOVMESSAGEBOX_H
#define KOVMESSAGEBOX_H

#include <QMessageBox>
#include <QString>
#include <QStringList>

#include <functional>

// Every warning, note and question of the windows goes through here, so a
// test can answer it instead of a person.
class KOVMessageBox
{
public:
    // buttons: text buttons, the first meaning yes; empty gives the standard
    // OK button. Returns the index of the button pressed, -1 when the box was
    // closed without one.
    static int ask(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text,
                   const QStringList& buttons);

    using Answer = std::function<int(QMessageBox::Icon icon, const QString& title, const QString& text,
                                     const QStringList& buttons)>;
    // When set, called instead of showing a box.
    static Answer s_answer;
};

#endif // KOVMESSAGEBOX_H
