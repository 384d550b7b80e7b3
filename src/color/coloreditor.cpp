#include "color/coloreditor.h"

#include "color/colorset.h"
#include "color/colortext.h"
#include "color/packedcolor.h"
#include "color/rgb.h"
#include "color/valuetext.h"
#include "platform/commondialog.h"
#include "platform/desktop.h"
#include "widgets/controls.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QShortcut>

#include <algorithm>
#include <utility>

// A SHIFT held down repeats its key-down to the focused control until
// another key is pressed or any key is released. X repeats no SHIFT, so a
// click or a Space on all-up or all-down stands for that repeat, but only
// while it would still run; this follows every key of the program to tell.
class ColorEditor::ShiftRepeat : public QObject {
public:
    explicit ShiftRepeat(QObject *parent) : QObject(parent) { QCoreApplication::instance()->installEventFilter(this); }

    bool repeating() const { return m_now; }
    // As it was before the key press being handled now.
    bool repeatingBeforeThisPress() const { return m_before; }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        const QEvent::Type type = event->type();
        if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress && type != QEvent::KeyRelease)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->isAutoRepeat())
            return false;
        if (type == QEvent::KeyRelease) {
            m_now = false;
            m_down = false;
        } else if (!m_down || key->key() != m_lastKey) {
            // Not the same press again: its shortcut check comes first, and
            // a key the focus does not take goes on up to its parents.
            m_before = m_now;
            m_now = key->key() == Qt::Key_Shift;
            m_lastKey = key->key();
            m_down = true;
        }
        return false;
    }

private:
    int m_lastKey = 0;
    bool m_down = false;
    // Until a key is seen, a SHIFT the mouse reports may still be repeating.
    bool m_now = true;
    bool m_before = true;
};

ColorEditor::ColorEditor(const Controls &controls, ColorSet &colors) :
    m(controls), m_colors(colors), m_shiftRepeat(new ShiftRepeat(this))
{
    for (int c = 0; c < 3; ++c) {
        connect(m.sliders[c], &QScrollBar::valueChanged, this, [this, c] { VScroll_Change(c); });
        connect(m.boxes[c], &QLineEdit::textChanged, this, [this, c] { txt_Change(c); });
        m.boxes[c]->installEventFilter(this);
    }
    // The sliders stand upright with 0 at the top: all-up lowers every
    // value, all-down raises it.
    connect(m.allUp, &QPushButton::clicked, this, [this] { stepAll(false); });
    connect(m.allDown, &QPushButton::clicked, this, [this] { stepAll(true); });
    m.allUp->installEventFilter(this);
    m.allDown->installEventFilter(this);
    connect(m.black, &QPushButton::clicked, this, [this] { setAll(0); });
    connect(m.white, &QPushButton::clicked, this, [this] { setAll(255); });

    for (const TargetControls &t : m.targets) {
        const ColorTarget target = t.target;
        connect(t.option, &QRadioButton::toggled, this, [this, target](bool on) {
            keepOneTabStop();
            if (on) {
                select(target);
                emit selectionChanged(target);
            }
        });
        t.option->installEventFilter(this);
        if (t.reset != nullptr)
            connect(t.reset, &QPushButton::clicked, this, [this, target] { reset(target); });
        if (auto *label = qobject_cast<ClickLabel *>(t.previewElement))
            connect(label, &ClickLabel::clicked, this, [this, target] { choose(target); });
        // The hex boxes only show colors: typing, pasting and cutting never change them.
        t.hexBox->setReadOnly(true);
    }
    connect(m.colorDialogButton, &QPushButton::clicked, this, &ColorEditor::cmdUSEwindows_Click);
    // Esc in the main window presses the color dialog button.
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), m.window);
    connect(escape, &QShortcut::activated, m.colorDialogButton, &QPushButton::click);
    // A color from the clipboard. The value boxes and the sample text take
    // their own pastes; the read-only hex boxes leave the keys to the window.
    auto *paste = new QShortcut(QKeySequence::Paste, m.window);
    connect(paste, &QShortcut::activated, this, &ColorEditor::pasteColor);
    for (const TargetControls &t : m.targets) {
        const color::Rgb c = m_colors.color(t.target);
        m_storesShow[indexOf(t.target)] = c;
        t.stores[0]->setText(QString::number(c.red));
        t.stores[1]->setText(QString::number(c.green));
        t.stores[2]->setText(QString::number(c.blue));
    }
    connect(&m_colors, &ColorSet::colorChanged, this, &ColorEditor::followColor);
}

// The state fields show each color as it changes. A color the sliders did
// not write moves them, when its target is selected, or shows at once.
void ColorEditor::followColor(ColorTarget target)
{
    showStores(target);
    if (m_slidersWriting)
        return;
    if (target != selectedTarget()) {
        showColor(target);
        return;
    }
    const Handling handling(*this);
    const color::Rgb c = m_colors.color(target);
    m.boxes[0]->setText(QString::number(c.red));
    m.boxes[1]->setText(QString::number(c.green));
    m.boxes[2]->setText(QString::number(c.blue));
}

void ColorEditor::showStores(ColorTarget target)
{
    // Only the components that changed: a slider moves one.
    color::Rgb &shown = m_storesShow[indexOf(target)];
    const color::Rgb now = m_colors.color(target);
    const auto &stores = controls(target).stores;
    const std::array<std::pair<int, int>, 3> values = {
        {{shown.red, now.red}, {shown.green, now.green}, {shown.blue, now.blue}}};
    for (std::size_t i = 0; i < stores.size(); ++i)
        if (values[i].first != values[i].second)
            stores[i]->setText(QString::number(values[i].second));
    shown = now;
}

const ColorEditor::TargetControls &ColorEditor::controls(ColorTarget target) const
{
    return m.targets[indexOf(target)];
}

ColorTarget ColorEditor::selectedTarget() const
{
    for (const TargetControls &t : m.targets)
        if (t.option->isChecked())
            return t.target;
    return ColorTarget::Back;
}

void ColorEditor::colorupdate()
{
    const int r = m.sliders[0]->value();
    const int g = m.sliders[1]->value();
    const int b = m.sliders[2]->value();
    setBackColor(m.mixSwatch, color::fromPacked(color::packedColor(r, g, b)));
    m.mixHex->setText(color::hexColor(r, g, b));
    const ColorTarget target = selectedTarget();
    if (m_unshown && *m_unshown != target)
        showMix();
    m_unshown = target;
    if (m_handling == 0)
        showMix();
    emit colorChanged(target);
}

void ColorEditor::showMix()
{
    if (m_unshown)
        showColor(*std::exchange(m_unshown, std::nullopt));
}

void ColorEditor::showColor(ColorTarget target)
{
    const TargetControls &t = controls(target);
    const color::Rgb rgb = m_colors.color(target);
    const QColor shown(rgb.red, rgb.green, rgb.blue);
    const QString hex = color::hexColor(rgb);
    // Only what differs: a switch ends where the displays already are.
    if (target == ColorTarget::Back) {
        if (backColor(t.previewElement) != shown)
            setBackColor(t.previewElement, shown);
    } else if (foreColor(t.previewElement) != shown) {
        setForeColor(t.previewElement, shown);
    }
    if (t.hexBox->text() != hex)
        t.hexBox->setText(hex);
    if (backColor(t.swatch) != shown)
        setBackColor(t.swatch, shown);
}

// The outermost handling of a user action is also one step of the history.
ColorEditor::Handling::Handling(ColorEditor &editor, int typedBox) :
    m_editor(editor), m_action(*editor.m.actions, typedBox)
{
    ++m_editor.m_handling;
}

ColorEditor::Handling::~Handling()
{
    if (--m_editor.m_handling == 0)
        m_editor.showMix();
}

void ColorEditor::VScroll_Change(int c)
{
    const UserAction action(*m.actions);
    const int v = m.sliders[c]->value();
    m.boxes[c]->setText(QString::number(v));
    setBackColor(m.channelSwatches[c], QColor(c == 0 ? v : 0, c == 1 ? v : 0, c == 2 ? v : 0));
    // The selected target takes the value before colorupdate says so.
    const ColorTarget target = selectedTarget();
    color::Rgb now = m_colors.color(target);
    (c == 0 ? now.red : c == 1 ? now.green : now.blue) = v;
    {
        const QScopedValueRollback<bool> writing(m_slidersWriting, true);
        if (m_restoring)
            m_colors.restoreColor(target, now);
        else
            m_colors.setColor(target, now);
    }
    colorupdate();
}

void ColorEditor::txt_Change(int c)
{
    const Handling handling(*this, c);
    QLineEdit *box = m.boxes[c];
    if (box->text().isEmpty())
        box->setText(QStringLiteral("0"));
    // Typed text is digits only; pasted text may be anything and never reaches a store.
    if (!color::isDecimalDigits(box->text())) {
        const auto digits = color::pastedDigits(box->text());
        box->setText(digits ? *digits : QString::number(m.sliders[c]->value()));
        return;
    }
    if (color::atLeast255(box->text()))
        box->setText(QStringLiteral("255"));
    m.sliders[c]->setValue(box->text().toInt());
}

bool ColorEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m.allUp || watched == m.allDown)
        return filterFastStepKeys(watched, event);
    if (auto *option = qobject_cast<QRadioButton *>(watched)) {
        if (event->type() == QEvent::FocusOut)
            keepOneTabStop();
        else if (event->type() == QEvent::KeyPress)
            return stepThroughOptions(option, static_cast<QKeyEvent *>(event)->key());
        return false;
    }
    if (event->type() == QEvent::KeyPress)
        return filterValueBoxKey(*static_cast<QKeyEvent *>(event));
    return false;
}

// All-up and all-down: whether SHIFT is held for their fast steps.
bool ColorEditor::filterFastStepKeys(QObject *button, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        // Space pressed while SHIFT still repeats stands for its key-down.
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Shift
            || (key->key() == Qt::Key_Space && key->modifiers() & Qt::ShiftModifier
                && m_shiftRepeat->repeatingBeforeThisPress()))
            ShiftHeld = true;
        return false;
    }
    case QEvent::KeyRelease: {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Space && key->modifiers() & Qt::ShiftModifier && !key->isAutoRepeat()) {
            // The button clicks on this release, in the mode the press
            // left; then the release ends fast mode as any other does.
            button->event(event);
            ShiftHeld = false;
            return true;
        }
        ShiftHeld = false;
        return false;
    }
    case QEvent::MouseButtonRelease: {
        // Likewise a click made while SHIFT still repeats.
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton && mouse->modifiers() & Qt::ShiftModifier && m_shiftRepeat->repeating())
            ShiftHeld = true;
        return false;
    }
    default: return false;
    }
}

// A key pressed in a value box: true drops it.
bool ColorEditor::filterValueBoxKey(const QKeyEvent &key)
{
    // The window's own actions (undo and redo), not the box's.
    const QKeySequence pressed(key.keyCombination());
    for (QAction *action : m.window->actions()) {
        if (action->shortcuts().contains(pressed)) {
            action->trigger();
            return true;
        }
    }
    // Value boxes take digits and backspace; every other character is dropped.
    const QString text = key.text();
    if (text.isEmpty() || key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab || key.key() == Qt::Key_Delete)
        return false;
    const QChar ch = text.at(0);
    const bool passes = text.size() == 1 && ((ch >= QLatin1Char('0') && ch <= QLatin1Char('9')) || ch.unicode() == 8);
    return !passes;
}

// The option group is a single Tab stop, the option that is on, so that Tab
// and Shift+Tab land on the selected target. (Left alone, the toolkit makes
// the last focused option the stop, or every option before one had focus.)
void ColorEditor::keepOneTabStop()
{
    bool anyOn = false;
    for (const TargetControls &t : m.targets)
        anyOn = anyOn || t.option->isChecked();
    for (const TargetControls &t : m.targets)
        t.option->setFocusPolicy(!anyOn || t.option->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
}

// The arrow keys go round the group in its keyboard order, past disabled
// options, and switch on the option they reach.
bool ColorEditor::stepThroughOptions(QRadioButton *from, int key)
{
    int step = 0;
    if (key == Qt::Key_Down || key == Qt::Key_Right)
        step = 1;
    else if (key == Qt::Key_Up || key == Qt::Key_Left)
        step = -1;
    else
        return false;
    const int n = int(m.targets.size());
    int at = 0;
    while (at < n && m.targets[size_t(at)].option != from)
        ++at;
    for (int k = 1; k < n; ++k) {
        QRadioButton *next = m.targets[size_t(((at + step * k) % n + n) % n)].option;
        if (next->isEnabled()) {
            chooseFromKeyboard(next, step > 0 ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            break;
        }
    }
    return true;
}

void ColorEditor::chooseFromKeyboard(QRadioButton *option, Qt::FocusReason reason)
{
    option->setFocus(reason);
    const QScopedValueRollback<bool> staying(m_focusStaysOnOption, true);
    option->setChecked(true);
}

void ColorEditor::stepAll(bool raise)
{
    const Handling handling(*this);
    for (QScrollBar *s : m.sliders) {
        const int v = s->value();
        // A fast step stops short of the end rather than overshoot it.
        if (raise && !ShiftHeld && v < 255)
            s->setValue(v + 1);
        else if (raise && ShiftHeld && v < 235)
            s->setValue(v + 20);
        else if (!raise && !ShiftHeld && v > 0)
            s->setValue(v - 1);
        else if (!raise && ShiftHeld && v > 20)
            s->setValue(v - 20);
    }
}

void ColorEditor::setAll(int value)
{
    const Handling handling(*this);
    for (QScrollBar *s : m.sliders)
        s->setValue(value);
    m.sliders[0]->setFocus();
}

void ColorEditor::select(ColorTarget target)
{
    const Handling handling(*this);
    if (target != ColorTarget::Back && !m_focusStaysOnOption)
        m.sliders[0]->setFocus();
    const color::Rgb c = m_colors.color(target);
    m.boxes[0]->setText(QString::number(c.red));
    m.boxes[1]->setText(QString::number(c.green));
    m.boxes[2]->setText(QString::number(c.blue));
    for (const TargetControls &other : m.targets)
        if (other.reset != nullptr)
            other.reset->setEnabled(other.target == target);
}

void ColorEditor::choose(ColorTarget target)
{
    QRadioButton *option = controls(target).option;
    if (option->isChecked())
        select(target);
    else
        option->setChecked(true); // selects through the option's own handling
}

void ColorEditor::followBackLock()
{
    QRadioButton *back = controls(ColorTarget::Back).option;
    if (m_colors.isEditable(ColorTarget::Back)) {
        back->setEnabled(true);
        back->setChecked(true);
    } else {
        controls(ColorTarget::Text).option->setChecked(true);
        back->setEnabled(false);
    }
}

void ColorEditor::reset(ColorTarget target)
{
    const Handling handling(*this);
    m.sliders[0]->setFocus();
    const color::Rgb defaults = targetInfo(target).defaultColor;
    m.boxes[0]->setText(QString::number(defaults.red));
    m.boxes[1]->setText(QString::number(defaults.green));
    m.boxes[2]->setText(QString::number(defaults.blue));
}

bool ColorEditor::giveColor(ColorTarget target, const color::Rgb &color, Giving giving)
{
    if (giving == Giving::Edit && !m_colors.isEditable(target))
        return false;
    const ColorTarget selected = selectedTarget();
    {
        const QScopedValueRollback<bool> restoring(m_restoring, giving == Giving::Restore);
        writeTargetColor(target, color);
    }
    // A locked target's option does not stay on: the editing goes back to
    // the target it was on.
    if (!m_colors.isEditable(target))
        controls(selected).option->setChecked(true);
    return true;
}

void ColorEditor::writeTargetColor(ColorTarget target, const color::Rgb &color)
{
    const UserAction action(*m.actions);
    const TargetControls &t = controls(target);
    if (!t.option->isChecked())
        t.option->setChecked(true); // selects through the option's own handling
    {
        const Handling handling(*this);
        m.boxes[0]->setText(QString::number(color.red));
        m.boxes[1]->setText(QString::number(color.green));
        m.boxes[2]->setText(QString::number(color.blue));
    }
    m.sliders[0]->setFocus();
}

// Into the hex box that has the focus, else into the selected target.
void ColorEditor::pasteColor()
{
    QWidget *focus = QApplication::focusWidget();
    if (focus == m.sampleText || std::find(m.boxes.begin(), m.boxes.end(), focus) != m.boxes.end())
        return;
    ColorTarget target = selectedTarget();
    for (const TargetControls &t : m.targets)
        if (focus == t.hexBox)
            target = t.target;
    pasteColorOn(target);
}

void ColorEditor::pasteColorOn(ColorTarget target)
{
    const UserAction action(*m.actions);
    if (!m_colors.isEditable(target)) {
        platform::desktop().beep();
        return;
    }
    const QString text = platform::desktop().clipboardText();
    const std::optional<color::ReadColor> color = color::pastedColor(text);
    if (!color) {
        platform::desktop().beep();
        return;
    }
    if (color->translucent) {
        platform::desktop().messageBox(m.window, color::translucentColorText(text), QString(),
                                       platform::MessageIcon::Exclamation);
        return;
    }
    if (giveColor(target, color->rgb) && color->gamutMapped)
        announce(color::gamutMappedText(text, color->rgb));
}

void ColorEditor::cmdUSEwindows_Click()
{
    platform::CommonDialog &dialog = *m.colorDialog;
    dialog.CancelError = true;
    dialog.Flags = platform::CommonDialog::cdlCCRGBInit;
    if (dialog.ShowColor()) {
        // Not held open across the dialog: only its three writes are one action.
        const Handling handling(*this);
        RGB split;
        split.setColor(dialog.Color);
        m.boxes[0]->setText(QString::number(split.Red()));
        m.boxes[1]->setText(QString::number(split.Green()));
        m.boxes[2]->setText(QString::number(split.Blue()));
    }
    m.sliders[0]->setFocus();
}
