#include "dialogs/SummaryDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace satorix {

SummaryDialog::SummaryDialog(const QString& title, const QString& optionText, Summarise summarise, QWidget* parent)
    : QDialog(parent), summarise_(std::move(summarise))
{
    setObjectName(QStringLiteral("summaryDialog"));
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    text_ = new QPlainTextEdit(this);
    text_->setObjectName(QStringLiteral("summaryText"));
    text_->setReadOnly(true);
    layout->addWidget(text_);
    option_ = new QCheckBox(optionText, this);
    option_->setObjectName(QStringLiteral("summaryOption"));
    layout->addWidget(option_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    const auto show = [this] { text_->setPlainText(summarise_(option_->isChecked())); };
    connect(option_, &QCheckBox::toggled, this, show);
    show();
    resize(560, 380);
}

bool SummaryDialog::option() const { return option_->isChecked(); }

} // namespace satorix
