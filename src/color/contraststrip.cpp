#include "color/contraststrip.h"

#include "color/coloreditor.h"
#include "color/colorset.h"
#include "widgets/controls.h"
#include "widgets/useraction.h"

#include <QFontMetrics>
#include <QGraphicsEffect>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QShortcut>

#include <algorithm>
#include <utility>

namespace {

// The strip's own colors, whatever the page colors are.
const QColor stripBack(242, 242, 242);
const QColor stripBorder(170, 170, 170);
const QColor stripText(32, 32, 32);
const QColor stripFail(160, 0, 0);
// Room at the ends of the strip and between its entries.
constexpr int margin = 6;
constexpr int spacing = 8;

QLabel *stripLabel(QWidget *parent, const char *name)
{
    auto *l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->setFocusPolicy(Qt::NoFocus);
    l->setTextFormat(Qt::PlainText);
    return l;
}

// The fullest wording of `report` whose pieces fit in `room` pixels.
contrast::Density fittingDensity(const contrast::Report &report, const QFontMetrics &metrics, int room)
{
    for (const contrast::Density d : contrast::Densities) {
        int width = 0;
        int items = 0;
        auto add = [&](const QString &text) {
            if (!text.isEmpty()) {
                width += metrics.horizontalAdvance(text) + 2;
                ++items;
            }
        };
        add(contrast::leadText(report, d));
        for (const contrast::Entry &e : report.entries)
            add(contrast::entryText(e, d));
        add(contrast::nearTextNote(report, d));
        if (width + spacing * (items - 1) <= room)
            return d;
    }
    return contrast::Density::Shortest;
}

// A failing entry stands out and offers its fix; its looks change only
// when it starts or stops failing.
void markFailing(ClickLabel &entry, const contrast::Entry &e)
{
    const bool failing = contrast::failing(e);
    if (entry.property("failing").isValid() && entry.property("failing").toBool() == failing)
        return;
    entry.setProperty("failing", failing);
    QPalette p = entry.palette();
    p.setColor(QPalette::WindowText, failing ? stripFail : stripText);
    entry.setPalette(p);
    QFont f = entry.font();
    f.setUnderline(failing);
    entry.setFont(f);
    entry.setCursor(failing ? Qt::PointingHandCursor : Qt::ArrowCursor);
    entry.setToolTip(failing
                         ? QStringLiteral("Click or press %1 to reach AA by lightness").arg(contrast::fixKey(e.target))
                         : QString());
}

// A label shows `text`, and only while there is one.
void showText(QLabel &label, const QString &text)
{
    if (label.text() != text)
        label.setText(text);
    label.setVisible(!text.isEmpty());
}

} // namespace

ContrastStrip::ContrastStrip(QWidget &window, ColorEditor &editor, QWidget &preview, UserActions &actions) :
    QFrame(&window), m_editor(editor), m_preview(preview), m_actions(actions),
    m_lead(stripLabel(this, "contrastLead")), m_entries{}, m_note(stripLabel(this, "contrastNote")),
    m_message(stripLabel(this, "contrastMessage"))
{
    setObjectName(QStringLiteral("contrastStrip"));
    // The free band below the buttons, across the window.
    setGeometry(twRect(90, 5085, 6840, 300));
    setFocusPolicy(Qt::NoFocus);
    setAccessibleName(QStringLiteral("Contrast"));
    // The plate is painted whole here, so the window beneath need not be.
    setAttribute(Qt::WA_OpaquePaintEvent);
    QPalette p = palette();
    p.setColor(QPalette::Window, stripBack);
    p.setColor(QPalette::WindowText, stripText);
    setPalette(p);

    // Placed by hand rather than by a layout: a new ratio would otherwise
    // have every entry measured again on each color change.
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        const ColorTarget target = gradedTargets()[i];
        auto *entry = new ClickLabel(this);
        entry->setObjectName(QLatin1String(targetInfo(target).stripEntryName));
        entry->setFocusPolicy(Qt::NoFocus);
        entry->setTextFormat(Qt::PlainText);
        m_entries[i] = entry;
        connect(entry, &ClickLabel::clicked, this, [this, target] { fix(target); });
        // Alt+1 to Alt+4: no control of the window uses a digit as its access key.
        auto *key = new QShortcut(QKeySequence(Qt::ALT | Qt::Key(Qt::Key_1 + static_cast<int>(i))), this);
        key->setContext(Qt::WindowShortcut);
        connect(key, &QShortcut::activated, this, [this, target] { fix(target); });
    }
    m_message->hide();

    connect(&m_editor, &ColorEditor::colorChanged, this, &ContrastStrip::refresh);
    connect(&m_editor, &ColorEditor::selectionChanged, this, &ContrastStrip::refresh);
    connect(&m_editor, &ColorEditor::notice, this, [this](const QString &message) {
        m_notice = message;
        refresh();
    });
    refreshNow();
}

const contrast::Report &ContrastStrip::report()
{
    if (m_pending)
        refreshNow();
    return m_report;
}

QString ContrastStrip::sentence()
{
    if (m_pending)
        refreshNow();
    return m_sentence;
}

QImage ContrastStrip::previewPixels(QWidget *preview, const QColor &back)
{
    QImage pixels(preview->size(), QImage::Format_RGB32);
    pixels.fill(back);
    QGraphicsEffect *effect = preview->graphicsEffect();
    const bool simulated = effect != nullptr && effect->isEnabled();
    if (simulated)
        effect->setEnabled(false);
    // The area and its tiles only: the sample labels are not background.
    preview->render(&pixels, QPoint(), QRegion(), QWidget::DrawWindowBackground);
    if (simulated)
        effect->setEnabled(true);
    return pixels;
}

const contrast::Backdrop &ContrastStrip::backdrop()
{
    const contrast::Rgb back = m_editor.colors().color(ColorTarget::Back);
    if (!imageLoaded()) {
        m_plain = contrast::Backdrop::plain(back);
        return m_plain;
    }
    if (m_picture != m_scannedFile || back != m_scannedBack) {
        const QImage pixels = previewPixels(&m_preview, QColor(back.red, back.green, back.blue));
        m_image = contrast::Backdrop::pixels(
            {reinterpret_cast<const std::uint32_t *>(pixels.constBits()), std::size_t(pixels.sizeInBytes() / 4)});
        m_scannedFile = m_picture;
        m_scannedBack = back;
    }
    return m_image;
}

void ContrastStrip::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), stripBack);
    p.setPen(stripBorder);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void ContrastStrip::setPicture(const QString &file)
{
    m_picture = file;
    m_scannedFile.clear();
    refresh();
}

void ContrastStrip::refresh()
{
    if (m_pending)
        return;
    m_pending = true;
    // Ahead of the repaint, which is posted at a lower priority.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (m_pending)
                refreshNow();
        },
        Qt::QueuedConnection);
}

void ContrastStrip::refreshNow()
{
    m_pending = false;
    const contrast::Backdrop &ground = backdrop();
    std::array<contrast::Rgb, contrast::Graded> colors{};
    for (std::size_t i = 0; i < colors.size(); ++i)
        colors[i] = m_editor.colors().color(gradedTargets()[i]);
    m_report = contrast::report(colors, ground, imageLoaded());
    const contrast::Density density =
        fittingDensity(m_report, QFontMetrics(font()), contentsRect().width() - 2 * margin);
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        ClickLabel *entry = m_entries[i];
        const QString text = contrast::entryText(m_report.entries[i], density);
        if (entry->text() != text)
            entry->setText(text);
        markFailing(*entry, m_report.entries[i]);
        entry->setVisible(true);
    }
    showText(*m_lead, contrast::leadText(m_report, density));
    showText(*m_note, contrast::nearTextNote(m_report, density));
    m_message->hide();
    placeEntries();
    m_sentence = contrast::sentence(m_report);
    if (accessibleDescription() != m_sentence) {
        setAccessibleDescription(m_sentence);
        setToolTip(m_sentence);
    }
    if (!m_notice.isEmpty())
        showMessage(std::exchange(m_notice, QString()));
}

void ContrastStrip::showMessage(const QString &message)
{
    m_lead->hide();
    for (ClickLabel *entry : m_entries)
        entry->hide();
    m_note->hide();
    m_message->setText(message);
    m_message->show();
    placeEntries();
    setAccessibleDescription(message + QLatin1Char(' ') + m_sentence);
    setToolTip(accessibleDescription());
}

void ContrastStrip::placeEntries()
{
    const QRect room = contentsRect().adjusted(margin, 0, -margin, 0);
    int x = room.left();
    auto place = [&](QLabel *label) {
        if (label->isHidden())
            return;
        // The advance and a pixel either side, as the wording above was chosen by.
        const int width = std::min(label->fontMetrics().horizontalAdvance(label->text()) + 2, room.right() + 1 - x);
        const QRect geometry(x, room.top(), std::max(width, 0), room.height());
        if (label->geometry() != geometry)
            label->setGeometry(geometry);
        x += width + spacing;
    };
    place(m_lead);
    for (ClickLabel *entry : m_entries)
        place(entry);
    place(m_note);
    place(m_message);
}

void ContrastStrip::fix(ColorTarget target)
{
    const UserAction action(m_actions);
    refreshNow();
    const contrast::Entry &e = m_report.entries[gradedIndex(target)];
    if (!contrast::failing(e))
        return;
    const std::optional<contrast::Rgb> fixed =
        contrast::nearestByLightness(m_editor.colors().color(target), backdrop());
    if (!fixed) {
        showMessage(contrast::noFixText(target));
        return;
    }
    // Written like typed values: the value boxes move the sliders, the
    // preview and the target's stores.
    m_editor.giveColor(target, *fixed);
}
