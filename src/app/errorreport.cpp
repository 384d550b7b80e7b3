#include "app/errorreport.h"

QString errorReportText(int number, const QString &description)
{
    QString advice;
    switch (number) {
    case 339: advice = QStringLiteral("Re-install the program to fix this."); break;
    case 50003:
        advice = QStringLiteral("Re-install the program to fix this, or get the latest vbruntimes at Zudedidu.");
        break;
    default: advice = QStringLiteral("Please inform the author with the error description above."); break;
    }
    // A number is written with a leading blank, or with its minus sign.
    const QString numberText = number < 0 ? QString::number(number) : QLatin1Char(' ') + QString::number(number);
    return QStringLiteral("An Error was generated:\r\nDescription: Error") + numberText + QStringLiteral(" - ")
           + description + QStringLiteral("\r\n\r\n") + advice;
}
