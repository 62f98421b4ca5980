#ifndef KOVTAGAUD_H
#define KOVTAGAUD_H

#include <QDialog>
#include <QMediaPlayer>

class QMovie;
class Ui_KOVTagAud;

// Plays an audio tag; an animated wave runs while it plays.
class KOVTagAud : public QDialog
{
    Q_OBJECT
public:
    KOVTagAud(const QString& path, QWidget* parent = nullptr);
    ~KOVTagAud() override;

    // For tests and measurements.
    const QMediaPlayer* player() const { return m_player; }

private slots:
    void on_pushButton_clicked();
    void slotMediaState(QMediaPlayer::State state);

private:
    Ui_KOVTagAud* ui = nullptr;
    QMediaPlayer* m_player = nullptr;
    QMovie* m_movie = nullptr;
};

#endif // KOVTAGAUD_H
