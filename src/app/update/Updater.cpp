#include "app/update/Updater.h"

#include "app/update/Appcast.h"
#include "app/update/UpdateDialog.h"
#include "app/update/VersionComparison.h"
#include "common/AppIdentity.h"

#include <QNetworkReply>
#include <QNetworkRequest>
#include <utility>

namespace {

const QString timeoutReason = QStringLiteral("the update server did not answer in time");

// Sandboxed installs are kept current by the store that installed them; a download page would
// only leave people with a second copy.
bool updatedByPackageManager() {
    return !qEnvironmentVariableIsEmpty("FLATPAK_ID") || !qEnvironmentVariableIsEmpty("SNAP");
}

int httpStatus(const QNetworkReply& reply) {
    return reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
}

// Non-http feeds (a file: URL while testing a feed by hand) carry no status at all.
bool answeredWell(const QNetworkReply& reply) {
    const int status = httpStatus(reply);
    return reply.error() == QNetworkReply::NoError && (status == 0 || status == 200);
}

// A redirect loop ends on a redirect answer, so it is named before the status is looked at.
// Only the request's own transfer timeout cancels a reply that still reports to us.
QString describeFailure(const QNetworkReply& reply) {
    if (reply.error() == QNetworkReply::TooManyRedirectsError) {
        return QStringLiteral("the update feed redirects too often");
    }
    if (reply.error() == QNetworkReply::OperationCanceledError) {
        return timeoutReason;
    }
    if (const int status = httpStatus(reply); status != 0 && status != 200) {
        return QStringLiteral("the update server answered HTTP %1").arg(status);
    }
    return reply.errorString();
}

} // namespace

Updater::Updater(QObject* parent)
    : Updater(QUrl(QStringLiteral(ZENTREL_UPDATE_FEED_URL)), parent) {}

Updater::Updater(const QUrl& feedUrl, QObject* parent)
    : QObject(parent)
    , m_feedUrl(feedUrl) {
    m_result.currentVersion = AppIdentity::appVersion();
    m_network.setAutoDeleteReplies(true);
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, [this] { abandon(timeoutReason); });
}

// A reply still under way must not report to a half-destroyed updater.
Updater::~Updater() {
    releaseReply();
}

void Updater::checkForUpdates() {
    if (!m_dialog) {
        m_dialog = std::make_unique<UpdateDialog>();
        connect(this, &Updater::stateChanged, m_dialog.get(), [this] { m_dialog->display(m_result); });
        connect(m_dialog.get(), &UpdateDialog::retryRequested, this, &Updater::startCheck);
    }
    startCheck();
    m_dialog->display(m_result);
    m_dialog->present();
}

void Updater::startCheck() {
    if (m_reply) {
        return;
    }
    if (updatedByPackageManager()) {
        finish(resultWith(State::PackageManaged));
        return;
    }
    QNetworkRequest request(m_feedUrl);
    request.setTransferTimeout(static_cast<int>(m_timeout.count()));
    request.setMaximumRedirectsAllowed(maximumRedirects);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setHeader(QNetworkRequest::UserAgentHeader,
                      QStringLiteral("Zentrel/%1").arg(m_result.currentVersion));
    setResult(resultWith(State::Checking));
    m_reply = m_network.get(request);
    connect(m_reply, &QNetworkReply::finished, this, &Updater::onReplyFinished);
    connect(m_reply, &QNetworkReply::downloadProgress, this, &Updater::onDownloadProgress);
    m_deadline.start(m_timeout);
}

void Updater::onReplyFinished() {
    m_deadline.stop();
    QNetworkReply* reply = std::exchange(m_reply, nullptr);
    if (!answeredWell(*reply)) {
        finishFailed(describeFailure(*reply));
        return;
    }
    evaluate(reply->readAll());
}

// The transfer timeout alone would let a server that trickles bytes keep the check alive.
void Updater::onDownloadProgress(qint64 received) {
    if (received > maximumFeedBytes) {
        abandon(QStringLiteral("the update feed is too large"));
    }
}

void Updater::abandon(const QString& reason) {
    releaseReply();
    finishFailed(reason);
}

void Updater::releaseReply() {
    m_deadline.stop();
    if (QNetworkReply* reply = std::exchange(m_reply, nullptr)) {
        reply->disconnect(this);
        reply->abort();
    }
}

void Updater::evaluate(const QByteArray& feed) {
    QString error;
    const std::optional<Appcast::Release> newest = Appcast::newestRelease(feed, &error);
    if (!newest) {
        finishFailed(error);
        return;
    }
    const bool newer = VersionComparison::compareVersions(newest->version, m_result.currentVersion) > 0;
    Result result = resultWith(newer ? State::UpdateAvailable : State::UpToDate);
    result.newestVersion = newest->displayVersion;
    result.downloadPage = newest->downloadPage;
    finish(std::move(result));
}

void Updater::finishFailed(const QString& reason) {
    Result result = resultWith(State::Failed);
    result.failureReason = reason;
    finish(std::move(result));
}

void Updater::finish(Result result) {
    setResult(std::move(result));
    Q_EMIT checkFinished(m_result.state);
}

void Updater::setResult(Result result) {
    m_result = std::move(result);
    Q_EMIT stateChanged(m_result.state);
}

Updater::Result Updater::resultWith(State state) const {
    Result result;
    result.state = state;
    result.currentVersion = m_result.currentVersion;
    return result;
}
