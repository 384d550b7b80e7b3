#include "output/frmtag.h"

#include "platform/desktop.h"
#include "widgets/controls.h"

#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>

frmtag::frmtag(QWidget *owner) : QDialog(owner)
{
    setUpFixedDialog(this, "frmtag", QSize(tw(7020), tw(1680)));

    cmdcopyTag = makeControl<QPushButton>(this, "cmdcopyTag", twRect(465, 975, 2205, 360));
    cmdcopyTag->setText(QStringLiteral("Copy &Tag to Clipboard"));
    cmdcopyTag->setDefault(true);
    cmdCREATEhtml = makeControl<QPushButton>(this, "cmdCREATEhtml", twRect(2730, 975, 2205, 360));
    cmdCREATEhtml->setText(QStringLiteral("Create &HTML file"));
    cmdCREATEhtml->setToolTip(QStringLiteral(" Press here for a template HTMLfile with your specs "));
    cmdclose = makeControl<QPushButton>(this, "cmdclose", twRect(5190, 975, 1500, 360));
    cmdclose->setText(QStringLiteral("&Close"));
    txtTag = new QPlainTextEdit(QStringLiteral("Text1"), this);
    txtTag->setObjectName(QStringLiteral("txtTag"));
    txtTag->setGeometry(twRect(465, 240, 6225, 615));
    txtTag->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtTag->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    txtTag->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    txtTag->setTabChangesFocus(true);
    // Two whole lines of the wrapped tag fit the box's given height.
    txtTag->document()->setDocumentMargin(2);
    txtTag->installEventFilter(this);

    QWidget::setTabOrder(cmdcopyTag, cmdCREATEhtml);
    QWidget::setTabOrder(cmdCREATEhtml, cmdclose);
    QWidget::setTabOrder(cmdclose, txtTag);

    connect(cmdcopyTag, &QPushButton::clicked, this, &frmtag::cmdcopyTag_Click);
    connect(cmdCREATEhtml, &QPushButton::clicked, this, &frmtag::cmdCREATEhtml_Click);
    // Esc rejects the dialog, which closes it like this button does.
    connect(cmdclose, &QPushButton::clicked, this, &QDialog::close);

    // Placed once: shown again after being hidden, the window keeps its place.
    centreOverOwner(this);
}

bool frmtag::eventFilter(QObject *watched, QEvent *event)
{
    // The tag is one line: Enter in its box copies it as Enter elsewhere in
    // the window does; Ctrl+Enter still breaks the line for one who wants it.
    if (watched == txtTag && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if ((key->modifiers() & Qt::ControlModifier) != 0)
                txtTag->insertPlainText(QStringLiteral("\n"));
            else
                cmdcopyTag->click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
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
