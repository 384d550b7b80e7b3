#include "app/frmabout.h"

#include "app/controls.h"

#include <QPushButton>

frmabout::frmabout(QWidget *owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmabout"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::ApplicationModal);
    setWindowTitle(QStringLiteral("About"));
    setFixedSize(tw(3300), tw(4395));
    cmdok = new QPushButton(QStringLiteral("&Ok"), this);
    cmdok->setObjectName(QStringLiteral("cmdok"));
    cmdok->setGeometry(twRect(360, 3600, 1590, 390));
    connect(cmdok, &QPushButton::clicked, this, &QDialog::close);
}
