#include "app/frmmain.h"

#include "app/accessibility.h"
#include "app/appicon.h"
#include "app/controls.h"
#include "app/dropping.h"
#include "app/errorreport.h"
#include "app/frmabout.h"
#include "app/openpage.h"
#include "app/previewmenu.h"
#include "color/coloreditor.h"
#include "color/contraststrip.h"
#include "color/rgb.h"
#include "output/copyformats.h"
#include "output/outputactions.h"
#include "platform/commondialog.h"
#include "platform/desktop.h"
#include "preview/backgroundimage.h"
#include "preview/colorvisionpreview.h"
#include "preview/previewbox.h"
#include "preview/previewtext.h"
#include "settings/windowplacement.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QShortcutEvent>

#include <array>

namespace {

QPushButton *button(QWidget *parent, const char *name, const QString &caption, const QString &tooltip,
                    const QRect &geometry)
{
    auto *b = makeControl<QPushButton>(parent, name, geometry);
    b->setText(caption);
    b->setToolTip(tooltip);
    b->setAutoDefault(false);
    return b;
}

template <class L = QLabel> L *label(QWidget *parent, const char *name, const QString &caption, const QRect &geometry)
{
    auto *l = makeControl<L>(parent, name, geometry);
    l->setText(caption);
    return l;
}

QLineEdit *textBox(QWidget *parent, const char *name, const QString &text, const QString &tooltip,
                   const QRect &geometry)
{
    auto *t = makeControl<QLineEdit>(parent, name, geometry);
    t->setText(text);
    t->setToolTip(tooltip);
    return t;
}

QLabel *swatch(QWidget *parent, const char *name, const QRect &geometry)
{
    auto *l = makeControl<QLabel>(parent, name, geometry);
    l->setFrameShape(QFrame::Box);
    l->setLineWidth(1);
    l->setAutoFillBackground(true);
    return l;
}

QRadioButton *option(QWidget *parent, const char *name, const QString &caption, const QString &tooltip,
                     const QRect &geometry)
{
    auto *o = makeControl<QRadioButton>(parent, name, geometry);
    o->setText(caption);
    o->setToolTip(tooltip);
    return o;
}

QScrollBar *slider(QWidget *parent, const char *name, const QRect &geometry)
{
    auto *s = makeControl<QScrollBar>(parent, name, geometry);
    s->setOrientation(Qt::Vertical);
    s->setRange(0, 255);
    s->setSingleStep(1);
    s->setPageStep(10);
    // Only the settled value of a drag is handled.
    s->setTracking(false);
    s->setFocusPolicy(Qt::StrongFocus);
    return s;
}

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

} // namespace

frmmain::frmmain(QWidget *parent) : QWidget(parent)
{
    const bool goOn = Form_Initialize();
    createControls();
    if (!goOn)
        return;
    m_color = std::make_unique<ColorEditor>(*this);
    m_previewText = std::make_unique<PreviewText>(*this);
    m_image = std::make_unique<BackgroundImage>(*this);
    m_output = std::make_unique<OutputActions>(*this);
    m_placement = std::make_unique<WindowPlacement>(*this);
    m_vision = std::make_unique<ColorVisionPreview>(*this);
    new CopyFormats(*this);
    addPreviewCommands(*this, *m_vision->menu(), *new OpenPage(*this));
    new Dropping(*this);
    new ContrastStrip(*this);
    connect(cmdexit, &QPushButton::clicked, this, &frmmain::cmdexit_Click);
    connect(cmdabout, &QPushButton::clicked, this, &frmmain::cmdabout_Click);
    for (QAbstractButton *b : findChildren<QAbstractButton *>())
        b->installEventFilter(this);
    Form_Load();
    describeForAssistiveTechnology(*this);
    m_loaded = true;
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
    setObjectName(QStringLiteral("frmmain"));
    setWindowTitle(QStringLiteral("Dudovuvov"));
    setWindowIcon(appIcon());
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFont(sansSerifFont(8.25));
    setFixedSize(tw(7020), tw(5430));
    move(tw(1155), tw(765));

    const QFont heading = sansSerifFont(8.25, true);

    // Left column.
    lblR = label(this, "lblR", QStringLiteral("R"), twRect(540, 210, 285, 270));
    lblG = label(this, "lblG", QStringLiteral("G"), twRect(1005, 210, 285, 270));
    lblB = label(this, "lblB", QStringLiteral("B"), twRect(1485, 210, 285, 270));
    for (QLabel *l : {lblR, lblG, lblB})
        l->setFont(heading);
    const QString together = QStringLiteral(" Move all sliders together - press SHIFT as well to speed things up ");
    cmdALLup = button(this, "cmdALLup", {}, together, twRect(405, 465, 1365, 195));
    VScrollRed = slider(this, "VScrollRed", twRect(405, 705, 390, 1560));
    VScrollGreen = slider(this, "VScrollGreen", twRect(885, 705, 390, 1560));
    VScrollBlue = slider(this, "VScrollBlue", twRect(1365, 705, 390, 1560));
    cmdALLdown = button(this, "cmdALLdown", {}, together, twRect(405, 2325, 1365, 195));
    lblred = swatch(this, "lblred", twRect(405, 2595, 390, 285));
    lblgreen = swatch(this, "lblgreen", twRect(885, 2595, 390, 285));
    lblblue = swatch(this, "lblblue", twRect(1365, 2595, 390, 285));
    txtred = textBox(this, "txtred", {}, QStringLiteral(" Red value "), twRect(405, 2925, 390, 285));
    txtgreen = textBox(this, "txtgreen", {}, QStringLiteral(" Green value "), twRect(885, 2925, 390, 285));
    txtblue = textBox(this, "txtblue", {}, QStringLiteral(" Blue value "), twRect(1365, 2925, 390, 285));
    cmdUSEwindows = button(this, "cmdUSEwindows", QStringLiteral("&Windows colors"),
                           QStringLiteral(" Use Windows colorbox "), twRect(405, 3315, 1365, 300));
    cmd0 = button(this, "cmd0", QStringLiteral(" Black "), QStringLiteral(" All Black "), twRect(405, 3645, 660, 300));
    cmd255 =
        button(this, "cmd255", QStringLiteral("White "), QStringLiteral(" All White "), twRect(1110, 3645, 660, 300));
    cmdabout = button(this, "cmdabout", QStringLiteral("&About"), {}, twRect(405, 4080, 1365, 525));
    cmdexit = button(this, "cmdexit", QStringLiteral("E&xit"), {}, twRect(405, 4635, 1365, 405));

    // Middle column.
    lblpreview = label(this, "lblpreview", QStringLiteral("PREVIEW"), twRect(2790, 195, 1440, 240));
    lblpreview->setFont(heading);
    lblpreview->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    picboxMAIN = makeControl<PreviewBox>(this, "picboxMAIN", twRect(2115, 465, 2790, 1500));
    picboxMAIN->setFocusPolicy(Qt::StrongFocus);
    QFont sampleFont(QStringLiteral("Times New Roman"));
    sampleFont.setPointSizeF(14.25);
    QFont linkFont(QStringLiteral("Times New Roman"));
    linkFont.setPointSizeF(9.75);
    linkFont.setUnderline(true);
    lblpic = previewLabel(picboxMAIN, "lblpic", QStringLiteral("Sample"), 975, 180, sampleFont);
    lblpicNewlink = previewLabel(picboxMAIN, "lblpicNewlink", QStringLiteral("New Link color"), 765, 555, linkFont);
    lblpicVisitedlink =
        previewLabel(picboxMAIN, "lblpicVisitedlink", QStringLiteral("Visited Link color"), 660, 795, linkFont);
    lblpicActivelink =
        previewLabel(picboxMAIN, "lblpicActivelink", QStringLiteral("Active Link color"), 675, 1020, linkFont);
    txtBOX = textBox(this, "txtBOX", QStringLiteral("Sample"), QStringLiteral(" Enter text as preview "),
                     twRect(2115, 2055, 2790, 330));
    optTEXT = option(this, "optTEXT", QStringLiteral("Set &Textcolor"), QStringLiteral(" Work with Textcolor "),
                     twRect(2115, 2490, 1395, 300));
    optBACK = option(this, "optBACK", QStringLiteral("Set &Backcolor"), QStringLiteral(" Work with Backcolor "),
                     twRect(3540, 2490, 1365, 300));
    optNewlinks = option(this, "optNewlinks", QStringLiteral("Set   New  Links color"),
                         QStringLiteral(" Work with new link color "), twRect(2115, 2985, 2025, 300));
    optVisitedlinks = option(this, "optVisitedlinks", QStringLiteral("Set Visited Links color"),
                             QStringLiteral(" Work with visited link color "), twRect(2115, 3315, 2025, 300));
    optActivelinks = option(this, "optActivelinks", QStringLiteral("Set Active Links color"),
                            QStringLiteral(" Work with active link color "), twRect(2115, 3645, 2025, 300));
    optTEXT->setChecked(true);
    const QString resetTip = QStringLiteral(" Reset to defaults ");
    cmdresetNEW = button(this, "cmdresetNEW", QStringLiteral("Reset"), resetTip, twRect(4200, 2985, 705, 300));
    cmdresetVISITED = button(this, "cmdresetVISITED", QStringLiteral("Reset"), resetTip, twRect(4200, 3315, 705, 300));
    cmdresetACTIVE = button(this, "cmdresetACTIVE", QStringLiteral("Reset"), resetTip, twRect(4200, 3645, 705, 300));
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

    // Right column.
    lblHTML = label(this, "lblHTML", QStringLiteral("HTML 3"), twRect(5235, 195, 1395, 240));
    lblHTML->setFont(heading);
    lblHTML->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    const QString hexTip = QStringLiteral(" HTML3 value ");
    txtHEXtext = textBox(this, "txtHEXtext", QStringLiteral("#0A0A0A"), hexTip, twRect(5235, 450, 900, 285));
    txtHEXback = textBox(this, "txtHEXback", QStringLiteral("#DCDCDC"), hexTip, twRect(5235, 1155, 900, 285));
    txtnewlink = textBox(this, "txtnewlink", QStringLiteral("#0000EE"), hexTip, twRect(5235, 1860, 900, 285));
    txtvisitedlink = textBox(this, "txtvisitedlink", QStringLiteral("#551A8B"), hexTip, twRect(5235, 2580, 900, 285));
    txtactivelink = textBox(this, "txtactivelink", QStringLiteral("#EE0000"), hexTip, twRect(5235, 3300, 900, 285));
    lblhextxtcolor = swatch(this, "lblhextxtcolor", twRect(6240, 450, 390, 285));
    lblhexbackcolor = swatch(this, "lblhexbackcolor", twRect(6240, 1155, 390, 285));
    lblhexnewlinkcolor = swatch(this, "lblhexnewlinkcolor", twRect(6240, 1860, 390, 285));
    lblhexvisitedlinkcolor = swatch(this, "lblhexvisitedlinkcolor", twRect(6240, 2580, 390, 285));
    lblhexactivelinkcolor = swatch(this, "lblhexactivelinkcolor", twRect(6240, 3300, 390, 285));
    cmdCOPYTEXT = button(this, "cmdCOPYTEXT", QStringLiteral("Copy Textcolor"),
                         QStringLiteral(" Copy text color to Clipboard "), twRect(5235, 795, 1395, 300));
    cmdCOPYBACK = button(this, "cmdCOPYBACK", QStringLiteral("Copy Backcolor"),
                         QStringLiteral(" Copy background color to Clipboard "), twRect(5235, 1500, 1395, 300));
    cmdCOPYnewlink = button(this, "cmdCOPYnewlink", QStringLiteral("Copy New Link"),
                            QStringLiteral(" Copy new link color to Clipboard "), twRect(5235, 2205, 1395, 300));
    cmdCOPYvisitedlink =
        button(this, "cmdCOPYvisitedlink", QStringLiteral("Copy Visited Link"),
               QStringLiteral(" Copy visited link color to Clipboard "), twRect(5235, 2925, 1395, 300));
    cmdCOPYactivelink = button(this, "cmdCOPYactivelink", QStringLiteral("Copy Active Link"),
                               QStringLiteral(" Copy active link color to Clipboard "), twRect(5235, 3645, 1395, 300));
    cmdtag = button(this, "cmdtag", QStringLiteral(" View Body &Tag"), QStringLiteral(" Press for Full Body Tag "),
                    twRect(5235, 4080, 1395, 960));
    cmdtag->setFont(heading);

    // State fields.
    const QString red = QStringLiteral(" Red value "), green = QStringLiteral(" Green value "),
                  blue = QStringLiteral(" Blue value ");
    int row = 0;
    HIDDENtxtbackred = store(this, "HIDDENtxtbackred", row++, QStringLiteral("220"), red);
    HIDDENtxtbackgreen = store(this, "HIDDENtxtbackgreen", row++, QStringLiteral("220"), green);
    HIDDENtxtbackblue = store(this, "HIDDENtxtbackblue", row++, QStringLiteral("220"), blue);
    HIDDENtxtred = store(this, "HIDDENtxtred", row++, QStringLiteral("10"), red);
    HIDDENtxtgreen = store(this, "HIDDENtxtgreen", row++, QStringLiteral("10"), green);
    HIDDENtxtblue = store(this, "HIDDENtxtblue", row++, QStringLiteral("10"), blue);
    HIDDENtxtnewlinksred = store(this, "HIDDENtxtnewlinksred", row++, QStringLiteral("0"), red);
    HIDDENtxtnewlinksgreen = store(this, "HIDDENtxtnewlinksgreen", row++, QStringLiteral("0"), green);
    HIDDENtxtnewlinksblue = store(this, "HIDDENtxtnewlinksblue", row++, QStringLiteral("238"), blue);
    HIDDENtxtvisitedlinksred = store(this, "HIDDENtxtvisitedlinksred", row++, QStringLiteral("85"), red);
    HIDDENtxtvisitedlinksgreen = store(this, "HIDDENtxtvisitedlinksgreen", row++, QStringLiteral("26"), green);
    HIDDENtxtvisitedlinksblue = store(this, "HIDDENtxtvisitedlinksblue", row++, QStringLiteral("139"), blue);
    HIDDENtxtactivelinksred = store(this, "HIDDENtxtactivelinksred", row++, QStringLiteral("238"), red);
    HIDDENtxtactivelinksgreen = store(this, "HIDDENtxtactivelinksgreen", row++, QStringLiteral("0"), green);
    HIDDENtxtactivelinksblue = store(this, "HIDDENtxtactivelinksblue", row++, QStringLiteral("0"), blue);
    HIDDENtxthexcolor = store(this, "HIDDENtxthexcolor", row++, {}, QStringLiteral(" HTML3 value "));
    HIDDENlblcolor = field<QLabel>(this, "HIDDENlblcolor", row++);
    HIDDENlblcolor->setFrameShape(QFrame::Box);
    HIDDENlbltaginfo = field<QLabel>(this, "HIDDENlbltaginfo", row++);
    HIDDENlblfilename = field<QLabel>(this, "HIDDENlblfilename", row++);
    picboxHIDDEN = field<QLabel>(this, "picboxHIDDEN", row++);

    CommonDialog1 = new platform::CommonDialog(QStringLiteral("CommonDialog1"), this);
    CommonDialog2 = new platform::CommonDialog(QStringLiteral("CommonDialog2"), this);

    setTabOrder();
}

void frmmain::setTabOrder()
{
    const QList<QWidget *> order = {VScrollRed,
                                    VScrollGreen,
                                    VScrollBlue,
                                    cmdALLup,
                                    cmdALLdown,
                                    cmdUSEwindows,
                                    txtred,
                                    txtgreen,
                                    txtblue,
                                    cmd0,
                                    cmd255,
                                    txtBOX,
                                    optTEXT,
                                    optBACK,
                                    optNewlinks,
                                    cmdresetNEW,
                                    optVisitedlinks,
                                    cmdresetVISITED,
                                    optActivelinks,
                                    cmdresetACTIVE,
                                    cmdFONT,
                                    comdefFONT,
                                    cmdload,
                                    cmdclear,
                                    cmdsave,
                                    cmdCOPYTEXT,
                                    cmdCOPYBACK,
                                    cmdCOPYnewlink,
                                    cmdCOPYvisitedlink,
                                    cmdCOPYactivelink,
                                    cmdtag,
                                    cmdabout,
                                    cmdexit,
                                    txtHEXtext,
                                    txtHEXback,
                                    picboxMAIN,
                                    txtnewlink,
                                    txtvisitedlink,
                                    txtactivelink};
    for (qsizetype i = 0; i + 1 < order.size(); ++i)
        QWidget::setTabOrder(order[i], order[i + 1]);
}

void frmmain::Form_Load()
{
    // 1. Where the window stood when it was last closed.
    m_placement->RestoreWindowPlacement();

    const std::array<std::pair<QScrollBar *, QLineEdit *>, 3> channels = {
        {{VScrollRed, txtred}, {VScrollGreen, txtgreen}, {VScrollBlue, txtblue}}};
    // 2.
    for (const auto &[s, box] : channels)
        box->setText(QString::number(s->value()));
    // 3.
    const std::array<QLabel *, 3> channelSwatches = {lblred, lblgreen, lblblue};
    for (int c = 0; c < 3; ++c) {
        const int v = channels[c].first->value();
        channels[c].second->setText(QString::number(v));
        setBackColor(channelSwatches[c], QColor(c == 0 ? v : 0, c == 1 ? v : 0, c == 2 ? v : 0));
    }
    // 4.
    lblpic->setText(txtBOX->text());
    lblpic->adjustSize();
    // 5. Selecting Back runs the selection chain.
    optTEXT->setChecked(false);
    optBACK->setChecked(true);
    // 6.
    for (QPushButton *b : {cmdresetNEW, cmdresetVISITED, cmdresetACTIVE, cmdclear, cmdsave})
        b->setEnabled(false);
    // 7.
    setBackColor(lblhextxtcolor, QColor(10, 10, 10));
    setBackColor(lblhexbackcolor, QColor(220, 220, 220));
    setBackColor(lblhexnewlinkcolor, QColor(0, 0, 238));
    setBackColor(lblhexvisitedlinkcolor, QColor(85, 26, 139));
    setBackColor(lblhexactivelinkcolor, QColor(238, 0, 0));
    // 8.
    setBackColor(picboxMAIN, QColor(220, 220, 220));
    setForeColor(lblpic, QColor(10, 10, 10));
    setForeColor(lblpicNewlink, QColor(0, 0, 238));
    setForeColor(lblpicVisitedlink, QColor(85, 26, 139));
    setForeColor(lblpicActivelink, QColor(238, 0, 0));

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
// is also switched on.
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
        if (auto *option = qobject_cast<QRadioButton *>(b))
            m_color->chooseFromKeyboard(option, Qt::ShortcutFocusReason);
        else
            b->setFocus(Qt::ShortcutFocusReason);
        return;
    }
}

void frmmain::Form_QueryUnload()
{
    if (m_placement)
        m_placement->SaveWindowPlacement();
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
