#include "preview/colorvisionpreview.h"

#include "color/srgb.h"
#include "preview/previewbox.h"

#include <QActionGroup>
#include <QMenu>
#include <QPainter>

namespace {

// Each simulation as one lookup per sRGB byte into linear light and one
// matrix product per pixel.
void simulateImage(QImage &image, preview::Vision vision)
{
    static const auto linear = [] {
        std::array<double, 256> table{};
        for (int v = 0; v < 256; ++v)
            table[size_t(v)] = color::srgbToLinear(std::uint8_t(v));
        return table;
    }();
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        QRgb lastIn = 0;
        QRgb lastOut = 0;
        bool haveLast = false;
        for (int x = 0; x < image.width(); ++x) {
            const QRgb in = line[x];
            if (!haveLast || in != lastIn) {
                const auto out = preview::simulateLinear(
                    vision, {linear[size_t(qRed(in))], linear[size_t(qGreen(in))], linear[size_t(qBlue(in))]});
                lastOut = qRgba(color::linearToSrgb(out[0]), color::linearToSrgb(out[1]), color::linearToSrgb(out[2]),
                                qAlpha(in));
                lastIn = in;
                haveLast = true;
            }
            line[x] = lastOut;
        }
    }
}

} // namespace

ColorVisionEffect::ColorVisionEffect(preview::Vision vision, QObject *parent) :
    QGraphicsEffect(parent), m_vision(vision)
{
}

void ColorVisionEffect::draw(QPainter *painter)
{
    QPoint offset;
    const QPixmap source = sourcePixmap(Qt::DeviceCoordinates, &offset, QGraphicsEffect::NoPad);
    QImage image = source.toImage().convertToFormat(QImage::Format_ARGB32);
    simulateImage(image, m_vision);
    painter->save();
    painter->setWorldTransform(QTransform());
    painter->drawImage(offset, image);
    // The simulation's name, small, in the lower right corner, on its own neutral plate.
    const QString caption = preview::visionName(m_vision);
    QFont font = painter->font();
    font.setPointSizeF(7.0);
    painter->setFont(font);
    const QRect area(offset, image.size() / image.devicePixelRatio());
    QRect text = painter->fontMetrics().boundingRect(caption).adjusted(-3, -1, 3, 1);
    text.moveBottomRight(area.bottomRight() - QPoint(2, 2));
    painter->fillRect(text, QColor(255, 255, 255, 200));
    painter->setPen(QColor(40, 40, 40));
    painter->drawText(text, Qt::AlignCenter, caption);
    painter->restore();
}

ColorVisionPreview::ColorVisionPreview(QWidget &preview) : m_preview(preview), m_menu(new QMenu(&preview))
{
    m_menu->setObjectName(QStringLiteral("mnuColorVision"));
    auto *group = new QActionGroup(m_menu);
    for (const auto v : {preview::Vision::Normal, preview::Vision::Protanopia, preview::Vision::Deuteranopia,
                         preview::Vision::Tritanopia, preview::Vision::Achromatopsia}) {
        QAction *action = m_menu->addAction(preview::visionName(v));
        action->setCheckable(true);
        action->setChecked(v == preview::Vision::Normal);
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, v] { setVision(v); });
    }
    m_preview.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&m_preview, &QWidget::customContextMenuRequested, this, &ColorVisionPreview::showMenu);
}

void ColorVisionPreview::showMenu(const QPoint &pos)
{
    // Not exec(): the menu must not hold up the event loop of a caller.
    m_menu->popup(m_preview.mapToGlobal(pos));
}

void ColorVisionPreview::setVision(preview::Vision vision)
{
    m_vision = vision;
    if (vision == preview::Vision::Normal)
        m_preview.setGraphicsEffect(nullptr);
    else
        m_preview.setGraphicsEffect(new ColorVisionEffect(vision));
    const auto actions = m_menu->actions();
    actions[static_cast<int>(vision)]->setChecked(true);
}
