#include "dialogs/SplashDialog.h"

#include <QLabel>
#include <QPixmap>
#include <QTimerEvent>
#include <QVBoxLayout>

namespace satorix {

SplashDialog::SplashDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("splashDialog"));
    setWindowTitle(QStringLiteral("Satorix for HD"));
    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("splashPicture"));
    picture->setPixmap(QPixmap(QStringLiteral(":/satorix/splash.png")));
    picture->setFrameStyle(QFrame::Box | QFrame::Plain);
    picture->setLineWidth(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(picture);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void SplashDialog::showEvent(QShowEvent* event)
{
    // Precise: a coarse timer may fire up to 5% early.
    if (!timer_.isActive()) timer_.start(SHOW_MS, Qt::PreciseTimer, this);
    QDialog::showEvent(event);
}

void SplashDialog::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != timer_.timerId()) {
        QDialog::timerEvent(event);
        return;
    }
    timer_.stop();
    reject();
}

} // namespace satorix
