#pragma once

#include <QFrame>

class QLabel;
class QLineEdit;
class QToolButton;

namespace satorix {

// The Find bar over the program list: a text field, next and previous buttons and a line that
// says when the search wrapped or found nothing. It only asks; the list searches.
class FindBar : public QFrame {
    Q_OBJECT
public:
    enum class Status { None, Found, Wrapped, NotFound };

    explicit FindBar(QWidget* parent);

    QString text() const;
    void setStatus(Status status);
    Status status() const { return status_; }
    // Shows the bar with its text selected and the focus in it.
    void open();

signals:
    void textEdited(const QString& text);
    void findNext();
    void findPrevious();
    void closed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* edit_;
    QLabel* statusLabel_;
    Status status_ = Status::None;
};

} // namespace satorix
