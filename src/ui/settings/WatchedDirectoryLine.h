#pragma once

#include <QFont>
#include <QWidget>

// The watched folder's full path on one line of a card; a path too long for the card loses
// characters from its middle, so both the root and the last folder stay readable.
class WatchedDirectoryLine : public QWidget {
    Q_OBJECT

public:
    static constexpr int sidePadding = 10;
    static constexpr int verticalPadding = 8;

    explicit WatchedDirectoryLine(QWidget* parent = nullptr);

    QString path() const { return m_path; }
    void setPath(const QString& path);
    // The path as it fits the current width.
    QString displayedText() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_path;
    QFont m_font;
};
