#ifndef KOVSAVEDIALOG_H
#define KOVSAVEDIALOG_H

#include <QString>

#include <functional>

class QWidget;

// The export's save-file question, answerable by a test instead of a person.
class KOVSaveDialog
{
public:
    // The chosen path, or an empty text when cancelled.
    static QString ask(QWidget* parent, const QString& caption, const QString& proposed, const QString& filter);

    using Answer = std::function<QString(const QString& caption, const QString& proposed, const QString& filter)>;
    static Answer s_answer;
};

#endif // KOVSAVEDIALOG_H
