#include "preview/backgroundimage.h"

#include "app/frmmain.h"
#include "platform/commondialog.h"
#include "platform/desktop.h"
#include "preview/pathparts.h"
#include "preview/previewbox.h"
#include "preview/previewmessages.h"
#include "preview/tilegrid.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSaveFile>
#include <QScrollBar>

#include <optional>

namespace {

constexpr float twipsPerPixel = 15.0F;

// Copies `source` over `destination` byte for byte. An existing destination
// is replaced only by a complete copy. Returns the message for a failure.
std::optional<QString> copyFile(const QString &source, const QString &destination)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return imageSaveFailedText(ImageSaveStep::ReadSource, source, destination, in.errorString());
    QSaveFile out(destination);
    if (!out.open(QIODevice::WriteOnly))
        return imageSaveFailedText(ImageSaveStep::WriteDestination, source, destination, out.errorString());
    QByteArray chunk;
    while (!(chunk = in.read(1 << 16)).isEmpty()) {
        if (out.write(chunk) != chunk.size()) {
            out.cancelWriting();
            return imageSaveFailedText(ImageSaveStep::WriteDestination, source, destination, out.errorString());
        }
    }
    if (in.error() != QFileDevice::NoError) {
        out.cancelWriting();
        return imageSaveFailedText(ImageSaveStep::ReadSource, source, destination, in.errorString());
    }
    if (!out.commit())
        return imageSaveFailedText(ImageSaveStep::WriteDestination, source, destination, out.errorString());
    return std::nullopt;
}

bool sameFile(const QString &a, const QString &b)
{
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

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
    // The file is already there as it is: nothing to do.
    if (sameFile(source, destination))
        return;
    if (const auto failure = copyFile(source, destination))
        platform::desktop().messageBox(&m, *failure, QString(), platform::MessageIcon::Critical);
}
