#include "app/shell/PlatformChoice.h"

#include <QTest>

class TestPlatformChoice : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Only a Wayland session that also offers X11 gets X11, and only when the user chose nothing.
    void choosesXcbUnderWayland_data() {
        QTest::addColumn<QString>("variables");
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<bool>("preferXcb");
        const auto row = [](const char* name, const char* variables, const char* arguments, bool preferXcb) {
            QTest::newRow(name) << QString::fromUtf8(variables) << QString::fromUtf8(arguments) << preferXcb;
        };
        row("wayland session with X11", "XDG_SESSION_TYPE=wayland DISPLAY=:0", "", true);
        row("wayland display with X11, empty platform", "WAYLAND_DISPLAY=w-0 DISPLAY=:0 QT_QPA_PLATFORM=", "",
            true);
        row("wayland without X11", "XDG_SESSION_TYPE=wayland WAYLAND_DISPLAY=w-0", "", false);
        row("x11 session", "XDG_SESSION_TYPE=x11 DISPLAY=:0", "", false);
        row("user set the platform", "XDG_SESSION_TYPE=wayland DISPLAY=:0 QT_QPA_PLATFORM=wayland", "",
            false);
        row("platform argument", "XDG_SESSION_TYPE=wayland DISPLAY=:0", "-platform wayland", false);
        row("double-dash platform argument", "WAYLAND_DISPLAY=w-0 DISPLAY=:0", "--platform wayland", false);
    }

    void choosesXcbUnderWayland() {
        QFETCH(QString, variables);
        QFETCH(QString, arguments);
        QProcessEnvironment environment;
        for (const QString& variable : variables.split(u' ')) {
            environment.insert(variable.section(u'=', 0, 0), variable.section(u'=', 1));
        }
        const QStringList command = (QStringLiteral("zentrel ") + arguments).split(u' ', Qt::SkipEmptyParts);
        QTEST(shouldPreferXcb(environment, command), "preferXcb");
    }
};

QTEST_APPLESS_MAIN(TestPlatformChoice)
#include "tst_platformchoice.moc"
