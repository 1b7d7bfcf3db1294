#include "ui/settings/AboutCard.h"

#include "ui/kit/Divider.h"
#include "ui/kit/Glyphs.h"
#include "ui/kit/Palette.h"
#include "ui/kit/PanelLabel.h"
#include "ui/kit/PlainButton.h"
#include "ui/kit/Typography.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QUrl>
#include <QVBoxLayout>

namespace {
constexpr qreal cornerRadius = 8;
constexpr int markWidth = 28;
const QColor amber = Palette::rgb(1.0, 0.8, 0.2);
const QString betaNotice =
    QStringLiteral("Zentrel is in beta. Expect bugs, visual inconsistencies, and rough edges.");

QHBoxLayout* rowLayout(QWidget* row, int spacing) {
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    if (spacing >= 0) {
        layout->setSpacing(spacing);
    }
    return layout;
}
} // namespace

AboutCard::AboutCard(QWidget* parent)
    : CardFrame(cornerRadius, parent)
    , m_version(new PanelLabel(QString(), Typography::system(12), Palette::mutedGrey, this)) {
    m_version->setObjectName(QStringLiteral("versionLabel"));
    auto* notice = new PanelLabel(betaNotice, Typography::system(11), Palette::mutedGrey, this);
    notice->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(10);
    layout->addWidget(titleRow());
    layout->addWidget(notice);
    layout->addWidget(new Divider(Palette::panelBackground, 0, this));
    layout->addWidget(linksRow());
}

void AboutCard::setVersion(const QString& appVersion) {
    m_version->setText(QStringLiteral("v") + appVersion);
}

QWidget* AboutCard::titleRow() {
    auto* row = new QWidget(this);
    auto* mark =
        new PanelLabel(Glyphs::text(Glyphs::exerciseFigure), Glyphs::font(20), Palette::accentCyan, row);
    mark->setFixedWidth(markWidth);
    mark->setAlignment(Qt::AlignCenter);
    auto* name =
        new PanelLabel(QStringLiteral("Zentrel"), Typography::system(12, QFont::DemiBold), Qt::white, row);
    QHBoxLayout* layout = rowLayout(row, 10);
    auto* nameAndVersion = new QHBoxLayout;
    nameAndVersion->setSpacing(5);
    nameAndVersion->addWidget(name);
    nameAndVersion->addWidget(m_version);
    layout->addWidget(mark, 0, Qt::AlignVCenter);
    layout->addLayout(nameAndVersion);
    layout->addStretch();
    return row;
}

QWidget* AboutCard::linksRow() {
    auto* row = new QWidget(this);
    auto* check =
        new PlainButton({{QStringLiteral("Check for Updates"), Typography::system(12, QFont::Medium)}},
                        Palette::accentCyan, row);
    check->setObjectName(QStringLiteral("checkForUpdatesButton"));
    check->setAccessibleName(QStringLiteral("Check for Updates"));
    auto* donate =
        new PlainButton({{QStringLiteral("\u2615"), Typography::system(11)},
                         {QStringLiteral("Buy me a coffee"), Typography::system(12, QFont::Medium)}},
                        amber, row);
    donate->setRunSpacing(5);
    // Both links give way a little together where the system font is too wide for the row.
    check->setShrinkable();
    donate->setShrinkable();
    donate->setObjectName(QStringLiteral("donationButton"));
    donate->setAccessibleName(QStringLiteral("Buy me a coffee"));
    QHBoxLayout* layout = rowLayout(row, -1);
    layout->addWidget(check);
    layout->addStretch();
    layout->addWidget(donate);
    connect(check, &PlainButton::clicked, this, &AboutCard::checkForUpdatesRequested);
    connect(donate, &PlainButton::clicked, this,
            [] { QDesktopServices::openUrl(QUrl(QStringLiteral(ZENTREL_DONATION_URL))); });
    return row;
}
