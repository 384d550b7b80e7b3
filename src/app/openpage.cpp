#include "app/openpage.h"

#include "app/frmmain.h"
#include "color/coloreditor.h"
#include "output/pagecolors.h"
#include "platform/commondialog.h"
#include "platform/desktop.h"
#include "platform/regularfile.h"
#include "preview/backgroundimage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRadioButton>
#include <QScrollBar>
#include <QShortcut>

#include <optional>

OpenPage::OpenPage(frmmain &window) :
    QObject(&window), m(window), m_dialog(new platform::CommonDialog(QStringLiteral("CommonDialog3"), &window))
{
    auto *keys = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_O), &m);
    connect(keys, &QShortcut::activated, this, &OpenPage::open);
}

void OpenPage::open()
{
    platform::CommonDialog &dialog = *m_dialog;
    dialog.CancelError = true;
    dialog.Flags = platform::CommonDialog::cdlOFNHideReadOnly;
    dialog.DialogTitle = QStringLiteral("Open a web page's colors");
    dialog.Filter = QStringLiteral("Web pages (*.htm *.html)|*.htm;*.html|");
    if (dialog.ShowOpen())
        openPageColors(m, dialog.FileName);
    m.VScrollRed->setFocus();
}

void openPageColors(frmmain &m, const QString &path)
{
    const auto fail = [&m](const QString &text) {
        platform::desktop().messageBox(&m, text, QString(), platform::MessageIcon::Exclamation);
    };
    QFile file(path);
    // A FIFO or device in the page's place must not hold the window.
    QString reason;
    if (!platform::openRegularFile(file, reason))
        return fail(output::pageUnreadableText(path, reason));
    // The size the file has now, not what a name lookup said before.
    if (file.size() > OpenPage::largestPage)
        return fail(output::pageTooLargeText(path));
    const QByteArray bytes = file.read(OpenPage::largestPage + 1);
    if (file.error() != QFileDevice::NoError)
        return fail(output::pageUnreadableText(path, file.errorString()));
    if (bytes.size() > OpenPage::largestPage)
        return fail(output::pageTooLargeText(path));
    const std::optional<output::ReadColors> read = output::readPageColors(bytes);
    if (!read)
        return fail(output::pageWithoutBodyText(path));

    ColorEditor &editor = m.colorEditor();
    // The colors and the picture are one step, ended before any message.
    std::optional<ColorHistory::Step> step(std::in_place, editor.history());
    const ColorTarget selected = editor.selectedTarget();
    const std::pair<ColorTarget, const std::optional<color::Rgb> &> colors[] = {
        {ColorTarget::Text, read->text},
        {ColorTarget::Back, read->back},
        {ColorTarget::NewLink, read->newLink},
        {ColorTarget::VisitedLink, read->visitedLink},
        {ColorTarget::ActiveLink, read->activeLink}};
    for (const auto &[target, color] : colors)
        if (color)
            editor.setTargetColor(target, *color);
    editor.controls(selected).option->setChecked(true);

    if (read->background && !read->background->isEmpty()) {
        const QDir folder = QFileInfo(path).absoluteDir();
        const QString picture = folder.filePath(*read->background);
        if (QFileInfo(picture).isFile()) {
            m.backgroundImage().loadPicture(QDir::toNativeSeparators(picture));
        } else {
            step.reset();
            fail(output::pageImageMissingText(*read->background, QDir::toNativeSeparators(folder.path())));
        }
    }
}
