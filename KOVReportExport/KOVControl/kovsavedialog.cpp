#include "kovsavedialog.h"

#include <QFileDialog>

KOVSaveDialog::Answer KOVSaveDialog::s_answer;

QString KOVSaveDialog::ask(QWidget* parent, const QString& caption, const QString& proposed, const QString& filter)
{
    if (s_answer)
        return s_answer(caption, proposed, filter);
    return QFileDialog::getSaveFileName(parent, caption, proposed, filter);
}
