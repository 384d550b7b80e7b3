#include "app/commandline.h"

#include <QCommandLineParser>
#include <QFileInfo>

namespace {

// Options the GUI toolkit reads itself, with one or two leading dashes.
bool isToolkitOption(const QString &argument)
{
    static const QStringList names = {QStringLiteral("platform"),
                                      QStringLiteral("platformpluginpath"),
                                      QStringLiteral("platformtheme"),
                                      QStringLiteral("plugin"),
                                      QStringLiteral("qwindowgeometry"),
                                      QStringLiteral("qwindowicon"),
                                      QStringLiteral("qwindowtitle"),
                                      QStringLiteral("reverse"),
                                      QStringLiteral("session"),
                                      QStringLiteral("display"),
                                      QStringLiteral("geometry"),
                                      QStringLiteral("style"),
                                      QStringLiteral("stylesheet"),
                                      QStringLiteral("widgetcount"),
                                      QStringLiteral("qmljsdebugger"),
                                      QStringLiteral("nograb"),
                                      QStringLiteral("dograb"),
                                      QStringLiteral("sync"),
                                      QStringLiteral("name"),
                                      QStringLiteral("title"),
                                      QStringLiteral("visual")};
    QString name = argument;
    if (name.startsWith(QLatin1String("--")))
        name.remove(0, 2);
    else if (name.startsWith(QLatin1Char('-')))
        name.remove(0, 1);
    else
        return false;
    name = name.section(QLatin1Char('='), 0, 0);
    return names.contains(name);
}

} // namespace

CommandLineOutcome readCommandLine(const QStringList &arguments, bool toolkitOptionsPending)
{
    const QString program =
        arguments.isEmpty() ? QStringLiteral("dudovuvov") : QFileInfo(arguments.constFirst()).fileName();

    QCommandLineParser parser;
    // "-reverse" is the toolkit's option, not -r -e -v ...
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(QStringLiteral("Chooses the five colors of a web page: background, text, "
                                                    "and new, visited and active links."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and exit."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version and exit."));
    parser.addOption(help);
    parser.addOption(version);

    const bool parsed = parser.parse(arguments);
    CommandLineOutcome outcome;
    // Help and version win over any other argument, as users expect.
    if (parser.isSet(help)) {
        outcome.run = false;
        // The usage line names the program the user typed, with or without a running application.
        const QString text = parser.helpText();
        outcome.output = QStringLiteral("Usage: %1 [options]").arg(program) + text.mid(text.indexOf(QLatin1Char('\n')));
        return outcome;
    }
    if (parser.isSet(version)) {
        outcome.run = false;
        outcome.output = QStringLiteral("Dudovuvov %1\n").arg(QStringLiteral(DUDOVUVOV_VERSION));
        return outcome;
    }

    QString problem;
    if (!parsed)
        problem = parser.errorText();
    else if (!parser.positionalArguments().isEmpty())
        problem = QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().constFirst());
    if (problem.isEmpty())
        return outcome;
    if (toolkitOptionsPending) {
        for (const QString &argument : arguments.mid(1)) {
            if (isToolkitOption(argument))
                return outcome;
        }
    }
    outcome.run = false;
    outcome.exitCode = 2;
    outcome.error = QStringLiteral("%1: %2\nTry '%1 --help' for more information.\n").arg(program, problem);
    return outcome;
}
