#pragma once

// The editor's process set-up (src/app/main.cpp) as the start-up floors repeat it: the
// application's names, and its command line parsed, a file argument accepted and left.

#include <QApplication>
#include <QCommandLineParser>

inline void SetUpFloorProcess(const QApplication& app, const QString& description)
{
    QApplication::setOrganizationName(QStringLiteral("Brackenfold"));
    QApplication::setApplicationName(QStringLiteral("Glyphox"));
    QApplication::setApplicationVersion(QStringLiteral("1.1"));
    QCommandLineParser parser;
    parser.setApplicationDescription(description);
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("Ignored."),
                                 QStringLiteral("[FILE]"));
    parser.process(app);
}
