#include "PlatformChoice.h"

#include <QTest>

class TestPlatformChoice : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void choosesXcbUnderWayland_data() {
        QTest::addColumn<QStringList>("variables");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("preferXcb");
        const QStringList program{QStringLiteral("zentrel")};
        QTest::newRow("wayland session with X11")
            << QStringList{"XDG_SESSION_TYPE=wayland", "DISPLAY=:0"} << program << true;
        QTest::newRow("wayland display with X11")
            << QStringList{"WAYLAND_DISPLAY=wayland-0", "DISPLAY=:0"} << program << true;
        QTest::newRow("wayland without X11")
            << QStringList{"XDG_SESSION_TYPE=wayland", "WAYLAND_DISPLAY=wayland-0"} << program << false;
        QTest::newRow("x11 session") << QStringList{"XDG_SESSION_TYPE=x11", "DISPLAY=:0"} << program << false;
        QTest::newRow("user set the platform")
            << QStringList{"XDG_SESSION_TYPE=wayland", "DISPLAY=:0", "QT_QPA_PLATFORM=wayland"} << program
            << false;
        QTest::newRow("empty platform variable counts as unset")
            << QStringList{"XDG_SESSION_TYPE=wayland", "DISPLAY=:0", "QT_QPA_PLATFORM="} << program << true;
        QTest::newRow("platform argument") << QStringList{"XDG_SESSION_TYPE=wayland", "DISPLAY=:0"}
                                           << QStringList{"zentrel", "-platform", "wayland"} << false;
        QTest::newRow("double-dash platform argument")
            << QStringList{"WAYLAND_DISPLAY=wayland-0", "DISPLAY=:0"}
            << QStringList{"zentrel", "--platform", "wayland"} << false;
        QTest::newRow("empty display")
            << QStringList{"XDG_SESSION_TYPE=wayland", "DISPLAY="} << program << false;
    }

    void choosesXcbUnderWayland() {
        QFETCH(QStringList, variables);
        QFETCH(QStringList, arguments);
        QFETCH(bool, preferXcb);
        QProcessEnvironment environment;
        for (const QString& variable : variables)
            environment.insert(variable.section(QLatin1Char('='), 0, 0),
                               variable.section(QLatin1Char('='), 1));
        QCOMPARE(shouldPreferXcb(environment, arguments), preferXcb);
    }
};

QTEST_APPLESS_MAIN(TestPlatformChoice)
#include "tst_platformchoice.moc"
