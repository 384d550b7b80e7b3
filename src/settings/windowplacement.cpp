#include "settings/windowplacement.h"

#include "platform/desktop.h"
#include "platform/twips.h"
#include "settings/placementtext.h"
#include "settings/registry.h"
#include "settings/systemstore.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <memory>
#include <optional>
#include <utility>

namespace {

const char *const SettingsKeyPath = "HKEY_CURRENT_USER\\Software\\Zudedidu\\Dudovuvov";

std::optional<bool> assumedPlacesWindows;

// The store is opened for each use and keeps nothing between them.
struct Store {
    explicit Store(QWidget *owner) :
        backend(settings::systemBackend()), registry(*backend, [owner](const std::string &text) {
            platform::desktop().messageBox(owner, QString::fromLocal8Bit(text), QString(), platform::MessageIcon::None);
        })
    {
    }
    std::unique_ptr<settings::RegistryBackend> backend;
    settings::Registry registry;
};

struct StoredPosition {
    float twips;
    int pixels;
};

std::optional<StoredPosition> storedPosition(Store &store, const char *valueName)
{
    const auto twips = settings::textToSingle(store.registry.ReadSettingText(SettingsKeyPath, valueName));
    if (!twips)
        return std::nullopt;
    const auto pixels = settings::twipsToPixels(*twips);
    if (!pixels)
        return std::nullopt;
    return StoredPosition{*twips, *pixels};
}

// Qt 6.4 has no public query for this (its platform integration's
// capabilities are private, and none of them says it), so the platform's
// name decides: Wayland neither reports nor sets a top-level window's
// position, and the full-screen embedded platforms give every window the
// whole screen.
bool platformPlacesWindows()
{
    if (assumedPlacesWindows)
        return *assumedPlacesWindows;
    const QString name = QGuiApplication::platformName();
    return !name.startsWith(QLatin1String("wayland")) && name != QLatin1String("eglfs")
           && name != QLatin1String("linuxfb") && name != QLatin1String("vkkhrdisplay");
}

std::string positionText(int pixels)
{
    return settings::singleToText(static_cast<float>(pixels * platform::twipsPerPixel));
}

bool onSomeScreen(const QRect &frame)
{
    const auto screens = QGuiApplication::screens();
    return std::any_of(screens.begin(), screens.end(),
                       [&](const QScreen *screen) { return screen->availableGeometry().intersects(frame); });
}

} // namespace

WindowPlacement::WindowPlacement(QWidget &window) : WindowPlacement(window, ValueNames{}) {}

WindowPlacement::WindowPlacement(QWidget &window, ValueNames names) : m(window), m_names(names) {}

void WindowPlacement::assumePlatformPlacesWindows(std::optional<bool> places)
{
    assumedPlacesWindows = places;
}

void WindowPlacement::RestoreWindowPlacement()
{
    Store store(&m);
    store.registry.CreateSettingsKey(SettingsKeyPath);
    if (!platformPlacesWindows())
        return;
    // Negative is judged in stored twips: -1 rounds to pixel 0 yet means centre.
    float top = static_cast<float>(m.pos().y() * platform::twipsPerPixel);
    float left = static_cast<float>(m.pos().x() * platform::twipsPerPixel);
    if (m_names.width != nullptr && m_names.height != nullptr) {
        const auto width = storedPosition(store, m_names.width);
        const auto height = storedPosition(store, m_names.height);
        if (width && height && width->pixels > 0 && height->pixels > 0)
            m.resize(QSize(width->pixels, height->pixels).expandedTo(m.minimumSizeHint()));
    }
    if (const auto stored = storedPosition(store, m_names.top)) {
        top = stored->twips;
        m.move(m.pos().x(), stored->pixels);
    }
    if (const auto stored = storedPosition(store, m_names.left)) {
        left = stored->twips;
        m.move(stored->pixels, m.pos().y());
    }
    // A place on no screen at all is as unusable as a negative one.
    if (top >= 0 && left >= 0 && onSomeScreen(QRect(m.pos(), m.frameGeometry().size())))
        return;
    centre();
}

void WindowPlacement::centre()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    const QRect area = screen->geometry();
    // The frame is known once the window exists on the screen, where the
    // platform draws it; a window manager's, only once the window shows.
    m.winId();
    QWindow *native = m.windowHandle();
    const QMargins frame = native != nullptr ? native->frameMargins() : QMargins();
    const QSize outer = m.size().grownBy(frame);
    constexpr double t = platform::twipsPerPixel;
    const int left = settings::centredOffset(area.width() * t, outer.width() * t);
    const int top = settings::centredOffset(area.height() * t, outer.height() * t);
    const QPoint at(area.x() + settings::twipsToPixels(static_cast<float>(left)).value_or(0),
                    area.y() + settings::twipsToPixels(static_cast<float>(top)).value_or(0));
    // The frame's corner goes there.
    m.setGeometry(QRect(at + QPoint(frame.left(), frame.top()), m.size()));
    if (!m.isVisible() && native != nullptr && !m_centredBy) {
        m_centredBy = outer;
        native->installEventFilter(this);
    }
}

// The first time the window is on the screen its frame is known: centred
// again if the frame is not the one it was centred by.
bool WindowPlacement::eventFilter(QObject *watched, QEvent *event)
{
    auto *native = qobject_cast<QWindow *>(watched);
    if (event->type() != QEvent::Expose || native == nullptr || !native->isExposed() || !m_centredBy)
        return false;
    native->removeEventFilter(this);
    const QSize centredBy = *std::exchange(m_centredBy, std::nullopt);
    if (m.size().grownBy(native->frameMargins()) != centredBy)
        centre();
    return false;
}

void WindowPlacement::SaveWindowPlacement()
{
    // Where the platform cannot tell the place, what is stored stays as it is.
    if (m.windowState().testFlag(Qt::WindowMinimized) || !platformPlacesWindows())
        return;
    Store store(&m);
    const QPoint at = m.pos();
    store.registry.WriteSettingText(SettingsKeyPath, m_names.top, positionText(at.y()));
    store.registry.WriteSettingText(SettingsKeyPath, m_names.left, positionText(at.x()));
    if (m_names.width != nullptr && m_names.height != nullptr) {
        store.registry.WriteSettingText(SettingsKeyPath, m_names.width, positionText(m.width()));
        store.registry.WriteSettingText(SettingsKeyPath, m_names.height, positionText(m.height()));
    }
}
