#pragma once

#include <QDialog>
#include <QString>
#include <array>

#include "link/TransferContext.h"

class QButtonGroup;
class QComboBox;
class QLabel;
class QRadioButton;

namespace satorix {

// "Port settings": the COM port and baud rate of the next transfer, and the device each port
// opens. Opening checks the port of settings (COM1, and port 1, for anything outside 1..4);
// OK writes port and baud rate back to settings and remembers the devices; Cancel changes nothing.
class PortSettingsDialog : public QDialog {
    Q_OBJECT
public:
    explicit PortSettingsDialog(link::PortSettings& settings, QWidget* parent = nullptr);

    void accept() override;
    // "Set Default": COM1 at 115200; stored only by OK.
    void setDefault();

private:
    int checkedPort() const;
    void showDevice(int port);

    link::PortSettings& settings_;
    std::array<QRadioButton*, 4> radios_{};
    QButtonGroup* group_ = nullptr;
    QComboBox* baud_ = nullptr;
    QComboBox* device_ = nullptr;
    QLabel* override_ = nullptr;
    std::array<QString, 4> devices_;
    int shownPort_ = 1;
};

} // namespace satorix
