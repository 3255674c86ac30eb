#pragma once

class QLineEdit;
class QWidget;

namespace satorix {

class Prompter;

// Shows "Error: %d->(%d)" for a failed database call; true when the call succeeded.
bool reportDatabaseResult(Prompter& prompter, int type, int result);

// An empty line edit with the object name tests and the tab order find it by.
QLineEdit* namedLineEdit(const char* name, QWidget* parent);
// After a refused OK: the field that was refused gets the focus with its text selected.
void focusRefusedField(QWidget* field);

} // namespace satorix
