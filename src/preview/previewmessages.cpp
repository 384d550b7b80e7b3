#include "preview/previewmessages.h"

#include <QStringList>

QString errorNumberText(const QString &description, int number)
{
    return description + QString::number(number);
}

QString imageUnreadableText(const QString &source, const QString &detail)
{
    return QStringLiteral("The loaded image file \"%1\" cannot be read: %2").arg(source, detail);
}

QString pictureRefusalText(PictureRefusal refusal, const QString &detail)
{
    switch (refusal) {
    case PictureRefusal::None: break;
    case PictureRefusal::Unreadable: return detail;
    case PictureRefusal::NotAPicture: return QStringLiteral("it is no picture this program can show");
    case PictureRefusal::TooLarge:
        return QStringLiteral("it is a drawing of more than %1 MB unpacked").arg(svgLimit >> 20);
    }
    return {};
}

QString pictureNotLoadedText(const QString &path, const QString &why)
{
    return QStringLiteral("\"%1\" was not loaded as the background image: %2.").arg(path, why);
}

QString pictureNotRestoredText(const QString &path, const QString &why)
{
    return QStringLiteral("The background image \"%1\" could not be shown again: %2.").arg(path, why);
}

QString imageSaveFailedText(ImageSaveStep step, const QString &source, const QString &destination,
                            const QString &detail)
{
    QString reason;
    switch (step) {
    case ImageSaveStep::ReadSource: reason = imageUnreadableText(source, detail); break;
    case ImageSaveStep::WriteDestination: reason = QStringLiteral("The file cannot be written: %1").arg(detail); break;
    }
    return QStringLiteral("The image was not saved as \"%1\".\n\n%2").arg(destination, reason);
}

bool isDefaultSampleFace(const QString &family)
{
    static const QStringList faces = {QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"),
                                      QStringLiteral("Tinos"), QStringLiteral("Nimbus Roman")};
    return faces.contains(family, Qt::CaseInsensitive);
}
