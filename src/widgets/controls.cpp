#include "widgets/controls.h"

#include <QDialog>
#include <QFontDatabase>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QWidget>

QPushButton *button(QWidget *parent, const char *name, const QString &caption, const QString &tooltip,
                    const QRect &geometry)
{
    auto *b = captioned<QPushButton>(parent, name, caption, tooltip, geometry);
    b->setAutoDefault(false);
    return b;
}

QLineEdit *textBox(QWidget *parent, const char *name, const QString &text, const QString &tooltip,
                   const QRect &geometry)
{
    return captioned<QLineEdit>(parent, name, text, tooltip, geometry);
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
    return captioned<QRadioButton>(parent, name, caption, tooltip, geometry);
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

void setBackColor(QWidget *w, const QColor &c)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Window, c);
    p.setColor(QPalette::Base, c);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

QColor backColor(const QWidget *w)
{
    return w->palette().color(QPalette::Window);
}

void setForeColor(QWidget *w, const QColor &c)
{
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, c);
    p.setColor(QPalette::Text, c);
    w->setPalette(p);
}

QColor foreColor(const QWidget *w)
{
    return w->palette().color(QPalette::WindowText);
}

QString sansSerifFamily()
{
    // The installed families only: hasFamily() would first have fontconfig
    // resolve the name as an alias, which costs start-up time and can answer
    // yes for a face that is only a substitute.
    static const QString family =
        QFontDatabase::families().contains(QStringLiteral("MS Sans Serif"), Qt::CaseInsensitive)
            ? QStringLiteral("MS Sans Serif")
            : QStringLiteral("Liberation Sans");
    return family;
}

QFont sansSerifFont(double points, bool bold)
{
    QFont f(sansSerifFamily());
    f.setPointSizeF(points);
    f.setBold(bold);
    f.setStyleStrategy(QFont::PreferNoShaping);
    return f;
}

void ClickLabel::mousePressEvent(QMouseEvent *event)
{
    // Taken here, so the click does not reach the widget below as well.
    event->accept();
    if (event->button() == Qt::LeftButton)
        emit clicked();
}

void setUpFixedDialog(QDialog *dialog, const char *name, QSize clientSize)
{
    dialog->setObjectName(QLatin1String(name));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint
                           | Qt::MSWindowsFixedSizeDialogHint);
    dialog->setWindowTitle(QStringLiteral("Dudovuvov"));
    dialog->setFont(sansSerifFont(8.25));
    dialog->setFixedSize(clientSize);
}

void centreOverOwner(QWidget *window)
{
    if (window->parentWidget() == nullptr)
        return;
    const QWidget *owner = window->parentWidget()->window();
    // move() places the frame; before the first show its size is only known
    // from the owner's, whose frame is taken as ours.
    const QSize frame = window->size() + owner->frameGeometry().size() - owner->size();
    QRect placed(QPoint(0, 0), frame);
    placed.moveCenter(owner->frameGeometry().center());
    // Kept on the owner's screen, so the window never opens out of reach.
    if (const QScreen *screen = owner->screen()) {
        const QRect area = screen->availableGeometry();
        placed.moveLeft(qBound(area.left(), placed.left(), qMax(area.left(), area.right() + 1 - placed.width())));
        placed.moveTop(qBound(area.top(), placed.top(), qMax(area.top(), area.bottom() + 1 - placed.height())));
    }
    window->move(placed.topLeft());
}
