#pragma once

#include "app/update/Updater.h"

#include <QDialog>
#include <QUrl>

class QLabel;
class QProgressBar;
class QPushButton;

// The updater's own window: shows where a check stands and offers the one next step that fits
// (open the download page, or retry). Never modal: the tray keeps working while it is open.
class UpdateDialog : public QDialog {
    Q_OBJECT

public:
    explicit UpdateDialog(QWidget* parent = nullptr);

    void display(const Updater::Result& result);
    void present();

Q_SIGNALS:
    void retryRequested();

private:
    void openDownloadPage();

    QLabel* m_message;
    QProgressBar* m_busy;
    QPushButton* m_openDownloadPage;
    QPushButton* m_retry;
    QPushButton* m_close;
    QUrl m_downloadPage;
};
