#pragma once

#include "color/colortargets.h"
#include "widgets/useraction.h"

#include <QColor>
#include <QObject>
#include <QString>

#include <array>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QWidget;
class UserActions;
namespace platform {
class CommonDialog;
}

// The color editing of the main window: the sliders and value boxes, the
// all-up/all-down, black and white buttons, target selection and reset, the
// hex boxes and the system color dialog.
class ColorEditor : public QObject {
    Q_OBJECT
public:
    // The controls that belong to one target, in the order of the table of
    // targets.
    struct TargetControls {
        ColorTarget target;
        QRadioButton *option;
        std::array<QLineEdit *, 3> stores;
        QLineEdit *hexBox;
        QLabel *swatch;
        QWidget *previewElement; // a label, or the preview box for the back color
        QPushButton *reset;      // null where the target has none
    };
    // What the editor is handed by the window that owns the controls.
    struct Controls {
        QWidget *window; // Esc and paste are its shortcuts
        std::array<QScrollBar *, 3> sliders;
        std::array<QLineEdit *, 3> boxes;
        std::array<QLabel *, 3> channelSwatches;
        QPushButton *allUp, *allDown, *black, *white, *colorDialogButton;
        QLineEdit *sampleText; // takes its own pastes
        QLabel *mixSwatch;     // the sliders' mix, out of sight
        QLineEdit *mixHex;
        std::array<TargetControls, colorTargets.size()> targets;
        platform::CommonDialog *colorDialog;
        UserActions *actions;
    };

    explicit ColorEditor(const Controls &controls);

    const std::array<TargetControls, colorTargets.size()> &targets() const { return m.targets; }
    const TargetControls &controls(ColorTarget target) const;
    // The target whose option button is on.
    ColorTarget selectedTarget() const;
    // The color a target shows now: the selected one is mid-edit, and the
    // sliders hold its color before its store does.
    color::Rgb color(ColorTarget target) const;

    // Shows the sliders' mix on the selected target.
    void colorupdate();

    // Selects a target as a click on its preview element does.
    void choose(ColorTarget target);

    // While a picture covers the preview its back color cannot be edited:
    // false selects the text color and disables the back color's option,
    // true enables it again and selects it.
    void setBackEditable(bool editable);

    // Whether a paste, a drop or an opened page may give `target` a color:
    // the back color cannot change while a picture covers it.
    bool isEditable(ColorTarget target) const;

    // Gives `target` a color the way the color dialog's choice does: the
    // target is selected and the value boxes take the three components.
    // A target that is not editable keeps its color: false.
    bool setTargetColor(ColorTarget target, const color::Rgb &color);

    // Undo and redo: gives `target` a color as setTargetColor does, the back
    // color under a picture too, whose option then does not stay on.
    void restoreTargetColor(ColorTarget target, const color::Rgb &color);

    // Puts the clipboard's color on `target`; junk, or a target that is not
    // editable, beeps; a translucent color is refused with a message, and one
    // outside sRGB, brought in, is told of by notice().
    void pasteColorOn(ColorTarget target);

    // Tells of what became of a color given from outside (see notice()).
    void announce(const QString &message) { emit notice(message); }

    // Fast steps of the all-up and all-down buttons: SHIFT is held on them.
    bool ShiftHeld = false;

signals:
    // colorupdate ran: `target`, the selected one, shows a new mix.
    void colorChanged(ColorTarget target);
    // An option was switched on.
    void selectionChanged(ColorTarget target);
    // A word for the window's status line, for example that a pasted color
    // was brought into sRGB.
    void notice(const QString &message);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void VScroll_Change(int channel);
    void txt_Change(int channel);
    void moveAll(bool down);
    void setAll(int value);
    void select(ColorTarget target);
    void reset(ColorTarget target);
    void writeTargetColor(ColorTarget target, const color::Rgb &color);
    void cmdUSEwindows_Click();
    void pasteColor();
    void keepOneTabStop();
    bool stepThroughOptions(QRadioButton *from, int key);
    // Switches an option on by an arrow key in the group: the focus stays on
    // the option, so that the arrow keys go on through the group.
    void chooseFromKeyboard(QRadioButton *option, Qt::FocusReason reason);

    Controls m;
    // The selected target's preview element, hex box and swatch show the
    // mix of the last colorupdate once the user's action has been handled:
    // a switch or a reset moves the three sliders one after the other, and
    // the mixes between are never seen.
    struct Mix {
        ColorTarget target;
        QColor color;
        QString hex;
    };
    class Handling {
    public:
        explicit Handling(ColorEditor &editor, int typedBox = -1);
        ~Handling();
        Handling(const Handling &) = delete;
        Handling &operator=(const Handling &) = delete;

    private:
        ColorEditor &m_editor;
        // Ends after the mix is shown.
        UserAction m_action;
    };
    void showMix();

    class ShiftRepeat;
    ShiftRepeat *m_shiftRepeat;
    int m_handling = 0;
    bool m_focusStaysOnOption = false;
    std::optional<Mix> m_unshown;
};
