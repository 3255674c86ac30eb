#pragma once

#include <QDialog>
#include <functional>

class QCheckBox;
class QPushButton;

namespace satorix {

class AppConfig;

// Settings → Options: the "Open last edited" switch of the configuration.
class OptionsDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int IDD = 150;
    static constexpr int IDC_REGISTER = 1013;
    static constexpr int IDC_OPEN_LAST = 1014;

    OptionsDialog(AppConfig& config, std::function<void()> registerFileType, QWidget* parent = nullptr);

    void accept() override;

private:
    AppConfig& config_;
    QCheckBox* openLast_;
    QPushButton* register_;
};

} // namespace satorix
