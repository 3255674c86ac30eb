#include "views/FindBar.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

namespace satorix {

namespace {

QToolButton* makeButton(QWidget* parent, const char* name, const QString& text, const QString& tip)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setText(text);
    b->setToolTip(tip);
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

} // namespace

FindBar::FindBar(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("findBar"));
    setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    setAutoFillBackground(true);

    auto* label = new QLabel(QStringLiteral("Find:"), this);
    edit_ = new QLineEdit(this);
    edit_->setObjectName(QStringLiteral("findEdit"));
    edit_->setPlaceholderText(QStringLiteral("Channel name"));
    edit_->setClearButtonEnabled(true);
    edit_->installEventFilter(this);
    label->setBuddy(edit_);
    QToolButton* next = makeButton(this, "findNext", QStringLiteral("Next"), QStringLiteral("Next match (F3)"));
    QToolButton* previous =
        makeButton(this, "findPrevious", QStringLiteral("Previous"), QStringLiteral("Previous match (Shift+F3)"));
    QToolButton* close = makeButton(this, "findClose", QStringLiteral("\u00d7"), QStringLiteral("Close (Esc)"));
    statusLabel_ = new QLabel(this);
    statusLabel_->setObjectName(QStringLiteral("findStatus"));

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 2, 2);
    layout->setSpacing(4);
    layout->addWidget(label);
    layout->addWidget(edit_, 1);
    layout->addWidget(previous);
    layout->addWidget(next);
    layout->addWidget(statusLabel_);
    layout->addWidget(close);

    connect(edit_, &QLineEdit::textEdited, this, &FindBar::textEdited);
    connect(next, &QToolButton::clicked, this, &FindBar::findNext);
    connect(previous, &QToolButton::clicked, this, &FindBar::findPrevious);
    connect(close, &QToolButton::clicked, this, [this] {
        hide();
        emit closed();
    });
    hide();
}

QString FindBar::text() const { return edit_->text(); }

void FindBar::open()
{
    show();
    raise();
    edit_->setFocus(Qt::ShortcutFocusReason);
    edit_->selectAll();
}

void FindBar::setStatus(Status status)
{
    status_ = status;
    switch (status) {
    case Status::NotFound: statusLabel_->setText(QStringLiteral("Not found")); break;
    case Status::Wrapped: statusLabel_->setText(QStringLiteral("Wrapped")); break;
    case Status::None:
    case Status::Found: statusLabel_->clear(); break;
    }
    // A field that cannot be found turns red, as users of such bars expect.
    QPalette p = edit_->parent() ? static_cast<QWidget*>(edit_->parent())->palette() : edit_->palette();
    if (status == Status::NotFound) {
        p.setColor(QPalette::Base, QColor(0xff, 0xc8, 0xc8));
        p.setColor(QPalette::Text, Qt::black);
    }
    edit_->setPalette(p);
    statusLabel_->setStyleSheet(status == Status::NotFound ? QStringLiteral("color: #b00000; font-weight: bold;")
                                                           : QString());
}

bool FindBar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == edit_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape) {
            hide();
            emit closed();
            return true;
        }
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (key->modifiers() & Qt::ShiftModifier)
                emit findPrevious();
            else
                emit findNext();
            return true;
        }
    }
    return QFrame::eventFilter(watched, event);
}

} // namespace satorix
