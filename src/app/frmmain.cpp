#include "app/frmmain.h"

#include "app/accessibility.h"
#include "app/adjustcommand.h"
#include "app/appicon.h"
#include "app/colorhistory.h"
#include "app/dropping.h"
#include "app/errorreport.h"
#include "app/frmabout.h"
#include "app/openpage.h"
#include "app/previewmenu.h"
#include "color/coloreditor.h"
#include "color/colorset.h"
#include "color/contraststrip.h"
#include "color/rgb.h"
#include "color/screenpick.h"
#include "output/outputactions.h"
#include "platform/commondialog.h"
#include "platform/desktop.h"
#include "preview/backgroundimage.h"
#include "preview/colorvisionpreview.h"
#include "preview/previewbox.h"
#include "preview/previewtext.h"
#include "settings/windowplacement.h"
#include "widgets/controls.h"
#include "widgets/useraction.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QShortcutEvent>

#include <array>

namespace {

// A state field: never seen, beyond the right edge of the window.
template <class W> W *field(QWidget *parent, const char *name, int row)
{
    auto *w = makeControl<W>(parent, name, twRect(7860, 240 * row, 900, 240));
    w->hide();
    // Nor offered to the keyboard or to assistive technology.
    w->setFocusPolicy(Qt::NoFocus);
    return w;
}

QLineEdit *store(QWidget *parent, const char *name, int row, const QString &text, const QString &tooltip)
{
    auto *t = field<QLineEdit>(parent, name, row);
    t->setText(text);
    t->setToolTip(tooltip);
    return t;
}

ClickLabel *previewLabel(QWidget *parent, const char *name, const QString &caption, int left, int top,
                         const QFont &font)
{
    auto *l = makeControl<ClickLabel>(parent, name, twRect(left, top, 0, 0));
    l->setFont(font);
    l->setText(caption);
    l->setAlignment(Qt::AlignCenter);
    // Transparent, with a back color of its own: a new page background then
    // repaints the label once with the area under it, instead of also
    // passing the color down to it and repainting it a second time.
    l->setAutoFillBackground(false);
    QPalette palette = l->palette();
    palette.setColor(QPalette::Window, Qt::transparent);
    palette.setColor(QPalette::Base, Qt::transparent);
    l->setPalette(palette);
    l->adjustSize();
    return l;
}

// Where each target's controls stand (drawn in twips), in the order of the table of
// targets: option and Reset button, hex box, swatch and copy button, and the
// preview label (none for the back color: the preview box itself shows it).
struct TargetLayout {
    QRect option, reset, hexBox, swatch, copy;
    const char *previewCaption;
    int previewLeft, previewTop;
    bool previewSample; // the sample text's face, else a link's
};
constexpr std::array<TargetLayout, colorTargets.size()> targetLayout = {{
    {twRect(2115, 2490, 1395, 300),
     {},
     twRect(5235, 450, 900, 285),
     twRect(6240, 450, 390, 285),
     twRect(5235, 795, 1395, 300),
     "Sample",
     975,
     180,
     true},
    {twRect(3540, 2490, 1365, 300),
     {},
     twRect(5235, 1155, 900, 285),
     twRect(6240, 1155, 390, 285),
     twRect(5235, 1500, 1395, 300),
     nullptr,
     0,
     0,
     false},
    {twRect(2115, 2985, 2025, 300), twRect(4200, 2985, 705, 300), twRect(5235, 1860, 900, 285),
     twRect(6240, 1860, 390, 285), twRect(5235, 2205, 1395, 300), "New Link color", 765, 555, false},
    {twRect(2115, 3315, 2025, 300), twRect(4200, 3315, 705, 300), twRect(5235, 2580, 900, 285),
     twRect(6240, 2580, 390, 285), twRect(5235, 2925, 1395, 300), "Visited Link color", 660, 795, false},
    {twRect(2115, 3645, 2025, 300), twRect(4200, 3645, 705, 300), twRect(5235, 3300, 900, 285),
     twRect(6240, 3300, 390, 285), twRect(5235, 3645, 1395, 300), "Active Link color", 675, 1020, false},
}};

QFont headingFont()
{
    return sansSerifFont(8.25, true);
}

// The caption over the middle or the right column.
QLabel *columnHeading(QWidget *parent, const char *name, const QString &caption, const QRect &geometry)
{
    QLabel *l = label(parent, name, caption, geometry);
    l->setFont(headingFont());
    l->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    return l;
}

// Tooltips a value box shares with the state fields behind it.
QString channelTip(std::size_t channel)
{
    const std::array<QString, 3> tips = {QStringLiteral(" Red value "), QStringLiteral(" Green value "),
                                         QStringLiteral(" Blue value ")};
    return tips[channel];
}

QString hexTip()
{
    return QStringLiteral(" HTML3 value ");
}

} // namespace

frmmain::frmmain(QWidget *parent) : QWidget(parent)
{
    const bool goOn = Form_Initialize();
    createControls();
    if (!goOn)
        return;
    createSubsystems();
    connect(cmdexit, &QPushButton::clicked, this, &frmmain::cmdexit_Click);
    connect(cmdabout, &QPushButton::clicked, this, &frmmain::cmdabout_Click);
    for (QAbstractButton *b : findChildren<QAbstractButton *>())
        b->installEventFilter(this);
    Form_Load();
    describeControls();
    m_loaded = true;
}

// What a screen reader is told: the controls it names, the swatches and the
// preview whose colors it hears, and the state fields it never meets.
void frmmain::describeControls()
{
    AccessibleControls spoken{this,
                              {VScrollRed, VScrollGreen, VScrollBlue},
                              {lblred, lblgreen, lblblue},
                              cmdALLup,
                              cmdALLdown,
                              picboxMAIN,
                              {},
                              {}};
    for (const ColorTargetInfo &info : colorTargets) {
        const TargetControls &t = m_targets[indexOf(info.target)];
        spoken.targets[indexOf(info.target)] = {t.swatch, t.hexBox, t.reset, t.previewElement};
        spoken.stateFields.insert(spoken.stateFields.end(), t.stores.begin(), t.stores.end());
    }
    spoken.stateFields.insert(spoken.stateFields.end(),
                              {HIDDENtxthexcolor, HIDDENlblcolor, HIDDENlbltaginfo, HIDDENlblfilename, picboxHIDDEN});
    describeForAssistiveTechnology(spoken);
}

void frmmain::createSubsystems()
{
    m_actions = new UserActions(this);
    m_colors = std::make_unique<ColorSet>();
    ColorSet *colors = m_colors.get();

    ColorEditor::Controls color{this,
                                {VScrollRed, VScrollGreen, VScrollBlue},
                                {txtred, txtgreen, txtblue},
                                {lblred, lblgreen, lblblue},
                                cmdALLup,
                                cmdALLdown,
                                cmd0,
                                cmd255,
                                cmdUSEwindows,
                                txtBOX,
                                HIDDENlblcolor,
                                HIDDENtxthexcolor,
                                {},
                                CommonDialog1,
                                m_actions};
    for (const ColorTargetInfo &info : colorTargets) {
        const TargetControls &t = m_targets[indexOf(info.target)];
        color.targets[indexOf(info.target)] = {info.target, t.option,         t.stores, t.hexBox,
                                               t.swatch,    t.previewElement, t.reset};
    }
    m_color = std::make_unique<ColorEditor>(color, *colors);
    m_previewText =
        std::make_unique<PreviewText>(PreviewText::Controls{lblpic, txtBOX, cmdFONT, comdefFONT, CommonDialog1});
    m_image = std::make_unique<BackgroundImage>(
        BackgroundImage::Controls{this, picboxMAIN, picboxHIDDEN, cmdload, cmdclear, cmdsave, HIDDENlblfilename,
                                  HIDDENlbltaginfo, VScrollRed, CommonDialog2, m_actions},
        *colors);
    m_history = new ColorHistory(*this, *m_color, *m_image, *m_actions, txtBOX);

    OutputActions::Controls output{this, cmdtag, {}, {}};
    for (const ColorTargetInfo &info : colorTargets)
        output.copyButtons[indexOf(info.target)] = m_targets[indexOf(info.target)].copy;
    BackgroundImage *image = m_image.get();
    output.picture = {[image] { return image->pictureName(); }, [colors] { return colors->picture(); }};
    m_output = std::make_unique<OutputActions>(output, *colors);
    m_placement = std::make_unique<WindowPlacement>(*this);
    m_vision = std::make_unique<ColorVisionPreview>(*picboxMAIN);
    auto *openPage = new OpenPage(*this, *m_color, *m_image, *m_actions, VScrollRed);
    addPreviewCommands(*m_vision->menu(), *m_color, *m_history, *openPage);
    auto *pick = new ScreenPick(*this, *m_color);
    addPickCommand(*m_vision->menu(), *m_color, *pick);
    m_adjust = new AdjustCommand(*this, *m_color);
    m_adjust->addForSelected(*m_vision->menu());
    connect(pick, &ScreenPick::swatchMenuShowing, m_adjust,
            [adjust = m_adjust](QMenu *menu, ColorTarget target) { adjust->addTo(*menu, target); });
    new Dropping(*this, *m_color, *m_image, *openPage);
    auto *strip = new ContrastStrip(*this, *m_color, *picboxMAIN, *m_actions);

    // A picture covers the back color: it cannot be edited, nor picked by a
    // click on the preview, and the contrast is judged over the picture.
    ColorEditor *editor = m_color.get();
    connect(m_image.get(), &BackgroundImage::pictureLoaded, editor, &ColorEditor::followBackLock);
    connect(m_image.get(), &BackgroundImage::pictureCleared, editor, &ColorEditor::followBackLock);
    connect(m_image.get(), &BackgroundImage::pictureLoaded, strip, &ContrastStrip::setPicture);
    connect(m_image.get(), &BackgroundImage::pictureCleared, strip, [strip] { strip->setPicture({}); });
    connect(picboxMAIN, &PreviewBox::clicked, editor, [editor, colors] {
        if (colors->isEditable(ColorTarget::Back))
            editor->choose(ColorTarget::Back);
    });
}

frmmain::~frmmain() = default;

bool frmmain::Form_Initialize()
{
    try {
        if (platform::desktop().earlierInstanceRunning()) {
            platform::desktop().messageBox(nullptr, QStringLiteral("Dudovuvov is already running..."),
                                           QStringLiteral("Attention!"), platform::MessageIcon::Exclamation);
            return false;
        }
    } catch (const platform::RuntimeError &error) {
        platform::desktop().messageBox(nullptr, errorReportText(error.number, error.description),
                                       QStringLiteral("Error"), platform::MessageIcon::None);
    }
    return true;
}

void frmmain::createControls()
{
    setUpWindow();
    // Made in this order, which is also the order a screen reader lists them in.
    createLeftColumn();
    createMiddleColumn();
    createRightColumn();
    createStateFields();
    CommonDialog1 = new platform::CommonDialog(QStringLiteral("CommonDialog1"), this);
    CommonDialog2 = new platform::CommonDialog(QStringLiteral("CommonDialog2"), this);
    setTabOrder();
}

void frmmain::setUpWindow()
{
    setObjectName(QStringLiteral("frmmain"));
    setWindowTitle(QStringLiteral("Dudovuvov"));
    setWindowIcon(appIcon());
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFont(sansSerifFont(8.25));
    setFixedSize(tw(7020), tw(5430));
    move(tw(1155), tw(765));
}

// The sliders and their value boxes, and the buttons below them.
void frmmain::createLeftColumn()
{
    lblR = label(this, "lblR", QStringLiteral("R"), twRect(540, 210, 285, 270));
    lblG = label(this, "lblG", QStringLiteral("G"), twRect(1005, 210, 285, 270));
    lblB = label(this, "lblB", QStringLiteral("B"), twRect(1485, 210, 285, 270));
    for (QLabel *l : {lblR, lblG, lblB})
        l->setFont(headingFont());
    const QString together = QStringLiteral(" Move all sliders together - press SHIFT as well to speed things up ");
    cmdALLup = button(this, "cmdALLup", {}, together, twRect(405, 465, 1365, 195));
    VScrollRed = slider(this, "VScrollRed", twRect(405, 705, 390, 1560));
    VScrollGreen = slider(this, "VScrollGreen", twRect(885, 705, 390, 1560));
    VScrollBlue = slider(this, "VScrollBlue", twRect(1365, 705, 390, 1560));
    cmdALLdown = button(this, "cmdALLdown", {}, together, twRect(405, 2325, 1365, 195));
    lblred = swatch(this, "lblred", twRect(405, 2595, 390, 285));
    lblgreen = swatch(this, "lblgreen", twRect(885, 2595, 390, 285));
    lblblue = swatch(this, "lblblue", twRect(1365, 2595, 390, 285));
    txtred = textBox(this, "txtred", {}, channelTip(0), twRect(405, 2925, 390, 285));
    txtgreen = textBox(this, "txtgreen", {}, channelTip(1), twRect(885, 2925, 390, 285));
    txtblue = textBox(this, "txtblue", {}, channelTip(2), twRect(1365, 2925, 390, 285));
    cmdUSEwindows = button(this, "cmdUSEwindows", QStringLiteral("&Windows colors"),
                           QStringLiteral(" Use Windows colorbox "), twRect(405, 3315, 1365, 300));
    cmd0 = button(this, "cmd0", QStringLiteral(" Black "), QStringLiteral(" All Black "), twRect(405, 3645, 660, 300));
    cmd255 =
        button(this, "cmd255", QStringLiteral("White "), QStringLiteral(" All White "), twRect(1110, 3645, 660, 300));
    cmdabout = button(this, "cmdabout", QStringLiteral("&About"), {}, twRect(405, 4080, 1365, 525));
    cmdexit = button(this, "cmdexit", QStringLiteral("E&xit"), {}, twRect(405, 4635, 1365, 405));
}

// The preview and the sample text, the targets' options and Reset buttons,
// and the font and image buttons.
void frmmain::createMiddleColumn()
{
    createPreview();
    for (const ColorTargetInfo &info : colorTargets)
        m_targets[indexOf(info.target)].option =
            option(this, info.optionName, QString::fromLatin1(info.optionCaption), QString::fromLatin1(info.optionTip),
                   targetLayout[indexOf(info.target)].option);
    m_targets.front().option->setChecked(true);
    const QString resetTip = QStringLiteral(" Reset to defaults ");
    for (const ColorTargetInfo &info : colorTargets)
        if (info.resetName != nullptr)
            m_targets[indexOf(info.target)].reset = button(this, info.resetName, QStringLiteral("Reset"), resetTip,
                                                           targetLayout[indexOf(info.target)].reset);
    cmdFONT = button(this, "cmdFONT", QStringLiteral("Alter &Font Preview"),
                     QStringLiteral(" Adjust font (max size 14) "), twRect(2115, 4080, 1365, 525));
    comdefFONT = button(this, "comdefFONT", QStringLiteral("D&efault Font"), QStringLiteral(" Reset to default font "),
                        twRect(2115, 4635, 1365, 405));
    cmdload = button(this, "cmdload", QStringLiteral("&Load Image"), QStringLiteral(" Load a background image "),
                     twRect(3555, 4080, 1365, 300));
    cmdclear = button(this, "cmdclear", QStringLiteral("&Clear Image"), QStringLiteral(" Clear the background image "),
                      twRect(3555, 4410, 1365, 300));
    cmdsave = button(this, "cmdsave", QStringLiteral("Sa&ve Image"), QStringLiteral(" Save the background image "),
                     twRect(3555, 4740, 1365, 300));
}

// The preview box with a label for every target but the back color, which
// the box shows itself, and the box for the sample text.
void frmmain::createPreview()
{
    lblpreview = columnHeading(this, "lblpreview", QStringLiteral("PREVIEW"), twRect(2790, 195, 1440, 240));
    picboxMAIN = makeControl<PreviewBox>(this, "picboxMAIN", twRect(2115, 465, 2790, 1500));
    picboxMAIN->setFocusPolicy(Qt::StrongFocus);
    QFont sampleFont(QStringLiteral("Times New Roman"));
    sampleFont.setPointSizeF(14.25);
    QFont linkFont(QStringLiteral("Times New Roman"));
    linkFont.setPointSizeF(9.75);
    linkFont.setUnderline(true);
    for (const ColorTargetInfo &info : colorTargets) {
        const TargetLayout &at = targetLayout[indexOf(info.target)];
        QWidget *&element = m_targets[indexOf(info.target)].previewElement;
        if (at.previewCaption == nullptr)
            element = picboxMAIN;
        else
            element = previewLabel(picboxMAIN, info.previewElementName, QLatin1String(at.previewCaption),
                                   at.previewLeft, at.previewTop, at.previewSample ? sampleFont : linkFont);
    }
    lblpic = static_cast<QLabel *>(m_targets[indexOf(ColorTarget::Text)].previewElement);
    txtBOX = textBox(this, "txtBOX", QStringLiteral("Sample"), QStringLiteral(" Enter text as preview "),
                     twRect(2115, 2055, 2790, 330));
}

// Each target's hex box, swatch and copy button, and the tag button.
void frmmain::createRightColumn()
{
    lblHTML = columnHeading(this, "lblHTML", QStringLiteral("HTML 3"), twRect(5235, 195, 1395, 240));
    for (const ColorTargetInfo &info : colorTargets)
        m_targets[indexOf(info.target)].hexBox = textBox(this, info.hexBoxName, defaultHex(info.target), hexTip(),
                                                         targetLayout[indexOf(info.target)].hexBox);
    for (const ColorTargetInfo &info : colorTargets)
        m_targets[indexOf(info.target)].swatch =
            swatch(this, info.swatchName, targetLayout[indexOf(info.target)].swatch);
    for (const ColorTargetInfo &info : colorTargets)
        m_targets[indexOf(info.target)].copy = button(this, info.copyButtonName, QString::fromLatin1(info.copyCaption),
                                                      copyTip(info.target), targetLayout[indexOf(info.target)].copy);
    cmdtag = button(this, "cmdtag", QStringLiteral(" View Body &Tag"), QStringLiteral(" Press for Full Body Tag "),
                    twRect(5235, 4080, 1395, 960));
    cmdtag->setFont(headingFont());
}

// The state fields, one under another out of sight: each target's three
// stores in the order a page names the targets, then the sliders' mix and
// the picture's.
void frmmain::createStateFields()
{
    int row = 0;
    for (const ColorTarget target : pageOrder()) {
        const ColorTargetInfo &info = targetInfo(target);
        const std::array<int, 3> defaults = {info.defaultColor.red, info.defaultColor.green, info.defaultColor.blue};
        for (std::size_t c = 0; c < 3; ++c)
            m_targets[indexOf(target)].stores[c] =
                store(this, info.storeNames[c], row++, QString::number(defaults[c]), channelTip(c));
    }
    HIDDENtxthexcolor = store(this, "HIDDENtxthexcolor", row++, {}, hexTip());
    HIDDENlblcolor = field<QLabel>(this, "HIDDENlblcolor", row++);
    HIDDENlblcolor->setFrameShape(QFrame::Box);
    HIDDENlbltaginfo = field<QLabel>(this, "HIDDENlbltaginfo", row++);
    HIDDENlblfilename = field<QLabel>(this, "HIDDENlblfilename", row++);
    picboxHIDDEN = field<QLabel>(this, "picboxHIDDEN", row++);
}

void frmmain::setTabOrder()
{
    QList<QWidget *> order = {VScrollRed, VScrollGreen, VScrollBlue, cmdALLup, cmdALLdown, cmdUSEwindows,
                              txtred,     txtgreen,     txtblue,     cmd0,     cmd255,     txtBOX};
    for (const TargetControls &t : m_targets) {
        order.append(t.option);
        if (t.reset != nullptr)
            order.append(t.reset);
    }
    order << cmdFONT << comdefFONT << cmdload << cmdclear << cmdsave;
    for (const TargetControls &t : m_targets)
        order.append(t.copy);
    order << cmdtag << cmdabout << cmdexit;
    for (const ColorTargetInfo &info : colorTargets) {
        order.append(m_targets[indexOf(info.target)].hexBox);
        // The preview follows the back color's hex box.
        if (info.target == ColorTarget::Back)
            order.append(picboxMAIN);
    }
    for (qsizetype i = 0; i + 1 < order.size(); ++i)
        QWidget::setTabOrder(order[i], order[i + 1]);
}

void frmmain::Form_Load()
{
    // 1. Where the window stood when it was last closed.
    m_placement->RestoreWindowPlacement();

    const std::array<std::pair<QScrollBar *, QLineEdit *>, 3> channels = {
        {{VScrollRed, txtred}, {VScrollGreen, txtgreen}, {VScrollBlue, txtblue}}};
    // 2. The value boxes show the sliders.
    for (const auto &[s, box] : channels)
        box->setText(QString::number(s->value()));
    // 3. So do the channel swatches.
    const std::array<QLabel *, 3> channelSwatches = {lblred, lblgreen, lblblue};
    for (int c = 0; c < 3; ++c) {
        const int v = channels[c].first->value();
        setBackColor(channelSwatches[c], QColor(c == 0 ? v : 0, c == 1 ? v : 0, c == 2 ? v : 0));
    }
    // 4.
    lblpic->setText(txtBOX->text());
    lblpic->adjustSize();
    // 5. Selecting Back runs the selection chain.
    m_targets.front().option->setChecked(false);
    m_targets[indexOf(ColorTarget::Back)].option->setChecked(true);
    // 6.
    for (const TargetControls &t : m_targets)
        if (t.reset != nullptr)
            t.reset->setEnabled(false);
    for (QPushButton *b : {cmdclear, cmdsave})
        b->setEnabled(false);
    // 7. and 8. The swatches and the preview show the colors.
    for (const ColorTargetInfo &info : colorTargets) {
        const TargetControls &t = m_targets[indexOf(info.target)];
        const color::Rgb rgb = m_colors->color(info.target);
        const QColor c(rgb.red, rgb.green, rgb.blue);
        setBackColor(t.swatch, c);
        if (info.target == ColorTarget::Back)
            setBackColor(t.previewElement, c);
        else
            setForeColor(t.previewElement, c);
    }

    VScrollRed->setFocus();
}

void frmmain::closeEvent(QCloseEvent *event)
{
    Form_QueryUnload();
    event->accept();
    Form_Unload();
}

bool frmmain::eventFilter(QObject *watched, QEvent *event)
{
    // An access key that several controls bear moves the focus from one to
    // the next, as on the desktop the window was drawn for; the toolkit would
    // only focus them in the order their captions were set.
    if (event->type() == QEvent::Shortcut) {
        const auto *shortcut = static_cast<QShortcutEvent *>(event);
        if (shortcut->isAmbiguous()) {
            focusNextBearing(shortcut->key());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// The next control after the focus, in keyboard order and round again, that
// bears the access key: a push button only takes the focus, an option button
// is also clicked, and its selection moves the focus on as after a mouse click.
void frmmain::focusNextBearing(const QKeySequence &accessKey)
{
    QWidget *from = QApplication::focusWidget();
    if (from == nullptr || from->window() != this)
        from = this;
    for (QWidget *w = from->nextInFocusChain(); w != from; w = w->nextInFocusChain()) {
        auto *b = qobject_cast<QAbstractButton *>(w);
        if (b == nullptr || b->window() != this || !b->isVisible() || !b->isEnabled()
            || QKeySequence::mnemonic(b->text()) != accessKey)
            continue;
        setAttribute(Qt::WA_KeyboardFocusChange);
        b->setFocus(Qt::ShortcutFocusReason);
        if (qobject_cast<QRadioButton *>(b) != nullptr)
            b->click();
        return;
    }
}

void frmmain::Form_QueryUnload()
{
    if (m_placement)
        m_placement->SaveWindowPlacement();
    if (m_adjust != nullptr)
        m_adjust->saveOpenWindowPlacement();
}

void frmmain::Form_Unload()
{
    emit unloaded();
}

void frmmain::cmdexit_Click()
{
    close();
}

void frmmain::cmdabout_Click()
{
    auto *about = new frmabout(this);
    // show(), not open(): open() would make the window modal to frmmain only.
    about->show();
}
