#include "platform/qtdesktop.h"

#include "platform/commondialog.h"
#include "platform/filefilter.h"
#include "platform/lockfiles.h"
#include "platform/x11clipboard.h"

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFontDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLockFile>
#include <QMessageBox>
#include <QMimeData>
#include <QStandardPaths>
#include <QThread>
#include <QUrl>

namespace platform {

namespace {

// Long enough for a busy owner across a network, short enough not to be felt.
constexpr std::chrono::milliseconds ownerWait{400};

// Qt's text boxes read the clipboard on their paste key and would wait on an
// owner that never answers: the key reaches them only when the owner has
// answered that it offers text.
class PasteGuard final : public QObject {
protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress || !static_cast<QKeyEvent *>(event)->matches(QKeySequence::Paste))
            return false;
        const auto *box = qobject_cast<QLineEdit *>(watched);
        if (box == nullptr || box->isReadOnly())
            return false;
        const X11Clipboard::Answer answer = askX11Clipboard(false, ownerWait).answer;
        return answer == X11Clipboard::Answer::NoAnswer || answer == X11Clipboard::Answer::Nothing;
    }
};

} // namespace

QtDesktop::QtDesktop()
{
    // A plain core application (a helper program) has no text boxes to guard.
    if (QCoreApplication *app = QCoreApplication::instance()) {
        m_pasteGuard = std::make_unique<PasteGuard>();
        app->installEventFilter(m_pasteGuard.get());
    }
}
QtDesktop::~QtDesktop() = default;

bool QtDesktop::showColor(QWidget *owner, CommonDialog &dialog)
{
    QColorDialog box(owner);
    box.setOption(QColorDialog::DontUseNativeDialog);
    if ((dialog.Flags & CommonDialog::cdlCCRGBInit) != 0) {
        const qint32 c = dialog.Color;
        box.setCurrentColor(QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF));
    }
    if (box.exec() != QDialog::Accepted)
        return false;
    const QColor chosen = box.selectedColor();
    dialog.Color = chosen.red() + 256 * chosen.green() + 65536 * chosen.blue();
    return true;
}

bool QtDesktop::showFont(QWidget *owner, CommonDialog &dialog)
{
    QFont start(dialog.FontName);
    start.setPointSizeF(dialog.FontSize > 0 ? dialog.FontSize : 8.0);
    start.setBold(dialog.FontBold);
    start.setItalic(dialog.FontItalic);
    start.setUnderline(dialog.FontUnderline);
    start.setStrikeOut(dialog.FontStrikethru);
    QFontDialog box(start, owner);
    box.setOption(QFontDialog::DontUseNativeDialog);
    if (box.exec() != QDialog::Accepted)
        return false;
    const QFont f = box.selectedFont();
    dialog.FontName = f.family();
    dialog.FontSize = static_cast<float>(f.pointSizeF());
    dialog.FontBold = f.bold();
    dialog.FontItalic = f.italic();
    dialog.FontUnderline = f.underline();
    dialog.FontStrikethru = f.strikeOut();
    return true;
}

namespace {

// Qt's own dialog takes a name in a folder that does not exist; with
// cdlOFNPathMustExist this one refuses it, tells why and stays open.
class FileDialog final : public QFileDialog {
public:
    FileDialog(QWidget *owner, const QString &title, bool pathMustExist) :
        QFileDialog(owner, title), m_pathMustExist(pathMustExist)
    {
    }

    void accept() override
    {
        const QStringList chosen = selectedFiles();
        if (m_pathMustExist && !chosen.isEmpty()) {
            const QString refusal = missingFolderRefusal(chosen.constFirst());
            if (!refusal.isEmpty()) {
                QMessageBox box(QMessageBox::Warning, windowTitle(), refusal, QMessageBox::Ok, this);
                box.setObjectName(QStringLiteral("missingFolderMessage"));
                box.exec();
                return;
            }
        }
        QFileDialog::accept();
    }

private:
    bool m_pathMustExist;
};

bool runFileDialog(QWidget *owner, CommonDialog &dialog, bool save)
{
    FileDialog box(owner, dialog.DialogTitle, (dialog.Flags & CommonDialog::cdlOFNPathMustExist) != 0);
    box.setOption(QFileDialog::DontUseNativeDialog);
    box.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    box.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    const QStringList filters = qtNameFilters(dialog.Filter);
    if (!filters.isEmpty())
        box.setNameFilters(filters);
    if (save) {
        box.setDefaultSuffix(dialog.DefaultExt);
        if ((dialog.Flags & CommonDialog::cdlOFNOverwritePrompt) == 0)
            box.setOption(QFileDialog::DontConfirmOverwrite);
    }
    if (!dialog.FileName.isEmpty())
        box.selectFile(dialog.FileName);
    if (box.exec() != QDialog::Accepted || box.selectedFiles().isEmpty())
        return false;
    dialog.FileName = QDir::toNativeSeparators(box.selectedFiles().constFirst());
    return true;
}
} // namespace

bool QtDesktop::showOpen(QWidget *owner, CommonDialog &dialog)
{
    return runFileDialog(owner, dialog, false);
}
bool QtDesktop::showSave(QWidget *owner, CommonDialog &dialog)
{
    return runFileDialog(owner, dialog, true);
}

void QtDesktop::messageBox(QWidget *owner, const QString &text, const QString &title, MessageIcon icon)
{
    QMessageBox::Icon qicon = QMessageBox::NoIcon;
    switch (icon) {
    case MessageIcon::None: qicon = QMessageBox::NoIcon; break;
    case MessageIcon::Critical: qicon = QMessageBox::Critical; break;
    case MessageIcon::Question: qicon = QMessageBox::Question; break;
    case MessageIcon::Exclamation: qicon = QMessageBox::Warning; break;
    case MessageIcon::Information: qicon = QMessageBox::Information; break;
    }
    QMessageBox box(qicon, title.isEmpty() ? QApplication::applicationDisplayName() : title, text, QMessageBox::Ok,
                    owner);
    box.exec();
}

void QtDesktop::beep()
{
    QApplication::beep();
}

bool QtDesktop::clipboardOffersText()
{
    const X11Clipboard x11 = askX11Clipboard(false, ownerWait);
    if (x11.answer != X11Clipboard::Answer::AskQt)
        return x11.answer == X11Clipboard::Answer::Text;
    const QMimeData *data = QApplication::clipboard()->mimeData();
    return data != nullptr && data->hasText();
}

QString QtDesktop::clipboardText()
{
    const X11Clipboard x11 = askX11Clipboard(true, ownerWait);
    if (x11.answer != X11Clipboard::Answer::AskQt)
        return x11.text;
    return QApplication::clipboard()->text();
}

void QtDesktop::setClipboardText(const QString &text)
{
    QClipboard *clipboard = QApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
}

void QtDesktop::openAddress(const QString &address)
{
    QDesktopServices::openUrl(QUrl(address));
}

QString instanceLockPath()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty() || !QFileInfo(dir).isWritable())
        dir = QDir::tempPath();
    return dir + QStringLiteral("/dudovuvov.lock");
}

namespace {

// Qt has already judged the owner a lock names on this machine (alive, this
// program, this boot) or it would have taken the lock over; a lock that names
// no owner at all, or another machine, it leaves standing, and that is stale.
bool namesOwner(const QLockFile &lock)
{
    if (lock.getLockInfo(nullptr, nullptr, nullptr))
        return true;
    // A copy that has just made its lock may not have written it yet.
    QThread::msleep(100);
    return lock.getLockInfo(nullptr, nullptr, nullptr);
}

} // namespace

bool QtDesktop::earlierInstanceRunning()
{
    const QString path = instanceLockPath();
    // Whatever stands at the lock's name, or its helper's, and is no plain
    // file is no lock of ours; where it cannot be cleared, start unguarded
    // rather than never.
    if (!clearNonLockFiles(path))
        return false;
    m_lock = std::make_unique<QLockFile>(path);
    // A lock whose owner died is recognised as stale and taken over at once.
    m_lock->setStaleLockTime(0);
    if (m_lock->tryLock(0))
        return false;
    // Only a lock held by a live copy means another copy runs; a folder we
    // cannot write leaves us unguarded rather than unable to start.
    if (m_lock->error() != QLockFile::LockFailedError)
        return false;
    if (namesOwner(*m_lock) && !namesOtherMachine(*m_lock))
        return true;
    // Empty, unreadable, junk or another machine's: stale, whatever its age.
    if (!m_lock->removeStaleLockFile() && !QFile::remove(path))
        return false;
    return !m_lock->tryLock(0) && m_lock->error() == QLockFile::LockFailedError;
}

} // namespace platform
