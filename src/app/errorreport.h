#pragma once

#include <QString>

// The text of the start-up error report for run-time error `number`.
QString errorReportText(int number, const QString &description);
