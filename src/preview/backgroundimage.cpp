#include "preview/backgroundimage.h"

#include "color/colorset.h"
#include "platform/commondialog.h"
#include "platform/desktop.h"
#include "platform/files.h"
#include "platform/pathparts.h"
#include "platform/twips.h"
#include "preview/picturepart.h"
#include "preview/previewbox.h"
#include "preview/previewmessages.h"
#include "preview/tilegrid.h"
#include "widgets/useraction.h"

#include <QDir>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

BackgroundImage::BackgroundImage(const Controls &controls, ColorSet &colors) : m(controls), m_colors(colors)
{
    connect(m.loadButton, &QPushButton::clicked, this, &BackgroundImage::cmdload_Click);
    connect(m.clearButton, &QPushButton::clicked, this, &BackgroundImage::cmdclear_Click);
    connect(m.saveButton, &QPushButton::clicked, this, &BackgroundImage::cmdsave_Click);
    connect(&m_colors, &ColorSet::pictureFileChanged, this, [this] { m.fileName->setText(m_colors.pictureFile()); });
    connect(&m_colors, &ColorSet::pictureChanged, this, [this] { m.tagInfo->setText(pictureName()); });
}

QString BackgroundImage::pictureName() const
{
    return m_colors.hasPicture() ? GetFileName(m_colors.picture(), QDir::separator()) : QString();
}

void BackgroundImage::cmdload_Click()
{
    platform::CommonDialog &dialog = *m.fileDialog;
    dialog.CancelError = true;
    dialog.Flags = platform::CommonDialog::cdlOFNHideReadOnly;
    dialog.Filter = QStringLiteral("All Files (*.*)|*.*|");
    // A cancel or a file that is not a picture changes nothing.
    if (!dialog.ShowOpen()) {
        m.focusHome->setFocus();
        return;
    }
    loadPicture(dialog.FileName);
}

QString BackgroundImage::loadPicture(const QString &path)
{
    const UserAction action(*m.actions);
    // Tiles are as large as the picture, so the preview shows no more of it than
    // its own size (in picture pixels, which are logical ones); a little more
    // keeps the edge exact when a fractional pixel ratio rounds outwards.
    PicturePart picture = readPictureFile(path, m.preview->size() + QSize(2, 2));
    if (picture.image.isNull()) {
        m.focusHome->setFocus();
        return pictureRefusalText(picture.refusal, picture.reason);
    }
    // The holder keeps the whole picture's size, the grid follows from it.
    m.holder->setPixmap(QPixmap::fromImage(std::move(picture.image)));
    m.holder->resize(picture.fullSize);
    TilePicture(m.preview, m.holder);
    m.clearButton->setEnabled(true);
    m.saveButton->setEnabled(true);
    m_colors.setPicture(path);
    emit pictureLoaded(path);
    m.focusHome->setFocus();
    return {};
}

void BackgroundImage::TilePicture(PreviewBox *theTiledPic, QLabel *theOriginalPic)
{
    constexpr auto twipsPerPixel = static_cast<float>(platform::twipsPerPixel);
    const float ow = static_cast<float>(theOriginalPic->width()) * twipsPerPixel;
    const float oh = static_cast<float>(theOriginalPic->height()) * twipsPerPixel;
    const float tw = static_cast<float>(theTiledPic->width()) * twipsPerPixel;
    const float th = static_cast<float>(theTiledPic->height()) * twipsPerPixel;
    theTiledPic->setTiledPicture(theOriginalPic->pixmap(), theOriginalPic->size(), tileGrid(tw, th, ow, oh));
}

void BackgroundImage::cmdclear_Click()
{
    clearPicture();
}

void BackgroundImage::clearPicture()
{
    const UserAction action(*m.actions);
    m.preview->clearPicture();
    m.clearButton->setEnabled(false);
    m.saveButton->setEnabled(false);
    m_colors.setPicture({});
    emit pictureCleared();
    m.focusHome->setFocus();
}

void BackgroundImage::cmdsave_Click()
{
    platform::CommonDialog &dialog = *m.fileDialog;
    dialog.CancelError = true;
    const QString source = m_colors.pictureFile();
    dialog.Flags = platform::CommonDialog::cdlOFNOverwritePrompt;
    if (!dialog.ShowSave())
        return;
    const QString destination = dialog.FileName;
    // A save onto the loaded file itself succeeds without touching it.
    QString reason;
    const CopyResult result = copyFileReplacing(source, destination, LinkAtDestination::WriteThrough, reason);
    if (result != CopyResult::Done) {
        const auto step =
            result == CopyResult::SourceFailed ? ImageSaveStep::ReadSource : ImageSaveStep::WriteDestination;
        platform::desktop().messageBox(m.window, imageSaveFailedText(step, source, destination, reason), QString(),
                                       platform::MessageIcon::Critical);
    }
}
