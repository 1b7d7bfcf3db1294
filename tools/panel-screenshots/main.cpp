// Renders the panel's three tabs in a few representative states to PNG files, for the README.
// Usage: zentrel_panel_screenshots <output folder>
#include "DemoModel.h"
#include "ui/PopoverView.h"
#include "ui/kit/Motion.h"
#include "ui/settab/SetCircle.h"

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QPainterPath>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <functional>

namespace {
// The panel window's corner radius; the shots are cut to the same shape.
constexpr qreal panelCornerRadius = 12;
// A fixed afternoon, so the heatmap and the history read the same on every run.
const QDateTime demoNow(QDate(2026, 5, 14), QTime(16, 20));

QPixmap roundedShot(QWidget& view) {
    const QPixmap shot = view.grab();
    QPixmap rounded(shot.size());
    rounded.setDevicePixelRatio(shot.devicePixelRatio());
    rounded.fill(Qt::transparent);
    QPainter painter(&rounded);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath outline;
    outline.addRoundedRect(QRectF(view.rect()), panelCornerRadius, panelCornerRadius);
    painter.setClipPath(outline);
    painter.drawPixmap(0, 0, shot);
    return rounded;
}

class Shooter {
public:
    Shooter(const QString& outputFolder, const QString& scratchFolder)
        : m_output(outputFolder)
        , m_scratch(scratchFolder) {}

    // A fresh model in a store of its own, prepared by `prepare`, then one shot per tab named.
    bool scene(const std::function<void(DemoModel&)>& prepare, const QList<QPair<int, QString>>& shots,
               const std::function<void(PopoverView&)>& beforeShots = {}) {
        DemoModel model(m_scratch.filePath(QStringLiteral("store%1.conf").arg(++m_scenes)), demoNow);
        prepare(model);
        PopoverView view(model.state(), LaunchAtLoginBinding{[] { return true; }, [](bool) {}});
        view.resize(PopoverView::panelWidth, PopoverView::panelHeight);
        view.show();
        if (!QTest::qWaitForWindowExposed(&view)) {
            return false;
        }
        if (beforeShots) {
            beforeShots(view);
        }
        for (const auto& [tab, name] : shots) {
            view.selectTab(tab);
            QCoreApplication::processEvents();
            if (!save(roundedShot(view), name)) {
                return false;
            }
        }
        return true;
    }

private:
    bool save(const QPixmap& shot, const QString& name) {
        const QString path = m_output.filePath(name + QStringLiteral(".png"));
        const bool saved = shot.save(path);
        std::printf("%s %s\n", saved ? "wrote" : "could not write", qPrintable(path));
        return saved;
    }

    QDir m_output;
    QDir m_scratch;
    int m_scenes = 0;
};

void tapSecondCircle(PopoverView& view) {
    if (auto* circle = view.findChild<SetCircle*>(QStringLiteral("setCircle1"))) {
        circle->click();
    }
}
void scrollSettingsToTheEnd(PopoverView& view) {
    view.selectTab(2);
    QCoreApplication::processEvents();
    const auto areas = view.findChildren<QScrollArea*>();
    for (QScrollArea* area : areas) {
        if (area->isVisible()) {
            area->verticalScrollBar()->setValue(area->verticalScrollBar()->maximum());
        }
    }
}
} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    QApplication::setApplicationVersion(QStringLiteral(ZENTREL_VERSION)); // as the application sets it
    QLocale::setDefault(QLocale(QStringLiteral("en_US")));
    // Every shot shows the state at rest.
    Motion::setEnabled(false);

    QTemporaryDir scratch;
    QDir().mkpath(QString::fromLocal8Bit(argv[1]));
    Shooter shooter(QString::fromLocal8Bit(argv[1]), scratch.path());
    const auto nothing = [](DemoModel&) {};
    const auto sevenOfTenTwoOwed = [](DemoModel& model) { model.recordPrompts(27); };
    const auto busyWeeks = [](DemoModel& model) { model.fillTenWeeks(5); };
    const bool done =
        shooter.scene(nothing, {{0, QStringLiteral("set-fresh")}}) &&
        shooter.scene(sevenOfTenTwoOwed, {{0, QStringLiteral("set-progress")}}) &&
        shooter.scene(sevenOfTenTwoOwed, {{0, QStringLiteral("set-completing")}}, tapSecondCircle) &&
        shooter.scene(busyWeeks, {{0, QStringLiteral("set-overflow")},
                                  {1, QStringLiteral("activity")},
                                  {2, QStringLiteral("settings")}}) &&
        shooter.scene(nothing, {{2, QStringLiteral("settings-about")}}, scrollSettingsToTheEnd);
    return done ? 0 : 1;
}
