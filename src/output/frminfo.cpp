#include "output/frminfo.h"

#include "output/frmtag.h"
#include "output/htmltext.h"
#include "output/pagetext.h"
#include "platform/commondialog.h"
#include "platform/desktop.h"
#include "platform/files.h"
#include "platform/pathparts.h"
#include "preview/previewmessages.h"
#include "widgets/controls.h"

#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <utility>

namespace {

// Whether the image copy `destination`, in the page's own folder, would take
// the place of the page at `page`: the same name, or on a file system that
// ignores case, the same file (a link of that name is replaced, not the page).
bool namesThePage(const QString &destination, const QString &page)
{
    const QFileInfo copy(destination), written(page);
    if (copy.fileName() == written.fileName())
        return true;
    return !copy.isSymbolicLink() && copy.exists() && copy.canonicalFilePath() == written.canonicalFilePath();
}

} // namespace

frminfo::frminfo(QWidget &owner, frmtag &tag, PagePicture picture) :
    QDialog(&owner), m_picture(std::move(picture)), m_tag(&tag)
{
    setUpFixedDialog(this, "frminfo", QSize(tw(7020), tw(2520)));

    Frame1 = makeControl<QGroupBox>(this, "Frame1", twRect(435, 285, 6195, 1455));
    Frame1->setTitle(QStringLiteral("Please provide following info:"));
    txtNAME = makeControl<QLineEdit>(Frame1, "txtNAME", twRect(2340, 465, 3405, 300));
    txtNAME->setToolTip(QStringLiteral(" Enter your name here "));
    txtTITLE = makeControl<QLineEdit>(Frame1, "txtTITLE", twRect(2340, 825, 3405, 300));
    txtTITLE->setToolTip(QStringLiteral(" Enter a title for your webpage "));
    cmdready = makeControl<QPushButton>(this, "cmdready", twRect(2760, 1935, 3435, 360));
    cmdready->setText(QStringLiteral("&Ready!"));
    cmdready->setDefault(true);
    lblname = makeControl<QLabel>(Frame1, "lblname", twRect(540, 495, 2370, 240));
    lblname->setText(QStringLiteral("Your name (First, Last) :"));
    lbluser = makeControl<QLabel>(Frame1, "lbluser", twRect(540, 855, 2370, 240));
    lbluser->setText(QStringLiteral("Webpage Title :"));
    // The labels overlap the boxes' left edge; the boxes stay on top.
    txtNAME->raise();
    txtTITLE->raise();
    // A screen reader names each box by the label beside it; the tooltip
    // stays its description.
    for (const auto &[label, box] : {std::pair{lblname, txtNAME}, std::pair{lbluser, txtTITLE}}) {
        label->setBuddy(box);
        box->setAccessibleName(label->text());
    }

    QWidget::setTabOrder(txtNAME, txtTITLE);
    QWidget::setTabOrder(txtTITLE, cmdready);

    CommonDialog1 = new platform::CommonDialog(QStringLiteral("CommonDialog1"), this);
    CommonDialog1->DialogTitle = QStringLiteral("Save your Webpage as:");
    CommonDialog1->FileName = QStringLiteral("Dudovuvov.htm");
    CommonDialog1->DefaultExt = QStringLiteral("htm");
    CommonDialog1->Filter = QStringLiteral("*.htm *.html");

    connect(cmdready, &QPushButton::clicked, this, &frminfo::cmdready_Click);

    centreOverOwner(this);

    platform::desktop().beep();
}

void frminfo::cmdready_Click()
{
    const QString page = pageText(txtNAME->text(), txtTITLE->text(), m_tag ? m_tag->txtTag->toPlainText() : QString());

    CommonDialog1->CancelError = true;
    CommonDialog1->Flags = platform::CommonDialog::cdlOFNOverwritePrompt | platform::CommonDialog::cdlOFNPathMustExist;
    if (!CommonDialog1->ShowSave())
        return;
    const QString path = CommonDialog1->FileName;

    QString reason;
    if (!writeFileAtomically(path, latin1WithReferences(page), reason)) {
        // The window stays open with what was typed, so another place can be chosen.
        platform::desktop().messageBox(this, pageWriteFailedText(QDir::toNativeSeparators(path), reason), {},
                                       platform::MessageIcon::Exclamation);
        return;
    }

    const QString imageName = m_picture.name();
    QString copyFailure;
    if (!imageName.isEmpty()) {
        const QString destination = ReplaceFileName(path, QDir::separator()) + imageName;
        const QString source = m_picture.path();
        if (namesThePage(destination, path)) {
            copyFailure = imageCopyFailedText(QDir::toNativeSeparators(destination), imageNamedLikePageText());
        } else {
            // A link beside the page is replaced, never written through: it may
            // point anywhere, and the user chose only this folder.
            switch (copyFileReplacing(source, destination, LinkAtDestination::Replace, reason)) {
            case CopyResult::Done: break;
            case CopyResult::SourceFailed:
                copyFailure = imageCopyFailedText(QDir::toNativeSeparators(destination),
                                                  imageUnreadableText(QDir::toNativeSeparators(source), reason));
                break;
            case CopyResult::DestinationFailed:
                copyFailure = imageCopyFailedText(QDir::toNativeSeparators(destination), reason);
                break;
            }
        }
    }

    close();
    const QString title = QStringLiteral("Dudovuvov.htm");
    if (copyFailure.isEmpty())
        platform::desktop().messageBox(parentWidget(), pageDoneText(), title, platform::MessageIcon::Information);
    else
        platform::desktop().messageBox(parentWidget(), copyFailure, title, platform::MessageIcon::Exclamation);
}
