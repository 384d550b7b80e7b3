#include "output/frmtag.h"

#include "app/controls.h"
#include "platform/desktop.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>

namespace {
QPushButton *button(QWidget *parent, const char *name, const QString &caption, const QRect &geometry)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(geometry);
    return b;
}
} // namespace

frmtag::frmtag(QWidget *owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmtag"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::ApplicationModal);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint
                   | Qt::MSWindowsFixedSizeDialogHint);
    setWindowTitle(QStringLiteral("Dudovuvov"));
    setFont(sansSerifFont(8.25));
    setFixedSize(tw(7020), tw(1680));

    cmdcopyTag = button(this, "cmdcopyTag", QStringLiteral("Copy &Tag to Clipboard"), twRect(465, 975, 2205, 360));
    cmdcopyTag->setDefault(true);
    cmdCREATEhtml = button(this, "cmdCREATEhtml", QStringLiteral("Create &HTML file"), twRect(2730, 975, 2205, 360));
    cmdCREATEhtml->setToolTip(QStringLiteral(" Press here for a template HTMLfile with your specs "));
    cmdclose = button(this, "cmdclose", QStringLiteral("&Close"), twRect(5190, 975, 1500, 360));
    txtTag = new QPlainTextEdit(QStringLiteral("Text1"), this);
    txtTag->setObjectName(QStringLiteral("txtTag"));
    txtTag->setGeometry(twRect(465, 240, 6225, 615));
    txtTag->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtTag->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    txtTag->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    txtTag->setTabChangesFocus(true);
    // Two whole lines of the wrapped tag fit the box's given height.
    txtTag->document()->setDocumentMargin(2);

    QWidget::setTabOrder(cmdcopyTag, cmdCREATEhtml);
    QWidget::setTabOrder(cmdCREATEhtml, cmdclose);
    QWidget::setTabOrder(cmdclose, txtTag);

    connect(cmdcopyTag, &QPushButton::clicked, this, &frmtag::cmdcopyTag_Click);
    connect(cmdCREATEhtml, &QPushButton::clicked, this, &frmtag::cmdCREATEhtml_Click);
    // Esc rejects the dialog, which closes it like this button does.
    connect(cmdclose, &QPushButton::clicked, this, &QDialog::close);
}

void frmtag::showEvent(QShowEvent *event)
{
    // Centred over the owner on the first show only; shown again after being
    // hidden, the window keeps its place.
    QDialog::showEvent(event);
    setAttribute(Qt::WA_Moved);
}

void frmtag::cmdcopyTag_Click()
{
    platform::desktop().setClipboardText(txtTag->toPlainText());
    cmdclose->setFocus();
}

void frmtag::cmdCREATEhtml_Click()
{
    hide();
    emit createHtmlRequested();
}
