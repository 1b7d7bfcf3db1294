#pragma once

#include <QNetworkAccessManager>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QUrl>
#include <chrono>
#include <memory>

class QNetworkReply;
class UpdateDialog;

// Checks the update feed when asked (never on its own) and shows the outcome in its own small
// dialog. It only points people at the download page: nothing is downloaded or installed.
class Updater : public QObject {
    Q_OBJECT

public:
    enum class State { Idle, Checking, UpToDate, UpdateAvailable, Failed, PackageManaged };
    Q_ENUM(State)

    struct Result {
        State state = State::Idle;
        QString currentVersion;
        QString newestVersion; // as the feed shows it
        QUrl downloadPage;
        QString failureReason;
    };

    static constexpr std::chrono::milliseconds defaultTimeout{15000};
    static constexpr int maximumRedirects = 5;
    static constexpr qint64 maximumFeedBytes = 1024 * 1024;

    explicit Updater(QObject* parent = nullptr);
    Updater(const QUrl& feedUrl, QObject* parent);
    ~Updater() override;

    // Starts a check and shows the dialog that follows it.
    void checkForUpdates();
    // Starts a check without any window; a check already under way is left to finish.
    void startCheck();

    const Result& result() const { return m_result; }
    UpdateDialog* dialog() const { return m_dialog.get(); }
    void setFeedUrl(const QUrl& feedUrl) { m_feedUrl = feedUrl; }
    // Bounds both a silent server and one that trickles its answer.
    void setTimeout(std::chrono::milliseconds timeout) { m_timeout = timeout; }

Q_SIGNALS:
    void stateChanged(Updater::State state);
    void checkFinished(Updater::State state);

private:
    void onReplyFinished();
    void onDownloadProgress(qint64 received);
    void abandon(const QString& reason);
    void releaseReply();
    void evaluate(const QByteArray& feed);
    void finishFailed(const QString& reason);
    void finish(Result result);
    void setResult(Result result);
    Result resultWith(State state) const;

    QUrl m_feedUrl;
    std::chrono::milliseconds m_timeout = defaultTimeout;
    QNetworkAccessManager m_network;
    QNetworkReply* m_reply = nullptr;
    QTimer m_deadline;
    Result m_result;
    std::unique_ptr<UpdateDialog> m_dialog;
};
