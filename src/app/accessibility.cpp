#include "app/accessibility.h"

#include "app/accessibletext.h"
#include "color/colortargets.h"
#include "color/rgb.h"
#include "widgets/controls.h"

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

// The channels, as their sliders and swatches are spoken.
const std::array<QString, 3> channelNames = {QStringLiteral("Red"), QStringLiteral("Green"), QStringLiteral("Blue")};

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
    MainWindowSpeech(QWidget *w, QList<QWidget *> stateFields) :
        QAccessibleWidget(w, QAccessible::Window), m_stateFields(std::move(stateFields))
    {
    }
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
            if (w != nullptr && !w->isWindow() && !m_stateFields.contains(w))
                shown.append(w);
        }
        return shown;
    }

    QList<QWidget *> m_stateFields;
};

// The main windows described, each with its state fields.
QHash<QObject *, QList<QWidget *>> &mainWindows()
{
    static QHash<QObject *, QList<QWidget *>> all;
    return all;
}

QAccessibleInterface *mainWindowFactory(const QString &, QObject *object)
{
    const auto it = mainWindows().constFind(object);
    if (it == mainWindows().cend())
        return nullptr;
    return new MainWindowSpeech(static_cast<QWidget *>(object), *it);
}

// Tells a listening screen reader that the swatches and the preview show new
// colors, and describes secondary windows as they show.
class Announcer : public QObject {
public:
    explicit Announcer(const AccessibleControls &c) : QObject(c.window), m_preview(c.preview)
    {
        std::vector<std::pair<QLabel *, QString>> swatches;
        for (std::size_t i = 0; i < channelNames.size(); ++i)
            swatches.emplace_back(c.channelSwatches[i], channelNames[i]);
        for (const ColorTargetInfo &t : colorTargets)
            swatches.emplace_back(c.targets[indexOf(t.target)].swatch, QLatin1String(t.title));
        for (const auto &[swatch, what] : swatches) {
            speak(swatch, QAccessible::StaticText, QAccessible::Name,
                  [swatch = swatch, what = what] { return what + QLatin1Char(' ') + hexOf(backColor(swatch)); });
            swatch->installEventFilter(this);
        }
        // A picture of the colors, not an empty filler, to a screen reader:
        // the back color first, as a page names them.
        std::vector<std::pair<QString, std::function<QColor()>>> parts;
        for (const ColorTarget target : pageOrder()) {
            QWidget *element = c.targets[indexOf(target)].previewElement;
            std::function<QColor()> shown = [element] { return foreColor(element); };
            if (element == m_preview)
                shown = [element] { return backColor(element); };
            parts.emplace_back(QLatin1String(targetInfo(target).previewWords), shown);
            element->installEventFilter(this);
        }
        speak(m_preview, QAccessible::Graphic, QAccessible::Description, [parts] {
            QStringList said;
            for (const auto &[words, shown] : parts)
                said.append(words + QLatin1Char(' ') + hexOf(shown()));
            return said.join(QLatin1String(", "));
        });
        // Enter presses the focused button, as Space does, for keyboard users
        // (a copy leaves the focus on the tag button for just that).
        for (QPushButton *button : c.window->findChildren<QPushButton *>())
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
            if (qobject_cast<QLabel *>(watched) != nullptr && watched->parent() != m_preview) {
                QAccessibleEvent changed(watched, QAccessible::NameChanged);
                QAccessible::updateAccessibility(&changed);
            } else if (watched == m_preview || watched->parent() == m_preview) {
                QAccessibleEvent changed(m_preview, QAccessible::DescriptionChanged);
                QAccessible::updateAccessibility(&changed);
            }
        } else if (event->type() == QEvent::Show && watched->isWidgetType()) {
            if (auto *dialog = qobject_cast<QDialog *>(watched))
                describeWindow(dialog);
        }
        return false;
    }

private:
    QWidget *m_preview;
};

} // namespace

void describeForAssistiveTechnology(const AccessibleControls &c)
{
    // First, before any control's accessible object exists.
    static const bool installed = [] {
        QAccessible::installFactory(mainWindowFactory);
        return true;
    }();
    Q_UNUSED(installed);
    QWidget *window = c.window;
    mainWindows().insert(window, QList<QWidget *>(c.stateFields.begin(), c.stateFields.end()));
    QObject::connect(window, &QObject::destroyed, [window] { mainWindows().remove(window); });
    new Announcer(c);
    // Controls whose caption or tooltip does not tell them apart.
    std::vector<std::pair<QWidget *, QString>> names;
    for (std::size_t i = 0; i < channelNames.size(); ++i)
        names.emplace_back(c.sliders[i], channelNames[i]);
    names.emplace_back(c.allUp, QStringLiteral("Move all sliders up"));
    names.emplace_back(c.allDown, QStringLiteral("Move all sliders down"));
    names.emplace_back(c.preview, QStringLiteral("Preview"));
    for (const ColorTargetInfo &t : colorTargets) {
        const AccessibleControls::Target &controls = c.targets[indexOf(t.target)];
        names.emplace_back(controls.hexBox, QLatin1String(t.title) + QLatin1String(" HTML3 value"));
        if (controls.reset != nullptr)
            names.emplace_back(controls.reset, QLatin1String("Reset ") + QLatin1String(t.resetWords));
    }
    for (const auto &[control, name] : names)
        control->setAccessibleName(name);
    describeWindow(window);
}
