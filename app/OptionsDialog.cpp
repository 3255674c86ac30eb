#include "app/OptionsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>

#include "app/AppConfig.h"

namespace satorix {

OptionsDialog::OptionsDialog(AppConfig& config, std::function<void()> registerFileType, QWidget* parent)
    : QDialog(parent), config_(config)
{
    setObjectName(QStringLiteral("optionsDialog"));
    setWindowTitle(QStringLiteral("Options"));

    register_ = new QPushButton(QStringLiteral("Register File Type (*.sdb)"), this);
    register_->setObjectName(QStringLiteral("button1013"));
    // The registration runs at every start; the button stays for the old layout and is never enabled.
    register_->setEnabled(false);
    connect(register_, &QPushButton::clicked, this, [registerFileType] {
        if (registerFileType) registerFileType();
    });

    openLast_ = new QCheckBox(QStringLiteral("Open last edited"), this);
    openLast_->setObjectName(QStringLiteral("check1014"));
    openLast_->setChecked(config_.openLastEdited());

    names_ = new QComboBox(this);
    names_->setObjectName(QStringLiteral("nameTableCombo"));
    names_->addItems({QStringLiteral("Latin-1"), QStringLiteral("ISO 6937"), QStringLiteral("Windows-1252")});
    names_->setCurrentIndex(static_cast<int>(storedNameTable()));
    auto* namesRow = new QFormLayout;
    namesRow->addRow(QStringLiteral("Names without a character table:"), names_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("buttons"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(register_);
    layout->addWidget(openLast_);
    layout->addLayout(namesRow);
    layout->addSpacing(8);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void OptionsDialog::accept()
{
    config_.setOpenLastEdited(openLast_->isChecked());
    QSettings().setValue(QString::fromLatin1(NAME_TABLE_KEY), QString::fromLatin1(nameTableName(nameTable())));
    QDialog::accept();
}

NameTable OptionsDialog::nameTable() const { return static_cast<NameTable>(names_->currentIndex()); }

NameTable OptionsDialog::storedNameTable()
{
    const QString stored = QSettings().value(QString::fromLatin1(NAME_TABLE_KEY)).toString();
    return nameTableNamed(stored.toStdString()).value_or(NameTable::Latin1);
}

} // namespace satorix
