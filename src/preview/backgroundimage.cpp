#include "preview/backgroundimage.h"

#include "app/frmmain.h"
#include "output/pagefile.h"
#include "platform/commondialog.h"
#include "platform/desktop.h"
#include "preview/pathparts.h"
#include "preview/previewbox.h"
#include "preview/previewmessages.h"
#include "preview/tilegrid.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

namespace {
constexpr float twipsPerPixel = 15.0F;
} // namespace

BackgroundImage::BackgroundImage(frmmain &window) : m(window)
{
    connect(m.cmdload, &QPushButton::clicked, this, &BackgroundImage::cmdload_Click);
    connect(m.cmdclear, &QPushButton::clicked, this, &BackgroundImage::cmdclear_Click);
    connect(m.cmdsave, &QPushButton::clicked, this, &BackgroundImage::cmdsave_Click);
}

void BackgroundImage::cmdload_Click()
{
    platform::CommonDialog &dialog = *m.CommonDialog2;
    dialog.CancelError = true;
    dialog.Flags = platform::CommonDialog::cdlOFNHideReadOnly;
    dialog.Filter = QStringLiteral("All Files (*.*)|*.*|");
    QPixmap picture;
    // A cancel or a file that is not a picture changes nothing.
    if (dialog.ShowOpen() && picture.load(dialog.FileName)) {
        const QString path = dialog.FileName;
        m.picboxHIDDEN->setPixmap(picture);
        TilePicture(m.picboxMAIN, m.picboxHIDDEN);
        m.optTEXT->setChecked(true);
        m.optBACK->setEnabled(false);
        m.cmdclear->setEnabled(true);
        m.cmdsave->setEnabled(true);
        m.HIDDENlblfilename->setText(path);
        m.HIDDENlbltaginfo->setText(GetFileName(path, QDir::separator()));
    }
    m.VScrollRed->setFocus();
}

void BackgroundImage::TilePicture(PreviewBox *theTiledPic, QLabel *theOriginalPic)
{
    theOriginalPic->adjustSize();
    const float ow = static_cast<float>(theOriginalPic->width()) * twipsPerPixel;
    const float oh = static_cast<float>(theOriginalPic->height()) * twipsPerPixel;
    const float tw = static_cast<float>(theTiledPic->width()) * twipsPerPixel;
    const float th = static_cast<float>(theTiledPic->height()) * twipsPerPixel;
    theTiledPic->setTiledPicture(theOriginalPic->pixmap(), tileGrid(tw, th, ow, oh));
}

void BackgroundImage::cmdclear_Click()
{
    m.picboxMAIN->clearPicture();
    m.optBACK->setEnabled(true);
    m.optBACK->setChecked(true);
    m.cmdclear->setEnabled(false);
    m.cmdsave->setEnabled(false);
    m.HIDDENlbltaginfo->setText(QString());
    m.VScrollRed->setFocus();
}

void BackgroundImage::cmdsave_Click()
{
    platform::CommonDialog &dialog = *m.CommonDialog2;
    dialog.CancelError = true;
    const QString source = m.HIDDENlblfilename->text();
    dialog.Flags = platform::CommonDialog::cdlOFNOverwritePrompt;
    if (!dialog.ShowSave())
        return;
    const QString destination = dialog.FileName;
    // A save onto the loaded file itself succeeds without touching it.
    QString reason;
    if (!copyFileReplacing(source, destination, reason)) {
        const auto step = QFileInfo(source).isReadable() ? ImageSaveStep::WriteDestination : ImageSaveStep::ReadSource;
        platform::desktop().messageBox(&m, imageSaveFailedText(step, source, destination, reason), QString(),
                                       platform::MessageIcon::Critical);
    }
}
