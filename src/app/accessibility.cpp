#include "app/accessibility.h"

#include "app/accessibletext.h"
#include "app/controls.h"
#include "app/frmmain.h"
#include "color/rgb.h"
#include "preview/previewbox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

#include <utility>
#include <vector>

namespace {

QString hexOf(const QColor &c)
{
    return color::hexColor(c.red(), c.green(), c.blue());
}

QLabel *buddyLabelOf(const QWidget *control)
{
    for (QLabel *label : control->window()->findChildren<QLabel *>()) {
        if (label->buddy() == control)
            return label;
    }
    return nullptr;
}

// Controls of the secondary windows that show neither caption nor tooltip.
QString nameOfUncaptioned(const QString &objectName)
{
    if (objectName == QLatin1String("txtTag"))
        return QStringLiteral("BODY tag");
    return {};
}

// Names a control from what the user sees on it, unless it has a name.
void describeControl(QWidget *w)
{
    const QString tip = accessible::fromTooltip(w->toolTip());
    if (w->accessibleName().isEmpty()) {
        QString name;
        if (const auto *button = qobject_cast<QAbstractButton *>(w))
            name = accessible::fromCaption(button->text());
        else if (const auto *group = qobject_cast<QGroupBox *>(w))
            name = accessible::fromCaption(group->title());
        if (name.isEmpty())
            name = tip;
        if (name.isEmpty()) {
            if (const QLabel *label = buddyLabelOf(w))
                name = accessible::fromCaption(label->text());
        }
        if (name.isEmpty())
            name = nameOfUncaptioned(w->objectName());
        if (!name.isEmpty())
            w->setAccessibleName(name);
    }
    if (!tip.isEmpty() && w->accessibleDescription().isEmpty())
        w->setAccessibleDescription(tip);
}

void describeWindow(QWidget *window)
{
    describeControl(window);
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (w->focusPolicy() != Qt::NoFocus)
            describeControl(w);
    }
}

// Keeps the color announcements of the swatches and the preview current,
// whichever code repaints them, and describes secondary windows as they show.
class Announcer : public QObject {
public:
    explicit Announcer(frmmain &window) : QObject(&window), m(window)
    {
        swatches = {{m.lblred, QStringLiteral("Red")},
                    {m.lblgreen, QStringLiteral("Green")},
                    {m.lblblue, QStringLiteral("Blue")},
                    {m.lblhextxtcolor, QStringLiteral("Textcolor")},
                    {m.lblhexbackcolor, QStringLiteral("Backcolor")},
                    {m.lblhexnewlinkcolor, QStringLiteral("New link color")},
                    {m.lblhexvisitedlinkcolor, QStringLiteral("Visited link color")},
                    {m.lblhexactivelinkcolor, QStringLiteral("Active link color")}};
        for (const auto &[swatch, what] : swatches) {
            swatch->installEventFilter(this);
            announceSwatch(swatch, what);
        }
        for (QWidget *w : previewParts())
            w->installEventFilter(this);
        announcePreview();
        // Enter presses the focused button, as Space does, for keyboard users
        // (a copy leaves the focus on the tag button for just that).
        for (QPushButton *button : m.findChildren<QPushButton *>())
            button->installEventFilter(this);
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const auto *key = static_cast<QKeyEvent *>(event);
            auto *button = qobject_cast<QPushButton *>(watched);
            if (button != nullptr && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
                && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && !key->isAutoRepeat()) {
                button->click();
                return true;
            }
        } else if (event->type() == QEvent::PaletteChange) {
            for (const auto &[swatch, what] : swatches) {
                if (watched == swatch)
                    announceSwatch(swatch, what);
            }
            for (QWidget *w : previewParts()) {
                if (watched == w)
                    announcePreview();
            }
        } else if (event->type() == QEvent::Show && watched->isWidgetType()) {
            if (auto *dialog = qobject_cast<QDialog *>(watched))
                describeWindow(dialog);
        }
        return false;
    }

private:
    std::vector<QWidget *> previewParts() const
    {
        return {m.picboxMAIN, m.lblpic, m.lblpicNewlink, m.lblpicVisitedlink, m.lblpicActivelink};
    }

    static void announceSwatch(QLabel *swatch, const QString &what)
    {
        swatch->setAccessibleName(what + QLatin1Char(' ') + hexOf(backColor(swatch)));
    }

    void announcePreview()
    {
        m.picboxMAIN->setAccessibleDescription(
            QStringLiteral("Backcolor %1, Textcolor %2, new links %3, visited "
                           "links %4, active links %5")
                .arg(hexOf(backColor(m.picboxMAIN)), hexOf(foreColor(m.lblpic)), hexOf(foreColor(m.lblpicNewlink)),
                     hexOf(foreColor(m.lblpicVisitedlink)), hexOf(foreColor(m.lblpicActivelink))));
    }

    frmmain &m;
    std::vector<std::pair<QLabel *, QString>> swatches;
};

} // namespace

void describeForAssistiveTechnology(frmmain &window)
{
    // Controls whose caption or tooltip does not tell them apart.
    const std::pair<QWidget *, const char *> names[] = {
        {window.VScrollRed, "Red"},
        {window.VScrollGreen, "Green"},
        {window.VScrollBlue, "Blue"},
        {window.cmdALLup, "Move all sliders up"},
        {window.cmdALLdown, "Move all sliders down"},
        {window.txtHEXtext, "Textcolor HTML3 value"},
        {window.txtHEXback, "Backcolor HTML3 value"},
        {window.txtnewlink, "New link color HTML3 value"},
        {window.txtvisitedlink, "Visited link color HTML3 value"},
        {window.txtactivelink, "Active link color HTML3 value"},
        {window.picboxMAIN, "Preview"},
    };
    for (const auto &[control, name] : names)
        control->setAccessibleName(QLatin1String(name));
    describeWindow(&window);
    new Announcer(window);
}
