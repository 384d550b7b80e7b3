#pragma once

#include "color/colortargets.h"
#include "widgets/useraction.h"

#include <QObject>
#include <QString>

#include <array>
#include <optional>

class ColorSet;
class QKeyEvent;
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

    // `colors` is the window's: the editor changes them, and its controls,
    // the state fields included, show them.
    ColorEditor(const Controls &controls, ColorSet &colors);

    ColorSet &colors() const { return m_colors; }

    const std::array<TargetControls, colorTargets.size()> &targets() const { return m.targets; }
    const TargetControls &controls(ColorTarget target) const;
    // The target whose option button is on.
    ColorTarget selectedTarget() const;
    // Shows the sliders' mix on the selected target.
    void colorupdate();

    // Selects a target as a click on its preview element does.
    void choose(ColorTarget target);

    // After a picture was loaded or cleared: while the colors lock the back
    // color its option is disabled and the text color selected; once free
    // it is enabled again and selected.
    void followBackLock();

    // A paste, a drop, a pick, an opened page or a contrast fix edits; undo
    // and redo restore, the back color under a picture too.
    enum class Giving { Edit, Restore };
    // Gives `target` a color the way the color dialog's choice does: the
    // target is selected and the value boxes take the three components.
    // Where the colors lock the target an edit is refused (false); a
    // restore is made, and the target's option then does not stay on.
    bool giveColor(ColorTarget target, const color::Rgb &color, Giving giving = Giving::Edit);

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
    bool filterFastStepKeys(QObject *button, QEvent *event);
    bool filterValueBoxKey(const QKeyEvent &key);
    void followColor(ColorTarget target);
    void showStores(ColorTarget target);
    // One step of every slider: a fast one while SHIFT is held.
    void stepAll(bool raise);
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
    ColorSet &m_colors;
    // The selected target's preview element, hex box and swatch show its
    // color once the user's action has been handled: a switch or a reset
    // moves the three sliders one after the other, and the mixes between
    // are never seen.
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
    // The target's preview element, hex box and swatch show its color.
    void showColor(ColorTarget target);

    class ShiftRepeat;
    ShiftRepeat *m_shiftRepeat;
    int m_handling = 0;
    bool m_focusStaysOnOption = false;
    // The colors the state fields show.
    std::array<color::Rgb, colorTargets.size()> m_storesShow;
    // The target whose last colorupdate is not shown yet.
    std::optional<ColorTarget> m_unshown;
    // A restore writes the sliders' values past the colors' lock.
    bool m_restoring = false;
    // The sliders write the selected target's color: colorupdate shows it.
    bool m_slidersWriting = false;
};
