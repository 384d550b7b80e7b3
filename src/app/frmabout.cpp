#include "app/frmabout.h"

#include "app/handicon.h"
#include "output/pagetext.h"
#include "platform/desktop.h"
#include "widgets/controls.h"

#include <QKeyEvent>
#include <QPushButton>

namespace {

programinfo::Clock &aboutClock()
{
    static programinfo::Clock current = programinfo::systemToday;
    return current;
}

// Liberation Sans runs a little wider than the face the layout was drawn
// for: a box too narrow for its caption grows to the right instead of clipping.
void fitCaption(QLabel *l)
{
    const int needed = l->fontMetrics().horizontalAdvance(l->text());
    if (needed > l->width())
        l->resize(needed, l->height());
}

// One line of a separator, 1 pixel high.
QWidget *line(QWidget *parent, const char *name, int top)
{
    auto *l = new QWidget(parent);
    l->setObjectName(QLatin1String(name));
    l->setGeometry(twRect(360, top, 2985 - 360, 15));
    l->setAutoFillBackground(true);
    return l;
}

} // namespace

frmabout::frmabout(QWidget *owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmabout"));
    setAttribute(Qt::WA_DeleteOnClose);
    // A fixed tool window: small title bar with a close box only, no task bar entry.
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setWindowModality(Qt::ApplicationModal);
    setWindowTitle(QStringLiteral("About"));
    setFont(sansSerifFont(8.25));
    setFixedSize(tw(3300), tw(4395));
    createControls();
    centreOverOwner(this);
    Form_Load();
}

void frmabout::setClock(programinfo::Clock clock)
{
    aboutClock() = clock ? std::move(clock) : programinfo::Clock(programinfo::systemToday);
}

void frmabout::createControls()
{
    cmdok = new QPushButton(QStringLiteral("&Ok"), this);
    cmdok->setObjectName(QStringLiteral("cmdok"));
    cmdok->setGeometry(twRect(360, 3600, 1590, 390));
    lblprogtitle = label(this, "lblprogtitle", {}, twRect(360, 345, 3675, 330));
    lblprogtitle->setFont(sansSerifFont(13.5));
    lblcopyright = label(this, "lblcopyright", {}, twRect(360, 930, 795, 195));
    lblurl = label<ClickLabel>(this, "lblurl", homePageAddress(), twRect(360, 3105, 1740, 195));
    setForeColor(lblurl, QColor(0, 0, 192));
    lblurl->adjustSize();
    // Move events without a button pressed reach the label only when tracked.
    lblurl->setMouseTracking(true);
    lbltext5 = label(this, "lbltext5", QStringLiteral("Visit my homepage at"), twRect(360, 2895, 1545, 195));
    lblversion = label(this, "lblversion", {}, twRect(360, 675, 3675, 195));
    lblversion->setFont(sansSerifFont(9.75, true));
    lbltext4 = label(this, "lbltext4", QStringLiteral("For updates and other freeware,"), twRect(360, 2700, 2265, 195));
    lbltext1 = label(this, "lbltext1", QStringLiteral("This program is freeware."), twRect(360, 1695, 3675, 195));
    lbltext2 =
        label(this, "lbltext2", QStringLiteral("You can use and distribute it freely."), twRect(360, 1890, 2460, 195));
    lbltext3 = label(this, "lbltext3", QStringLiteral("Play and enjoy!"), twRect(360, 2085, 1110, 195));
    lblcopyright2 = label(this, "lblcopyright2", programinfo::holderName(), twRect(360, 1140, 2580, 240));
    imghand = label(this, "imghand", {}, twRect(1605, 4380, 480, 480));
    imghand->setPixmap(handIcon().pixmap(QSize(32, 32)));

    for (QLabel *l : {lbltext5, lbltext4, lbltext1, lbltext2, lbltext3, lblcopyright2})
        fitCaption(l);

    const QColor dark(64, 0, 64);
    Line1 = line(this, "Line1", 1545);
    setBackColor(Line1, dark);
    Line2 = line(this, "Line2", 1560);
    Line2->setBackgroundRole(QPalette::Light);
    Line3 = line(this, "Line3", 2415);
    setBackColor(Line3, dark);
    Line4 = line(this, "Line4", 2430);
    Line4->setBackgroundRole(QPalette::Light);

    QWidget *const order[] = {cmdok,    lblprogtitle, lblcopyright, lblurl,   lbltext5,     lblversion,
                              lbltext4, lbltext1,     lbltext2,     lbltext3, lblcopyright2};
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        QWidget::setTabOrder(order[i], order[i + 1]);

    lblurl->installEventFilter(this);
    connect(lblurl, &ClickLabel::clicked, this, &frmabout::lblurl_Click);
    connect(cmdok, &QPushButton::clicked, this, &QDialog::close);
}

void frmabout::Form_Load()
{
    lblprogtitle->setText(programinfo::programTitle());
    lblversion->setText(programinfo::versionLine());
    fitCaption(lblprogtitle);
    fitCaption(lblversion);
    lblcopyright->setText(programinfo::noticeLine(aboutClock()));
    lblcopyright->adjustSize();
}

bool frmabout::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lblurl && event->type() == QEvent::MouseMove)
        lblurl_MouseMove();
    return QDialog::eventFilter(watched, event);
}

void frmabout::keyPressEvent(QKeyEvent *event)
{
    // The window has no cancel button: Esc does not close it.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->ignore();
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmabout::lblurl_MouseMove()
{
    lblurl->setCursor(QCursor(imghand->pixmap(), handHotSpot.x(), handHotSpot.y()));
}

void frmabout::lblurl_Click()
{
    if (QWidget *owner = parentWidget()) {
        QWidget *main = owner->window();
        main->setWindowState((main->windowState() & ~Qt::WindowActive) | Qt::WindowMinimized);
    }
    platform::desktop().openAddress(homePageAddress());
    close();
}
