#include "dialogs/DialogWidgets.h"

#include <QComboBox>
#include <QLineEdit>

#include "dialogs/DialogInput.h"
#include "gui/Prompter.h"

namespace satorix {

bool reportDatabaseResult(Prompter& prompter, int type, int result)
{
    if (result == 0) return true;
    prompter.message(QString::fromStdString(databaseErrorText(type, result)));
    return false;
}

QLineEdit* namedLineEdit(const char* name, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}

void focusRefusedField(QWidget* field)
{
    field->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(field))
        edit->selectAll();
    else if (auto* combo = qobject_cast<QComboBox*>(field); combo && combo->lineEdit())
        combo->lineEdit()->selectAll();
}

} // namespace satorix
