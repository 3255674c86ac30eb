#pragma once

#include <QBasicTimer>
#include <QDialog>

namespace satorix {

// The start-up picture: shown modally while the main window is built, gone after 1,700 ms.
class SplashDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int IDD = 166;
    static constexpr int SHOW_MS = 1700;

    explicit SplashDialog(QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    QBasicTimer timer_;
};

} // namespace satorix
