#include "link/ui/PortSettingsDialog.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "link/ui/PortDevices.h"

namespace satorix {

PortSettingsDialog::PortSettingsDialog(link::PortSettings& settings, QWidget* parent)
    : QDialog(parent), settings_(settings)
{
    setObjectName(QStringLiteral("portSettingsDialog"));
    setWindowTitle(QStringLiteral("Port settings"));

    auto* portBox = new QGroupBox(QStringLiteral("Select port:"), this);
    auto* portRow = new QHBoxLayout(portBox);
    group_ = new QButtonGroup(this);
    for (int i = 0; i < 4; ++i) {
        radios_[static_cast<std::size_t>(i)] = new QRadioButton(QStringLiteral("COM%1").arg(i + 1), portBox);
        radios_[static_cast<std::size_t>(i)]->setObjectName(QStringLiteral("com%1Radio").arg(i + 1));
        group_->addButton(radios_[static_cast<std::size_t>(i)], i + 1);
        portRow->addWidget(radios_[static_cast<std::size_t>(i)]);
    }

    device_ = new QComboBox(this);
    device_->setObjectName(QStringLiteral("deviceCombo"));
    device_->setEditable(true);
    device_->setInsertPolicy(QComboBox::NoInsert);
    device_->addItems(PortDevices::presentDevices());
    device_->setMinimumContentsLength(24);
    override_ = new QLabel(this);
    override_->setObjectName(QStringLiteral("overrideLabel"));
    override_->setWordWrap(true);

    baud_ = new QComboBox(this);
    baud_->setObjectName(QStringLiteral("baudCombo"));
    baud_->addItem(QStringLiteral("115200"), 115200);
    baud_->addItem(QStringLiteral("57600"), 57600);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Device"), device_);
    form->addRow(QString(), override_);
    form->addRow(QStringLiteral("Baudrate"), baud_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* setDefault = buttons->addButton(QStringLiteral("Set Default"), QDialogButtonBox::ResetRole);
    setDefault->setObjectName(QStringLiteral("setDefaultButton"));
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("okButton"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &PortSettingsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &PortSettingsDialog::reject);
    connect(setDefault, &QPushButton::clicked, this, &PortSettingsDialog::setDefault);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(portBox);
    layout->addLayout(form);
    layout->addWidget(buttons);

    for (int port = 1; port <= 4; ++port) devices_[static_cast<std::size_t>(port - 1)] = PortDevices::device(port);
    if (settings_.port < 1 || settings_.port > 4) settings_.port = 1;
    radios_[static_cast<std::size_t>(settings_.port - 1)]->setChecked(true);
    baud_->setCurrentIndex(settings_.baudRate == 57600 ? 1 : 0);
    showDevice(settings_.port);
    connect(group_, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (on) showDevice(id);
    });
}

int PortSettingsDialog::checkedPort() const
{
    for (int i = 0; i < 4; ++i)
        if (radios_[static_cast<std::size_t>(i)]->isChecked()) return i + 1;
    return 0;
}

void PortSettingsDialog::showDevice(int port)
{
    // The field shows one port at a time; keep what was typed for the port it showed before.
    if (port != shownPort_) devices_[static_cast<std::size_t>(shownPort_ - 1)] = device_->currentText();
    shownPort_ = port;
    device_->setEditText(devices_[static_cast<std::size_t>(port - 1)]);
    const QString env = PortDevices::environmentOverride(port);
    override_->setText(env.isEmpty() ? QString()
                                     : QStringLiteral("This run uses %1 (set by SATORIX_COM%2).").arg(env).arg(port));
    override_->setVisible(!env.isEmpty());
}

void PortSettingsDialog::setDefault()
{
    radios_[0]->setChecked(true);
    baud_->setCurrentIndex(0);
}

void PortSettingsDialog::accept()
{
    devices_[static_cast<std::size_t>(shownPort_ - 1)] = device_->currentText();
    if (const int port = checkedPort()) settings_.port = port;
    settings_.baudRate = baud_->currentIndex() == 1 ? 57600 : 115200;
    for (int port = 1; port <= 4; ++port) PortDevices::setDevice(port, devices_[static_cast<std::size_t>(port - 1)]);
    QDialog::accept();
}

} // namespace satorix
