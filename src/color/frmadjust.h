#pragma once

#include "color/colorspaces.h"
#include "color/colortargets.h"
#include "color/rgb.h"

#include <QDialog>

#include <array>

class ColorEditor;
class QDoubleSpinBox;
class QGroupBox;
class QLabel;
class QSlider;

// The Adjust window: the color of one target as HSL and as OKLCH, each
// coordinate with a slider and a value box. It works on the selected target
// and writes through the editor as the value boxes do.
//
// A group keeps its own coordinates while it is moved: the stored color is
// 8-bit, and reading the group back from it would let the other two
// coordinates creep. They are read again from the color only when it
// changes from elsewhere.
class frmadjust : public QDialog {
    Q_OBJECT
public:
    frmadjust(QWidget *owner, ColorEditor &editor);

    ColorTarget target() const { return m_target; }
    // Works on `target` from now on (until the selection moves); a target
    // the editor may not change is shown disabled, with the reason.
    void setTarget(ColorTarget target);

private:
    enum class Group { Hsl, Oklch };
    struct Channel {
        QSlider *slider = nullptr;
        QDoubleSpinBox *box = nullptr;
        // Slider steps and box units per unit of the coordinate.
        double sliderScale = 1;
        double boxScale = 1;
    };
    using Channels = std::array<Channel, 3>;

    QGroupBox *makeGroup(Group group, const char *title, const char *prefix);
    Channels &channels(Group group) { return group == Group::Hsl ? m_hsl : m_oklch; }
    std::array<double, 3> coordinates(Group group) const;
    void setCoordinate(Group group, int channel, double value);
    void moved(Group group, int channel, double value);
    void showGroup(Group group);
    void showGamutNote(const QString &note);
    // Reads both groups again from the target's color when it changed.
    void follow();
    void readColor();
    void updateTitle();

    ColorEditor &m_editor;
    ColorTarget m_target;
    color::Rgb m_color;
    color::Hsl m_hslAt;
    color::Oklch m_oklchAt;
    Channels m_hsl, m_oklch;
    QLabel *m_targetLabel, *m_gamutNote, *m_lockedNote;
    QGroupBox *m_hslGroup, *m_oklchGroup;
    // While this window writes the color, the editor's echo is its own.
    bool m_writing = false;
};
