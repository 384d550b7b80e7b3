#include "app/openpage.h"

#include "color/coloreditor.h"
#include "color/colorset.h"
#include "color/rgb.h"
#include "output/pagecolors.h"
#include "platform/commondialog.h"
#include "platform/desktop.h"
#include "platform/regularfile.h"
#include "preview/backgroundimage.h"
#include "widgets/useraction.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRadioButton>
#include <QScrollBar>
#include <QShortcut>

#include <optional>

OpenPage::OpenPage(QWidget &window, ColorEditor &editor, BackgroundImage &image, UserActions &actions,
                   QWidget *focusHome) :
    QObject(&window),
    m_window(window), m_editor(editor), m_image(image), m_actions(actions), m_focusHome(focusHome),
    m_dialog(new platform::CommonDialog(QStringLiteral("CommonDialog3"), &window))
{
    auto *keys = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_O), &window);
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
        openColors(dialog.FileName);
    m_focusHome->setFocus();
}

void OpenPage::openColors(const QString &path)
{
    const auto fail = [this](const QString &text) {
        platform::desktop().messageBox(&m_window, text, QString(), platform::MessageIcon::Exclamation);
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

    ColorEditor &editor = m_editor;
    // The colors and the picture are one step, ended before any message.
    std::optional<UserAction> step(std::in_place, m_actions);
    const ColorTarget selected = editor.selectedTarget();
    // A loaded picture covers the back color, which then keeps its own.
    QString backLeftOut;
    for (const ColorTargetInfo &t : colorTargets) {
        const std::optional<color::Rgb> &color = (*read)[t.target];
        if (color && !editor.giveColor(t.target, *color) && *color != editor.colors().color(t.target))
            backLeftOut = color::hexColor(*color);
    }
    editor.controls(selected).option->setChecked(true);

    QString pictureLeftOut, folderPath, why;
    if (read->background && !read->background->isEmpty()) {
        const QDir folder = QFileInfo(path).absoluteDir();
        const QString picture = folder.filePath(*read->background);
        folderPath = QDir::toNativeSeparators(folder.path());
        // Something at the name that is no usable picture is named as such.
        if (QFileInfo::exists(picture))
            why = m_image.loadPicture(QDir::toNativeSeparators(picture));
        if (!QFileInfo::exists(picture) || !why.isEmpty())
            pictureLeftOut = *read->background;
    }
    // A linked style sheet's colors are not read; the message says so.
    QString said;
    if (!backLeftOut.isEmpty() || !pictureLeftOut.isEmpty())
        said = output::pageLeftOutText(backLeftOut, pictureLeftOut, folderPath, why);
    if (read->linksStyleSheets)
        said += (said.isEmpty() ? QString() : QStringLiteral("\r\n")) + output::pageStyleSheetsText();
    if (!said.isEmpty()) {
        step.reset();
        fail(said);
    }
}
