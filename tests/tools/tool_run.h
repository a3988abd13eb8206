#pragma once

// Runs the built orvanta-chart (ORVANTA_CHART_PATH) and keeps what it said.

#include <QByteArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

namespace orvanta::testing {

struct Outcome {
    int exitCode = -1;  // -1: the tool did not end normally
    QByteArray out;
    QByteArray err;
};

inline Outcome Run(const QStringList& arguments,
                   const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(ORVANTA_CHART_PATH), arguments);
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError()};
}

inline QJsonObject Json(const Outcome& o) { return QJsonDocument::fromJson(o.out).object(); }

}  // namespace orvanta::testing
