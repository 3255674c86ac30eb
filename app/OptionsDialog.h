#pragma once

#include <QDialog>
#include <functional>

#include "db/NameCodec.h"

class QCheckBox;
class QComboBox;
class QPushButton;

namespace satorix {

class AppConfig;

// Settings → Options: the "Open last edited" switch of the configuration, and the table of names
// that name none themselves (kept in the profile).
class OptionsDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int IDD = 150;
    static constexpr int IDC_REGISTER = 1013;
    static constexpr int IDC_OPEN_LAST = 1014;

    OptionsDialog(AppConfig& config, std::function<void()> registerFileType, QWidget* parent = nullptr);

    void accept() override;
    NameTable nameTable() const;
    static NameTable storedNameTable();
    static constexpr const char* NAME_TABLE_KEY = "Names/DefaultTable";

private:
    AppConfig& config_;
    QCheckBox* openLast_;
    QPushButton* register_;
    QComboBox* names_;
};

} // namespace satorix
