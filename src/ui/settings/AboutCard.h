#pragma once

#include "ui/kit/CardFrame.h"

class PanelLabel;

// The product's name, version and beta notice, with the update check and the donation link.
class AboutCard : public CardFrame {
    Q_OBJECT

public:
    explicit AboutCard(QWidget* parent = nullptr);

    // Shown as "v" followed by the version.
    void setVersion(const QString& appVersion);

Q_SIGNALS:
    void checkForUpdatesRequested();

private:
    QWidget* titleRow();
    QWidget* linksRow();

    PanelLabel* m_version;
};
