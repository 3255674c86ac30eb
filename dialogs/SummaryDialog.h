#pragma once

#include <QDialog>
#include <functional>

class QCheckBox;
class QPlainTextEdit;

namespace satorix {

// What an import or a reference list would change, shown before it is applied, with one option
// that changes the plan (the summary is made again when it is toggled). OK applies.
class SummaryDialog : public QDialog {
    Q_OBJECT
public:
    using Summarise = std::function<QString(bool option)>;
    SummaryDialog(const QString& title, const QString& optionText, Summarise summarise, QWidget* parent = nullptr);

    bool option() const;

private:
    Summarise summarise_;
    QCheckBox* option_ = nullptr;
    QPlainTextEdit* text_ = nullptr;
};

} // namespace satorix
