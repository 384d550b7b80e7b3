#include "color/frmadjust.h"

#include "color/coloreditor.h"
#include "color/colorset.h"
#include "widgets/controls.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include <cmath>

namespace {

// One coordinate's controls: what they are called, how far the coordinate
// goes and how finely the slider and the box step through it.
struct ChannelInfo {
    const char *caption;
    const char *spoken; // after the group's name
    const char *name;   // after "sld" and "txt" and the group's prefix
    double maximum;
    double sliderScale;
    double boxScale;
    int decimals;
    const char *suffix;
    int sliderStep, sliderPage;
};

constexpr double hueMax = 360;
// Past the largest chroma sRGB reaches, so that the gamut's edge can be crossed.
constexpr double chromaMax = 0.37;

constexpr std::array<ChannelInfo, 3> hslChannels = {{
    {"&Hue", "hue", "Hue", hueMax, 1, 1, 1, "\u00B0", 1, 15},
    {"&Saturation", "saturation", "Saturation", 1, 1000, 100, 1, " %", 5, 50},
    {"&Lightness", "lightness", "Lightness", 1, 1000, 100, 1, " %", 5, 50},
}};
constexpr std::array<ChannelInfo, 3> oklchChannels = {{
    {"L&ightness", "lightness", "L", 1, 1000, 100, 1, " %", 5, 50},
    {"&Chroma", "chroma", "C", chromaMax, 1000, 1, 3, "", 2, 20},
    {"H&ue", "hue", "H", hueMax, 1, 1, 1, "\u00B0", 1, 15},
}};

QLabel *noteLabel(QWidget *parent, const char *name)
{
    auto *l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->setTextFormat(Qt::PlainText);
    l->setWordWrap(true);
    QSizePolicy policy = l->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    l->setSizePolicy(policy);
    l->hide();
    return l;
}

} // namespace

frmadjust::frmadjust(QWidget *owner, ColorEditor &editor) :
    QDialog(owner), m_editor(editor), m_target(editor.selectedTarget())
{
    setObjectName(QStringLiteral("frmadjust"));
    setFont(sansSerifFont(8.25));
    setModal(false);
    setSizeGripEnabled(true);

    auto *layout = new QVBoxLayout(this);
    m_targetLabel = new QLabel(this);
    m_targetLabel->setObjectName(QStringLiteral("lblAdjustTarget"));
    m_targetLabel->setTextFormat(Qt::PlainText);
    m_targetLabel->setFont(sansSerifFont(8.25, true));
    layout->addWidget(m_targetLabel);
    m_hslGroup = makeGroup(Group::Hsl, "HSL", "Hsl");
    m_oklchGroup = makeGroup(Group::Oklch, "OKLCH", "Oklch");
    layout->addWidget(m_hslGroup);
    layout->addWidget(m_oklchGroup);
    m_gamutNote = noteLabel(this, "lblGamut");
    m_lockedNote = noteLabel(this, "lblLocked");
    layout->addWidget(m_gamutNote);
    layout->addWidget(m_lockedNote);
    layout->addStretch();
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton *close = buttons->button(QDialogButtonBox::Close);
    close->setObjectName(QStringLiteral("cmdAdjustClose"));
    // Enter in a value box takes the value; it does not close the window.
    close->setAutoDefault(false);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    // Slider, then its box, group by group; Close last.
    QWidget *previous = nullptr;
    for (const Channels *group : {&m_hsl, &m_oklch})
        for (const Channel &c : *group) {
            if (previous != nullptr)
                QWidget::setTabOrder(previous, c.slider);
            QWidget::setTabOrder(c.slider, c.box);
            previous = c.box;
        }
    QWidget::setTabOrder(previous, close);

    connect(&m_editor, &ColorEditor::selectionChanged, this, [this](ColorTarget target) {
        if (!m_writing)
            setTarget(target);
    });
    connect(&m_editor, &ColorEditor::colorChanged, this, [this] { follow(); });
    setTarget(m_target);
}

QGroupBox *frmadjust::makeGroup(Group group, const char *title, const char *prefix)
{
    const auto &infos = group == Group::Hsl ? hslChannels : oklchChannels;
    auto *box = new QGroupBox(QLatin1String(title), this);
    box->setObjectName(QStringLiteral("fra%1").arg(QLatin1String(prefix)));
    auto *grid = new QGridLayout(box);
    for (int i = 0; i < 3; ++i) {
        const ChannelInfo &info = infos[std::size_t(i)];
        Channel &c = channels(group)[std::size_t(i)];
        const QString spoken = QStringLiteral("%1 %2").arg(QLatin1String(title), QLatin1String(info.spoken));
        c.sliderScale = info.sliderScale;
        c.boxScale = info.boxScale;

        c.slider = new QSlider(Qt::Horizontal, box);
        c.slider->setObjectName(QStringLiteral("sld%1%2").arg(QLatin1String(prefix), QLatin1String(info.name)));
        c.slider->setRange(0, int(std::lround(info.maximum * info.sliderScale)));
        c.slider->setSingleStep(info.sliderStep);
        c.slider->setPageStep(info.sliderPage);
        // As the main window's sliders: only the settled value of a drag is
        // taken, one step of the history each.
        c.slider->setTracking(false);
        c.slider->setFocusPolicy(Qt::StrongFocus);
        c.slider->setAccessibleName(spoken);
        c.slider->setMinimumWidth(160);

        c.box = new QDoubleSpinBox(box);
        c.box->setObjectName(QStringLiteral("txt%1%2").arg(QLatin1String(prefix), QLatin1String(info.name)));
        c.box->setDecimals(info.decimals);
        c.box->setRange(0, info.maximum * info.boxScale);
        c.box->setSingleStep(info.sliderStep * info.boxScale / info.sliderScale);
        c.box->setSuffix(QString::fromUtf8(info.suffix));
        // Typed digits count once the box is left or Enter pressed.
        c.box->setKeyboardTracking(false);
        c.box->setAccessibleName(spoken);

        auto *caption = new QLabel(QString::fromLatin1(info.caption), box);
        caption->setBuddy(c.slider);
        grid->addWidget(caption, i, 0);
        grid->addWidget(c.slider, i, 1);
        grid->addWidget(c.box, i, 2);

        connect(c.slider, &QSlider::valueChanged, this,
                [this, group, i](int v) { moved(group, i, v / channels(group)[std::size_t(i)].sliderScale); });
        connect(c.box, &QDoubleSpinBox::valueChanged, this,
                [this, group, i](double v) { moved(group, i, v / channels(group)[std::size_t(i)].boxScale); });
    }
    grid->setColumnStretch(1, 1);
    // The sliders of both groups start at one edge.
    grid->setColumnMinimumWidth(0, fontMetrics().horizontalAdvance(QStringLiteral("Saturation")) + 12);
    return box;
}

std::array<double, 3> frmadjust::coordinates(Group group) const
{
    if (group == Group::Hsl)
        return {m_hslAt.h, m_hslAt.s, m_hslAt.l};
    return {m_oklchAt.l, m_oklchAt.c, m_oklchAt.h};
}

void frmadjust::setCoordinate(Group group, int channel, double value)
{
    if (group == Group::Hsl) {
        double *at[] = {&m_hslAt.h, &m_hslAt.s, &m_hslAt.l};
        *at[channel] = value;
    } else {
        double *at[] = {&m_oklchAt.l, &m_oklchAt.c, &m_oklchAt.h};
        *at[channel] = value;
    }
}

void frmadjust::setTarget(ColorTarget target)
{
    m_target = target;
    updateTitle();
    const bool editable = m_editor.colors().isEditable(target);
    m_hslGroup->setEnabled(editable);
    m_oklchGroup->setEnabled(editable);
    if (editable) {
        m_lockedNote->hide();
    } else {
        const QString reason = QStringLiteral("%1 cannot change while a background image covers the preview.")
                                   .arg(QLatin1String(targetInfo(target).title));
        m_lockedNote->setText(reason);
        m_lockedNote->setAccessibleName(reason);
        m_lockedNote->show();
    }
    readColor();
}

void frmadjust::updateTitle()
{
    const QString name = QLatin1String(targetInfo(m_target).title);
    setWindowTitle(QStringLiteral("Adjust \u2013 %1").arg(name));
    m_targetLabel->setText(name);
    m_targetLabel->setAccessibleName(QStringLiteral("Adjusting %1").arg(name));
}

void frmadjust::follow()
{
    if (m_writing)
        return;
    if (m_editor.colors().isEditable(m_target) != m_hslGroup->isEnabled()) {
        setTarget(m_target);
        return;
    }
    if (m_editor.colors().color(m_target) != m_color)
        readColor();
}

void frmadjust::readColor()
{
    m_color = m_editor.colors().color(m_target);
    const color::Srgb srgb = color::toSrgb(m_color);
    m_hslAt = color::hslFromSrgb(srgb);
    m_oklchAt = color::oklchFromSrgb(srgb);
    showGroup(Group::Hsl);
    showGroup(Group::Oklch);
    showGamutNote({});
}

void frmadjust::moved(Group group, int channel, double value)
{
    if (!m_editor.colors().isEditable(m_target)) {
        setTarget(m_target);
        return;
    }
    setCoordinate(group, channel, value);
    color::Rgb rgb;
    QString note;
    if (group == Group::Hsl) {
        rgb = color::toRgb(color::srgbFromHsl(m_hslAt));
    } else {
        const color::Mapped mapped = color::mapIntoSrgb(m_oklchAt);
        rgb = color::toRgb(mapped.color);
        if (mapped.wasOutside)
            note = QStringLiteral("Outside sRGB: chroma reduced to %1")
                       .arg(color::oklchFromSrgb(mapped.color).c, 0, 'f', 3);
    }
    // The moved group stays as set; only the other one is read from the color.
    const color::Srgb srgb = color::toSrgb(rgb);
    if (group == Group::Hsl)
        m_oklchAt = color::oklchFromSrgb(srgb);
    else
        m_hslAt = color::hslFromSrgb(srgb);
    // The main window first: its preview is what the user watches, and it
    // is painted in the order the windows asked.
    if (rgb != m_color) {
        m_color = rgb;
        const QScopedValueRollback<bool> writing(m_writing, true);
        m_editor.giveColor(m_target, rgb);
    }
    showGroup(Group::Hsl);
    showGroup(Group::Oklch);
    showGamutNote(note);
}

void frmadjust::showGroup(Group group)
{
    const std::array<double, 3> at = coordinates(group);
    for (std::size_t i = 0; i < 3; ++i) {
        const Channel &c = channels(group)[i];
        const QSignalBlocker sliderQuiet(c.slider);
        const QSignalBlocker boxQuiet(c.box);
        c.slider->setValue(int(std::lround(at[i] * c.sliderScale)));
        // A box given its own value again would still repaint.
        const double shown = at[i] * c.boxScale;
        if (c.box->text() != c.box->textFromValue(shown) + c.box->suffix())
            c.box->setValue(shown);
    }
}

void frmadjust::showGamutNote(const QString &note)
{
    if (note == m_gamutNote->text())
        return;
    m_gamutNote->setText(note);
    m_gamutNote->setAccessibleName(note);
    m_gamutNote->setVisible(!note.isEmpty());
    // Also heard on the OKLCH controls, where the focus is when it appears.
    for (const Channel &c : m_oklch) {
        c.slider->setAccessibleDescription(note);
        c.box->setAccessibleDescription(note);
    }
}
