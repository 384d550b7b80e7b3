#pragma once

#include "color/colorhistory.h"

#include <QColor>
#include <QObject>
#include <QString>

#include <array>
#include <optional>

class frmmain;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QWidget;
namespace color {
struct Rgb;
}

enum class ColorTarget { Text, Back, NewLink, VisitedLink, ActiveLink };

// The color editing of the main window: the sliders and value boxes, the
// all-up/all-down, black and white buttons, target selection and reset, the
// hex boxes and the system color dialog.
class ColorEditor : public QObject {
    Q_OBJECT
public:
    // The controls that belong to one target, in the order Text, Back,
    // NewLink, VisitedLink, ActiveLink.
    struct TargetControls {
        ColorTarget target;
        QRadioButton *option;
        std::array<QLineEdit *, 3> stores;
        QLineEdit *hexBox;
        QLabel *swatch;
        QWidget *previewElement;
        QPushButton *reset; // null for Back and Text
        std::array<int, 3> defaults;
    };

    explicit ColorEditor(frmmain &window);

    const std::array<TargetControls, 5> &targets() const { return m_targets; }
    const TargetControls &controls(ColorTarget target) const;
    // The target whose option button is on.
    ColorTarget selectedTarget() const;

    // Shows the sliders' mix on the selected target.
    void colorupdate();

    // Switches an option on from the keyboard on the option itself (an arrow
    // key in the group, an access key): the focus stays on the option, so
    // that the arrow keys go on through the group.
    void chooseFromKeyboard(QRadioButton *option, Qt::FocusReason reason);

    // Gives `target` a color the way the color dialog's choice does: the
    // target is selected and the value boxes take the three components.
    void setTargetColor(ColorTarget target, const color::Rgb &color);

    // Puts the clipboard's color on `target`; junk beeps.
    void pasteColorOn(ColorTarget target);

    ColorHistory &history() { return *m_history; }

signals:
    // colorupdate ran: the selected target shows a new mix.
    void colorUpdated();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void VScroll_Change(int channel);
    void txt_Change(int channel);
    void moveAll(bool down);
    void setAll(int value);
    void select(ColorTarget target);
    void previewClicked(ColorTarget target);
    void picboxMAIN_Click();
    void reset(ColorTarget target);
    void cmdUSEwindows_Click();
    void pasteColor();
    void keepOneTabStop();
    bool stepThroughOptions(QRadioButton *from, int key);

    frmmain &m;
    std::array<QScrollBar *, 3> m_sliders;
    std::array<QLineEdit *, 3> m_boxes;
    std::array<QLabel *, 3> m_channelSwatches;
    std::array<TargetControls, 5> m_targets;
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
        ColorHistory::Step m_step;
    };
    void showMix();

    int m_handling = 0;
    bool m_focusStaysOnOption = false;
    std::optional<Mix> m_unshown;
    ColorHistory *m_history;
};
