#include "platform/scripteddesktop.h"

#include "platform/filefilter.h"

#include <QCoreApplication>

namespace platform {

QString kindName(ScriptedDesktop::Kind kind)
{
    switch (kind) {
    case ScriptedDesktop::Kind::Color: return QStringLiteral("color");
    case ScriptedDesktop::Kind::Font: return QStringLiteral("font");
    case ScriptedDesktop::Kind::Open: return QStringLiteral("open");
    case ScriptedDesktop::Kind::Save: return QStringLiteral("save");
    }
    return {};
}

ScriptedDesktop::ScriptedDesktop() = default;
ScriptedDesktop::~ScriptedDesktop() = default;

void ScriptedDesktop::script(Kind kind, Answer answer)
{
    m_answers.emplace_back(kind, std::move(answer));
}

void ScriptedDesktop::answerColor(qint32 packed)
{
    script(Kind::Color, [packed](CommonDialog &d) {
        d.Color = packed;
        return true;
    });
}

void ScriptedDesktop::answerFont(const FontChoice &font)
{
    script(Kind::Font, [font](CommonDialog &d) {
        d.FontName = font.name;
        d.FontSize = font.size;
        d.FontBold = font.bold;
        d.FontItalic = font.italic;
        d.FontUnderline = font.underline;
        d.FontStrikethru = font.strikethru;
        return true;
    });
}

void ScriptedDesktop::answerOpen(const QString &path)
{
    script(Kind::Open, [path](CommonDialog &d) {
        d.FileName = path;
        return true;
    });
}

void ScriptedDesktop::answerSave(const QString &path)
{
    script(Kind::Save, [path](CommonDialog &d) {
        // The real dialog adds the default extension to a name without one.
        d.FileName = withDefaultExtension(path, d.DefaultExt);
        return true;
    });
}

void ScriptedDesktop::cancel(Kind kind)
{
    script(kind, [](CommonDialog &) { return false; });
}

QList<ScriptedDesktop::Message> ScriptedDesktop::takeMessages()
{
    QList<Message> out;
    out.swap(messages);
    return out;
}

bool ScriptedDesktop::run(Kind kind, CommonDialog &d)
{
    prompts.append(Prompt{kind, d.objectName(), d.CancelError, d.Flags, d.Color, d.FontName, d.FontSize, d.FontBold,
                          d.FontItalic, d.FontUnderline, d.FontStrikethru, d.FileName, d.Filter, d.DialogTitle,
                          d.DefaultExt});
    if (m_answers.empty() || m_answers.front().first != kind) {
        unscripted << QStringLiteral("%1 dialog %2").arg(kindName(kind), d.objectName());
        return false;
    }
    Answer answer = std::move(m_answers.front().second);
    m_answers.pop_front();
    return answer(d);
}

bool ScriptedDesktop::showColor(QWidget *, CommonDialog &d)
{
    return run(Kind::Color, d);
}
bool ScriptedDesktop::showFont(QWidget *, CommonDialog &d)
{
    return run(Kind::Font, d);
}
bool ScriptedDesktop::showOpen(QWidget *, CommonDialog &d)
{
    return run(Kind::Open, d);
}
bool ScriptedDesktop::showSave(QWidget *, CommonDialog &d)
{
    return run(Kind::Save, d);
}

void ScriptedDesktop::messageBox(QWidget *, const QString &text, const QString &title, MessageIcon icon)
{
    messages.append(Message{text, title, icon});
    if (onMessage)
        onMessage(messages.constLast());
}

QImage ScriptedDesktop::grabScreen(const QRect &area)
{
    ++grabs;
    lastGrab = area;
    QImage result(area.size(), QImage::Format_RGB32);
    result.fill(Qt::black);
    const QRect part = area.intersected(screen.rect());
    for (int y = part.top(); y <= part.bottom(); ++y)
        for (int x = part.left(); x <= part.right(); ++x)
            result.setPixel(x - area.left(), y - area.top(), screen.pixel(x, y));
    return result;
}

void ScriptedDesktop::pickColorFromDesktop(QWidget *, std::function<void(PickAnswer, QRgb)> done)
{
    ++desktopPicks;
    std::pair<PickAnswer, QRgb> answer{PickAnswer::Unavailable, 0};
    if (!pickAnswers.empty()) {
        answer = pickAnswers.front();
        pickAnswers.pop_front();
    }
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [done = std::move(done), answer] { done(answer.first, answer.second); },
        Qt::QueuedConnection);
}

void ScriptedDesktop::beep()
{
    ++beeps;
}

void ScriptedDesktop::setClipboardText(const QString &text)
{
    clipboard = text;
    ++clipboardWrites;
}

QString ScriptedDesktop::clipboardText()
{
    ++clipboardReads;
    return clipboard;
}

void ScriptedDesktop::openAddress(const QString &address)
{
    openedAddresses << address;
}

bool ScriptedDesktop::earlierInstanceRunning()
{
    if (instanceError)
        throw *instanceError;
    return earlierInstance;
}

} // namespace platform
