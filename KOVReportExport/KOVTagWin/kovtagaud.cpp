#include "kovtagaud.h"
#include "ui_kovtagaud.h"

#include <QMediaContent>
#include <QMovie>
#include <QUrl>

KOVTagAud::KOVTagAud(const QString& path, QWidget* parent)
    : QDialog(parent)
    , ui(new Ui_KOVTagAud)
{
    ui->setupUi(this);
    setWindowTitle(path.mid(path.lastIndexOf(QLatin1Char('/')) + 1));
    m_movie = new QMovie(QStringLiteral(":/style/ico/wav.gif"));
    ui->label->setMovie(m_movie);
    ui->label->setScaledContents(true);
    m_player = new QMediaPlayer;
    m_player->setMedia(QMediaContent(QUrl::fromLocalFile(path)));
    m_player->setVolume(100);
    connect(m_player, &QMediaPlayer::stateChanged, this, &KOVTagAud::slotMediaState);
}

KOVTagAud::~KOVTagAud()
{
    if (m_player->state() == QMediaPlayer::PlayingState)
        m_player->stop();
    delete m_player;
    if (m_movie->state() == QMovie::Running)
        m_movie->stop();
    delete m_movie;
    delete ui;
}

void KOVTagAud::on_pushButton_clicked()
{
    // The wave runs once the sound does (slotMediaState): a machine without
    // an audio output or decoder never plays, and must not seem to.
    m_player->play();
}

void KOVTagAud::slotMediaState(QMediaPlayer::State state)
{
    if (state == QMediaPlayer::PlayingState) {
        m_movie->start();
        ui->pushButton->setEnabled(false);
        ui->pushButton->setStyleSheet(QStringLiteral("border-image: url(:/style/ico/play.png)"));
        return;
    }
    m_player->stop();
    m_movie->stop();
    ui->pushButton->setEnabled(true);
    ui->pushButton->setStyleSheet(QStringLiteral("border-image: url(:/style/ico/pause.png)"));
}
