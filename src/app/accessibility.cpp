#include "app/accessibility.h"

#include "app/accessibletext.h"
#include "app/controls.h"
#include "app/frmmain.h"
#include "color/rgb.h"
#include "preview/previewbox.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QGroupBox>
#include <QHash>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

#include <functional>
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

// Swatches and the preview tell the colors they show when a screen reader
// asks, so a color change costs nothing while none listens.
class ColorSpeech : public QAccessibleWidget {
public:
    ColorSpeech(QWidget *w, QAccessible::Role role, QAccessible::Text part, std::function<QString()> speech) :
        QAccessibleWidget(w, role), m_part(part), m_speech(std::move(speech))
    {
    }
    QString text(QAccessible::Text t) const override { return t == m_part ? m_speech() : QAccessibleWidget::text(t); }

private:
    QAccessible::Text m_part;
    std::function<QString()> m_speech;
};

struct Speaker {
    QAccessible::Role role;
    QAccessible::Text part;
    std::function<QString()> speech;
};

QHash<QObject *, Speaker> &speakers()
{
    static QHash<QObject *, Speaker> all;
    return all;
}

QAccessibleInterface *colorSpeechFactory(const QString &, QObject *object)
{
    const auto it = speakers().constFind(object);
    if (it == speakers().cend())
        return nullptr;
    return new ColorSpeech(static_cast<QWidget *>(object), it->role, it->part, it->speech);
}

void speak(QWidget *w, QAccessible::Role role, QAccessible::Text part, std::function<QString()> speech)
{
    static const bool installed = [] {
        QAccessible::installFactory(colorSpeechFactory);
        return true;
    }();
    Q_UNUSED(installed);
    speakers().insert(w, Speaker{role, part, std::move(speech)});
    QObject::connect(w, &QObject::destroyed, [w] { speakers().remove(w); });
}

// The main window is announced as a window, and its state fields, never
// seen, are left out of its children.
class MainWindowSpeech : public QAccessibleWidget {
public:
    explicit MainWindowSpeech(QWidget *w) : QAccessibleWidget(w, QAccessible::Window) {}
    int childCount() const override { return int(children().size()); }
    QAccessibleInterface *child(int index) const override
    {
        const QList<QWidget *> all = children();
        return index >= 0 && index < all.size() ? QAccessible::queryAccessibleInterface(all.at(index)) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        auto *w = child != nullptr ? qobject_cast<QWidget *>(child->object()) : nullptr;
        return w != nullptr ? int(children().indexOf(w)) : -1;
    }

private:
    QList<QWidget *> children() const
    {
        QList<QWidget *> shown;
        for (QObject *o : widget()->children()) {
            auto *w = qobject_cast<QWidget *>(o);
            if (w != nullptr && !w->isWindow() && !w->objectName().contains(QLatin1String("HIDDEN")))
                shown.append(w);
        }
        return shown;
    }
};

QAccessibleInterface *mainWindowFactory(const QString &, QObject *object)
{
    auto *w = qobject_cast<frmmain *>(object);
    return w != nullptr ? new MainWindowSpeech(w) : nullptr;
}

// Tells a listening screen reader that the swatches and the preview show new
// colors, and describes secondary windows as they show.
class Announcer : public QObject {
public:
    explicit Announcer(frmmain &window) : QObject(&window), m(window)
    {
        const std::pair<QLabel *, QString> swatches[] = {
            {m.lblred, QStringLiteral("Red")},
            {m.lblgreen, QStringLiteral("Green")},
            {m.lblblue, QStringLiteral("Blue")},
            {m.lblhextxtcolor, QStringLiteral("Textcolor")},
            {m.lblhexbackcolor, QStringLiteral("Backcolor")},
            {m.lblhexnewlinkcolor, QStringLiteral("New link color")},
            {m.lblhexvisitedlinkcolor, QStringLiteral("Visited link color")},
            {m.lblhexactivelinkcolor, QStringLiteral("Active link color")}};
        for (const auto &[swatch, what] : swatches) {
            speak(swatch, QAccessible::StaticText, QAccessible::Name,
                  [swatch, what] { return what + QLatin1Char(' ') + hexOf(backColor(swatch)); });
            swatch->installEventFilter(this);
        }
        frmmain *w = &m;
        // A picture of the colors, not an empty filler, to a screen reader.
        speak(m.picboxMAIN, QAccessible::Graphic, QAccessible::Description, [w] {
            return QStringLiteral("Backcolor %1, Textcolor %2, new links %3, visited "
                                  "links %4, active links %5")
                .arg(hexOf(backColor(w->picboxMAIN)), hexOf(foreColor(w->lblpic)), hexOf(foreColor(w->lblpicNewlink)),
                     hexOf(foreColor(w->lblpicVisitedlink)), hexOf(foreColor(w->lblpicActivelink)));
        });
        for (QWidget *part : {static_cast<QWidget *>(m.picboxMAIN), static_cast<QWidget *>(m.lblpic),
                              static_cast<QWidget *>(m.lblpicNewlink), static_cast<QWidget *>(m.lblpicVisitedlink),
                              static_cast<QWidget *>(m.lblpicActivelink)})
            part->installEventFilter(this);
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
        } else if (event->type() == QEvent::PaletteChange && QAccessible::isActive()) {
            // A swatch's name or the preview's description changed with the color.
            if (qobject_cast<QLabel *>(watched) != nullptr && watched->parent() != m.picboxMAIN) {
                QAccessibleEvent changed(watched, QAccessible::NameChanged);
                QAccessible::updateAccessibility(&changed);
            } else if (watched == m.picboxMAIN || watched->parent() == m.picboxMAIN) {
                QAccessibleEvent changed(m.picboxMAIN, QAccessible::DescriptionChanged);
                QAccessible::updateAccessibility(&changed);
            }
        } else if (event->type() == QEvent::Show && watched->isWidgetType()) {
            if (auto *dialog = qobject_cast<QDialog *>(watched))
                describeWindow(dialog);
        }
        return false;
    }

private:
    frmmain &m;
};

} // namespace

void describeForAssistiveTechnology(frmmain &window)
{
    // First, before any control's accessible object exists.
    static const bool installed = [] {
        QAccessible::installFactory(mainWindowFactory);
        return true;
    }();
    Q_UNUSED(installed);
    new Announcer(window);
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
        {window.cmdresetNEW, "Reset New Links color"},
        {window.cmdresetVISITED, "Reset Visited Links color"},
        {window.cmdresetACTIVE, "Reset Active Links color"},
    };
    for (const auto &[control, name] : names)
        control->setAccessibleName(QLatin1String(name));
    describeWindow(&window);
}
