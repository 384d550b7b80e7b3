#include "app/dropping.h"

#include "app/openpage.h"
#include "color/coloreditor.h"
#include "color/colortext.h"
#include "platform/desktop.h"
#include "platform/regularfile.h"
#include "preview/backgroundimage.h"
#include "preview/previewmessages.h"

#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QUrl>

#include <optional>

namespace {

// The target whose swatch, hex box or preview element `w` is.
std::optional<ColorTarget> targetShownBy(const ColorEditor &editor, const QWidget *w)
{
    for (const ColorEditor::TargetControls &t : editor.targets())
        if (w == t.swatch || w == t.hexBox || w == t.previewElement)
            return t.target;
    return std::nullopt;
}

} // namespace

Dropping::Dropping(QWidget &window, ColorEditor &editor, BackgroundImage &image, OpenPage &openPage) :
    QObject(&window), m(window), m_editor(editor), m_image(image), m_openPage(openPage)
{
    m.setAcceptDrops(true);
    for (const ColorEditor::TargetControls &t : m_editor.targets())
        for (QWidget *w : {static_cast<QWidget *>(t.swatch), static_cast<QWidget *>(t.hexBox), t.previewElement})
            w->setAcceptDrops(true);
    // Every control a drag can reach: the targets, the window around the
    // rest, and the editable boxes, which take dropped text themselves.
    m.installEventFilter(this);
    for (QWidget *w : m.findChildren<QWidget *>())
        if (w->acceptDrops())
            w->installEventFilter(this);
}

Dropping::FileKind Dropping::fileKind(const QString &path)
{
    // A FIFO or device would hold the window while it is looked into.
    QString reason;
    if (!platform::isReadableRegularFile(path, reason))
        return FileKind::None;
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("htm") || suffix == QLatin1String("html"))
        return FileKind::Page;
    return QImageReader(path).canRead() ? FileKind::Picture : FileKind::None;
}

bool Dropping::offers(QWidget *on, const QMimeData &data) const
{
    // The formats come with the drag; the data would be asked of the source,
    // which may never answer, and is read only on the drop.
    if (data.hasUrls())
        return true;
    return data.hasFormat(QStringLiteral("text/plain")) && targetShownBy(m_editor, on);
}

bool Dropping::take(QWidget *on, const QMimeData &data)
{
    if (data.hasUrls()) {
        const QList<QUrl> urls = data.urls();
        if (urls.size() == 1 && urls[0].isLocalFile()) {
            const QString path = QDir::toNativeSeparators(urls[0].toLocalFile());
            const FileKind kind = fileKind(path);
            if (kind != FileKind::None) {
                // After the drop has been answered: a message about the page
                // must not keep the dragging program waiting.
                QMetaObject::invokeMethod(
                    this,
                    [this, kind, path] {
                        if (kind == FileKind::Page) {
                            m_openPage.openColors(path);
                            return;
                        }
                        const QString why = m_image.loadPicture(path);
                        if (!why.isEmpty())
                            platform::desktop().messageBox(&m, pictureNotLoadedText(path, why), QString(),
                                                           platform::MessageIcon::Exclamation);
                    },
                    Qt::QueuedConnection);
                return true;
            }
        }
    }
    const std::optional<ColorTarget> target = targetShownBy(m_editor, on);
    if (!target || !data.hasFormat(QStringLiteral("text/plain")))
        return false;
    const QString text = data.text();
    const std::optional<color::ReadColor> color = color::pastedColor(text);
    if (!color)
        return false;
    if (color->translucent) {
        QMetaObject::invokeMethod(
            this,
            [this, text] {
                platform::desktop().messageBox(&m, color::translucentColorText(text), QString(),
                                               platform::MessageIcon::Exclamation);
            },
            Qt::QueuedConnection);
        return false;
    }
    // A background under a picture keeps its color: the drop is refused.
    if (!m_editor.giveColor(*target, color->rgb))
        return false;
    if (color->gamutMapped)
        m_editor.announce(color::gamutMappedText(text, color->rgb));
    return true;
}

bool Dropping::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return false;
    auto *on = static_cast<QWidget *>(watched);
    auto *drop = static_cast<QDropEvent *>(event);
    // Copied, never moved: the source keeps its file or text.
    const bool offered = (drop->possibleActions() & Qt::CopyAction) != 0 && offers(on, *drop->mimeData());
    if (offered && (type != QEvent::Drop || take(on, *drop->mimeData()))) {
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        return true;
    }
    // An editable box keeps its own handling of dropped text, also of what
    // turned out to be no file of ours.
    if (on != &m && !targetShownBy(m_editor, on))
        return false;
    // What was accepted but cannot be used says so, as a paste of junk does.
    if (offered)
        platform::desktop().beep();
    drop->ignore();
    return true;
}
