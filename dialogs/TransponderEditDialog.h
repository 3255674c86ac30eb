#pragma once

#include <QDialog>

#include "db/RecordView.h"
#include "gui/BrowserState.h"

class QLineEdit;
class QPushButton;

namespace satorix {

class BrowserState;
class ChannelDatabase;
class Prompter;
class TransponderButtons;

// Adds a transponder to a satellite or edits one, opened from the tree. The result goes to
// BrowserState::lastTransponderFrequency: -1 while open and after Cancel, the accepted frequency
// once its check passed, -10 when the database refused a duplicate.
class TransponderEditDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int MODE_ADD = MODE_ADD_TRANSPONDER;
    static constexpr int MODE_EDIT = MODE_EDIT_TRANSPONDER;

    TransponderEditDialog(ChannelDatabase& db, BrowserState& browser, Prompter& prompter, QWidget* parent = nullptr);

    // Edit: value is the transponder index findTransponder gave for the caret node; caretText and
    // previousText are the texts of that node and of the sibling before it. Add: value is the
    // satellite id. False when a database read failed (the message has been shown).
    bool load(int value, int mode, const QString& caretText = {}, const QString& previousText = {});

    int transponderIndex() const { return transponderIndex_; }
    int polarisation() const { return transponder_.field[tpf::POLARISATION]; }

    void reject() override;

private:
    void onOk();
    void showTransponder();
    bool store();

    ChannelDatabase& db_;
    BrowserState& browser_;
    Prompter& prompter_;
    int mode_ = MODE_ADD;
    int transponderIndex_ = -1;
    RecordView transponder_;
    QString satelliteName_;

    QLineEdit* satellite_;
    QLineEdit* frequency_;
    QLineEdit* symbolRate_;
    QLineEdit* networkId_;
    QLineEdit* transportStreamId_;
    QLineEdit* originalNetworkId_;
    TransponderButtons* buttons_;
    QPushButton* restore_;
};

} // namespace satorix
