#include "dialogs/AboutDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

#include "dialogs/HyperlinkStatic.h"
#include "satorix/Version.h"

namespace satorix {

AboutDialog::AboutDialog(Prompter* prompter, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("aboutDialog"));
    setWindowTitle(QStringLiteral("Satorix for HD"));

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("aboutPicture"));
    picture->setPixmap(QPixmap(QStringLiteral(":/satorix/about.png")));

    auto* version = new QLabel(QStringLiteral("Satorix Version %1").arg(QLatin1String(version::SHOWN)), this);
    version->setObjectName(QStringLiteral("aboutVersion"));
    QFont bold = version->font();
    bold.setBold(true);
    version->setFont(bold);
    auto* copyright = new QLabel(QStringLiteral("Copyright \u00a9 2003-2005 Orbitline Digital"), this);
    copyright->setObjectName(QStringLiteral("aboutCopyright"));

    // The web link (control 1047). The layout has no place for the mail link, so only the web one shows.
    webLink_ = new HyperlinkStatic(this);
    webLink_->setObjectName(QStringLiteral("link1047"));
    webLink_->setText(QString::fromUtf8(WEB_ADDRESS));
    webLink_->setURL(QString::fromUtf8(WEB_ADDRESS));
    webLink_->setPrompter(prompter);
    webLink_->attach();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* text = new QVBoxLayout;
    text->setContentsMargins(14, 8, 14, 0);
    text->setSpacing(4);
    text->addWidget(version);
    text->addWidget(copyright);
    text->addWidget(webLink_, 0, Qt::AlignLeft);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(picture, 0, Qt::AlignHCenter);
    layout->addLayout(text);
    layout->addSpacing(6);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace satorix
