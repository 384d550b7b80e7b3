#include "platform/commondialog.h"

#include "platform/desktop.h"

#include <QWidget>

namespace platform {

CommonDialog::CommonDialog(const QString &name, QWidget *owner) : QObject(owner), m_owner(owner)
{
    setObjectName(name);
}

bool CommonDialog::ShowColor()
{
    return desktop().showColor(m_owner, *this);
}
bool CommonDialog::ShowFont()
{
    return desktop().showFont(m_owner, *this);
}
bool CommonDialog::ShowOpen()
{
    return desktop().showOpen(m_owner, *this);
}
bool CommonDialog::ShowSave()
{
    return desktop().showSave(m_owner, *this);
}

} // namespace platform
