#include "app/update/UpdateDialog.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int dialogWidth = 360;

QString messageFor(const Updater::Result& result) {
    switch (result.state) {
    case Updater::State::Idle:
    case Updater::State::Checking:
        return QStringLiteral("Checking for updates…");
    case Updater::State::UpToDate:
        return QStringLiteral("Zentrel %1 is up to date.").arg(result.currentVersion);
    case Updater::State::UpdateAvailable:
        return QStringLiteral("Zentrel %1 is available (you have %2).")
            .arg(result.newestVersion, result.currentVersion);
    case Updater::State::Failed:
        return QStringLiteral("Update check failed: %1").arg(result.failureReason);
    case Updater::State::PackageManaged:
        return QStringLiteral("Updates for Zentrel come from your package manager.");
    }
    return {};
}

QPushButton* addButton(QDialogButtonBox* box, const QString& text, QDialogButtonBox::ButtonRole role,
                       const QString& objectName) {
    QPushButton* button = box->addButton(text, role);
    button->setObjectName(objectName);
    button->setAutoDefault(false);
    return button;
}

} // namespace

UpdateDialog::UpdateDialog(QWidget* parent)
    : QDialog(parent)
    , m_message(new QLabel(this))
    , m_busy(new QProgressBar(this)) {
    setObjectName(QStringLiteral("updateDialog"));
    setWindowTitle(QStringLiteral("Zentrel Updates"));
    setModal(false);
    setMinimumWidth(dialogWidth);
    m_message->setObjectName(QStringLiteral("message"));
    m_message->setWordWrap(true);
    m_message->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_busy->setObjectName(QStringLiteral("busyIndicator"));
    m_busy->setRange(0, 0);
    m_busy->setTextVisible(false);

    auto* buttons = new QDialogButtonBox(this);
    m_openDownloadPage = addButton(buttons, QStringLiteral("Open Download Page"),
                                   QDialogButtonBox::AcceptRole, QStringLiteral("openDownloadPageButton"));
    m_retry = addButton(buttons, QStringLiteral("Retry"), QDialogButtonBox::ActionRole,
                        QStringLiteral("retryButton"));
    m_close = addButton(buttons, QStringLiteral("Close"), QDialogButtonBox::RejectRole,
                        QStringLiteral("closeButton"));
    connect(m_openDownloadPage, &QPushButton::clicked, this, &UpdateDialog::openDownloadPage);
    connect(m_retry, &QPushButton::clicked, this, &UpdateDialog::retryRequested);
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_message);
    layout->addWidget(m_busy);
    layout->addWidget(buttons);
    display({});
}

void UpdateDialog::display(const Updater::Result& result) {
    using State = Updater::State;
    m_message->setText(messageFor(result));
    m_downloadPage = result.downloadPage;
    const bool available = result.state == State::UpdateAvailable && m_downloadPage.isValid();
    m_busy->setVisible(result.state == State::Checking || result.state == State::Idle);
    m_openDownloadPage->setVisible(available);
    m_retry->setVisible(result.state == State::Failed);
    m_openDownloadPage->setDefault(available);
    m_retry->setDefault(result.state == State::Failed);
}

void UpdateDialog::present() {
    show();
    raise();
    activateWindow();
}

void UpdateDialog::openDownloadPage() {
    QDesktopServices::openUrl(m_downloadPage);
    accept();
}
